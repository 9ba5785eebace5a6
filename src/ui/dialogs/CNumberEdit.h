#pragma once
// The edit control of every numeric dialog field: only the digits, "-" and
// "." can be typed (backspace, delete and the cursor keys work as usual);
// other characters are dropped, and pasted or dropped text is filtered the
// same way. Otherwise a plain line edit: it does not check ranges, that is
// the dialog's business.
#include <QLineEdit>

namespace acv {

class CNumberEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CNumberEdit(QWidget* parent = nullptr);

  // True for the characters the field takes.
  static bool IsNumberChar(QChar c);
};

}  // namespace acv
