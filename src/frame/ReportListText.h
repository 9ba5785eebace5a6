#pragma once
// The Data List's text as the report prints it: "No.", "Time", then the
// values of CH1 and CH2 ("S(VA)" and an empty column in REAL TIME S(VA)),
// each "%.1f " and the unit, "LO" for a value that reads as 0.0 outside
// STORE TR and REAL TIME EPA. Every cell is computed when asked for, straight
// from the data set, so a list of any length costs no memory.
#include "data/CDTDoc.h"
#include "frame/ReportPages.h"

namespace acv {

class ReportListText : public ListText {
 public:
  // The display's mode, channels, units and range (its firstPoint counts
  // the shown TR record's samples).
  ReportListText(const CDTDoc& doc, DisplayMode mode, const DisplaySetup& setup);

  std::int64_t RowCount() const override;
  std::vector<std::string> Headers() const override;
  std::string Cell(std::int64_t row, int column) const override;

 private:
  std::string Value(std::int64_t row, int channel) const;

  const CDTDoc& doc_;
  DisplayMode mode_;
  DisplaySetup setup_;
  std::int64_t trFirst_ = 0;  // 0-based first sample of the shown TR record
};

}  // namespace acv
