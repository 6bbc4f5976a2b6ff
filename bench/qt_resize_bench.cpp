// A handled Resize of a Qt form (the size limits, then the placing run over real widgets, and the
// gradient when it is on) against a bare loop that gives the widgets of the same form their new
// geometry and font with setGeometry and setFont: the ratio is what the Rescalo costs over the
// least any code must do, measured in one run on one machine. The bare loop works on a twin of the
// form: on the Rescalo's own widgets it would either find them already in place (and Qt does
// nothing for an unchanged geometry) or move them behind the control's back.
//
// The forms are generated ones of 250 to 2,000 controls, whose time per control shows whether
// the pass grows with the form and no faster, and the largest form of the corpus built into
// widgets (skipped when the corpus is absent). HandledResize times one Resize raised by a Move;
// Drag times a whole drag, 30 sizes one after the other as a window system sends them, each
// followed by the event loop drawing the frame, and reports the time per frame. Both count the
// heap allocations (Qt's own included) per pass and control.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include <rescalo/bridge/qt_forms.h>
#include <rescalo/control/rescalo.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/qt/qt_user_control.h>
#include "allocation_count.h"

using namespace rescalo;

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

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

// The corpus form with the most text, which is the one with the most controls.
std::filesystem::path largestCorpusForm() {
  std::filesystem::path dir =
      std::getenv("RESCALO_CORPUS_DIR") ? std::getenv("RESCALO_CORPUS_DIR") : RESCALO_CORPUS_DIR;
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return {};
  std::filesystem::path best;
  std::uintmax_t bestSize = 0;
  // The batches beside the first one (forms-2, ...) too.
  for (const auto& batch : std::filesystem::directory_iterator(dir.parent_path(), ec)) {
    if (!batch.is_directory() || batch.path().filename().string().rfind(dir.filename().string(), 0))
      continue;
    for (const auto& e : std::filesystem::recursive_directory_iterator(batch.path(), ec)) {
      std::string ext = e.path().extension().string();
      std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
      if (ext != ".frm" || !e.is_regular_file()) continue;
      if (e.file_size() > bestSize) {
        bestSize = e.file_size();
        best = e.path();
      }
    }
  }
  return best;
}

// One form: generated (controls > 0), or the largest of the corpus (0), with the settings its
// Rescalo starts from. Nothing when there is no corpus.
struct BenchForm {
  std::unique_ptr<QWidget> window;
  qt::QtPropertyBag settings;
};

BenchForm makeForm(int controls) {
  BenchForm f;
  if (controls > 0) {
    f.window = generatedForm(controls);
    f.settings.WriteProperty("MinWidth", host::Variant(std::int32_t(3000)));
    f.settings.WriteProperty("MinHeight", host::Variant(std::int32_t(2250)));
  } else {
    const std::filesystem::path file = largestCorpusForm();
    if (file.empty()) return f;
    bridge::BuiltForm built = bridge::loadAndBuild(file);
    f.window = std::move(built.built.window);
    f.settings = built.built.rescaloSettings;
    for (const char* name : {"SaveWindowState", "SaveWindowPosition"})
      f.settings.WriteProperty(name, host::Variant(false));
    for (const char* name : {"FormOpen", "FormClose"})
      f.settings.WriteProperty(name, host::Variant(std::int32_t(0)));
  }
  // Every size handled at once: no pass deferred to the mouse's release.
  f.settings.WriteProperty("ResizeOnMouseUp", host::Variant(false));
  return f;
}

// The twin's widgets as they were shown, and the bare loop that rescales them by r across.
struct Twin {
  struct Reference {
    QWidget* widget;
    QRect geometry;
    double points;
  };
  std::unique_ptr<QWidget> window;
  std::vector<Reference> refs;

  explicit Twin(std::unique_ptr<QWidget> w) : window(std::move(w)) {
    window->show();
    QApplication::processEvents();
    for (QWidget* c : qt::adoptForm(window.get())->controlWidgets())
      refs.push_back({c, c->geometry(), QFontInfo(c->font()).pointSizeF()});
  }
  // Both ways, so that the fonts follow.
  void rescale(double r) const {
    for (const Reference& ref : refs) {
      const QRect g = ref.geometry;
      ref.widget->setGeometry(qRound(g.x() * r), qRound(g.y() * r), qRound(g.width() * r),
                              qRound(g.height() * r));
      QFont f = ref.widget->font();
      f.setPixelSize(std::max(1, qRound(ref.points * r * 96 / 72)));
      ref.widget->setFont(f);
    }
  }
};

struct Attached {
  BenchForm form;
  qt::QtServices services;
  std::shared_ptr<qt::QtUserControlHost> rescalo;
  std::shared_ptr<qt::QtForm> adapter;
  int controls = 0;

  explicit Attached(BenchForm f, bool gradient) : form(std::move(f)) {
    services.quietMessageBoxes = true;
    if (gradient) form.settings.WriteProperty("GradientFill", host::Variant(true));
    rescalo = qt::attach(form.window.get(), control::makeRescalo(), services,
                         {.properties = &form.settings});
    form.window->show();
    QApplication::processEvents();
    adapter = qt::adoptForm(form.window.get());
    controls = static_cast<int>(adapter->controlWidgets().size());
  }
  ~Attached() { rescalo.reset(); }
};

void report(benchmark::State& state, int controls, double handled, double bare,
            std::size_t allocations, std::int64_t passes) {
  const auto n = static_cast<double>(state.iterations());
  state.counters["controls"] = controls;
  state.counters["bare_ms"] = benchmark::Counter(bare * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = bare > 0 ? handled / bare : 0;
  state.counters["us_per_control"] = controls > 0 ? handled / n / controls * 1e6 : 0;
  state.counters["allocs_per_control"] =
      controls > 0 && passes > 0
          ? static_cast<double>(allocations) / static_cast<double>(passes) / controls
          : 0;
}

void HandledResize(benchmark::State& state) {
  BenchForm made = makeForm(static_cast<int>(state.range(0)));
  if (!made.window) {
    state.SkipWithError("no corpus");
    return;
  }
  Attached attached(std::move(made), state.range(1) != 0);
  Twin twin(makeForm(static_cast<int>(state.range(0))).window);

  const double w0 = attached.adapter->get("Width").toDouble();
  const double h0 = attached.adapter->get("Height").toDouble();
  const double factors[] = {1.3333, 1.01};
  int i = 0;
  double handled = 0, bare = 0;
  std::size_t allocations = 0;
  for (auto _ : state) {
    const double r = factors[i++ % 2];
    host::Variant args[] = {host::Variant(0), host::Variant(0), host::Variant(w0 * r),
                            host::Variant(h0 * r)};
    const std::size_t before = bench::allocationCount();
    auto t0 = Clock::now();
    attached.adapter->call("Move", args);  // raises Resize inside the call, handled at once
    auto t1 = Clock::now();
    allocations += bench::allocationCount() - before;
    twin.rescale(r);
    auto t2 = Clock::now();
    handled += seconds(t0, t1);
    bare += seconds(t1, t2);
    state.SetIterationTime(seconds(t0, t1));
  }
  state.counters["gradient"] = static_cast<double>(state.range(1));
  report(state, attached.controls, handled, bare, allocations, state.iterations());
}
// Generated forms of 250 to 2,000 controls, the 500 one also with the gradient painted over the
// form after each pass, and the largest corpus form (0).
BENCHMARK(HandledResize)
    ->Args({250, 0})
    ->Args({500, 0})
    ->Args({1000, 0})
    ->Args({2000, 0})
    ->Args({500, 1})
    ->Args({0, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

constexpr int kFrames = 30;

// The size at frame k of a drag that makes the window half as large again, or takes it back.
QSize dragSize(QSize from, int frame, bool growing) {
  const double t = static_cast<double>(frame + 1) / kFrames;
  const double r = growing ? 1 + 0.5 * t : 1.5 - 0.5 * t;
  return {qRound(from.width() * r), qRound(from.height() * r)};
}

void Drag(benchmark::State& state) {
  BenchForm made = makeForm(static_cast<int>(state.range(0)));
  if (!made.window) {
    state.SkipWithError("no corpus");
    return;
  }
  Attached attached(std::move(made), false);
  Twin twin(makeForm(static_cast<int>(state.range(0))).window);
  QWidget& window = *attached.form.window;
  const QSize start = window.size();
  bool growing = true;
  double handled = 0, bare = 0;
  std::size_t allocations = 0;
  for (auto _ : state) {
    const std::size_t before = bench::allocationCount();
    auto t0 = Clock::now();
    for (int k = 0; k < kFrames; ++k) {
      window.resize(dragSize(start, k, growing));
      QApplication::processEvents();
    }
    auto t1 = Clock::now();
    allocations += bench::allocationCount() - before;
    for (int k = 0; k < kFrames; ++k) {
      const QSize size = dragSize(start, k, growing);
      twin.window->resize(size);
      twin.rescale(static_cast<double>(size.width()) / start.width());
      QApplication::processEvents();
    }
    auto t2 = Clock::now();
    growing = !growing;
    handled += seconds(t0, t1) / kFrames;
    bare += seconds(t1, t2) / kFrames;
    state.SetIterationTime(seconds(t0, t1) / kFrames);  // per frame
  }
  report(state, attached.controls, handled, bare, allocations, state.iterations() * kFrames);
}
BENCHMARK(Drag)->Arg(500)->Arg(2000)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond);

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
