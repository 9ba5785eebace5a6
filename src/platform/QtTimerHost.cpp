#include "platform/QtTimerHost.h"

#include <algorithm>

namespace acv {

void QtTimerHost::Start(int id, int milliseconds) {
  std::unique_ptr<QTimer>& timer = timers_[id];
  if (!timer) {
    timer = std::make_unique<QTimer>();
    // The link's periods (10 ms sampling tick, 500 ms probes) are meant
    // literally; coarse timers may slip by 5 %.
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer.get(), &QTimer::timeout, this, [this, id] {
      if (callback_) callback_(id);
    });
  }
  timer->start(std::max(0, milliseconds));  // restarting replaces the period
}

void QtTimerHost::Kill(int id) {
  auto it = timers_.find(id);
  if (it != timers_.end()) it->second->stop();
}

bool QtTimerHost::IsActive(int id) const {
  auto it = timers_.find(id);
  return it != timers_.end() && it->second->isActive();
}

}  // namespace acv
