#pragma once
// Little-endian binary reading and writing for the program's own files.
// The reader is bounded by the bytes it was given: every read checks what is
// really left before it copies or allocates, and throws DataFormatError with
// a description of what was being read when the bytes run out.
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace acv {

class DataFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where a ByteReader that does not hold all its bytes at once gets the next
// ones from (a file read a window at a time).
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Fills `into` with the next bytes and returns how many it put there;
  // fewer only at the end of the data or on a read error.
  virtual std::size_t Read(std::span<std::uint8_t> into) = 0;
};

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes), size_(bytes.size()) {}
  // The `size` bytes of `source`, held a window at a time: a large file is
  // not kept twice in memory, once as bytes and once as the data read from
  // them. A source that ends early reads as a file that ends early.
  ByteReader(ByteSource& source, std::size_t size) : size_(size), source_(&source) {}

  std::size_t Offset() const { return start_ + pos_; }
  std::size_t Size() const { return size_; }
  std::size_t Remaining() const { return size_ - Offset(); }
  bool AtEnd() const { return Remaining() == 0; }

  // `what` names the field in the error message.
  std::uint8_t U8(const char* what);
  std::uint16_t U16(const char* what);
  std::uint32_t U32(const char* what);
  std::int32_t I32(const char* what);
  std::int64_t I64(const char* what);
  float F32(const char* what);
  // `count` float32 values; the length is checked before anything is
  // allocated.
  void F32Array(std::size_t count, std::vector<float>& out, const char* what);
  // The next `count` bytes without copying, valid until the next read.
  std::span<const std::uint8_t> Bytes(std::size_t count, const char* what);
  // Up to `count` of the next bytes (fewer at the end), without moving on.
  std::span<const std::uint8_t> Peek(std::size_t count);

  // A length-prefixed string: one byte below 255; 0xFF + u16 below 0xFFFE;
  // 0xFF 0xFFFF + u32 beyond. The 16-bit-character form (0xFF 0xFFFE, then a
  // length prefix again, then n UTF-16 units) is read too and converted to
  // single-byte text: Latin-1, '?' for every other character.
  std::string String(const char* what);

  // Throws unless `count` items of `itemSize` bytes can still follow.
  void Require(std::uint64_t count, std::uint64_t itemSize, const char* what) const;

 private:
  [[noreturn]] void Ends(const char* what) const;
  std::uint64_t StringLength(const char* what, bool& wide);
  // Makes the next `count` bytes (no more than are left) available in
  // bytes_, reading from the source as needed; false when it ends early.
  bool Hold(std::size_t count);
  // Fills `into` with the next bytes: those in hand, then straight from the
  // source (no copy through the window). False when they run out first.
  bool ReadInto(std::span<std::uint8_t> into);

  std::span<const std::uint8_t> bytes_;  // the bytes in hand
  std::size_t start_ = 0;                // offset of bytes_[0]
  std::size_t pos_ = 0;                  // next byte, within bytes_
  std::size_t size_;
  ByteSource* source_ = nullptr;
  std::vector<std::uint8_t> window_;  // bytes_ when reading from a source
};

class ByteWriter {
 public:
  explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}

  void U8(std::uint8_t v) { out_.push_back(v); }
  void U16(std::uint16_t v);
  void U32(std::uint32_t v);
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void I64(std::int64_t v);
  void F32(float v);
  // `count` values from `values`; positions beyond its end are written as 0,
  // so a count always matches the bytes that follow it.
  void F32Array(const std::vector<float>& values, std::size_t count);
  void Bytes(std::span<const std::uint8_t> bytes);
  // Length prefix (1, 3 or 7 bytes) and the characters, no terminator.
  void String(const std::string& s);

 private:
  std::vector<std::uint8_t>& out_;
};

}  // namespace acv
