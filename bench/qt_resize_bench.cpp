// A handled Resize of a 500-control Qt form (the size limits, then the placing run over real
// widgets, and the gradient when it is on) against a bare loop that gives the widgets of the same
// form their new geometry and font with setGeometry and setFont: the ratio is what the Rescalo
// costs over the least any code must do, measured in one run on one machine. The bare loop works on
// a twin of the form: on the Rescalo's own widgets it would either find them already in place (and
// Qt does nothing for an unchanged geometry) or move them behind the control's back.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <memory>
#include <vector>

#include <rescalo/control/rescalo.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/qt/qt_user_control.h>

using namespace rescalo;

namespace {

// Rows of frames, each holding a label, a text box and a button.
std::unique_ptr<QWidget> generatedForm(int controls) {
  auto form = std::make_unique<QWidget>();
  form->setObjectName("frmBench");
  form->resize(800, 600);
  int made = 0;
  for (int row = 0; made < controls; ++row) {
    auto* frame = new QGroupBox(form.get());
    frame->setObjectName(QString("fra%1").arg(row));
    frame->setGeometry((row / 40) * 3, (row % 40) * 15, 730, 14);
    ++made;
    for (int k = 0; k < 3 && made < controls; ++k, ++made) {
      QWidget* w = k == 0   ? static_cast<QWidget*>(new QLabel("Name", frame))
                   : k == 1 ? static_cast<QWidget*>(new QLineEdit(frame))
                            : static_cast<QWidget*>(new QPushButton("Go", frame));
      w->setObjectName(QString("c%1_%2").arg(row).arg(k));
      w->setGeometry(7 + k * 200, 1, 186, 10);
    }
  }
  return form;
}

struct Reference {
  QWidget* widget;
  QRect geometry;
  double points;
};

void HandledResize(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  const auto controls = static_cast<int>(state.range(0));
  auto window = generatedForm(controls);
  qt::QtServices services;
  services.quietMessageBoxes = true;
  qt::QtPropertyBag settings{{"ResizeOnMouseUp", false},
                             {"MinWidth", std::int32_t(3000)},
                             {"MinHeight", std::int32_t(2250)}};
  const bool gradient = state.range(1) != 0;
  if (gradient) settings.WriteProperty("GradientFill", host::Variant(true));
  auto rescalo =
      qt::attach(window.get(), control::makeRescalo(), services, {.properties = &settings});
  window->show();
  QApplication::processEvents();

  auto twin = generatedForm(controls);
  twin->show();
  QApplication::processEvents();
  std::vector<Reference> refs;
  for (QWidget* w : qt::adoptForm(twin.get())->controlWidgets())
    refs.push_back({w, w->geometry(), QFontInfo(w->font()).pointSizeF()});
  auto form = qt::adoptForm(window.get());
  const double widths[] = {16000, 12120};
  int i = 0;
  double handled = 0, bare = 0;
  for (auto _ : state) {
    const double width = widths[i % 2];
    host::Variant args[] = {host::Variant(0), host::Variant(0), host::Variant(width),
                            host::Variant(9000)};
    auto t0 = Clock::now();
    form->call("Move", args);  // raises Resize inside the call, handled at once
    auto t1 = Clock::now();
    const double r = width / 12000;
    for (const Reference& ref : refs) {
      const QRect g = ref.geometry;
      ref.widget->setGeometry(qRound(g.x() * r), g.y(), qRound(g.width() * r), g.height());
      QFont f = ref.widget->font();
      f.setPixelSize(qRound(ref.points * r * 96 / 72));
      ref.widget->setFont(f);
    }
    auto t2 = Clock::now();
    ++i;
    const double run = std::chrono::duration<double>(t1 - t0).count();
    handled += run;
    bare += std::chrono::duration<double>(t2 - t1).count();
    state.SetIterationTime(run);
  }
  state.SetItemsProcessed(state.iterations() * controls);
  state.counters["controls"] = controls;
  state.counters["gradient"] = gradient;
  state.counters["bare_ms"] = benchmark::Counter(bare * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = bare > 0 ? handled / bare : 0;
  rescalo.reset();
}
// Without and with the gradient painted over the form after each pass.
BENCHMARK(HandledResize)
    ->Args({500, 0})
    ->Args({500, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
