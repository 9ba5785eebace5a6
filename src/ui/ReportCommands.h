#pragma once
// Printing, print preview and page setup, the same pages as PDF files, and
// pictures of the graph: the commands of File > Print, Print Preview, Export
// PDF, Save Graph Picture and Print Setup. The pages are the graph page, the
// list pages and the summary (statistics, energy, band and events of the
// whole RMS series on show, then its graph with the events shaded). They are
// laid out in frame/ReportPages and frame/SummaryPages and drawn by
// graph/ReportRenderer; this class runs the dialogs around them and keeps the
// printer between commands.
#include <QtGlobal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "data/Settings.h"
#include "frame/DisplayModes.h"
#include "frame/SummaryPages.h"
#include "ui/FrameParts.h"

class QPainter;
class QPrinter;
class QRect;
class QWidget;

namespace acv {

class CDTView;
class Prompter;

class ReportCommands {
 public:
  // What the commands read of the main window; all outlive this object.
  struct Host : FrameParts {
    std::function<DisplayMode()> activeMode;
    // The colours and the event limits, with the Y axes as they are now.
    std::function<AppSettings()> settings;
    // The data file on show ("" for data not from a file), for the summary.
    std::function<std::string()> documentPath;
    // The library site whose timeline is on show ("" for other data), and
    // the stretches of a site's timeline between its gaps (false and
    // *problem when the library cannot tell).
    std::function<std::string()> siteOnShow;
    std::function<bool(const std::string&, std::vector<TimeStretch>*, std::string*)> siteStretches;
  };
  explicit ReportCommands(Host host);
  ~ReportCommands();
  ReportCommands(const ReportCommands&) = delete;
  ReportCommands& operator=(const ReportCommands&) = delete;

  // Print or Print Preview of the graph, the list or the summary (the
  // command's id).
  void Print(int commandId);
  void PrintSetup();
  void ExportPdf(int commandId);
  void SaveGraphPicture();
  // The compliance pages of `content` alone (a site's weekly verdict) in
  // the print preview, from which they print.
  void PreviewCompliance(const SummaryContent& content);
  // One page that `paint` draws into the page's rectangle, in the print
  // preview titled `title` (landscape unless Print Setup chose otherwise).
  void PreviewPage(const QString& title, const std::function<void(QPainter&, const QRect&)>& paint);

 private:
  // The print preview of `paint`'s pages, most of the screen large.
  void ShowPreview(QPrinter& printer, const QString& title,
                   const std::function<void(QPrinter*)>& paint);
  QPrinter& Printer();
  struct Summary;
  // The summary of the series on show with its graph page; false after
  // saying why there is none.
  bool PrepareSummary(Summary& summary);

  Host host_;
  std::unique_ptr<QPrinter> printer_;
  bool pageSetUp_ = false;  // the user chose paper and orientation in Print Setup
};

}  // namespace acv
