#pragma once
// What each save dialog offers and which file it really writes. Every kind of
// save has its own filters; a name typed without the kind's extension gets
// the extension of the chosen filter, so "report" becomes "report.pdf" and
// never a name of another kind (a data file the user would then be asked to
// replace with a PDF).
#include <cstddef>
#include <string>
#include <vector>

namespace acv {

enum class SaveKind {
  Data,      // "Save...": the data file and its reports beside it
  Pdf,       // File -> Export PDF
  Picture,   // Save Graph Picture: PNG or SVG
  Csv,       // File -> Export CSV
  Comtrade,  // File -> Export COMTRADE: the .cfg file, its .dat beside it
};

struct SaveFilter {
  std::string label;      // "PDF Files (*.pdf)", as the dialog lists it
  std::string extension;  // ".pdf"
};

// The filters of a save dialog, the first one selected at first.
std::vector<SaveFilter> SaveFiltersFor(SaveKind kind);

// The file a save of `kind` writes for the name chosen in the dialog with
// filter `filterIndex` selected. A data save writes "NAME.stdata" whatever
// extension was typed (its reports go beside it); a PDF or a picture keeps a
// name ending in one of its kind's extensions and gets the filter's extension
// appended otherwise.
std::string SaveTargetFor(SaveKind kind, const std::string& chosen, std::size_t filterIndex);

// File -> Export CSV writes one table: the run's while a real-time display is
// on show or the data hold nothing else, the STORE data's otherwise.
bool CsvOfRun(bool realTimeDisplay, bool holdsStore, bool holdsRun);
// The name the CSV save dialog proposes: beside the data file on show, as
// `acvlogger-cli export --csv` names it ("NAME.csv", "NAME-realtime.csv"),
// or `fallback` (a time-stamped name) for data not from a file.
std::string ProposedCsvName(const std::string& documentPath, bool ofRun,
                            const std::string& fallback);
// The name the COMTRADE save dialog proposes for TR record `trRecord`
// (0-based; -1: the real-time wave): "NAME-trN.cfg" as `acvlogger-cli
// comtrade` names it, "NAME-wave.cfg", beside the data file on show or from
// `fallback` for data not from a file.
std::string ProposedComtradeName(const std::string& documentPath, int trRecord,
                                 const std::string& fallback);
// The chosen ".cfg" path without its extension: where both files go.
std::string ComtradeBasePath(const std::string& cfgPath);

}  // namespace acv
