#include "ui/LibraryWindow.h"

#include <QFileInfo>
#include <QMetaMethod>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>
#include <exception>

#include "analysis/SpanComparison.h"
#include "data/DataFile.h"
#include "data/FileIO.h"
#include "data/Settings.h"
#include "frame/CompareChoices.h"
#include "frame/CompareOverlay.h"
#include "frame/CompliancePages.h"
#include "frame/LibraryChoices.h"
#include "frame/LibraryWindowRules.h"
#include "graph/CompareOverlayPainter.h"
#include "graph/ReportPdf.h"
#include "library/LibraryCompare.h"
#include "library/LibraryMeasurementData.h"
#include "library/LibraryStore.h"
#include "library/core/TimelineBand.h"
#include "ui/AppInfo.h"
#include "ui/LibraryCommands.h"
#include "ui/Prompter.h"
#include "ui/dialogs/CSiteDlg.h"
#include "ui/panels/CLibraryDlg.h"

namespace acv {
namespace {

// The most points of a span the overlay reads: 48 days of one-second
// values, some 32 MB a span.
constexpr std::int64_t kMaxOverlayPoints = std::int64_t{1} << 22;

LibrarySiteRow RowOf(const library::SiteListing& s) {
  return {s.name, s.measurements, s.first, s.last, s.points};
}

LibraryMeasurementRow RowOf(const library::MeasurementRecord& m) {
  return {m.id,         m.site,     library::KindName(m.kind),
          m.start,      m.end,      m.points,
          m.duplicates, m.interval, m.trRecords,
          m.units,      m.source,   m.sha256};
}

}  // namespace

LibraryWindow::LibraryWindow(Host host) : QObject(&host.parts.owner), host_(std::move(host)) {}

void LibraryWindow::Open() {
  if (window_ == nullptr) {
    window_ = new CLibraryDlg(&host_.parts.owner);
    CLibraryDlg* w = window_;
    connect(w, &CLibraryDlg::siteChosen, this, &LibraryWindow::ReloadMeasurements);
    connect(w, &CLibraryDlg::reloadRequested, this, &LibraryWindow::Reload);
    connect(w, &CLibraryDlg::addShownRequested, this, &LibraryWindow::AddDataOnShow);
    connect(w, &CLibraryDlg::addFilesRequested, this, &LibraryWindow::AddFiles);
    connect(w, &CLibraryDlg::removeRequested, this, &LibraryWindow::RemoveChosen);
    connect(w, &CLibraryDlg::editSiteRequested, this, &LibraryWindow::EditSite);
    connect(w, &CLibraryDlg::openRequested, this, &LibraryWindow::OpenChosen);
    connect(w, &CLibraryDlg::timelineRequested, this, &LibraryWindow::ShowTimeline);
    connect(w, &CLibraryDlg::complianceRequested, this, &LibraryWindow::ShowCompliance);
    connect(w, &CLibraryDlg::compareRequested, this, &LibraryWindow::OpenCompare);
    // Over the lower right of the main window: the graph's start and the
    // menus stay in sight.
    const QRect owner = host_.parts.owner.frameGeometry();
    const QSize size(std::min(860, owner.width()), std::min(520, owner.height()));
    w->PlaceAt(QRect(QPoint(owner.right() - size.width(), owner.bottom() - size.height()), size));
    Reload();
  }
  window_->EnableTimeline(
      isSignalConnected(QMetaMethod::fromSignal(&LibraryWindow::ShowSiteTimeline)));
  window_->EnableCompliance(static_cast<bool>(host_.previewCompliance));
  window_->EnableCompare(true);
  BringUp(window_);
}

bool LibraryWindow::OpenLibrary(UserLibrary* library) {
  std::string problem;
  if (OpenUserLibrary(host_.settings, library, &problem)) return true;
  if (window_ != nullptr) {
    window_->SetLocation(
        QStringLiteral("The library could not be read: %1").arg(QString::fromStdString(problem)));
  }
  Tell(problem, true);
  return false;
}

void LibraryWindow::Tell(const std::string& text, bool warning) {
  host_.parts.prompter.Message(
      window_ != nullptr ? static_cast<QWidget*>(window_.data()) : &host_.parts.owner,
      QString::fromStdString(text), warning ? MessageIcon::Warning : MessageIcon::Information);
}

void LibraryWindow::Reload() {
  if (window_ == nullptr) return;
  UserLibrary library;
  if (!OpenLibrary(&library)) return;
  try {
    std::vector<std::vector<std::string>> rows;
    for (const library::SiteListing& s : library.store->Sites())
      rows.push_back(SiteCells(RowOf(s)));
    window_->SetLocation(
        QString::fromStdString("Library: " + library.connection->Location().Display()));
    window_->SetSites(SiteColumns(), rows);
  } catch (const std::exception& e) {
    Tell(e.what(), true);
    return;
  }
  // The connection is closed before the measurements are read in a second
  // use: a site chosen while filling reads them itself.
  library.Close();
  ReloadMeasurements();
}

void LibraryWindow::ReloadMeasurements() {
  if (window_ == nullptr) return;
  const std::string site = window_->ChosenSite();
  std::vector<std::vector<std::string>> rows;
  if (!site.empty()) {
    UserLibrary library;
    if (!OpenLibrary(&library)) return;
    try {
      for (const library::MeasurementRecord& m : library.store->Measurements(site))
        rows.push_back(MeasurementCells(RowOf(m)));
    } catch (const std::exception& e) {
      Tell(e.what(), true);
    }
  }
  window_->SetMeasurements(MeasurementColumns(), rows);
}

std::optional<std::string> LibraryWindow::SiteForAdd() {
  if (window_ != nullptr && !window_->ChosenSite().empty()) return window_->ChosenSite();
  // No site yet: the Add to Library dialog names a new one.
  LibrarySiteOffer offer;
  {
    UserLibrary library;
    if (!OpenLibrary(&library)) return std::nullopt;
    offer = OfferSites(library.connection->Location().Display(), library.store->SiteNames(),
                       host_.settings.library.autoAddSite, {});
  }
  const std::optional<LibrarySiteOffer> choice =
      host_.parts.prompter.ChooseLibrarySite(window_, offer);
  if (!choice) return std::nullopt;
  const std::string site = CleanSiteName(choice->site);
  if (const std::string bad = SiteNameProblem(site); !bad.empty()) {
    Tell(bad, true);
    return std::nullopt;
  }
  return site;
}

void LibraryWindow::AddDataOnShow() {
  if (!host_.dataToAdd()) {
    Tell("There are no data on show to add (or a real-time run is under way).", false);
    return;
  }
  const std::optional<std::string> site = SiteForAdd();
  if (!site) return;
  std::string line, problem;
  if (!host_.commands.Add(*site, &line, &problem)) {
    Tell(LibraryAddFailedMessage(problem), true);
  } else {
    host_.showStatus(QString::fromStdString(LibraryAddedStatus(line)), 0);
  }
  Reload();
  if (window_ != nullptr && window_->ChosenSite() != *site) window_->ChooseSite(*site);
}

void LibraryWindow::AddFiles() {
  const QStringList files =
      host_.parts.prompter.OpenFileNames(window_, QString::fromUtf8(kDataFilterOpen));
  if (files.isEmpty()) return;
  const std::optional<std::string> site = SiteForAdd();
  if (!site) return;
  UserLibrary library;
  if (!OpenLibrary(&library)) return;
  // Each file on its own: one that cannot be read or is refused leaves the
  // others added, and its line says why.
  std::string report;
  for (const QString& file : files) {
    const std::string path = file.toStdString();
    const std::string name = QFileInfo(file).fileName().toStdString();
    CDTDoc data;
    std::vector<std::uint8_t> bytes;
    std::string line, problem;
    const LoadResult loaded = LoadDataFile(path, data);
    if (!loaded.ok) {
      problem = loaded.error;
    } else if (const std::string error = ReadWholeFile(path, bytes, kMaxDataFileBytes);
               !error.empty()) {
      problem = error;
    } else {
      try {
        library.store->AddDataSet(data, bytes, name, *site, &line, &problem);
      } catch (const std::exception& e) {
        problem = e.what();
      }
    }
    report += name + ": " + (problem.empty() ? line : "not added: " + problem) + "\n";
  }
  library.Close();
  Reload();
  if (window_ != nullptr && window_->ChosenSite() != *site) window_->ChooseSite(*site);
  Tell(report, report.find(": not added: ") != std::string::npos);
}

void LibraryWindow::RemoveChosen() {
  if (window_ == nullptr || window_->SelectedMeasurements().empty()) return;
  const std::int64_t id = window_->SelectedMeasurements().front();
  UserLibrary library;
  if (!OpenLibrary(&library)) return;
  try {
    const std::optional<library::MeasurementRecord> chosen = library.store->Measurement(id);
    if (!chosen) {
      Tell("Measurement " + std::to_string(id) + " is no longer in the library.", true);
    } else if (host_.parts.prompter.AskYesNo(
                   window_, QString::fromStdString(RemoveQuestion(RowOf(*chosen))))) {
      if (!library.store->RemoveMeasurement(id)) {
        Tell("Measurement " + std::to_string(id) + " is no longer in the library.", true);
      } else {
        host_.showStatus(QStringLiteral("Library: removed measurement %1.").arg(id), 5000);
      }
    }
  } catch (const std::exception& e) {
    Tell("The measurement was not removed: " + std::string(e.what()), true);
  }
  library.Close();
  Reload();
}

void LibraryWindow::EditSite() {
  if (window_ == nullptr || window_->ChosenSite().empty()) return;
  const std::string name = window_->ChosenSite();
  std::optional<library::SiteRecord> site;
  {
    UserLibrary library;
    if (!OpenLibrary(&library)) return;
    try {
      site = library.store->Site(name);
    } catch (const std::exception& e) {
      Tell(e.what(), true);
      return;
    }
  }
  if (!site) {
    Tell("The library has no site '" + name + "' any more.", true);
    Reload();
    return;
  }
  const SiteValues values{site->nominal, site->frequency, site->scaling, site->notes};
  auto* dialog = new CSiteDlg(host_.parts.prompter, name, values, window_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, [this, dialog, record = *site]() mutable {
    const SiteValues& v = dialog->Accepted();
    record.nominal = v.nominal;
    record.frequency = v.frequency;
    record.scaling = v.scaling;
    record.notes = v.notes;
    UserLibrary library;
    if (!OpenLibrary(&library)) return;
    try {
      library.store->SaveSite(record);
      host_.showStatus(
          QStringLiteral("Library: site %1 changed.").arg(QString::fromStdString(record.name)),
          5000);
    } catch (const std::exception& e) {
      Tell("The site was not changed: " + std::string(e.what()), true);
    }
  });
  dialog->open();
}

void LibraryWindow::OpenChosen() {
  if (window_ == nullptr || window_->SelectedMeasurements().empty()) return;
  const std::int64_t id = window_->SelectedMeasurements().front();
  const std::string siteName = window_->ChosenSite();
  if (!host_.askToSaveFirst()) return;
  CDTDoc data;
  library::SiteRecord site;
  std::string problem;
  {
    UserLibrary library;
    if (!OpenLibrary(&library)) return;
    try {
      const std::optional<library::MeasurementRecord> chosen = library.store->Measurement(id);
      const std::optional<library::SiteRecord> found = library.store->Site(siteName);
      if (!chosen || chosen->site != siteName || !found) {
        problem = "Measurement " + std::to_string(id) + " is no longer in the library.";
      } else {
        site = *found;
        problem = library::MeasurementData(*library.store, site, *chosen, data);
      }
    } catch (const std::exception& e) {
      problem = e.what();
    }
  }
  if (!problem.empty()) {
    Tell(problem, true);
    return;
  }
  host_.showData(data, site.scaling, site.name + ", measurement " + std::to_string(id));
}

bool LibraryWindow::SiteStretches(const std::string& name, std::vector<TimeStretch>* stretches,
                                  std::string* problem) {
  UserLibrary library;
  if (!OpenUserLibrary(host_.settings, &library, problem)) return false;
  try {
    const std::optional<library::SiteRecord> site = library.store->Site(name);
    if (!site) {
      *problem = "the library has no site '" + name + "' any more.";
      return false;
    }
    const std::vector<library::ChunkInfo> chunks =
        library.store->Chunks(site->id, library::SeriesKind::Store);
    for (const auto& segment : library::SplitAtGaps(library::PiecesInRange(chunks, {}))) {
      stretches->push_back(
          {segment.front().Start(), segment.back().End(), segment.front().chunk->interval});
    }
  } catch (const std::exception& e) {
    *problem = e.what();
    return false;
  }
  return true;
}

bool LibraryWindow::SiteCompliance(const std::string& name, SummaryContent* content,
                                   std::string* problem) {
  UserLibrary library;
  if (!OpenLibrary(&library)) return false;
  const std::optional<library::SiteRecord> site = library.store->Site(name);
  if (!site) {
    *problem = "The library has no site '" + name + "' any more.";
    return false;
  }
  const library::SeriesKind kind = library::SeriesKind::Store;
  const std::vector<library::ChunkInfo> chunks = library.store->Chunks(site->id, kind);
  const auto segments = library::SplitAtGaps(library::PiecesInRange(chunks, {}));
  if (segments.empty()) {
    *problem = "Site " + name + " has no STORE points to judge.";
    return false;
  }
  const library::ChunkReader read = [&](const library::ChunkInfo& c) {
    return library.store->ReadChunk(c);
  };
  const library::ChannelFactors factors = library::LibraryStore::FactorsOf(*site, kind);
  EventLimits limits = host_.settings.eventLimits;
  limits.nominal = site->nominal;
  content->file = "Site " + name;
  content->partName = "STORE RMS, " +
                      FormatTime(segments.front().front().Start(), kSampleTimeFormat) + " .. " +
                      FormatTime(segments.back().back().End() - 1, kSampleTimeFormat) + ", " +
                      std::to_string(segments.size()) +
                      (segments.size() == 1 ? " stretch" : " stretches between gaps");
  content->limits = limits;
  // The library's own figures, as acvlogger-cli library compliance gives them.
  content->compliance = library::TimelineCompliance(segments, read, factors, limits);
  if (content->compliance.empty()) {
    *problem = "Site " + name + " has no channel in V to judge.";
    return false;
  }
  return true;
}

void LibraryWindow::ShowCompliance() {
  if (window_ == nullptr || window_->ChosenSite().empty() || !host_.previewCompliance) return;
  SummaryContent content;
  std::string problem;
  bool ok = false;
  try {
    ok = SiteCompliance(window_->ChosenSite(), &content, &problem);
  } catch (const std::exception& e) {
    problem = e.what();
  }
  if (!ok) {
    if (!problem.empty()) Tell(problem, true);
    return;
  }
  host_.previewCompliance(content);
}

void LibraryWindow::OpenCompare() {
  if (window_ == nullptr || window_->ChosenSite().empty()) return;
  const std::string site = window_->ChosenSite();
  if (compare_ != nullptr && compare_->Site() == site) {
    BringUp(compare_);
    return;
  }
  std::vector<LibraryMeasurementRow> rows;
  std::optional<TimeStamp> first, last;
  {
    UserLibrary library;
    if (!OpenLibrary(&library)) return;
    try {
      for (const library::MeasurementRecord& m : library.store->Measurements(site))
        rows.push_back(RowOf(m));
      for (const library::SiteListing& s : library.store->Sites()) {
        if (s.name == site) {
          first = s.first;
          last = s.last;
        }
      }
    } catch (const std::exception& e) {
      Tell(e.what(), true);
      return;
    }
  }
  if (compare_ != nullptr) compare_->close();
  compare_ = new CCompareDlg(site, CompareSpansOf(rows, first, last), &host_.parts.owner);
  connect(compare_, &CCompareDlg::compareRequested, this, &LibraryWindow::RunCompare);
  connect(compare_, &CCompareDlg::printRequested, this, &LibraryWindow::PrintCompare);
  connect(compare_, &CCompareDlg::previewRequested, this, &LibraryWindow::PreviewCompare);
  connect(compare_, &CCompareDlg::pdfRequested, this, &LibraryWindow::WriteComparePdf);
  // Over the upper left of the main window, clear of the Library window
  // at its lower right.
  const QRect owner = host_.parts.owner.frameGeometry();
  const QSize size(std::min(1100, owner.width() * 5 / 6), std::min(600, owner.height() * 3 / 4));
  compare_->PlaceAt(QRect(owner.topLeft() + QPoint(40, 60), size));
  compare_->ShowOverlay({}, GraphPlotColours(host_.settings));
  BringUp(compare_);
}

void LibraryWindow::RunCompare() {
  if (compare_ == nullptr) return;
  std::string problem;
  std::array<CompareSpan, 2> chosen;
  for (int which = 0; which < 2; ++which) {
    const std::optional<CompareSpan> span = compare_->Chosen(which, &problem);
    if (!span) {
      Tell(problem, true);
      return;
    }
    chosen[static_cast<std::size_t>(which)] = *span;
  }
  std::array<ComparedSpan, 2> figures;
  CompareOverlay overlay;
  std::string overlayNote;
  UserLibrary library;
  if (!OpenLibrary(&library)) return;
  try {
    const std::optional<library::SiteRecord> site = library.store->Site(compare_->Site());
    if (!site) {
      Tell("The library has no site '" + compare_->Site() + "' any more.", true);
      return;
    }
    EventLimits limits = host_.settings.eventLimits;
    limits.nominal = site->nominal;
    for (std::size_t which = 0; which < 2; ++which) {
      const CompareSpan& span = chosen[which];
      std::string mixed;
      const library::SpanFigures found =
          library::CompareFigures(*library.store, *site, library::SeriesKind::Store,
                                  {span.from, span.to}, limits, figures[which], &mixed);
      const std::string name = which == 0 ? "Span A" : "Span B";
      if (found == library::SpanFigures::NoPoints) {
        Tell(name + " (" + CompareSpanText(span) + ") holds no point of site " + site->name + ".",
             true);
        return;
      }
      if (found == library::SpanFigures::MixedUnits) {
        Tell(name + ": " + mixed, true);
        return;
      }
      std::int64_t points = 0;
      std::vector<StoreFamily> stretches =
          library::SpanSegments(*library.store, *site, library::SeriesKind::Store,
                                {span.from, span.to}, kMaxOverlayPoints, &points);
      if (points > kMaxOverlayPoints) {
        overlayNote = name + " holds " + std::to_string(points) +
                      " points, more than the overlay draws (" + std::to_string(kMaxOverlayPoints) +
                      "): choose shorter spans to see them.";
      } else {
        overlay.spans[which] =
            OverlaySpanOf(static_cast<int>(which), span.from, span.to, std::move(stretches));
      }
    }
    if (!overlayNote.empty()) overlay = {};
  } catch (const std::exception& e) {
    Tell(e.what(), true);
    return;
  }
  std::vector<std::string> lines = {"Site " + compare_->Site() + ", STORE RMS",
                                    "A: " + chosen[0].label + "  " + CompareSpanText(chosen[0]),
                                    "B: " + chosen[1].label + "  " + CompareSpanText(chosen[1]),
                                    ""};
  const SpanComparison comparison = CompareSpans(std::move(figures[0]), std::move(figures[1]));
  for (std::string& line : ComparisonLines(comparison, kCsvTimeFormat))
    lines.push_back(std::move(line));
  compare_->ShowFigures(lines);
  compare_->ShowOverlay(std::move(overlay), GraphPlotColours(host_.settings),
                        std::move(overlayNote));
}

void LibraryWindow::PaintCompareOn(QPainter& p, const QRect& page) const {
  PaintComparePage(p, page, "Compare - " + compare_->Site(), compare_->Figures(),
                   compare_->Overlay(), compare_->Colours(), compare_->OverlayNote());
}

void LibraryWindow::PrintCompare() {
  if (compare_ == nullptr || compare_->Figures().empty()) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(DefaultReportLayout(QPageLayout::Landscape));
  QPrintDialog dialog(&printer, compare_);
  if (dialog.exec() != QDialog::Accepted) return;
  QPainter p;
  if (!p.begin(&printer)) {
    Tell("The printer could not be started.", true);
    return;
  }
  PaintCompareOn(p, QRect(0, 0, printer.width(), printer.height()));
}

void LibraryWindow::PreviewCompare() {
  if (compare_ == nullptr || compare_->Figures().empty() || !host_.previewPage) return;
  host_.previewPage(QStringLiteral("Print Preview - Compare"),
                    [this](QPainter& p, const QRect& page) { PaintCompareOn(p, page); });
}

void LibraryWindow::WriteComparePdf() {
  if (compare_ == nullptr || compare_->Figures().empty()) return;
  const QString path =
      host_.parts.prompter.SaveFileName(compare_, QStringLiteral("compare.pdf"), SaveKind::Pdf);
  if (path.isEmpty()) return;
  const PdfOutcome out =
      WritePagePdf(path, DefaultReportLayout(QPageLayout::Landscape), QStringLiteral("Compare"),
                   [this](QPainter& p, const QRect& page) { PaintCompareOn(p, page); });
  if (!out.written) {
    host_.parts.prompter.Message(
        compare_,
        QStringLiteral("The PDF was not written: %1").arg(QString::fromStdString(out.error)),
        MessageIcon::Warning);
  }
}

void LibraryWindow::ShowTimeline() {
  if (window_ == nullptr || window_->ChosenSite().empty()) return;
  const int kind = window_->CurrentKind() == library::KindName(library::SeriesKind::RealTime);
  emit ShowSiteTimeline(QString::fromStdString(window_->ChosenSite()), kind);
}

}  // namespace acv
