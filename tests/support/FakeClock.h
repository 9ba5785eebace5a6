#pragma once
// A fake clock for the state machines: timers and posted tasks fire only when
// a test advances the time, in time order, deterministically.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "logger/TimerHost.h"

namespace acv::test {

class FakeClock {
 public:
  std::int64_t Now() const { return now_; }
  // Runs everything due up to now + ms (timers re-arm by their period).
  void Advance(std::int64_t ms);
  // Runs what is due now (posted tasks with no delay).
  void RunDue() { Advance(0); }
  // A one-shot task, as a queued event of the event loop.
  void Post(std::int64_t delayMs, std::function<void()> task);

  // Used by FakeTimerHost.
  struct Timer {
    std::int64_t due = 0;
    std::int64_t period = 0;
    std::uint64_t seq = 0;
  };
  void Register(class FakeTimerHost* host) { hosts_.push_back(host); }
  void Unregister(class FakeTimerHost* host);
  std::uint64_t NextSeq() { return ++seq_; }

 private:
  struct Task {
    std::int64_t due;
    std::uint64_t seq;
    std::function<void()> run;
  };
  std::int64_t now_ = 0;
  std::uint64_t seq_ = 0;
  std::vector<Task> tasks_;
  std::vector<class FakeTimerHost*> hosts_;
};

class FakeTimerHost : public TimerHost {
 public:
  explicit FakeTimerHost(FakeClock& clock) : clock_(clock) { clock_.Register(this); }
  ~FakeTimerHost() override { clock_.Unregister(this); }

  void SetCallback(Callback callback) override { callback_ = std::move(callback); }
  void Start(int id, int milliseconds) override;
  void Kill(int id) override { timers_.erase(id); }
  bool IsActive(int id) const override { return timers_.count(id) != 0; }
  // Period of an active timer (for assertions), or -1.
  int PeriodOf(int id) const;
  // Ids started so far, in order (for assertions); cleared by tests at will.
  std::vector<std::pair<int, int>> started;

 private:
  friend class FakeClock;
  FakeClock& clock_;
  Callback callback_;
  std::map<int, FakeClock::Timer> timers_;
};

}  // namespace acv::test
