#pragma once
// The analysis as text: the event table (its cells for a list window, a
// printed page and the CLI's aligned table; its CSV), the span statistics
// (aligned lines and JSON) and the band summary. One wording for the window,
// the report and the CLI.
#include <string>
#include <vector>

#include "analysis/BandSummary.h"
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

// The per-channel table: a header row ("Channel", "Unit", "Min", "at point",
// "Max", "at point", "Mean", "Std dev"), then one row per present channel.
std::vector<std::vector<std::string>> StatisticsTable(const SpanStatistics& s);
// "Mean S(VA): 1234.5 VA" and "Energy: 12.345 VAh" of a V/A pair, else none.
std::vector<std::string> PowerLines(const SpanStatistics& s);
// Aligned lines: the span, then one line per present channel (unit, min and
// max with their points, mean, standard deviation), then the mean apparent
// power and the energy of a V/A pair.
std::vector<std::string> StatisticsLines(const SpanStatistics& s, const char* timePattern);
// One JSON object: points, first, last, start, end (ISO), ch1/ch2 with unit,
// min, min_point, max, max_point, mean, stddev; mean_va and energy_vah for a
// V/A pair. Values as FloatText writes them; null where a channel has no
// finite value in the span.
std::string StatisticsJson(const SpanStatistics& s);

// ---- band summary -----------------------------------------------------------------

// "Band 207.0 .. 253.0 V (Un 230 V +- 10 %)".
std::string BandHeading(const EventLimits& limits);
// "CH1: 98.7 % of 1440 points within the band; 99.3 % of 144 10-minute means".
std::string BandLine(const BandShare& share);

}  // namespace acv
