#include "ui/dialogs/CNumberEdit.h"

#include <QValidator>

namespace acv {

namespace {

// Every insertion (typing, paste, drop) passes the line edit's validator, so
// this is the one place that sees them all. It removes the characters the
// field does not take and accepts the rest, moving the cursor back over what
// was removed in front of it.
class NumberCharFilter : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int& pos) const override {
    QString kept;
    kept.reserve(input.size());
    int newPos = pos;
    for (int i = 0; i < input.size(); ++i) {
      if (CNumberEdit::IsNumberChar(input[i])) {
        kept.append(input[i]);
      } else if (i < pos) {
        --newPos;
      }
    }
    input = kept;
    pos = newPos;
    return Acceptable;
  }
};

}  // namespace

CNumberEdit::CNumberEdit(QWidget* parent) : QLineEdit(parent) {
  setValidator(new NumberCharFilter(this));
}

bool CNumberEdit::IsNumberChar(QChar c) {
  return (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
}

}  // namespace acv
