#pragma once
// The compliance pages of the summary report: for each channel in V the
// weekly verdict against the supply standard (a row per week) and the table
// of dips and swells by depth and duration, from the same rules as
// `acvlogger-cli compliance`. Laid out as texts and positions in the units of
// the printed pages; the table of dips and swells is never split between
// pages, and the week table's column titles head every page it runs on.
#include <string>
#include <vector>

#include "analysis/SurveyText.h"
#include "frame/ReportPages.h"
#include "frame/SummaryPages.h"

namespace acv {

// The verdict of every channel in V of a series made of `segments` (a data
// set's series is one segment; a site's timeline has one per stretch
// without a gap). 10-minute values and events are found in each segment
// alone, so that none bridges a gap; the weeks run from the first point to
// just after the last.
std::vector<ComplianceReport> ComplianceOf(const std::vector<AnalysisSeries>& segments,
                                           const EventLimits& limits);

// The number of compliance pages (0 without a channel in V).
int CompliancePageCount(const SummaryContent& content, const PageUnits& units);
// Compliance page `page` (from 1); the footer carries `footerPage`.
SummaryPageLayout LayOutCompliancePage(int page, int footerPage, const SummaryContent& content,
                                       const PageUnits& units, const std::string& date);

}  // namespace acv
