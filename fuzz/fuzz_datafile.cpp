// Arbitrary bytes as a data file, and as a settings file: no crash, no read
// beyond the input, no allocation larger than the input can back. A file
// that loads is also written back and reloaded, and its report is walked
// when it is small.
//
// Seeds in corpus/datafile/ are ordinary data files (two channels with a TR
// record, CH2 only, a real-time run), written by EncodeDataFile.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "data/DataFile.h"
#include "data/Export.h"
#include "data/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  acv::CDTDoc doc;
  const acv::LoadResult r = acv::DecodeDataFile({data, size}, doc, "fuzz");
  if (r.ok) {
    doc.formatTag = r.tag;
    acv::CDTDoc again;
    if (!acv::DecodeDataFile(acv::EncodeDataFile(doc), again, "again").ok) std::abort();
    if (static_cast<std::int64_t>(doc.rmsCount) + 251LL * doc.trCount < 4096) {
      std::ostringstream out;
      acv::WriteExport(out, doc);
      acv::WriteCsvExport(out, doc);
    }
  }

  const acv::IniFile ini =
      acv::IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  (void)ini.GetInt("ColorInfo", "BGColor", 13);
  (void)ini.GetString("AUTOOFF Info", "AUTOOFF", "0");
  return 0;
}
