#pragma once
// The report of a real-time run's points, written beside the STORE report
// when a saved data set holds a run: a tab-separated ".xls" companion file
// ("NAME-realtime.xls" beside "NAME.xls") in the STORE report's style, and
// the same points as CSV (the lines `acvlogger-cli realtime` prints).
#include <cstdint>
#include <ostream>
#include <string>

#include "data/CDTDoc.h"

namespace acv {

// Whether the data set holds STORE data (RMS samples or TR records), and
// whether it holds a run's points.
inline bool HoldsStoreData(const CDTDoc& doc) {
  return doc.rmsCount > 0 || doc.trCount > 0;
}
inline bool HoldsRun(const RealTimeFamily& run) {
  return run.rtCount > 0;
}
// The tag a save writes: "EPADATA" (with the real-time section) when the set
// holds a run, so that no point is left out; "RMSTRDATA" otherwise.
inline const char* SaveTagFor(const CDTDoc& doc) {
  return HoldsRun(doc) ? kTagRealTime : kTagStore;
}

// The ".xls" report of the run, the logger's values whatever the scaling:
// title line, head line repeated k times, then
// lines of k points each (k = points / 65536 + 1, as the STORE report keeps
// within the spreadsheets' row limit), CR LF endings. A point is "number,
// time, CH1 RMS, CH2 RMS, CH1 F(Hz), CH2 F(Hz)" and S(VA) when the units
// differ, each followed by a tab; "----" for an absent channel.
void WriteRealTimeExport(std::ostream& out, const RealTimeFamily& run);
// "NAME-realtime.xls" for the data file "NAME.stdata".
std::string RealTimeExportPathFor(const std::string& dataFilePath);
std::string SaveRealTimeExportFile(const RealTimeFamily& run, const std::string& path);

// CSV of the run's points, LF endings, the RMS and S in primary units (each
// RMS times its channel's ratio and sample scale; FloatText), the frequency
// as measured (400 where none was measured).
inline constexpr const char* kRealTimeCsvHeader = "point,time,ch1_rms,ch1_hz,ch2_rms,ch2_hz,s_va\n";
// Point i (0-based) as one CSV line with its LF.
std::string RealTimeCsvLine(const RealTimeFamily& run, std::int32_t i,
                            const ChannelScaling& scaling);
void WriteRealTimeCsv(std::ostream& out, const RealTimeFamily& run, const ChannelScaling& scaling);
std::string SaveRealTimeCsvFile(const RealTimeFamily& run, const ChannelScaling& scaling,
                                const std::string& path);

}  // namespace acv
