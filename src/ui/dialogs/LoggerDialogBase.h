#pragma once
// What the four connection dialogs (real-time connect, download, logger
// set-up, clock) share: the status that is also the title, the message line,
// the grey background, the link's opening steps, the port check at opening,
// the start button's gate on the status, and the clean-up of every close
// (unregister from the main window, stop the link's connect timers).
//
// A dialog object is long-lived and reused for every opening. Close it before
// its DialogContext goes away: the destructor does not call back into the
// context, which may already be half destroyed at that point.
#include <QDialog>
#include <string>

#include "logger/LinkHost.h"
#include "ui/dialogs/DialogContext.h"

class QLabel;
class QPushButton;

namespace acv {

// The dialogs' background and the background of their controls.
inline constexpr int kDialogGrey = 225;

class LoggerDialogBase : public QDialog, public ConnectionDialog {
  Q_OBJECT

 public:
  // Opens the dialog and runs it modally; returns QDialog::Accepted when it
  // started its transfer or sent its command. The link's opening steps
  // (LoggerLink::BeginConnection: the port search or the periodic port
  // check) are made here; when a download's "Loading..." window exists the
  // dialog does not open and Rejected is returned.
  int Run(DialogContext& context);
  // The same without a nested event loop: shows the dialog window-modal and
  // returns at once; false when it did not open. finished() reports the end.
  bool Open(DialogContext& context);

  // ---- ConnectionDialog ---------------------------------------------------
  std::string Status() const override { return status_; }
  void SetStatus(const std::string& status) override;
  void SetMessage(const std::string& text) override;

  QString MessageText() const;
  // The button that starts the transfer or sends the command, and "Cancel".
  QPushButton* StartButton() const { return startButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

 protected:
  explicit LoggerDialogBase(QWidget* parent);

  // The dialog's own opening steps; Context() is valid.
  virtual void Prepare() = 0;
  DialogContext& Context() { return *context_; }
  LoggerLink& Link() { return context_->Link(); }

  // The message line, created by the dialog and handed over here.
  QLabel* MakeMessageLine(const QString& objectName);
  void SetButtons(QPushButton* start, QPushButton* cancel);

  enum class PortCheck { NotMade, Passed, Failed };
  // When the logger has answered before: close, reopen and close the port,
  // and set the status from the outcome.
  PortCheck CheckPortAtOpening();

  // The start button's gate: "Connecting..." does nothing, "Not Connected"
  // shows the failure in the message line; true when the action may go on.
  bool StatusAllowsAction();

  // Every close (accept, reject, Escape, the window's close button) ends here.
  void done(int result) override;

 private:
  bool Begin(DialogContext& context);

  DialogContext* context_ = nullptr;
  QLabel* messageLine_ = nullptr;
  QPushButton* startButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  bool registered_ = false;
  std::string status_;
};

}  // namespace acv
