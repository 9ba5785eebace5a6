#pragma once
// The STORE report written with every saved data file: a tab-separated text
// table (".xls", which spreadsheet programs open), and the same records as
// CSV for the command line. Both are written as a stream, record by record;
// no report is built in memory.
#include <ostream>
#include <string>

#include "data/CDTDoc.h"

namespace acv {

// The ".xls" report, always the logger's values whatever the scaling: title line, head line
// repeated k times, then lines of k records each (k = N / 65536 + 1, N the number of records), CR
// LF endings.
void WriteExport(std::ostream& out, const CDTDoc& doc);

// The same records as CSV (RFC 4180, CR LF) with the header
// no,kind,ch1,ch1_unit,ch2,ch2_unit,time: values in primary units (the data
// set's scaling; FloatText: 229.4, 7) with their units in their own columns, empty fields
// for absent channels, local times as YYYY-MM-DDTHH:MM:SS.
void WriteCsvExport(std::ostream& out, const CDTDoc& doc);

// Write the reports to a file (temporary file and rename). "" or the error.
std::string SaveExportFile(const CDTDoc& doc, const std::string& path);
std::string SaveCsvExportFile(const CDTDoc& doc, const std::string& path);

// `path` with its extension (the part of the file name from its last ".")
// replaced by `extension`, or `extension` appended when the name has none.
// A "." in a folder name, or leading a file name, is not an extension.
std::string ReplaceExtension(const std::string& path, const std::string& extension);
// The data file a "Save..." writes for the path chosen in the dialog.
inline std::string DataPathFor(const std::string& chosenPath) {
  return ReplaceExtension(chosenPath, ".stdata");
}
// The report written beside a data file: same folder, same name, ".xls".
inline std::string ExportPathFor(const std::string& dataFilePath) {
  return ReplaceExtension(dataFilePath, ".xls");
}

// The file part of "Save...": sets formatTag to "RMSTRDATA", or to "EPADATA"
// when the set holds a run's points (SaveTagFor), and writes the report
// beside the data file (and the run's report, RealTimeExportPathFor) and the
// data file (DataPathFor(chosenPath)). All are replaced together or none:
// returns "" or the error, and after an error every file is as it was.
std::string SaveDataAndExport(CDTDoc& doc, const std::string& chosenPath);

}  // namespace acv
