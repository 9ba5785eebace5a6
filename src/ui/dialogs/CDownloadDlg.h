#pragma once
// The download dialog: waits for the logger and "Download" starts reading
// its stored data. When the port check at opening fails, "Download" stays
// disabled for the rest of that opening, even if the link later reports the
// port as reachable again; the next opening checks afresh.
#include "ui/dialogs/LoggerDialogBase.h"

namespace acv {

class PictureButton;

inline constexpr const char* kWaitingForConnecting = "Waiting for connecting...";
inline constexpr const char* kDownloadOwnCheckHint =
    "Press \"Download\" to load store data from the logger,or \"Cancel\" to exit.";

class CDownloadDlg : public LoggerDialogBase {
  Q_OBJECT

 public:
  explicit CDownloadDlg(QWidget* parent = nullptr);

  DialogKind Kind() const override { return DialogKind::Download; }

  PictureButton* DownloadButton() const { return downloadButton_; }

 protected:
  void Prepare() override;

 private:
  // "Download" (and the hidden "REAL TIME" button, which starts a real-time
  // run the same way).
  void StartPressed(bool download);

  PictureButton* downloadButton_;
  PictureButton* cancelButton_;
  PictureButton* realTimeButton_;
};

}  // namespace acv
