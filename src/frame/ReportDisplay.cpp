#include "frame/ReportDisplay.h"

namespace acv {

ReportFacts ReportDisplay::Facts() const {
  ReportFacts f;
  f.mode = mode;
  f.info = info;
  f.plotCh1 = setup.plotCh1;
  f.plotCh2 = setup.plotCh2;
  f.panelHeight = setup.panelHeight;
  return f;
}

DisplayMode OpeningMode(const CDTDoc& doc) {
  return doc.readTag == kTagRealTime ? DisplayMode::RealTimeRms : DisplayMode::StoreRms;
}

std::string ReportModeProblem(const CDTDoc& doc, DisplayMode mode, int record) {
  switch (mode) {
    case DisplayMode::StoreRms:
      return doc.rmsCount > 0 ? "" : "the file holds no STORE RMS samples";
    case DisplayMode::StoreTr:
      if (doc.trCount <= 0) return "the file holds no TR records";
      if (record < 0 || record >= doc.trCount) {
        return "there is no TR record " + std::to_string(record + 1) + " (the file holds " +
               std::to_string(doc.trCount) + ")";
      }
      return "";
    case DisplayMode::RealTimeEpa:
      return doc.epaCount > 0 ? "" : "the file holds no real-time wave";
    case DisplayMode::RealTimeRms:
    case DisplayMode::RealTimeFreq:
      return doc.rtCount > 0 ? "" : "the file holds no real-time points";
    case DisplayMode::RealTimeS:
      if (doc.rtCount <= 0) return "the file holds no real-time points";
      return doc.HasApparentPower() ? "" : "S(VA) needs one voltage and one current channel";
    case DisplayMode::None:
      break;
  }
  return "no display mode";
}

ReportDisplay PrepareReportDisplay(const CDTDoc& doc, DisplayMode mode, int record,
                                   const AppSettings& settings) {
  ReportDisplay d;
  d.mode = mode;
  FrameState frame;
  frame.TakeAxes(settings);
  d.setup.displayMode = 1;
  d.setup.dataSaved = true;
  EnterDisplayMode(mode, frame, d.setup, d.info, doc, PanelFacts{});
  // Another record than the first, as the TR File List's double click shows it.
  if (mode == DisplayMode::StoreTr && record > 0) ShowTrRecord(d.setup, d.info, doc, record);
  return d;
}

}  // namespace acv
