#include "library/LibraryRows.h"

#include <QVariant>

#include "library/LibrarySql.h"

namespace acv::library {

ChunkInfo ChunkFrom(const QSqlQuery& q) {
  ChunkInfo c;
  c.id = q.value(0).toLongLong();
  c.measurement = q.value(1).toLongLong();
  c.start = q.value(2).toLongLong();
  c.interval = q.value(3).toLongLong();
  c.count = q.value(4).toLongLong();
  for (int ch = 0; ch < 2; ++ch) {
    c.present[ch] = q.value(5 + ch).toLongLong() != 0;
    c.units[ch] = c.present[ch] ? TextOf(q.value(7 + ch)) : "";
    ChannelSummary& s = c.summary.channels[ch];
    const int at = 9 + 6 * ch;
    s.points = q.value(at).toLongLong();
    s.leftOut = q.value(at + 1).toLongLong();
    s.min = q.value(at + 2).toDouble();
    s.max = q.value(at + 3).toDouble();
    s.sum = q.value(at + 4).toDouble();
    s.deviations = q.value(at + 5).toDouble();
  }
  c.summary.productSum = q.value(21).toDouble();
  c.summary.productPoints = q.value(22).toLongLong();
  return c;
}

}  // namespace acv::library
