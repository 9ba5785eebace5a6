#pragma once
// The records of the STORE report in report order: every STORE RMS sample
// and every TR wave sample (251 per record), merged by time. A TR record goes
// before the RMS sample x when its trigger time T lies in [t, t'), with
// t = the time of sample x and t' = t + trunc(rmsInterval), compared field by
// field in local time; a TR record earlier than the current sample waits
// until the RMS samples are done. Both report writers (the tab-separated
// ".xls" and the CSV) walk this one sequence.
#include <cstdint>
#include <string>
#include <string_view>

#include "data/CDTDoc.h"
#include "data/LocalTimeCache.h"

namespace acv {

enum class ExportKind { Rms, Tr };

struct ExportRecord {
  std::int64_t number = 0;  // 1 .. Total()
  ExportKind kind = ExportKind::Rms;
  // The channel fields this record fills (an RMS record: its present
  // channels; a TR record: its own channel, or none for an unknown code).
  bool hasCh1 = false;
  bool hasCh2 = false;
  float ch1 = 0.0f;
  float ch2 = 0.0f;
  std::string_view ch1Unit;
  std::string_view ch2Unit;
  TimeStamp time = 0;  // RMS: the sample time; TR: the record's trigger time
};

class ExportRecords {
 public:
  explicit ExportRecords(const CDTDoc& doc);

  // rmsCount + 251 x trCount.
  std::int64_t Total() const { return total_; }
  // The next record; false after the last one.
  bool Next(ExportRecord& out);

 private:
  bool TrGoesFirst();

  const CDTDoc& doc_;
  std::int64_t rmsCount_;
  std::int64_t trCount_;
  std::int64_t total_;
  std::int64_t x_ = 0;  // next RMS sample
  std::int64_t y_ = 0;  // next TR record
  std::int64_t z_ = 0;  // next TR wave sample
  std::int64_t number_ = 0;
  int trChannel_ = 0;  // channel of the current TR record: 1, 2 or 0 = none
  std::string trUnit_;
  TimeStamp trTime_ = 0;
  // Separate caches: trigger times and sample times lie in different hours.
  LocalTimeCache triggerTimes_, sampleTimes_;
};

}  // namespace acv
