#pragma once
// A plain connection dialog for each of the four logger commands (download,
// real-time run, set-up, clock), until their full dialogs take over: the
// title is the link status, one message line, the start button acting on the
// status ("Connecting..." ignores it, "Not Connected" explains, otherwise the
// transfer starts or the command is sent), and Cancel. It drives the real
// link, so the whole program works end to end.
#include <QDialog>
#include <string>

#include "logger/LinkHost.h"
#include "ui/dialogs/DialogContext.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace acv {

class StandInConnectionDialog : public QDialog, public ConnectionDialog {
  Q_OBJECT

 public:
  StandInConnectionDialog(DialogKind kind, QWidget* parent);

  // Makes the link's opening steps and shows the dialog window-modal without
  // blocking; false when it may not open (a download is in progress).
  bool Open(DialogContext& context);

  QPushButton* StartButton() const { return start_; }
  QPushButton* CancelButton() const { return cancel_; }
  QString MessageText() const;

  // ---- ConnectionDialog ---------------------------------------------------
  DialogKind Kind() const override { return kind_; }
  std::string Status() const override { return status_; }
  void SetStatus(const std::string& status) override;
  void SetMessage(const std::string& text) override;

 protected:
  void done(int result) override;

 private:
  void OnStart();
  void StartDownload();
  void StartRealTime();
  void SendSetup();
  void SendClock();

  DialogKind kind_;
  DialogContext* context_ = nullptr;
  std::string status_;
  QLabel* message_;
  QPushButton* start_;
  QPushButton* cancel_;
  QSpinBox* interval_ = nullptr;  // real time only
  QSpinBox* points_ = nullptr;
  bool registered_ = false;
};

}  // namespace acv
