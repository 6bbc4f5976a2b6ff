// A placing run over generated forms of 100 to 10,000 controls: the time per control shows how
// the pass grows with the form. Each iteration also times the by-name reads and writes that any
// placing run must make (the floor), so that the ratio of the two comes from one run on one
// machine, and counts the run's heap allocations per control.

#include <benchmark/benchmark.h>

#include <chrono>

#include <rescalo/control/rescalo.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/loader.h>
#include "allocation_count.h"
#include "generated_form.h"

using namespace rescalo;

namespace {

// What a placing run cannot avoid, through the same by-name interface: each control's four
// positions (a line's four end points) and its container, the container's size once per
// container, and one Move (a line, which has none, takes its end points one by one). The names
// are hashed once, as the run's are. Kept out of line, so that a profile tells it from the run.
[[gnu::noinline]] void memberFloor(runtime::Form& form, double ratio) {
  static constexpr host::Name kEdges[] = {"Left", "Top", "Width", "Height"};
  static constexpr host::Name kEnds[] = {"X1", "Y1", "X2", "Y2"};
  static constexpr host::Name kContainer = "Container", kMove = "Move";
  static constexpr host::Name kWidth = kEdges[2], kHeight = kEdges[3];
  host::Object* lastContainer = nullptr;
  double cw = 0, ch = 0;
  for (const auto& c : form.controls()) {
    const bool line = c->typeName() == "Line";
    const host::Name* names = line ? kEnds : kEdges;
    host::Variant p[4], cont;
    if (!c->tryGet(names[0], {}, p[0]) || !c->tryGet(names[1], {}, p[1]) ||
        !c->tryGet(names[2], {}, p[2]) || !c->tryGet(names[3], {}, p[3]) ||
        !c->tryGet(kContainer, {}, cont))
      continue;
    host::ObjectPtr container = cont.toObject();
    if (container && container.get() != lastContainer) {
      lastContainer = container.get();
      cw = container->get(kWidth).toDouble();
      ch = container->get(kHeight).toDouble();
    }
    // A line's x's are its first and third; a control's left and width.
    p[0] = host::Variant(p[0].toDouble() * ratio);
    p[2] = host::Variant(p[2].toDouble() * ratio);
    if (line)
      for (int i = 0; i < 4; ++i) c->set(names[i], p[i]);
    else
      c->call(kMove, p);
  }
  benchmark::DoNotOptimize(cw + ch);
}

void PlacingRun(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  runtime::RuntimeOptions o;
  o.settingsFile = "/tmp/rescalo-bench-settings";
  runtime::Runtime rt(o);
  control::registerRescalo(rt.userControls());
  auto controls = static_cast<int>(state.range(0));
  auto form = runtime::buildForm(
      rt, frm::read(testing_support::generatedForm(controls), "bench.frm"), "bench.frm");
  form->call("Show");
  double widths[] = {16000, 12120};
  int i = 0;
  double placing = 0, floor = 0;
  std::size_t allocations = 0;
  for (auto _ : state) {
    // Each drag raises Resize, whose handling runs the placing run at once.
    const std::size_t before = bench::allocationCount();
    auto t0 = Clock::now();
    form->userDrag(widths[i % 2], 11000);
    auto t1 = Clock::now();
    allocations += bench::allocationCount() - before;
    memberFloor(*form, i % 2 ? 0.75 : 1.3333);
    auto t2 = Clock::now();
    ++i;
    double run = std::chrono::duration<double>(t1 - t0).count();
    placing += run;
    floor += std::chrono::duration<double>(t2 - t1).count();
    state.SetIterationTime(run);
  }
  state.SetItemsProcessed(state.iterations() * controls);
  state.counters["controls"] = controls;
  state.counters["floor_ms"] = benchmark::Counter(floor * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = floor > 0 ? placing / floor : 0;
  const auto passes = static_cast<double>(state.iterations());
  state.counters["us_per_control"] = placing / passes / controls * 1e6;
  state.counters["allocs_per_control"] = static_cast<double>(allocations) / passes / controls;
  form->unload();
}
BENCHMARK(PlacingRun)
    ->Arg(100)
    ->Arg(300)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
