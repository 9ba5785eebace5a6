#include "ui/DialogScreenshot.h"

#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "frame/Commands.h"
#include "graph/GraphPictureFile.h"
#include "ui/CMainFrame.h"
#include "ui/dialogs/CLoadingDlg.h"
#include "ui/dialogs/LoggerDialogBase.h"

namespace acv {
namespace {

constexpr int kPollMs = 50;
// The simulated logger answers within a second; a real one may need a full
// port search. Past this the picture is taken anyway and reported as failed.
constexpr int kGiveUpMs = 30000;
constexpr int kCaptionHeight = 26;

struct Target {
  DialogKind kind;
  int command;
};

Target TargetOf(const QString& which) {
  if (which == QLatin1String("realtime")) return {DialogKind::RealTime, cmd::kRun};
  if (which == QLatin1String("setup")) return {DialogKind::LoggerSetup, cmd::kLoggerSetup};
  if (which == QLatin1String("clock")) return {DialogKind::CorrectTime, cmd::kCorrectTime};
  return {DialogKind::Download, cmd::kDownload};  // "download" and "loading"
}

}  // namespace

DialogScreenshot::DialogScreenshot(CMainFrame& frame, QString which, QString file, int delayMs,
                                   std::function<void(bool ok)> done)
    : QObject(&frame),
      frame_(frame),
      which_(std::move(which)),
      file_(std::move(file)),
      delayMs_(delayMs),
      done_(std::move(done)),
      poll_(new QTimer(this)) {
  connect(poll_, &QTimer::timeout, this, &DialogScreenshot::Poll);
}

void DialogScreenshot::Start() {
  const Target target = TargetOf(which_);
  if (which_ == QLatin1String("loading")) {
    // Download is pressed as soon as the logger answers.
    frame_.Logger().AutoStart(DialogKind::Download);
  } else {
    frame_.OnCommand(target.command);
  }
  poll_->start(kPollMs);
}

void DialogScreenshot::Poll() {
  if (saving_) return;
  waitedMs_ += kPollMs;
  const bool late = waitedMs_ >= kGiveUpMs;
  if (which_ == QLatin1String("loading")) {
    // Taken at once: the window goes away when the download ends.
    CLoadingDlg* loading = frame_.Logger().Loading();
    if (loading != nullptr && loading->Position() * 3 >= loading->Maximum()) {
      Save(*loading, true);
    } else if (late) {
      Save(frame_, false);
    }
    return;
  }
  LoggerDialogBase* dialog = frame_.Logger().Dialog(TargetOf(which_).kind);
  const bool connected = dialog->isVisible() && dialog->Status() == kStatusConnected;
  if (!connected && !late) return;
  saving_ = true;
  poll_->stop();
  QTimer::singleShot(connected ? delayMs_ : 0, this,
                     [this, dialog, connected] { Save(*dialog, connected); });
}

void DialogScreenshot::Save(QWidget& window, bool reached) {
  saving_ = true;
  poll_->stop();
  const bool saved = SavePictureFile(WithCaption(window), file_).empty();
  done_(saved && reached);
}

QImage DialogScreenshot::WithCaption(QWidget& window) {
  const QImage body = window.grab().toImage();
  QImage picture(body.width() + 2, body.height() + kCaptionHeight + 1, QImage::Format_RGB32);
  picture.fill(QColor(96, 96, 96));  // a one-pixel frame around everything
  QPainter painter(&picture);
  const QRect caption(1, 1, body.width(), kCaptionHeight - 1);
  painter.fillRect(caption, QColor(52, 92, 150));
  QFont font = window.font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(caption.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   window.windowTitle());
  painter.drawImage(1, kCaptionHeight, body);
  return picture;
}

}  // namespace acv
