#pragma once
// The About box: the icon, the program's name and version, OK.
#include <QDialog>

namespace acv {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace acv
