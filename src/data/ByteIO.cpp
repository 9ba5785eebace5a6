#include "data/ByteIO.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace acv {

namespace {

// Bytes read from a source at a time; a longer item gets a larger window.
constexpr std::size_t kWindowBytes = 64 * 1024;

}  // namespace

void ByteReader::Ends(const char* what) const {
  throw DataFormatError("the file ends early, while reading the " + std::string(what) +
                        " (at byte " + std::to_string(Offset()) + " of " + std::to_string(size_) +
                        ")");
}

bool ByteReader::Hold(std::size_t count) {
  if (pos_ + count <= bytes_.size()) return true;
  if (source_ == nullptr) return false;
  // Keep the unread bytes, move them to the front and read behind them.
  const std::size_t kept = bytes_.size() - pos_;
  const std::size_t wanted = std::min(std::max(count, kWindowBytes), Remaining());
  if (window_.size() < wanted) window_.resize(wanted);
  std::memmove(window_.data(), window_.data() + pos_, kept);
  start_ += pos_;
  pos_ = 0;
  const std::size_t got = source_->Read(std::span(window_.data() + kept, wanted - kept));
  bytes_ = std::span(window_.data(), kept + got);
  return count <= bytes_.size();
}

void ByteReader::Require(std::uint64_t count, std::uint64_t itemSize, const char* what) const {
  const std::uint64_t left = Remaining();
  if (itemSize != 0 && count > left / itemSize) {
    throw DataFormatError("the file announces " + std::to_string(count) + " entries for the " +
                          std::string(what) + ", but only " + std::to_string(left) +
                          " bytes are left (at byte " + std::to_string(Offset()) + ")");
  }
}

std::span<const std::uint8_t> ByteReader::Bytes(std::size_t count, const char* what) {
  // Checked here first: most reads find their bytes in hand.
  const bool inHand = pos_ + count <= bytes_.size();
  if (!inHand && (count > Remaining() || !Hold(count))) Ends(what);
  auto s = bytes_.subspan(pos_, count);
  pos_ += count;
  return s;
}

std::span<const std::uint8_t> ByteReader::Peek(std::size_t count) {
  count = std::min(count, Remaining());
  Hold(count);
  return bytes_.subspan(pos_, std::min(count, bytes_.size() - pos_));
}

std::uint8_t ByteReader::U8(const char* what) {
  return Bytes(1, what)[0];
}

std::uint16_t ByteReader::U16(const char* what) {
  auto b = Bytes(2, what);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t ByteReader::U32(const char* what) {
  auto b = Bytes(4, what);
  return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
         (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::int32_t ByteReader::I32(const char* what) {
  return static_cast<std::int32_t>(U32(what));
}

std::int64_t ByteReader::I64(const char* what) {
  const std::uint64_t low = U32(what);
  const std::uint64_t high = U32(what);
  return static_cast<std::int64_t>(low | (high << 32));
}

float ByteReader::F32(const char* what) {
  return std::bit_cast<float>(U32(what));
}

bool ByteReader::ReadInto(std::span<std::uint8_t> into) {
  if (into.size() > Remaining()) return false;
  const std::size_t fromHand = std::min(into.size(), bytes_.size() - pos_);
  if (fromHand != 0) std::memcpy(into.data(), bytes_.data() + pos_, fromHand);
  pos_ += fromHand;
  if (fromHand == into.size()) return true;
  // The rest comes from the source straight into place.
  start_ += pos_;
  pos_ = 0;
  bytes_ = {};
  const std::size_t got = source_->Read(into.subspan(fromHand));
  start_ += got;
  return got == into.size() - fromHand;
}

void ByteReader::F32Array(std::size_t count, std::vector<float>& out, const char* what) {
  Require(count, 4, what);
  out.resize(count);
  // The file's bytes are the values' bytes in little-endian order.
  const auto bytes = std::span(reinterpret_cast<std::uint8_t*>(out.data()), count * 4);
  if (!ReadInto(bytes)) Ends(what);
  if constexpr (std::endian::native != std::endian::little) {
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t* b = bytes.data() + i * 4;
      const std::uint32_t v =
          static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
          (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
      out[i] = std::bit_cast<float>(v);
    }
  }
}

std::uint64_t ByteReader::StringLength(const char* what, bool& wide) {
  const std::uint8_t b = U8(what);
  if (b < 0xFF) return b;
  const std::uint16_t w = U16(what);
  if (w == 0xFFFE) {
    // The 16-bit-character marker may appear once; the length follows again.
    if (wide) throw DataFormatError("the " + std::string(what) + " has a malformed length");
    wide = true;
    return StringLength(what, wide);
  }
  if (w < 0xFFFF) return w;
  return U32(what);
}

std::string ByteReader::String(const char* what) {
  bool wide = false;
  const std::uint64_t n = StringLength(what, wide);
  Require(n, wide ? 2 : 1, what);
  if (!wide) {
    auto b = Bytes(static_cast<std::size_t>(n), what);
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
  }
  auto b = Bytes(static_cast<std::size_t>(n) * 2, what);
  std::string s(static_cast<std::size_t>(n), '?');
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned unit = b[i * 2] | (b[i * 2 + 1] << 8);
    if (unit <= 0xFF) s[i] = static_cast<char>(unit);
  }
  return s;
}

void ByteWriter::U16(std::uint16_t v) {
  out_.push_back(static_cast<std::uint8_t>(v));
  out_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::U32(std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ByteWriter::I64(std::int64_t v) {
  const auto u = static_cast<std::uint64_t>(v);
  U32(static_cast<std::uint32_t>(u));
  U32(static_cast<std::uint32_t>(u >> 32));
}

void ByteWriter::F32(float v) {
  U32(std::bit_cast<std::uint32_t>(v));
}

void ByteWriter::F32Array(const std::vector<float>& values, std::size_t count) {
  const std::size_t have = std::min(values.size(), count);
  const std::size_t at = out_.size();
  out_.resize(at + count * 4, 0);
  if constexpr (std::endian::native == std::endian::little) {
    if (have != 0) std::memcpy(out_.data() + at, values.data(), have * 4);
  } else {
    for (std::size_t i = 0; i < have; ++i) {
      const std::uint32_t v = std::bit_cast<std::uint32_t>(values[i]);
      for (int k = 0; k < 4; ++k) out_[at + i * 4 + k] = static_cast<std::uint8_t>(v >> (8 * k));
    }
  }
}

void ByteWriter::Bytes(std::span<const std::uint8_t> bytes) {
  out_.insert(out_.end(), bytes.begin(), bytes.end());
}

void ByteWriter::String(const std::string& s) {
  // The longest prefix holds 32 bits; a longer text is cut rather than given
  // a length that disagrees with the bytes written.
  const std::size_t n = std::min<std::size_t>(s.size(), 0xFFFFFFFFu);
  if (n < 0xFF) {
    U8(static_cast<std::uint8_t>(n));
  } else if (n < 0xFFFE) {
    U8(0xFF);
    U16(static_cast<std::uint16_t>(n));
  } else {
    U8(0xFF);
    U16(0xFFFF);
    U32(static_cast<std::uint32_t>(n));
  }
  Bytes(std::span(reinterpret_cast<const std::uint8_t*>(s.data()), n));
}

}  // namespace acv
