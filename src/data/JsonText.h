#pragma once
// JSON as the programs print it: built with nlohmann::ordered_json (keys stay
// in the order they were set) and written on one line with every number in
// its shortest exact form. The library's own writer may print a double with
// more digits than it needs (0.007812617000000001); a value put in as
// FloatDecimal(v) comes out here as exactly FloatText(v).
#include <nlohmann/json_fwd.hpp>
#include <string>

namespace acv {

// Compact JSON text: no blanks, strings escaped by the library (bytes that
// are no UTF-8 become U+FFFD, so a damaged unit never stops the output),
// NaN and infinity as null.
std::string JsonText(const nlohmann::ordered_json& value);

}  // namespace acv
