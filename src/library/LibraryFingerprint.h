#pragma once
// The fingerprint by which the library knows a file again: the SHA-256 of
// its bytes, as 64 lowercase hex digits ("" if it cannot be computed).
#include <cstdint>
#include <string>
#include <vector>

namespace acv::library {

std::string Sha256Hex(const std::vector<std::uint8_t>& bytes);

}  // namespace acv::library
