#include "analysis/SpanStatistics.h"

#include <cmath>
#include <limits>

namespace acv {
namespace {

// The figures common to both ways of computing a span.
SpanStatistics Frame(const AnalysisSeries& s, std::int64_t first, std::int64_t last) {
  SpanStatistics out;
  out.first = first + 1;
  out.last = last + 1;
  out.start = s.PointTime(first);
  out.end = s.PointTime(last + 1);
  for (int c = 0; c < 2; ++c) {
    out.channels[c].present = s.channels[c].present;
    out.channels[c].unit = s.channels[c].unit;
  }
  out.hasPower = s.HasVoltAmpere();
  return out;
}

void SetPower(SpanStatistics& out, const AnalysisSeries& s, double sum, std::int64_t points) {
  if (!out.hasPower) return;
  out.powerLeftOut = out.Points() - points;
  if (points == 0) return;
  out.meanVa = sum / static_cast<double>(points);
  out.energyVah = sum * s.interval / 3600.0;
}

// One channel's figures by reading the span: the extremes at their first
// points, then the mean, then the spread around it (two passes, so a span of
// equal values has a standard deviation of exactly 0).
void ScanChannel(const ChannelValues& v, std::int64_t first, std::int64_t last, ChannelSpan& cs) {
  double sum = 0.0;
  for (std::int64_t k = first; k <= last; ++k) {
    const float value = v[k];
    if (!std::isfinite(value)) {
      ++cs.leftOut;
      continue;
    }
    if (cs.points == 0 || value < cs.min) {
      cs.min = value;
      cs.minPoint = k + 1;
    }
    if (cs.points == 0 || value > cs.max) {
      cs.max = value;
      cs.maxPoint = k + 1;
    }
    sum += value;
    ++cs.points;
  }
  if (cs.points == 0) return;
  cs.mean = sum / static_cast<double>(cs.points);
  double squares = 0.0;
  for (std::int64_t k = first; k <= last; ++k) {
    if (std::isfinite(v[k])) squares += (v[k] - cs.mean) * (v[k] - cs.mean);
  }
  cs.stddev = std::sqrt(squares / static_cast<double>(cs.points));
}

// A running sum with compensation: `total` is the exact sum rounded once
// (near enough), however many terms went in.
struct CompensatedSum {
  double total = 0.0, carry = 0.0;
  void Add(double x) {
    const double y = x - carry;
    const double t = total + y;
    carry = (t - total) - y;
    total = t;
  }
};

}  // namespace

SpanIndex::SpanIndex(const AnalysisSeries& series) : series_(series) {
  leaves_ = 1;
  while (leaves_ < series_.count) leaves_ *= 2;
  for (int c = 0; c < 2; ++c) {
    if (series_.channels[c].present) Prepare(c);
  }
  int volt = 0;
  if (!series_.HasVoltAmpere(&volt)) return;
  const ChannelValues& v = series_.channels[volt].values;
  const ChannelValues& a = series_.channels[1 - volt].values;
  powerSum_.assign(static_cast<std::size_t>(series_.count) + 1, 0.0);
  powerPoints_.assign(static_cast<std::size_t>(series_.count) + 1, 0);
  CompensatedSum power;
  for (std::int64_t k = 0; k < series_.count; ++k) {
    const double p = static_cast<double>(v[k]) * static_cast<double>(a[k]);
    const bool ok = std::isfinite(p);
    const std::size_t at = static_cast<std::size_t>(k);
    if (ok) power.Add(p);
    powerSum_[at + 1] = power.total;
    powerPoints_[at + 1] = powerPoints_[at] + (ok ? 1 : 0);
  }
}

void SpanIndex::Prepare(int c) {
  const ChannelValues& v = series_.channels[c].values;
  Channel& ch = channels_[c];
  const std::size_t n = static_cast<std::size_t>(series_.count);
  // The shift: the mean of the series, from a first plain pass.
  double total = 0.0;
  std::int64_t finite = 0;
  for (std::int64_t k = 0; k < series_.count; ++k) {
    if (std::isfinite(v[k])) {
      total += v[k];
      ++finite;
    }
  }
  ch.shift = finite > 0 ? total / static_cast<double>(finite) : 0.0;
  ch.sum.assign(n + 1, 0.0);
  ch.squares.assign(n + 1, 0.0);
  ch.finite.assign(n + 1, 0);
  const std::size_t width = static_cast<std::size_t>(leaves_);
  ch.minTree.assign(2 * width, -1);
  ch.maxTree.assign(2 * width, -1);
  CompensatedSum sum, squares;
  for (std::size_t k = 0; k < n; ++k) {
    const float value = v[static_cast<std::int64_t>(k)];
    const bool ok = std::isfinite(value);
    if (ok) {
      const double d = value - ch.shift;
      sum.Add(d);
      squares.Add(d * d);
    }
    ch.sum[k + 1] = sum.total;
    ch.squares[k + 1] = squares.total;
    ch.finite[k + 1] = ch.finite[k] + (ok ? 1 : 0);
    ch.minTree[width + k] = ch.maxTree[width + k] = ok ? static_cast<std::int32_t>(k) : -1;
  }
  for (std::size_t node = width - 1; node >= 1; --node) {
    const auto pick = [&](std::vector<std::int32_t>& tree, bool smallest) {
      const std::int32_t a = tree[2 * node], b = tree[2 * node + 1];
      tree[node] = Better(c, smallest, b, a) ? b : a;
    };
    pick(ch.minTree, true);
    pick(ch.maxTree, false);
  }
}

bool SpanIndex::Better(int c, bool smallest, std::int32_t a, std::int32_t b) const {
  if (a < 0) return false;
  if (b < 0) return true;
  const float va = series_.channels[c].values[a], vb = series_.channels[c].values[b];
  if (va != vb) return smallest ? va < vb : va > vb;
  return a < b;
}

std::int32_t SpanIndex::Extreme(const std::vector<std::int32_t>& tree, int c, bool smallest,
                                std::int64_t first, std::int64_t last) const {
  std::int32_t best = -1;
  std::size_t lo = static_cast<std::size_t>(first + leaves_);
  std::size_t hi = static_cast<std::size_t>(last + leaves_ + 1);
  while (lo < hi) {
    if (lo & 1) {
      if (Better(c, smallest, tree[lo], best)) best = tree[lo];
      ++lo;
    }
    if (hi & 1) {
      --hi;
      if (Better(c, smallest, tree[hi], best)) best = tree[hi];
    }
    lo /= 2;
    hi /= 2;
  }
  return best;
}

SpanStatistics SpanIndex::Of(std::int64_t first, std::int64_t last) const {
  SpanStatistics out = Frame(series_, first, last);
  const bool direct = last - first + 1 <= kDirectSpan;
  const std::size_t from = static_cast<std::size_t>(first), to = static_cast<std::size_t>(last) + 1;
  for (int c = 0; c < 2; ++c) {
    if (!series_.channels[c].present) continue;
    const Channel& ch = channels_[c];
    ChannelSpan& cs = out.channels[c];
    if (direct) {
      ScanChannel(series_.channels[c].values, first, last, cs);
      continue;
    }
    cs.points = ch.finite[to] - ch.finite[from];
    cs.leftOut = out.Points() - cs.points;
    if (cs.points == 0) continue;
    const double n = static_cast<double>(cs.points);
    const double sum = ch.sum[to] - ch.sum[from];
    const double spread = (ch.squares[to] - ch.squares[from]) - sum * sum / n;
    // What rounding may have left in `spread`: each prefix is off by a few
    // units in its last place. A spread not clearly above that (a span of
    // equal or nearly equal values) is read directly.
    constexpr double kEps = std::numeric_limits<double>::epsilon();
    const double noise =
        8.0 * kEps *
        (ch.squares[to] + ch.squares[from] +
         2.0 * std::fabs(sum) * (std::fabs(ch.sum[to]) + std::fabs(ch.sum[from])) / n);
    if (spread <= noise) {
      cs = ChannelSpan{cs.present, cs.unit};
      ScanChannel(series_.channels[c].values, first, last, cs);
      continue;
    }
    cs.mean = sum / n + ch.shift;
    cs.stddev = std::sqrt(spread / n);
    const std::int32_t lo = Extreme(ch.minTree, c, true, first, last);
    const std::int32_t hi = Extreme(ch.maxTree, c, false, first, last);
    cs.min = series_.channels[c].values[lo];
    cs.max = series_.channels[c].values[hi];
    cs.minPoint = lo + 1;
    cs.maxPoint = hi + 1;
  }
  if (out.hasPower) {
    SetPower(out, series_, powerSum_[to] - powerSum_[from], powerPoints_[to] - powerPoints_[from]);
  }
  return out;
}

SpanStatistics ScanSpan(const AnalysisSeries& s, std::int64_t first, std::int64_t last) {
  SpanStatistics out = Frame(s, first, last);
  for (int c = 0; c < 2; ++c) {
    if (s.channels[c].present) ScanChannel(s.channels[c].values, first, last, out.channels[c]);
  }
  int volt = 0;
  if (s.HasVoltAmpere(&volt)) {
    double sum = 0.0;
    std::int64_t points = 0;
    for (std::int64_t k = first; k <= last; ++k) {
      const double p = static_cast<double>(s.channels[volt].values[k]) *
                       static_cast<double>(s.channels[1 - volt].values[k]);
      if (!std::isfinite(p)) continue;
      sum += p;
      ++points;
    }
    SetPower(out, s, sum, points);
  }
  return out;
}

}  // namespace acv
