#include <rescalo/runtime/clock.h>

#include <algorithm>

namespace rescalo::runtime {

ClockTimer::ClockTimer(VirtualClock& clock, std::function<void()> onTick)
    : clock_(&clock), onTick_(std::move(onTick)) {
  clock.timers_.push_back(this);
}

ClockTimer::~ClockTimer() {
  if (clock_) std::erase(clock_->timers_, this);
}

void ClockTimer::rearm() {
  if (clock_) due_ = clock_->now() + interval();
}

VirtualClock::~VirtualClock() {
  for (ClockTimer* t : timers_) t->detach();
}

std::shared_ptr<ClockTimer> VirtualClock::createTimer(std::function<void()> onTick) {
  return std::make_shared<ClockTimer>(*this, std::move(onTick));
}

ClockTimer* VirtualClock::nextDue(double limit) {
  ClockTimer* best = nullptr;
  for (ClockTimer* t : timers_) {
    if (!t->enabled() || t->interval() == 0 || t->ticking_ || t->due_ > limit) continue;
    if (!best || t->due_ < best->due_) best = t;
  }
  return best;
}

int VirtualClock::advance(double ms) {
  double target = nowMs_ + ms;
  int ticks = 0;
  while (ClockTimer* t = nextDue(target)) {
    nowMs_ = std::max(nowMs_, t->due_);
    t->due_ = nowMs_ + t->interval();
    // A tick may destroy its own timer: hold it while it runs.
    auto keep = std::static_pointer_cast<ClockTimer>(t->shared_from_this());
    struct Ticking {
      ClockTimer* timer;
      ~Ticking() { timer->ticking_ = false; }
    } ticking{t};
    t->ticking_ = true;
    t->onTick_();
    ++ticks;
  }
  nowMs_ = target;
  return ticks;
}

int VirtualClock::runDue() { return advance(0); }

}  // namespace rescalo::runtime
