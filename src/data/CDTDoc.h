#pragma once
// The one measurement data set of the program: the STORE RMS series, the
// STORE TR records, the REAL TIME points and the EPA wave, together with the
// fields that describe them (counts, presence flags, units, start times,
// intervals, statistics texts). Everything that shows, lists, saves or exports
// measurement data reads it from here.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/TimeText.h"

namespace acv {

// One sample of both channels, in the channel's unit.
struct ChannelPair {
  float ch1 = 0.0f;
  float ch2 = 0.0f;
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

inline constexpr const char* kTagStore = "RMSTRDATA";
inline constexpr const char* kTagRealTime = "EPADATA";

// "V" for 250, "A" for 252, empty for anything else.
std::string UnitText(std::uint8_t unitCode);

class CDTDoc {
 public:
  // ---- sample arrays -------------------------------------------------------
  // All TR samples, trCount x 251; record i occupies [i*251, i*251+250].
  // Raw signed 16-bit samples of the logger, unscaled.
  std::vector<float> trWaves;
  // STORE RMS series in volts or amperes; each has rmsCount elements when
  // the channel is present, and is empty when it is absent.
  std::vector<float> rmsCh1;
  std::vector<float> rmsCh2;
  // The latest real-time wave of both channels (raw samples).
  std::array<ChannelPair, kEpaPoints> epaWave{};
  // Real-time RMS and frequency per point; capacity = realTimePoints of the run.
  std::vector<ChannelPair> rtRms;
  std::vector<ChannelPair> rtFreq;
  // Trigger time of each TR record, and its unit and channel code.
  std::vector<TimeStamp> trTimes;
  std::vector<std::uint8_t> trUnit;
  std::vector<std::uint8_t> trChannel;

  std::string formatTag;  // written at the head of a data file
  std::string readTag;    // read from the head of the last file loaded

  // ---- descriptive fields ----------------------------------------------------
  TimeStamp rmsStartTime = 0;   // time of STORE RMS sample 0
  TimeStamp rtStartTime = 0;    // local time the current real-time run started
  std::int32_t rmsCount = 0;    // STORE RMS samples per channel
  std::int32_t trCount = 0;     // TR records
  std::int32_t epaCount = 0;    // 590 once a wave was captured, else 0
  std::int32_t rtCount = 0;     // real-time points taken in the current run
  std::int32_t rtInterval = 2;  // real-time sampling interval, seconds

  std::uint8_t hasCh1 = 0, hasCh2 = 0;       // STORE RMS channels present
  std::uint8_t rtHasCh1 = 0, rtHasCh2 = 0;   // real-time channels present
  float rmsInterval = 0.0f;                  // seconds between STORE RMS samples
  float riseLevel = 0.0f, dropLevel = 0.0f;  // logger's detection levels (raw)

  std::string rmsUnitCh1, rmsUnitCh2;  // "V" or "A"
  std::string rtUnitCh1, rtUnitCh2;    // "V" or "A"

  // STORE RMS statistics texts, e.g. "230.5 V @03/02/26 10:00:00".
  std::string rmsMaxTextCh1, rmsMinTextCh1, rmsMaxTextCh2, rmsMinTextCh2;
  // Real-time statistics texts, index 0 = CH1, 1 = CH2.
  std::array<std::string, 2> rtRmsMaxText, rtRmsMinText, rtFreqMaxText, rtFreqMinText;
  std::string rtSMaxText, rtSMinText;

  // ---- rules -----------------------------------------------------------------
  // Sample times: STORE RMS sample i, STORE TR wave sample j (any sample of
  // record j / 251), real-time point i.
  TimeStamp RmsSampleTime(std::int64_t i) const;
  TimeStamp TrSampleTime(std::int64_t j) const;
  TimeStamp RealTimeSampleTime(std::int64_t i) const;

  // S(VA) exists only with both real-time channels present in different units.
  bool HasApparentPower() const;
  // S(VA) of real-time point i (CH1 RMS x CH2 RMS); meaningful only when
  // HasApparentPower().
  float ApparentPower(std::int64_t i) const;

  // Recomputes the four STORE RMS statistics texts from the present channels.
  void ComputeStoreStatistics();

  // Replaces the whole STORE family (RMS, TR and their descriptions) by
  // another one's; the REAL TIME family and the EPA wave stay.
  void TakeStoreFamilyFrom(CDTDoc& other);
  // The same for the REAL TIME family (points, counts, units, texts).
  void TakeRealTimeFamilyFrom(CDTDoc& other);

  // Frees everything: the state at start-up.
  void Clear();
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
void RecomputeRealTimeStatistics(CDTDoc& doc);

}  // namespace acv
