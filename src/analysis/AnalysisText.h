#pragma once
// The analysis as text: the event table (its cells for a list window, a
// printed page and the CLI's aligned table; its CSV), the span statistics
// (aligned lines and JSON) and the band summary. One wording for the window,
// the report and the CLI.
#include <array>
#include <string>
#include <vector>

#include "analysis/BandSummary.h"
#include "analysis/Distribution.h"
#include "analysis/Events.h"
#include "analysis/SpanStatistics.h"

namespace acv {

// A value with one decimal, or "LO" where it reads as zero (as the Data
// List and the readout show such values); `decimals` 0 shows raw samples,
// which have no "LO".
std::string LevelText(double value, int decimals = 1);
// "01:02:03" (with "N d " before it from a day on), or "21.9 ms" below 1 s.
std::string DurationText(double seconds);

// ---- events -----------------------------------------------------------------------

inline constexpr const char* kEventCsvHeader =
    "event,kind,channel,first_point,last_point,start,end,duration_s,extreme,unit,open";
// Event number n (from 1) as a CSV line, without the line end: times in the
// ISO form, numbers as numbers (the extreme as the data hold it, FloatText),
// a transient's point fields empty.
std::string EventCsvLine(int number, const Event& e);

// The columns of the event table: "No.", "Kind", "Channel", "First",
// "Last", "Start", "End", "Duration", "Extreme", "Open".
std::vector<std::string> EventTableHeaders();
// Event number n's cells, times with `timePattern`; the extreme with its
// unit; "open" or "".
std::vector<std::string> EventTableCells(int number, const Event& e, const char* timePattern);
// The whole table as text: a header line, then one line per event, columns
// padded to their widest cell and separated by two blanks.
std::string EventTableText(const std::vector<Event>& events, const char* timePattern);

// ---- span statistics --------------------------------------------------------------

// The per-channel table: a header row ("Channel", "Unit", "Min", "first at",
// "Max", "first at", "Mean", "Std dev"), then one row per present channel.
std::vector<std::vector<std::string>> StatisticsTable(const SpanStatistics& s);
// "Mean S(VA): 1234.5 VA" and "Energy: 12.345 VAh" of a V/A pair (with the
// number of damaged points the energy leaves out), else none.
std::vector<std::string> PowerLines(const SpanStatistics& s);
// "Left out: 11 damaged points of CH1 (not numbers)" per channel that has
// any, else none.
std::vector<std::string> LeftOutLines(const SpanStatistics& s);
// Aligned lines: the span, then one line per present channel (unit, min and
// max with the first points where they occur, mean, standard deviation), the
// damaged points left out, then the mean apparent power and the energy of a
// V/A pair.
std::vector<std::string> StatisticsLines(const SpanStatistics& s, const char* timePattern);
// One JSON object: points, first, last, start, end (ISO), ch1/ch2 with unit,
// min, min_point, max, max_point (the first points where they occur), mean,
// stddev, left_out, and for a channel with a band summary in `bands` its
// "band" (BandJson); mean_va, energy_vah and energy_left_out for a V/A pair.
// Values as FloatText writes them; null where a channel has no finite value
// in the span.
// A channel with percentiles (points > 0) gets them as "percentiles": {"p1" .. "p99"}.
std::string StatisticsJson(const SpanStatistics& s, const std::vector<BandShare>& bands = {},
                           const std::array<Percentiles, 2>& percentiles = {});

// ---- band summary -----------------------------------------------------------------

// "Band 207.0 .. 253.0 V (Un 230 V ± 10 %)".
std::string BandHeading(const EventLimits& limits);
// "CH1: 1421 of 1440 points within the band (98.7 %); 144 10-minute values,
// 2 flagged by short events, 140 of the other 142 within (98.6 %)".
std::string BandLine(const BandShare& share);
// One JSON object: low, high, points (finite ones), points_within,
// ten_min_values (every complete interval, flagged included),
// ten_min_flagged, ten_min_within (unflagged values within the band).
std::string BandJson(const BandShare& share);

}  // namespace acv
