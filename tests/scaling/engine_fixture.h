#pragma once
// An engine driven by hand over a runtime form: the tests choose its settings, run its passes
// at the sizes they want and read what it raised. No control, no timers: only the engine.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/error_object.h"
#include "runtime/form.h"
#include "runtime/picture.h"
#include "runtime/raster/raster.h"
#include "scaling/engine.h"
#include "test_support.h"

namespace engine_test {

using host::ObjectPtr;
using host::Variant;

class TestEngine : public scaling::Engine {
 public:
  TestEngine(runtime::Runtime& rt, std::shared_ptr<runtime::Form> form)
      : rt_(rt), form_(std::move(form)) {
    surfaces_ = {rt.createPictureBox(), rt.createPictureBox()};
    formPic_ = rt.createPictureBox();
    settings.DesignFormScaleWidth = form_->get("ScaleWidth").toSingle();
    settings.DesignFormScaleHeight = form_->get("ScaleHeight").toSingle();
  }

  scaling::EngineSettings settings;
  // What the engine raised and asked for, in order: "ResizeStarted", "Lock(1)",
  // "Error:<description>:<number>"...
  std::vector<std::string> log;
  // Replace the control's Parent (which may fail) and its container's controls when set.
  std::function<ObjectPtr()> parent;
  std::function<ObjectPtr()> controls;
  bool unbound = false;  // no host form bound

  void run() { ResizeControls(form_); }
  ObjectPtr formPic() { return formPic_; }

 protected:
  scaling::EngineSettings engineSettings() const override { return settings; }
  void raiseEngineEvent(std::string_view event, host::Args args) override {
    std::string line(event);
    if (event == "Error")
      line += ":" + args[0].toString() + ":" +
              std::to_string(args[1].toObject()->get("Number").toLong());
    log.push_back(line);
  }
  void lockUpdates(bool lock) override { log.push_back(lock ? "Lock(1)" : "Lock(0)"); }
  ObjectPtr engineParent() override { return parent ? parent() : form_; }
  ObjectPtr containerControls() override {
    return controls ? controls() : runtime::controlsOf(*form_, true);
  }
  ObjectPtr boundHost() const override { return unbound ? nullptr : form_; }
  host::Services& engineServices() const override { return rt_; }
  effects::WorkSurfaces& workSurfaces() override { return surfaces_; }
  ObjectPtr formPicHolder() override { return formPic_; }
  void runResizeHandling() override { run(); }

 private:
  runtime::Runtime& rt_;
  std::shared_ptr<runtime::Form> form_;
  effects::WorkSurfaces surfaces_;
  ObjectPtr formPic_;
};

class EngineTest : public testing_support::RuntimeTest {
 protected:
  // The form of the given body, its engine, and the capture run made at the design size.
  TestEngine& start(const std::string& body, const std::function<void()>& beforeCapture = {}) {
    form = build(testing_support::formText(body));
    eng = std::make_unique<TestEngine>(rt, form);
    if (beforeCapture) beforeCapture();
    eng->run();
    return *eng;
  }
  // A placing run for an inner size in twips.
  void resizeTo(double w, double h) {
    form->setClientSize(w, h);
    eng->run();
  }
  ObjectPtr ctl(std::string_view key) {
    runtime::Control* c = form->find(key);
    if (!c) ADD_FAILURE() << "no control " << key;
    return c ? c->shared_from_this() : nullptr;
  }
  std::vector<double> geometry(std::string_view key) {
    auto c = ctl(key);
    return {c->get("Left").toDouble(), c->get("Top").toDouble(), c->get("Width").toDouble(),
            c->get("Height").toDouble()};
  }
  scaling::ControlClass& rec(std::string_view key) {
    auto r = scaling::findRecord<scaling::ControlClass>(eng->colControlInfo(), key);
    if (!r) throw std::runtime_error("no record " + std::string(key));
    return *r;
  }
  scaling::ControlFlags& flags(std::string_view key) {
    auto f = scaling::findRecord<scaling::ControlFlags>(eng->colControlFlags(), key);
    if (!f) throw std::runtime_error("no flags " + std::string(key));
    return *f;
  }

  std::shared_ptr<runtime::Form> form;
  std::unique_ptr<TestEngine> eng;
};

// A small picture of w x h pixels whose pixels all differ, so that any resampling shows.
inline ObjectPtr gradientPicture(int w, int h) {
  raster::Bitmap bm(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      bm.setPixel(x, y,
                  raster::rgb(x * 255 / std::max(1, w - 1), y * 255 / std::max(1, h - 1), 128));
  return runtime::makePicture(std::move(bm));
}

}  // namespace engine_test
