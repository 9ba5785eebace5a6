#include "FakeClock.h"

#include <algorithm>
#include <limits>

namespace acv::test {

void FakeClock::Unregister(FakeTimerHost* host) {
  hosts_.erase(std::remove(hosts_.begin(), hosts_.end(), host), hosts_.end());
}

void FakeClock::Post(std::int64_t delayMs, std::function<void()> task) {
  tasks_.push_back({now_ + std::max<std::int64_t>(0, delayMs), NextSeq(), std::move(task)});
}

void FakeClock::Advance(std::int64_t ms) {
  const std::int64_t target = now_ + ms;
  for (;;) {
    // The earliest due event: a posted task or a timer, ties by arming order.
    std::int64_t bestDue = std::numeric_limits<std::int64_t>::max();
    std::uint64_t bestSeq = std::numeric_limits<std::uint64_t>::max();
    FakeTimerHost* bestHost = nullptr;
    int bestId = 0;
    std::size_t bestTask = tasks_.size();
    for (std::size_t i = 0; i < tasks_.size(); ++i) {
      const Task& t = tasks_[i];
      if (t.due < bestDue || (t.due == bestDue && t.seq < bestSeq)) {
        bestDue = t.due, bestSeq = t.seq, bestTask = i, bestHost = nullptr;
      }
    }
    for (FakeTimerHost* h : hosts_) {
      for (const auto& [id, t] : h->timers_) {
        if (t.due < bestDue || (t.due == bestDue && t.seq < bestSeq)) {
          bestDue = t.due, bestSeq = t.seq, bestHost = h, bestId = id, bestTask = tasks_.size();
        }
      }
    }
    if (bestDue > target) break;
    now_ = std::max(now_, bestDue);
    if (bestHost == nullptr) {
      auto run = std::move(tasks_[bestTask].run);
      tasks_.erase(tasks_.begin() + static_cast<std::ptrdiff_t>(bestTask));
      run();
    } else {
      FakeClock::Timer& t = bestHost->timers_[bestId];
      const std::uint64_t firedSeq = t.seq;
      t.due += t.period;  // periodic, as window timers are
      t.seq = NextSeq();
      if (bestHost->callback_) bestHost->callback_(bestId);
      (void)firedSeq;
    }
  }
  // A task that advanced the clock itself (a modal box's loop) has moved
  // time on already; time never runs back.
  now_ = std::max(now_, target);
}

void FakeTimerHost::Start(int id, int milliseconds) {
  FakeClock::Timer t;
  t.period = std::max(1, milliseconds);
  t.due = clock_.Now() + t.period;
  t.seq = clock_.NextSeq();
  timers_[id] = t;
  started.emplace_back(id, milliseconds);
}

int FakeTimerHost::PeriodOf(int id) const {
  auto it = timers_.find(id);
  return it == timers_.end() ? -1 : static_cast<int>(it->second.period);
}

}  // namespace acv::test
