#include "data/RealTimeExport.h"

#include <algorithm>
#include <cstdio>

#include "data/Export.h"
#include "data/FileIO.h"
#include "data/NumberText.h"
#include "data/TimeText.h"

namespace acv {
namespace {

constexpr const char* kTitle = "                         ELECTRIC POWER TEST REPORT(REAL TIME)";
constexpr std::int32_t kMaxDataLines = 65536;

std::string Tenths(float value) {
  char buf[64];
  const int n = std::snprintf(buf, sizeof buf, "%.1f", static_cast<double>(value));
  return std::string(buf, static_cast<std::size_t>(std::clamp(n, 0, int{sizeof buf} - 1)));
}

std::int32_t PointsOf(const RealTimeFamily& run) {
  return static_cast<std::int32_t>(std::min<std::size_t>(
      {static_cast<std::size_t>(std::max(run.rtCount, 0)), run.rtRms.size(), run.rtFreq.size()}));
}

template <typename Writer>
std::string SaveWith(Writer writer, const RealTimeFamily& run, const std::string& path) {
  AtomicFileWriter file(path);
  if (std::string error = file.Open(); !error.empty()) return error;
  writer(file.Stream(), run);
  return file.Commit();
}

}  // namespace

void WriteRealTimeExport(std::ostream& out, const RealTimeFamily& run) {
  const std::int32_t total = PointsOf(run);
  const std::int32_t perLine = total / kMaxDataLines + 1;
  const bool power = run.HasApparentPower();
  std::string line = kTitle;
  line += "\r\n";
  for (std::int32_t i = 0; i < perLine; ++i) {
    line += "NO.\tTIME\tCH1\tCH2\tCH1 F(Hz)\tCH2 F(Hz)\t";
    if (power) line += "S(VA)\t";
  }
  line += "\r\n";
  out.write(line.data(), static_cast<std::streamsize>(line.size()));
  const std::string none = "----";
  for (std::int32_t first = 0; first < total && out; first += perLine) {
    line.clear();
    for (std::int32_t i = first; i < std::min(first + perLine, total); ++i) {
      const ChannelPair& rms = run.rtRms[static_cast<std::size_t>(i)];
      const ChannelPair& hz = run.rtFreq[static_cast<std::size_t>(i)];
      line += std::to_string(i + 1) + "\t " +
              FormatTime(run.RealTimeSampleTime(i), kSampleTimeFormat) + " \t";
      line += (run.rtHasCh1 ? Tenths(rms.ch1) + run.rtUnitCh1 : none) + "\t";
      line += (run.rtHasCh2 ? Tenths(rms.ch2) + run.rtUnitCh2 : none) + "\t";
      line += (run.rtHasCh1 ? Tenths(hz.ch1) : none) + "\t";
      line += (run.rtHasCh2 ? Tenths(hz.ch2) : none) + "\t";
      if (power) line += Tenths(run.ApparentPower(i)) + "VA\t";
    }
    line += "\r\n";
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
  }
}

std::string RealTimeExportPathFor(const std::string& dataFilePath) {
  return ReplaceExtension(dataFilePath, "-realtime.xls");
}

std::string SaveRealTimeExportFile(const RealTimeFamily& run, const std::string& path) {
  return SaveWith(&WriteRealTimeExport, run, path);
}

std::string RealTimeCsvLine(const RealTimeFamily& run, std::int32_t i,
                            const ChannelScaling& scaling) {
  const auto at = static_cast<std::size_t>(i);
  const ChannelPair& rms = run.rtRms[at];
  const ChannelPair& hz = run.rtFreq[at];
  const double f1 = scaling[0].OfSample(), f2 = scaling[1].OfSample();
  const auto scaled = [](float v, double f) { return static_cast<float>(v * f); };
  std::string line =
      std::to_string(i + 1) + "," + FormatTime(run.RealTimeSampleTime(i), kCsvTimeFormat) + ",";
  line += run.rtHasCh1 ? FloatText(scaled(rms.ch1, f1)) + "," + FloatText(hz.ch1) + "," : ",,";
  line += run.rtHasCh2 ? FloatText(scaled(rms.ch2, f2)) + "," + FloatText(hz.ch2) + "," : ",,";
  if (run.HasApparentPower()) line += FloatText(scaled(run.ApparentPower(i), f1 * f2));
  return line + "\n";
}

void WriteRealTimeCsv(std::ostream& out, const RealTimeFamily& run, const ChannelScaling& scaling) {
  out << kRealTimeCsvHeader;
  const std::int32_t total = PointsOf(run);
  for (std::int32_t i = 0; i < total && out; ++i) out << RealTimeCsvLine(run, i, scaling);
}

std::string SaveRealTimeCsvFile(const RealTimeFamily& run, const ChannelScaling& scaling,
                                const std::string& path) {
  AtomicFileWriter file(path);
  if (std::string error = file.Open(); !error.empty()) return error;
  WriteRealTimeCsv(file.Stream(), run, scaling);
  return file.Commit();
}

}  // namespace acv
