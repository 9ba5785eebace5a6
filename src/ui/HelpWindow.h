#pragma once
// The help: our own HTML document, installed beside the program and built
// into it, shown in a browser window with back/forward navigation and
// clickable contents.
#include <QWidget>

class QTextBrowser;

namespace acv {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  // The built-in copy, shown when no installed one is found.
  static constexpr const char* kHelpDocument = "qrc:/help/index.html";

  explicit HelpWindow(QWidget* parent = nullptr);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace acv
