#pragma once
// The one measurement data set of the program: the STORE family (RMS series,
// TR records), the REAL TIME family (the run's points) and the EPA wave,
// each together with the fields that describe it (counts, presence flags, units, start times,
// intervals, statistics texts). Everything that shows, lists, saves or exports
// measurement data reads it from here.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/ChannelScaling.h"
#include "data/TimeText.h"

namespace acv {

class ExternalSeries;

// One sample of both channels, in the channel's unit.
struct ChannelPair {
  float ch1 = 0.0f;
  float ch2 = 0.0f;
  bool operator==(const ChannelPair&) const = default;
};

// Unit codes of TR records and their texts.
inline constexpr std::uint8_t kUnitVolt = 250;
inline constexpr std::uint8_t kUnitAmpere = 252;
// Channel codes of TR records.
inline constexpr std::uint8_t kChannel1 = 241;
inline constexpr std::uint8_t kChannel2 = 242;

inline constexpr int kTrWavePoints = 251;      // samples per TR record
inline constexpr double kTrSampleMs = 0.0874;  // spacing of TR samples
inline constexpr int kEpaPoints = 590;         // samples per channel of a real-time wave
inline constexpr double kEpaSampleMs = 0.05471;
inline constexpr int kMaxRealTimePoints = 100000;

// Where TR record `record` starts in trWaves, which holds the records one
// after another; STORE TR's point indices count from there too.
inline constexpr std::int64_t TrRecordStart(std::int64_t record) {
  return record * kTrWavePoints;
}

inline constexpr const char* kTagStore = "RMSTRDATA";
inline constexpr const char* kTagRealTime = "EPADATA";

// "V" for 250, "A" for 252, empty for anything else.
std::string UnitText(std::uint8_t unitCode);

// The STORE family: what a download or a data file brings in (RMS series, TR
// records) and the fields that describe it. Copied, cleared, compared and
// saved as a whole, so a new field is added here and nowhere else.
struct StoreFamily {
  // All TR samples, trCount x 251; record i occupies [i*251, i*251+250].
  // Raw signed 16-bit samples of the logger, unscaled.
  std::vector<float> trWaves;
  // STORE RMS series in volts or amperes; each has rmsCount elements when
  // the channel is present, and is empty when it is absent.
  std::vector<float> rmsCh1;
  std::vector<float> rmsCh2;
  // Instead of rmsCh1 and rmsCh2 (then empty), a series read where it lies:
  // a library site too long to hold. Only the graph and the Data List read
  // it; whatever needs every point is offered for the arrays alone.
  std::shared_ptr<const ExternalSeries> rmsExternal;
  // Trigger time of each TR record, and its unit and channel code.
  std::vector<TimeStamp> trTimes;
  std::vector<std::uint8_t> trUnit;
  std::vector<std::uint8_t> trChannel;

  TimeStamp rmsStartTime = 0;                // time of STORE RMS sample 0
  std::int32_t rmsCount = 0;                 // STORE RMS samples per channel
  std::int32_t trCount = 0;                  // TR records
  std::uint8_t hasCh1 = 0, hasCh2 = 0;       // STORE RMS channels present
  float rmsInterval = 0.0f;                  // seconds between STORE RMS samples
  float riseLevel = 0.0f, dropLevel = 0.0f;  // logger's detection levels (raw)
  std::string rmsUnitCh1, rmsUnitCh2;        // "V" or "A"
  // STORE RMS statistics texts, e.g. "230.5 V @03/02/26 10:00:00".
  std::string rmsMaxTextCh1, rmsMinTextCh1, rmsMaxTextCh2, rmsMinTextCh2;

  // Sample times: STORE RMS sample i, STORE TR wave sample j (any sample of
  // record j / 251).
  TimeStamp RmsSampleTime(std::int64_t i) const;
  TimeStamp TrSampleTime(std::int64_t j) const;
  // Recomputes the four STORE RMS statistics texts from the present channels.
  void ComputeStoreStatistics();

  bool operator==(const StoreFamily&) const = default;
};

// The REAL TIME family: the points of the current (or last loaded) run and
// the fields that describe them.
struct RealTimeFamily {
  // Real-time RMS and frequency per point; capacity = realTimePoints of the run.
  std::vector<ChannelPair> rtRms;
  std::vector<ChannelPair> rtFreq;
  TimeStamp rtStartTime = 0;                // local time the current real-time run started
  std::int32_t rtCount = 0;                 // real-time points taken in the current run
  std::int32_t rtInterval = 2;              // real-time sampling interval, seconds
  std::uint8_t rtHasCh1 = 0, rtHasCh2 = 0;  // real-time channels present
  std::string rtUnitCh1, rtUnitCh2;         // "V" or "A"
  // Real-time statistics texts, index 0 = CH1, 1 = CH2.
  std::array<std::string, 2> rtRmsMaxText, rtRmsMinText, rtFreqMaxText, rtFreqMinText;
  std::string rtSMaxText, rtSMinText;

  TimeStamp RealTimeSampleTime(std::int64_t i) const;
  // S(VA) exists only with both real-time channels present in different units.
  bool HasApparentPower() const;
  // S(VA) of real-time point i (CH1 RMS x CH2 RMS); meaningful only when
  // HasApparentPower().
  float ApparentPower(std::int64_t i) const;

  bool operator==(const RealTimeFamily&) const = default;
};

// The latest real-time wave: shown by the EPA displays, never saved.
struct EpaWaveFamily {
  std::array<ChannelPair, kEpaPoints> epaWave{};  // raw samples of both channels
  std::int32_t epaCount = 0;                      // 590 once a wave was captured, else 0

  bool operator==(const EpaWaveFamily&) const = default;
};

// The one data set. The families are bases so that their fields keep their
// own names (doc.rmsCount, doc.rtCount) wherever the data set is read.
class CDTDoc : public StoreFamily, public RealTimeFamily, public EpaWaveFamily {
 public:
  std::string formatTag;  // written at the head of a data file
  std::string readTag;    // read from the head of the last file loaded
  // How the values are turned into primary units wherever they are shown,
  // analysed or exported (from the settings). The families keep what the
  // logger sent, so the scaling is never saved with them.
  ChannelScaling scaling;

  StoreFamily& Store() { return *this; }
  const StoreFamily& Store() const { return *this; }
  RealTimeFamily& RealTime() { return *this; }
  const RealTimeFamily& RealTime() const { return *this; }
  EpaWaveFamily& EpaWave() { return *this; }
  const EpaWaveFamily& EpaWave() const { return *this; }

  // Replaces the whole STORE family by another one's; the REAL TIME family
  // and the EPA wave stay.
  void TakeStoreFamilyFrom(CDTDoc& other) { Store() = std::move(other.Store()); }
  // The same for the REAL TIME family.
  void TakeRealTimeFamilyFrom(CDTDoc& other) { RealTime() = std::move(other.RealTime()); }

  // Frees every measurement: the state at start-up, with the scaling kept
  // (it belongs to the settings, not to the data).
  void Clear() {
    const ChannelScaling kept = scaling;
    *this = CDTDoc{};
    scaling = kept;
  }

  bool operator==(const CDTDoc&) const = default;
};

// Real-time extremes of one series. kind 1 = frequency series, 0 = RMS or
// power. Updates the running maximum and minimum and their texts for the
// point n (rtCount before it is incremented) taken at pointTime.
enum class ExtremeKind { Level = 0, Frequency = 1 };
void UpdateExtremes(ExtremeKind kind, float& maximum, float& minimum, float value,
                    std::string& maxText, std::string& minText, std::int32_t n,
                    TimeStamp pointTime);

// Rebuilds every real-time statistics text from points 0 .. rtCount - 1 with
// the rules of UpdateExtremes, as the run built them point by point (used when
// a saved run is loaded back). Texts of absent series are emptied.
void RecomputeRealTimeStatistics(RealTimeFamily& doc);

// The real-time statistics texts of the points with each channel's RMS times
// its factor (the frequency unscaled, S the product of the scaled RMS).
struct RealTimeStatisticsTexts {
  std::array<std::string, 2> rmsMax, rmsMin, freqMax, freqMin;
  std::string sMax, sMin;
};
RealTimeStatisticsTexts RealTimeStatistics(const RealTimeFamily& run,
                                           std::array<double, 2> factors);

// One channel's STORE statistics texts, as ComputeStoreStatistics makes
// them, from extremes found elsewhere (a series read where it lies): the
// highest value and the last point holding it, the same of the lowest (-1
// where the channel has no value).
void StoreExtremeTexts(const StoreFamily& store, const std::string& unit, float maximum,
                       std::int64_t maxAt, float minimum, std::int64_t minAt, std::string& maxText,
                       std::string& minText);

// The statistics texts as shown, in primary units: the kept texts where a
// channel's factor is 1, else made again from the scaled values.
struct StoreStatisticsTexts {
  std::array<std::string, 2> max, min;  // index 0 = CH1
};
StoreStatisticsTexts ShownStoreStatistics(const StoreFamily& store, const ChannelScaling& scaling);
RealTimeStatisticsTexts ShownRealTimeStatistics(const RealTimeFamily& run,
                                                const ChannelScaling& scaling);

}  // namespace acv
