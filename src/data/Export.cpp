#include "data/Export.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "data/DataFile.h"
#include "data/ExportRecords.h"
#include "data/FileIO.h"
#include "data/LocalTimeCache.h"
#include "data/NumberText.h"
#include "data/RealTimeExport.h"
#include "data/TimeText.h"

namespace acv {
namespace {

constexpr const char* kTitle = "                         ELECTRIC POWER TEST REPORT(STORE RMS/TR)";
constexpr const char* kHead = "NO.\tRMS/TR\tCH1\tCH2\tTIME\t";
// A channel field no record of the line has filled.
constexpr std::string_view kNoValue = "----";
// Records per line grow with the data so that the report keeps within 65,536
// data lines, the row limit of the spreadsheets it is meant for.
constexpr std::int64_t kMaxDataLines = 65536;

// "%.<precision>f", as printf would write it. Precision 0 and 1 (every
// value of the report) take a short way: a float times 10 is exact in a
// double, so rounding that to an integer in the default mode (ties to even)
// is printf's own rounding, and the digits follow directly.
void AppendFixed(std::string& s, float value, int precision) {
  const double scaled = precision == 1 ? static_cast<double>(value) * 10.0 : value;
  if ((precision == 0 || precision == 1) && std::fabs(scaled) < 1e15) {
    const auto n = static_cast<long long>(std::fabs(std::nearbyint(scaled)));
    if (std::signbit(value)) s.push_back('-');
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, precision == 1 ? n / 10 : n);
    s.append(std::string_view(buf, r.ptr));
    if (precision == 1) {
      s.push_back('.');
      s.push_back(static_cast<char>('0' + n % 10));
    }
    return;
  }
  char buf[400];
  const double v = value;
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, precision);
  s.append(buf, r.ec == std::errc{} ? r.ptr : buf);
}

void AppendInt(std::string& s, std::int64_t v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  s.append(std::string_view(buf, r.ptr));
}

// Formats a record's time once for the run of records that share it (all
// samples of a TR record), consecutive times without a time-zone lookup
// each, and the next second of the same minute by rewriting the seconds'
// digits alone (the time text was the report's largest cost).
class TimeTextCache {
 public:
  explicit TimeTextCache(const char* pattern)
      : pattern_(pattern), secondsAt_(SecondsOffset(pattern)) {}
  const std::string& Text(TimeStamp t) {
    if (valid_ && t == time_) return text_;
    const LocalFields f = local_.BreakDown(t);
    if (valid_ && patchable_ && SameMinute(f, fields_)) {
      text_[secondsAt_] = static_cast<char>('0' + f.second / 10 % 10);
      text_[secondsAt_ + 1] = static_cast<char>('0' + f.second % 10);
    } else {
      text_.clear();
      const bool ours = AppendTimeText(text_, f, pattern_);
      if (!ours) text_ = FormatTime(t, pattern_);
      patchable_ = ours && secondsAt_ != std::string::npos;
    }
    fields_ = f;
    time_ = t;
    valid_ = true;
    return text_;
  }

 private:
  static bool SameMinute(const LocalFields& a, const LocalFields& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute;
  }

  LocalTimeCache local_;
  const char* pattern_;
  std::size_t secondsAt_;
  LocalFields fields_;
  bool patchable_ = false;  // text_ came from AppendTimeText and has a seconds field
  TimeStamp time_ = 0;
  bool valid_ = false;
  std::string text_;
};

void AppendCsvField(std::string& s, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    s.append(field);
    return;
  }
  s.push_back('"');
  for (char c : field) {
    if (c == '"') s.push_back('"');
    s.push_back(c);
  }
  s.push_back('"');
}

std::string SaveWith(void (*writer)(std::ostream&, const CDTDoc&), const CDTDoc& doc,
                     const std::string& path) {
  AtomicFileWriter file(path);
  if (std::string error = file.Open(); !error.empty()) return error;
  writer(file.Stream(), doc);
  return file.Commit();
}

}  // namespace

void WriteExport(std::ostream& out, const CDTDoc& doc) {
  ExportRecords records(doc);
  const std::int64_t total = records.Total();
  const std::int64_t perLine = total / kMaxDataLines + 1;

  std::string line = kTitle;
  line += "\r\n";
  for (std::int64_t i = 0; i < perLine; ++i) line += kHead;
  line += "\r\n";
  out.write(line.data(), static_cast<std::streamsize>(line.size()));

  TimeTextCache times(kSampleTimeFormat);
  std::string ch1Text, ch2Text;
  ExportRecord r;
  for (std::int64_t n = 1; n <= total && out; n += perLine) {
    // The channel fields are reset per line, not per record: with several
    // records on a line a record shows what the previous one left in the
    // field it does not fill itself.
    std::string_view ch1Field = kNoValue;
    std::string_view ch2Field = kNoValue;
    line.clear();
    for (std::int64_t place = 0; place < perLine; ++place) {
      if (!records.Next(r)) break;  // spare places of the last line
      const int precision = r.kind == ExportKind::Rms ? 1 : 0;
      if (r.hasCh1) {
        ch1Text.clear();
        AppendFixed(ch1Text, r.ch1, precision);
        ch1Text += r.ch1Unit;
        ch1Field = ch1Text;
      }
      if (r.hasCh2) {
        ch2Text.clear();
        AppendFixed(ch2Text, r.ch2, precision);
        ch2Text += r.ch2Unit;
        ch2Field = ch2Text;
      }
      AppendInt(line, r.number);
      line += r.kind == ExportKind::Rms ? "\tRMS\t" : "\tTR\t";
      line += ch1Field;
      line += '\t';
      line += ch2Field;
      line += "\t ";
      line += times.Text(r.time);
      line += " \t";
    }
    line += "\r\n";
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
  }
}

void WriteCsvExport(std::ostream& out, const CDTDoc& doc) {
  // In primary units, unlike the ".xls" table, which keeps the logger's
  // values: RMS values times the ratio, TR samples times ratio and scale.
  const auto factor = [&doc](const ExportRecord& r, std::size_t channel) {
    const ChannelScale& scale = doc.scaling[channel];
    return r.kind == ExportKind::Rms ? scale.OfValue() : scale.OfSample();
  };
  const auto scaled = [](float value, double f) { return static_cast<float>(value * f); };
  ExportRecords records(doc);
  std::string line = "no,kind,ch1,ch1_unit,ch2,ch2_unit,time\r\n";
  out.write(line.data(), static_cast<std::streamsize>(line.size()));
  TimeTextCache times(kCsvTimeFormat);
  ExportRecord r;
  while (out && records.Next(r)) {
    line.clear();
    AppendInt(line, r.number);
    line += r.kind == ExportKind::Rms ? ",RMS," : ",TR,";
    if (r.hasCh1) line += FloatText(scaled(r.ch1, factor(r, 0)));
    line += ',';
    if (r.hasCh1) AppendCsvField(line, r.ch1Unit);
    line += ',';
    if (r.hasCh2) line += FloatText(scaled(r.ch2, factor(r, 1)));
    line += ',';
    if (r.hasCh2) AppendCsvField(line, r.ch2Unit);
    line += ',';
    line += times.Text(r.time);
    line += "\r\n";
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
  }
}

std::string SaveExportFile(const CDTDoc& doc, const std::string& path) {
  return SaveWith(&WriteExport, doc, path);
}

std::string SaveCsvExportFile(const CDTDoc& doc, const std::string& path) {
  return SaveWith(&WriteCsvExport, doc, path);
}

std::string ReplaceExtension(const std::string& path, const std::string& extension) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot <= nameStart) return path + extension;
  return path.substr(0, dot) + extension;
}

std::string SaveDataAndExport(CDTDoc& doc, const std::string& chosenPath) {
  doc.formatTag = SaveTagFor(doc);
  const std::string dataPath = DataPathFor(chosenPath);
  const std::vector<std::uint8_t> data = EncodeDataFile(doc);
  std::vector<FileToSave> files{
      {ExportPathFor(dataPath), [&doc](std::ostream& out) { WriteExport(out, doc); }}};
  if (HoldsRun(doc)) {
    files.push_back({RealTimeExportPathFor(dataPath),
                     [&doc](std::ostream& out) { WriteRealTimeExport(out, doc); }});
  }
  files.push_back({dataPath, [&data](std::ostream& out) {
                     out.write(reinterpret_cast<const char*>(data.data()),
                               static_cast<std::streamsize>(data.size()));
                   }});
  return SaveFilesTogether(files);
}

}  // namespace acv
