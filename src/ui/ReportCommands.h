#pragma once
// Printing, print preview and page setup, the same pages as PDF files, and
// pictures of the graph: the commands of File > Print, Print Preview, Export
// PDF, Save Graph Picture and Print Setup. The pages are laid out in
// frame/ReportPages and drawn by graph/ReportRenderer; this class runs the
// dialogs around them and keeps the printer between commands.
#include <QtGlobal>
#include <functional>
#include <memory>

#include "data/CDTDoc.h"
#include "frame/DisplayModes.h"
#include "ui/FrameParts.h"

class QPrinter;
class QWidget;

namespace acv {

class CDTView;
class Prompter;

class ReportCommands {
 public:
  // What the commands read of the main window; all outlive this object.
  struct Host : FrameParts {
    std::function<DisplayMode()> activeMode;
  };
  explicit ReportCommands(Host host);
  ~ReportCommands();
  ReportCommands(const ReportCommands&) = delete;
  ReportCommands& operator=(const ReportCommands&) = delete;

  // Print or Print Preview of the graph or the list (the command's id).
  void Print(int commandId);
  void PrintSetup();
  void ExportPdf(int commandId);
  void SaveGraphPicture();

 private:
  QPrinter& Printer();

  Host host_;
  std::unique_ptr<QPrinter> printer_;
  bool pageSetUp_ = false;  // the user chose paper and orientation in Print Setup
};

}  // namespace acv
