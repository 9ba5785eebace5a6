#pragma once
// How the logger link reaches its user. The main window implements it with
// real dialogs and message boxes; the command-line tool with a headless
// "dialog" that prints. The link never includes a widget header.
#include <string>
#include <vector>

namespace acv {

// Link status texts: every connection dialog shows one as its title, and the
// title is also its state.
inline constexpr const char* kStatusConnecting = "Connecting...";
inline constexpr const char* kStatusConnected = "Connected";
inline constexpr const char* kStatusNotConnected = "Not Connected";
inline constexpr const char* kConnectingFailed =
    "Connecting failed. Ensure logger inserted and try again.";

enum class DialogKind { LoggerSetup, CorrectTime, Download, RealTime };

// An open connection dialog as the link sees it.
class ConnectionDialog {
 public:
  virtual ~ConnectionDialog() = default;
  virtual DialogKind Kind() const = 0;
  virtual std::string Status() const = 0;
  // Sets the status string and the title.
  virtual void SetStatus(const std::string& status) = 0;
  // The message (hint) line; the Correct Time dialog ignores it.
  virtual void SetMessage(const std::string& text) = 0;
};

enum class MessageIcon { None, Information, Warning, Question };

// Why a real-time run ended.
enum class RunEnd {
  PointLimit,      // the requested number of points was reached
  Stopped,         // the Stop command (or closing the program)
  NoChannel,       // "There is no channel!"
  ChannelChanged,  // "The channel is changed,please restart!"
  Silent,          // the watchdog: no block for 10 s (or the port was lost)
};

class LinkHost {
 public:
  virtual ~LinkHost() = default;

  // Connection dialogs whose windows exist right now.
  virtual std::vector<ConnectionDialog*> OpenDialogs() = 0;

  // A modal message box with an OK button.
  virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;

  // The "Loading..." progress window of a download.
  virtual bool ProgressWindowOpen() const = 0;
  virtual void ProgressOpen(int rangeMax, int position) = 0;
  virtual void ProgressSet(int position) = 0;
  virtual void ProgressClose() = 0;

  // A download completed and the document holds the new STORE data (already
  // saved as the previous measurement): show STORE RMS, reset the zoom...
  virtual void DownloadFinished() {}
  // A download was abandoned; the document is unchanged.
  virtual void DownloadFailed(const std::string& /*message*/) {}

  // Real-time run observers, so the window can re-run its display commands.
  // FirstBlock: the first data block of a run arrived (arrays allocated,
  // rtStartTime set); the window selects REAL TIME EPA unless another
  // real-time display is active.
  virtual void RealTimeFirstBlock() {}
  // PointAdded: rtCount has just been incremented.
  virtual void RealTimePointAdded() {}
  virtual void RealTimeEnded(RunEnd /*why*/) {}
  // The run's crash journal could not be created or written; the run goes
  // on unprotected. Told once per run, when the first problem happens.
  virtual void RealTimeJournalFailed(const std::string& /*problem*/) {}

  // The logger acknowledged a set-up or clock command (0xEE or 0x1E).
  virtual void CommandAcknowledged(bool /*pressStart*/) {}

  // A port exists but cannot be opened (no permission, another program holds
  // it, or the device refuses). The text explains the cause and the remedy;
  // the link reports each distinct problem once per dialog opening, after
  // the scan or check that found it. The link's timers keep running while a
  // modal box is up, so a host should show it from the event loop (queued).
  virtual void PortProblem(const std::string& /*text*/) {}
};

}  // namespace acv
