#pragma once
// The real-time connect dialog: waits for the logger, takes the sampling
// interval (2..3600 s) and the number of points (1..100000), and "RUN"
// starts the real-time run. The values are handed to the main window while
// they are typed, so they are kept even when the dialog is cancelled. Enter
// and Escape do nothing here: a stray key must neither start a run nor drop
// the values being typed.
#include <QString>
#include <functional>

#include "frame/DialogRules.h"
#include "ui/dialogs/LoggerDialogBase.h"

class QMessageBox;

namespace acv {

class CNumberEdit;
class PictureButton;
class SpinButtons;

inline constexpr const char* kRealTimeOwnCheckHint =
    "Press \"RUN\" to read real-time data,or \"Cancel\" to exit.";

class CRealTimeDlg : public LoggerDialogBase {
  Q_OBJECT

 public:
  explicit CRealTimeDlg(QWidget* parent = nullptr);

  DialogKind Kind() const override { return DialogKind::RealTime; }

  // Shows why a field is not accepted ("Please enter an integer." ...) when
  // a field is left or RUN is pressed, or, with an empty text, that both
  // fields are fine again. By default a
  // non-modal box that does not take the focus from the field being typed.
  using Prompt = std::function<void(const QString& text)>;
  void SetPrompt(Prompt prompt) { prompt_ = std::move(prompt); }

  CNumberEdit* RateEdit() const { return rateEdit_; }
  CNumberEdit* PointsEdit() const { return pointsEdit_; }
  PictureButton* RunButton() const { return runButton_; }

 protected:
  void Prepare() override;
  void keyPressEvent(QKeyEvent* event) override;
  void done(int result) override;

 private:
  void FieldChanged(bool rateField);
  // A field left (focus elsewhere, Enter): now a wrong value is named.
  void FieldLeft();
  RealTimeCheck CurrentCheck() const;
  void RunPressed();
  void ShowPrompt(const QString& text);

  CNumberEdit* rateEdit_;
  SpinButtons* rateSpin_;
  CNumberEdit* pointsEdit_;
  SpinButtons* pointsSpin_;
  PictureButton* runButton_;
  PictureButton* cancelButton_;
  Prompt prompt_;
  QMessageBox* promptBox_ = nullptr;
  bool attached_ = false;  // the change handlers act only on the user's edits
};

}  // namespace acv
