#pragma once
// The help: our own HTML document, shipped inside the program, shown in a
// browser window with back/forward navigation and clickable contents.
#include <QWidget>

class QTextBrowser;

namespace acv {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr const char* kHelpDocument = "qrc:/help/index.html";

  explicit HelpWindow(QWidget* parent = nullptr);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace acv
