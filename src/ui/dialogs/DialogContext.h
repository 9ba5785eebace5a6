#pragma once
// The logger dialogs' view of the main window: the link, the settings and
// the values the dialogs change there, and the registry that lets the link's
// LinkHost::OpenDialogs() list the open connection dialog. The main window
// implements it; the widget tests implement it over the fake port and clock.
#include "data/Settings.h"
#include "data/TimeText.h"
#include "logger/LinkHost.h"
#include "logger/LoggerLink.h"

namespace acv {

class DialogContext {
 public:
  virtual ~DialogContext() = default;

  virtual LoggerLink& Link() = 0;
  // The logger set-up values (sampleRateText ... dropLevelUnit) and the last
  // clock texts; the set-up and clock dialogs write them only when they send.
  virtual AppSettings& Settings() = 0;
  // Where the real-time run takes its interval (seconds) and point count
  // from; the real-time dialog writes them while the user types.
  virtual int& RtInterval() = 0;
  virtual int& RealTimePoints() = 0;

  // "Download" started a download: the data about to arrive are unsaved.
  virtual void SetDataUnsaved() = 0;
  // A set-up command went out: arm realTimePromptArmed and storePromptArmed.
  virtual void ArmSavePrompts() = 0;

  // A connection dialog's window appeared / went away.
  virtual void DialogOpened(ConnectionDialog* dialog) = 0;
  virtual void DialogClosed(ConnectionDialog* dialog) = 0;

  // The PC's clock, which pre-fills the clock dialog.
  virtual TimeStamp Now() const { return LocalNow(); }
};

}  // namespace acv
