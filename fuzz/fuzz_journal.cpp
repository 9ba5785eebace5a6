// Arbitrary bytes as a real-time journal: no crash, no read beyond the input,
// at most one point per whole 24-byte record. Whatever is recovered encodes
// back to a journal that recovers the same points with nothing dropped, and
// its reports can be written.
//
// Seeds in corpus/journal/ are journals of two and of one channel.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "data/RealTimeExport.h"
#include "data/RunJournal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const acv::JournalContents c = acv::DecodeJournal({data, size});
  if (!c.ok) return 0;
  const acv::RealTimeFamily& run = c.run;
  if (run.rtCount < 0 || static_cast<std::size_t>(run.rtCount) * acv::kJournalRecordBytes > size ||
      run.rtRms.size() != static_cast<std::size_t>(run.rtCount) ||
      run.rtFreq.size() != run.rtRms.size()) {
    std::abort();
  }
  std::vector<std::uint8_t> bytes = acv::EncodeJournalHeader(acv::HeaderOf(run, c.realTimePoints));
  for (std::int32_t i = 0; i < run.rtCount; ++i) {
    const auto record = acv::EncodeJournalRecord(i, run.rtRms[static_cast<std::size_t>(i)],
                                                 run.rtFreq[static_cast<std::size_t>(i)]);
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  const acv::JournalContents again = acv::DecodeJournal(bytes);
  if (!again.ok || again.dropped != 0 || again.run.rtCount != run.rtCount) std::abort();
  if (run.rtCount < 64) {
    std::ostringstream out;
    acv::WriteRealTimeExport(out, run);
    acv::WriteRealTimeCsv(out, run, {});
  }
  return 0;
}
