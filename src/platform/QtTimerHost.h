#pragma once
// Window timers with ids over QTimer: Start(id, ms) (re)arms a periodic
// timer, Kill(id) stops it, and the callback receives the id on the thread
// of the event loop. A handler may start or kill any timer, its own included.
#include <QObject>
#include <QTimer>
#include <map>
#include <memory>

#include "logger/TimerHost.h"

namespace acv {

class QtTimerHost : public QObject, public TimerHost {
 public:
  explicit QtTimerHost(QObject* parent = nullptr) : QObject(parent) {}

  void SetCallback(Callback callback) override { callback_ = std::move(callback); }
  void Start(int id, int milliseconds) override;
  void Kill(int id) override;
  bool IsActive(int id) const override;

 private:
  Callback callback_;
  // Timers are kept once created (only stopped), so a handler that kills
  // its own timer never deletes the object that is emitting.
  std::map<int, std::unique_ptr<QTimer>> timers_;
};

}  // namespace acv
