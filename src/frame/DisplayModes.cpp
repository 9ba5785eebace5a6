#include "frame/DisplayModes.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

#include "data/NumberText.h"

namespace acv {
namespace {

std::string FormatInt(std::int64_t value) {
  return std::to_string(value);
}

std::string TimeText(TimeStamp t) {
  return FormatTime(t, kSampleTimeFormat);
}

void TakeYAxes(const FrameState& frame, DisplaySetup& view, int kind) {
  const auto& low = frame.yAxisLow[static_cast<std::size_t>(kind - 1)];
  const auto& high = frame.yAxisHigh[static_cast<std::size_t>(kind - 1)];
  view.ch1From = low[0];
  view.ch1To = high[0];
  view.ch2From = low[1];
  view.ch2To = high[1];
  view.displayKind = kind;
}

// The mode was not active: the common part of the layout work.
void BeginLayout(DisplayMode mode, FrameState& frame, DisplaySetup& view, ModeEffects& fx) {
  frame.SetOnlyMode(mode);
  TakeYAxes(frame, view, DisplayKindOf(mode));
  if (view.displayMode == 0) view.displayMode = 1;
  fx.layoutChanged = true;
  fx.zoomReset = true;
}

// STORE RMS and the real-time RMS/F(Hz)/S(VA) displays keep the instrument
// column at its normal width.
void NarrowInstrumentColumn(FrameState& frame, ModeEffects& fx) {
  if (frame.instrumentPaneWidth > kInstrumentWidth) {
    frame.instrumentPaneWidth = kInstrumentWidth;
    fx.instrumentWidth = kInstrumentWidth;
  }
}

void WidenInstrumentColumn(FrameState& frame, ModeEffects& fx, int width) {
  if (frame.instrumentPaneShown == 1) {
    frame.instrumentPaneWidth = width;
    fx.instrumentWidth = width;
  }
}

int FullPanelHeight(const FrameState& frame) {
  return frame.infoPanelShown == 1 ? kInfoPanelHeight : 0;
}

// The record steps of STORE TR: the record's one channel with its unit,
// and the range of its 251 samples.
void TakeTrRecord(DisplaySetup& view, const CDTDoc& doc, int record) {
  const std::size_t r = static_cast<std::size_t>(record);
  const bool hasRecord =
      record >= 0 && record < doc.trCount && r < doc.trChannel.size() && r < doc.trUnit.size();
  const std::uint8_t channel = hasRecord ? doc.trChannel[r] : 0;
  const std::string unit = hasRecord ? UnitText(doc.trUnit[r]) : std::string();
  view.trRecord = record;
  view.plotCh1 = channel == kChannel1;
  view.plotCh2 = channel == kChannel2;
  if (view.plotCh1) view.ch1UnitText = unit;
  if (view.plotCh2) view.ch2UnitText = unit;
  view.firstPoint = 1;
  view.lastPoint = kTrWavePoints;
}

void FillTrInfoTexts(InfoTexts& info, const CDTDoc& doc, const DisplaySetup& view) {
  info.modeText = ModeName(DisplayMode::StoreTr);
  info.rateText = "0.0874 ms";
  const int record = view.trRecord;
  info.startText = record >= 0 && static_cast<std::size_t>(record) < doc.trTimes.size()
                       ? TimeText(doc.trTimes[static_cast<std::size_t>(record)])
                       : std::string();
  info.countText = FormatInt(kTrWavePoints);
  FillTrRecordTexts(info, doc, record, view.plotCh2 ? view.ch2UnitText : view.ch1UnitText);
}

ModeEffects EnterStoreRms(FrameState& frame, DisplaySetup& view, InfoTexts& info,
                          const CDTDoc& doc) {
  ModeEffects fx;
  if (!frame.IsActive(DisplayMode::StoreRms)) {
    BeginLayout(DisplayMode::StoreRms, frame, view, fx);
    view.panelHeight = FullPanelHeight(frame);
    view.plotCh1 = doc.hasCh1 == 1;
    view.plotCh2 = doc.hasCh2 == 1;
    view.ch1UnitText = doc.rmsUnitCh1;
    view.ch2UnitText = doc.rmsUnitCh2;
    view.firstPoint = 1;
    view.lastPoint = doc.rmsCount;
    fx.trFileList = PanelRequest::Close;
    fx.powerPanel = PanelRequest::Close;
    NarrowInstrumentColumn(frame, fx);
  }
  info.modeText = frame.siteOnShow.empty() ? std::string(ModeName(DisplayMode::StoreRms))
                                           : "SITE " + frame.siteOnShow;
  info.rateText = FormatNumber("%.0f s", doc.rmsInterval);
  info.startText = TimeText(doc.rmsStartTime);
  info.countText = FormatInt(doc.rmsCount);
  const StoreStatisticsTexts shown = ShownStoreStatistics(doc, doc.scaling);
  if (view.plotCh1) {
    info.max1Text = shown.max[0];
    info.min1Text = shown.min[0];
  }
  if (view.plotCh2) {
    info.max2Text = shown.max[1];
    info.min2Text = shown.min[1];
  }
  return fx;
}

ModeEffects EnterStoreTr(FrameState& frame, DisplaySetup& view, InfoTexts& info, const CDTDoc& doc,
                         const PanelFacts& panels) {
  ModeEffects fx;
  if (!frame.IsActive(DisplayMode::StoreTr)) {
    BeginLayout(DisplayMode::StoreTr, frame, view, fx);
    view.panelHeight = kInfoStripHeight;
    fx.powerPanel = PanelRequest::Close;
  }
  // The record steps run whenever the TR File List is closed, so choosing
  // STORE TR again brings back record 0 and the list; while the list is
  // open, the record picked there stays on show.
  if (!panels.trFileListOpen) {
    TakeTrRecord(view, doc, 0);
    fx.trFileList = PanelRequest::Open;
    WidenInstrumentColumn(frame, fx, kTrListColumnWidth);
  }
  FillTrInfoTexts(info, doc, view);
  return fx;
}

ModeEffects EnterEpa(FrameState& frame, DisplaySetup& view, InfoTexts& info, const CDTDoc& doc,
                     const PanelFacts& panels) {
  ModeEffects fx;
  if (!frame.IsActive(DisplayMode::RealTimeEpa)) {
    BeginLayout(DisplayMode::RealTimeEpa, frame, view, fx);
    view.panelHeight = kInfoStripHeight;
    view.plotCh1 = doc.rtHasCh1 == 1;
    view.plotCh2 = doc.rtHasCh2 == 1;
    view.ch1UnitText = doc.rtUnitCh1;
    view.ch2UnitText = doc.rtUnitCh2;
    view.firstPoint = 1;
    view.lastPoint = kEpaPoints;
    fx.trFileList = PanelRequest::Close;
    WidenInstrumentColumn(frame, fx, kPowerPanelColumnWidth);
  }
  if (!panels.powerPanelOpen) fx.powerPanel = PanelRequest::Open;
  info.modeText = ModeName(DisplayMode::RealTimeEpa);
  // The time of the newest point; before the first point the run's start.
  info.startText =
      TimeText(doc.rtCount > 0 ? doc.RealTimeSampleTime(doc.rtCount - 1) : doc.rtStartTime);
  fx.computeWaveStatistics = doc.rtCount == 1;
  fx.updatePowerText = view.plotCh1 && view.plotCh2 && view.ch1UnitText != view.ch2UnitText;
  return fx;
}

ModeEffects EnterRealTimeSeries(DisplayMode mode, FrameState& frame, DisplaySetup& view,
                                InfoTexts& info, const CDTDoc& doc) {
  ModeEffects fx;
  if (!frame.IsActive(mode)) {
    BeginLayout(mode, frame, view, fx);
    view.panelHeight = FullPanelHeight(frame);
    view.plotCh1 = doc.rtHasCh1 == 1;
    view.plotCh2 = doc.rtHasCh2 == 1;
    switch (mode) {
      case DisplayMode::RealTimeFreq:
        view.ch1UnitText = view.ch2UnitText = "Hz";
        break;
      case DisplayMode::RealTimeS:
        view.ch1UnitText = view.ch2UnitText = "VA";
        break;
      default:
        view.ch1UnitText = doc.rtUnitCh1;
        view.ch2UnitText = doc.rtUnitCh2;
        break;
    }
    view.firstPoint = 1;
    fx.trFileList = PanelRequest::Close;
    fx.powerPanel = PanelRequest::Close;
    NarrowInstrumentColumn(frame, fx);
  }
  view.lastPoint = doc.rtCount;  // the range grows with every point
  info.modeText = ModeName(mode);
  info.rateText = FormatInt(doc.rtInterval);
  info.startText = TimeText(doc.rtStartTime);
  info.countText = FormatInt(doc.rtCount);
  const RealTimeStatisticsTexts shown = ShownRealTimeStatistics(doc, doc.scaling);
  if (mode == DisplayMode::RealTimeS) {
    info.max1Text = shown.sMax;
    info.min1Text = shown.sMin;
  } else {
    const auto& maxTexts = mode == DisplayMode::RealTimeFreq ? shown.freqMax : shown.rmsMax;
    const auto& minTexts = mode == DisplayMode::RealTimeFreq ? shown.freqMin : shown.rmsMin;
    if (view.plotCh1) {
      info.max1Text = maxTexts[0];
      info.min1Text = minTexts[0];
    }
    if (view.plotCh2) {
      info.max2Text = maxTexts[1];
      info.min2Text = minTexts[1];
    }
  }
  if (frame.realTimeStopped == 0) {
    // While a run goes on, the X axis is compressed so that every point
    // taken so far fits, and the range starts again at the first point.
    fx.realTimeSpan = doc.rtCount - view.firstPoint + 1;
    view.firstPoint = 1;
  }
  return fx;
}

}  // namespace

ModeEffects EnterDisplayMode(DisplayMode mode, FrameState& frame, DisplaySetup& view,
                             InfoTexts& info, const CDTDoc& doc, const PanelFacts& panels) {
  switch (mode) {
    case DisplayMode::StoreRms:
      return EnterStoreRms(frame, view, info, doc);
    case DisplayMode::StoreTr:
      return EnterStoreTr(frame, view, info, doc, panels);
    case DisplayMode::RealTimeEpa:
      return EnterEpa(frame, view, info, doc, panels);
    case DisplayMode::RealTimeRms:
    case DisplayMode::RealTimeFreq:
    case DisplayMode::RealTimeS:
      return EnterRealTimeSeries(mode, frame, view, info, doc);
    case DisplayMode::None:
      break;
  }
  return {};
}

void FillTrRecordTexts(InfoTexts& info, const CDTDoc& doc, int record, const std::string& unit) {
  info.riseText = FormatNumber("%.0f", doc.riseLevel) + unit;
  info.dropText = FormatNumber("%.0f", doc.dropLevel) + unit;
  const auto begin = static_cast<std::size_t>(TrRecordStart(record));
  if (record < 0 || record >= doc.trCount || begin + kTrWavePoints > doc.trWaves.size()) {
    info.trMaxText.clear();
    info.trMinText.clear();
    return;
  }
  // The samples in primary units; raw counts (a factor of 1) keep whole
  // numbers, scaled ones a decimal, as a count of 0.01 V would vanish.
  const std::size_t r = static_cast<std::size_t>(record);
  const int channel = r < doc.trChannel.size() && doc.trChannel[r] == kChannel2 ? 1 : 0;
  const double factor = doc.scaling[static_cast<std::size_t>(channel)].OfSample();
  float maximum = -1000.0f;
  float minimum = 1000.0f;
  if (factor != 1.0) {
    // Scaled samples may lie far beyond +-1000.
    maximum = -std::numeric_limits<float>::infinity();
    minimum = std::numeric_limits<float>::infinity();
  }
  for (std::size_t i = begin; i < begin + kTrWavePoints; ++i) {
    const auto v = static_cast<float>(doc.trWaves[i] * factor);
    if (v >= maximum) maximum = v;
    if (v <= minimum) minimum = v;
  }
  const char* format = factor == 1.0 ? "%.0f " : "%.1f ";
  info.trMaxText = FormatNumber(format, maximum) + unit;
  info.trMinText = FormatNumber(format, minimum) + unit;
}

bool ShowTrRecord(DisplaySetup& view, InfoTexts& info, const CDTDoc& doc, int record) {
  if (record < 0 || record >= doc.trCount) return false;
  TakeTrRecord(view, doc, record);
  FillTrInfoTexts(info, doc, view);
  return true;
}

std::string ApparentPowerText(const std::string& rms1Text, const std::string& rms2Text) {
  const double a = std::strtod(rms1Text.c_str(), nullptr);
  const double b = std::strtod(rms2Text.c_str(), nullptr);
  if (a > 7.0 && b > 7.0) return FormatNumber("%.0f", a * b);
  return "LO";
}

void SelectFirstRealTimeDisplay(FrameState& frame, DisplaySetup& view) {
  view.firstPoint = 1;
  if (!frame.OtherRealTimeDisplayActive()) {
    frame.SetOnlyMode(DisplayMode::RealTimeEpa);
    TakeYAxes(frame, view, DisplayKindOf(DisplayMode::RealTimeEpa));
  }
  if (view.displayMode == 0) view.displayMode = 1;
  view.dataSaved = false;
}

void ApplyInfoPanelToggle(FrameState& frame, DisplaySetup& view) {
  view.panelHeight = frame.ToggleInfoPanel();
}

GraphMode GraphModeOf(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::StoreTr:
      return GraphMode::StoreTr;
    case DisplayMode::RealTimeEpa:
      return GraphMode::RealTimeEpa;
    case DisplayMode::RealTimeRms:
      return GraphMode::RealTimeRms;
    case DisplayMode::RealTimeFreq:
      return GraphMode::RealTimeFreq;
    case DisplayMode::RealTimeS:
      return GraphMode::RealTimeS;
    default:
      return GraphMode::StoreRms;
  }
}

}  // namespace acv
