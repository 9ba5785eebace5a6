#pragma once
// Window timers with ids, as the link, the main frame and the graph use them:
// Start(id, ms) (re)arms a periodic timer, Kill(id) stops it, and the owner's
// callback receives OnTimer(id) on the UI thread. One-shot timers are killed
// by their own handler. The Qt implementation is platform/QtTimerHost; tests
// use a fake clock.
#include <functional>

namespace acv {

class TimerHost {
 public:
  using Callback = std::function<void(int id)>;
  virtual ~TimerHost() = default;
  virtual void SetCallback(Callback callback) = 0;
  virtual void Start(int id, int milliseconds) = 0;
  virtual void Kill(int id) = 0;
  virtual bool IsActive(int id) const = 0;
};

// Timer ids of the main frame.
namespace timer {
inline constexpr int kRealClose = 2;          // 100 ms once: close after settings were written
inline constexpr int kPortScan = 4;           // 100 ms, 1000 ms after a failed probe cycle
inline constexpr int kProbe = 5;              // 500 ms: next probe
inline constexpr int kKeepAlive = 6;          // 3000 ms: port check
inline constexpr int kRedrawAfterLoad = 8;    // 50 ms once: zoom reset after a load or download
inline constexpr int kDownloadWatchdog = 9;   // 5000 ms
inline constexpr int kBlockRetry = 10;        // 900 ms
inline constexpr int kFirstFrameRepeat = 12;  // 500 ms once
inline constexpr int kRealTimeWatchdog = 13;  // 10000 ms
inline constexpr int kSamplingTick = 14;      // 10 ms, then the sampling interval
inline constexpr int kRealTimeRepeat = 15;    // 5000 ms
inline constexpr int kBlockSettle = 16;       // 250 ms once: decide on a real-time block held back
}  // namespace timer

}  // namespace acv
