// A large form from end to end: read from its text and built, shown (which captures and places
// every control) and dragged once, over 1,000 to 64,000 controls. The time and the peak heap
// per control should not grow with the form. The time is the CPU time of the run, so that
// other work on a shared machine does not count.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

#include <rescalo/control/rescalo.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/loader.h>
#include "generated_form.h"
#include "heap_usage.h"

using namespace rescalo;

namespace {

void LoadAndPlace(benchmark::State& state) {
  const auto controls = static_cast<int>(state.range(0));
  const std::string text = testing_support::generatedForm(controls);
  runtime::RuntimeOptions o;
  o.settingsFile = "/tmp/rescalo-bench-settings";
  std::size_t peak = 0;
  for (auto _ : state) {
    runtime::Runtime rt(o);
    control::registerRescalo(rt.userControls());
    const std::size_t before = bench::heapInUse();
    bench::markHeapPeak();
    const std::clock_t t0 = std::clock();
    auto form = runtime::buildForm(rt, frm::read(text, "bench.frm"), "bench.frm");
    form->call("Show");
    form->userDrag(16000, 11000);
    state.SetIterationTime(static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC);
    peak = std::max(peak, bench::heapPeakSinceMark() - before);
    form->unload();
  }
  state.counters["controls"] = controls;
  // Seconds per control, shown in the benchmark's time units.
  state.counters["per_control"] = benchmark::Counter(
      controls, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["peak_bytes_per_control"] =
      benchmark::Counter(static_cast<double>(peak) / controls, benchmark::Counter::kDefaults,
                         benchmark::Counter::kIs1024);
}
BENCHMARK(LoadAndPlace)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(16000)
    ->Arg(64000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
