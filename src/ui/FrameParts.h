#pragma once
// The parts of the main window its collaborators work with; all outlive them.
class QWidget;

namespace acv {

class CDTView;
class Prompter;
class CDTDoc;

struct FrameParts {
  QWidget& owner;  // parent of their dialogs and windows
  Prompter& prompter;
  CDTView& view;
  const CDTDoc& doc;
};

// Shown, in front and with the keyboard: the arrow keys, Enter, Ctrl+C and
// the window's own Alt keys act in the window the user just asked for.
void BringUp(QWidget* window);

}  // namespace acv
