#pragma once
// The virtual clock: time passes only when a test (or the command) advances it; timers tick on
// it in due order and nothing ever sleeps.

#include <functional>
#include <memory>
#include <vector>

#include <rescalo/host/services.h>

namespace rescalo::runtime {

class VirtualClock;

class ClockTimer : public host::Timer {
 public:
  ClockTimer(VirtualClock& clock, std::function<void()> onTick);
  ~ClockTimer() override;
  void detach() { clock_ = nullptr; }

 protected:
  void rearm() override;

 private:
  friend class VirtualClock;
  VirtualClock* clock_;
  std::function<void()> onTick_;
  double due_ = 0;
  bool ticking_ = false;
};

class VirtualClock {
 public:
  ~VirtualClock();
  double now() const { return nowMs_; }  // milliseconds since the runtime started
  // Advances time by ms, ticking every timer that falls due on the way, in order; returns
  // how many ticks ran.
  int advance(double ms);
  // Ticks the timers that are due now (DoEvents).
  int runDue();
  std::shared_ptr<ClockTimer> createTimer(std::function<void()> onTick);

 private:
  friend class ClockTimer;
  ClockTimer* nextDue(double limit);
  double nowMs_ = 0;
  std::vector<ClockTimer*> timers_;
};

}  // namespace rescalo::runtime
