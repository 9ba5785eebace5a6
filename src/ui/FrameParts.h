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

}  // namespace acv
