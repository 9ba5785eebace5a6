#pragma once
// The Add to Library dialog: the site the data on show go to, chosen from
// the library's sites or typed as a new one, and whether every later
// download goes there without asking. Which names are valid and what is
// proposed are frame/LibraryChoices' rules.
#include <QDialog>

#include "frame/LibraryChoices.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace acv {

class CAddToLibraryDlg : public QDialog {
  Q_OBJECT
 public:
  CAddToLibraryDlg(const LibrarySiteOffer& offer, QWidget* parent);
  // The choice made: the site name cleaned, the tick.
  LibrarySiteOffer Choice() const;

 private:
  void CheckName();

  LibrarySiteOffer offer_;
  QComboBox* site_ = nullptr;
  QCheckBox* everyDownload_ = nullptr;
  QLabel* problem_ = nullptr;
  QPushButton* add_ = nullptr;
};

}  // namespace acv
