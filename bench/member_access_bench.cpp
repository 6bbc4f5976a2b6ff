// By-name member access against reading the field directly: what late binding costs the
// resize pass, as a ratio of the two measured in one run.

#include <benchmark/benchmark.h>

#include <rescalo/runtime/form.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/loader.h>

using namespace rescalo;

namespace {

struct Fixture {
  runtime::Runtime rt{[] {
    runtime::RuntimeOptions o;
    o.settingsFile = "/tmp/rescalo-bench-settings";
    return o;
  }()};
  std::shared_ptr<runtime::Form> form;
  Fixture() {
    auto doc = frm::read(
        "VERSION 5.00\nBegin VB.Form F\n   ClientHeight = 3000\n   ClientWidth = 4000\n"
        "   Begin VB.CommandButton C\n      Height = 375\n      Left = 120\n      Top = 240\n"
        "      Width = 1215\n   End\nEnd\n",
        "bench.frm");
    form = runtime::buildForm(rt, doc, "bench.frm");
  }
};

void DirectField(benchmark::State& state) {
  Fixture f;
  runtime::Control& c = *f.form->controls().front();
  for (auto _ : state) benchmark::DoNotOptimize(c.left + c.top + c.width + c.height);
}
BENCHMARK(DirectField);

void ByName(benchmark::State& state) {
  Fixture f;
  runtime::Control& c = *f.form->controls().front();
  for (auto _ : state)
    benchmark::DoNotOptimize(c.get("Left").toDouble() + c.get("Top").toDouble() +
                             c.get("Width").toDouble() + c.get("Height").toDouble());
}
BENCHMARK(ByName);

void ByNameAbsentMember(benchmark::State& state) {
  Fixture f;
  runtime::Control& c = *f.form->controls().front();
  host::Variant out;
  for (auto _ : state) benchmark::DoNotOptimize(c.tryGet("ListImages", {}, out));
}
BENCHMARK(ByNameAbsentMember);

}  // namespace
