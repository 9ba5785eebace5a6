#pragma once
// What the three display-settings dialogs share: the grey background, the
// group-box heading font and the pictured "OK" and "Cancel" buttons under
// the dialog's own controls.
#include <QDialog>

class QGroupBox;
class QPushButton;
class QVBoxLayout;

namespace acv {

class SettingsDialogBase : public QDialog {
  Q_OBJECT

 public:
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 protected:
  SettingsDialogBase(const QString& title, QWidget* parent);

  // A group box with the heading in Arial bold, 14 pixels.
  QGroupBox* Group(const QString& title, const QString& objectName);
  // The controls inside a group keep the dialog's plain font.
  void PlainFontInside(QGroupBox* group);
  // The dialog's own controls go here, above the buttons.
  QVBoxLayout* Body() const { return body_; }

 private:
  QVBoxLayout* body_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace acv
