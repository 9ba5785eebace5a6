#pragma once
// The simulated logger's memory: a 512 KiB ring of 1024 blocks holding RMS
// items and TR records, and the download header that describes it.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "SimOptions.h"
#include "WireFormat.h"

namespace acv::sim {

class LoggerMemory {
 public:
  LoggerMemory();

  // Puts the stored bytes (oldest first) into the ring from header.startOffset on.
  void Store(std::span<const std::uint8_t> stored, const DownloadHeader& header);

  const DownloadHeader& header() const { return header_; }
  // One block of the ring; numbers wrap modulo 1024.
  std::span<const std::uint8_t> Block(std::size_t number) const;
  // Bytes of the last, partial block the header implies (total mod 512,
  // or the whole total when it is below one block).
  std::size_t TailBytes() const;
  // The stored bytes in the order the program receives them: whole blocks
  // from the start block on, wrapping, then the partial block.
  std::vector<std::uint8_t> Served() const;

 private:
  std::vector<std::uint8_t> ring_;
  DownloadHeader header_;
};

// The stream of RMS items and TR records that --synthetic describes.
std::vector<std::uint8_t> SyntheticStream(const ImageSpec& spec);

// RMS items in a stored stream, counted the way the logger lays it out:
// step item by item, jump 512 bytes over each TR record.
std::size_t CountRmsItems(std::span<const std::uint8_t> stored, int channels);

// The download header announcing these stored bytes (counts as --help explains).
DownloadHeader HeaderFor(const ImageSpec& spec, std::span<const std::uint8_t> stored);

// Builds the memory from the options (synthetic, full, or --image FILE).
bool BuildMemory(const Options& options, LoggerMemory& memory, std::string& error);

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error);
bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes,
                    std::string& error);

}  // namespace acv::sim
