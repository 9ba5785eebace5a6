// How CSV and JSON write a measured value: the shortest decimal of its
// 32-bit float, and JSON that carries exactly those digits; and how a level
// that reads as zero is shown.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>

#include "data/JsonText.h"
#include "data/NumberText.h"

namespace acv {
namespace {

TEST(NumberText, FloatTextWritesTheDigitsAFloatHolds) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    const char* text;
  } cases[] = {
      // Stored samples: the float's own digits, however a double widens them.
      {229.449f, "229.449"},
      {230.4f, "230.4"},
      {0.1f, "0.1"},
      {-12.75f, "-12.75"},
      {1e-7f, "1e-07"},
      {3.4028235e38f, "3.4028235e+38"},
      {0.0, "0"},
      {-0.0, "-0"},
      // Figures computed in double from floats: their float rounding.
      {(5.15f + 5.15f + 5.15f + 5.15f) / 4.0, "5.15"},
      {35.833333333333336, "35.833332"},
      {1.118033988749895, "1.118034"},
      {16777217.0, "16777216"},
      // Beyond the float's range a sum keeps its double; no number, no text.
      {1e39, "1e+39"},
      {nan, ""},
      {inf, ""},
      {-inf, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FloatText(c.value), c.text);
    if (std::isfinite(c.value)) {
      EXPECT_EQ(JsonText(nlohmann::ordered_json(FloatDecimal(c.value))), c.text);
    } else {
      EXPECT_EQ(JsonText(nlohmann::ordered_json(FloatDecimal(c.value))), "null");
    }
  }
}

// The library's own writer prints one double in ten of these with more
// digits than the float has (0.007812617 as 0.007812617000000001).
TEST(NumberText, JsonCarriesEveryFloatsShortestDigits) {
  int differing = 0;
  for (std::uint32_t bits = 0x00800000u; bits < 0x7f800000u; bits += 0x1234u) {
    float f = 0.0f;
    std::memcpy(&f, &bits, sizeof f);
    const std::string text = FloatText(f);
    if (JsonText(nlohmann::ordered_json(FloatDecimal(f))) != text) ++differing;
    if (std::stof(text) != f) ++differing;
  }
  EXPECT_EQ(differing, 0);
}

TEST(JsonText, KeepsKeyOrderEscapesStringsAndNamesNoNumberNull) {
  nlohmann::ordered_json j;
  j["points"] = 4;
  j["first"] = std::int64_t{-1};
  j["unit"] = "\"V\"\\\n";
  j["damaged"] = std::string("A\xff");
  j["mean"] = std::numeric_limits<double>::quiet_NaN();
  j["none"] = nullptr;
  j["list"] = {1, 2.5, true};
  j["empty"] = nlohmann::ordered_json::object();
  EXPECT_EQ(JsonText(j), R"({"points":4,"first":-1,"unit":"\"V\"\\\n","damaged":"A)"
                         "\xef\xbf\xbd"
                         R"(","mean":null,"none":null,"list":[1,2.5,true],"empty":{}})");
}

// A level that reads as zero at the precision it is shown with is "LO":
// the readout, the lists and the statistics all show it so.
TEST(MeasuredText, ReadsAsZeroAtItsPrecisionIsLo) {
  const struct {
    double value;
    int decimals;
    const char* shown;
  } cases[] = {{0.0, 1, "LO"},   {0.04, 1, "LO"},    {-0.04, 1, "LO"},     {0.05, 1, "0.1"},
               {0.4, 0, "LO"},   {0.6, 0, "1"},      {230.44, 1, "230.4"}, {-12.0, 1, "-12.0"},
               {0.004, 2, "LO"}, {0.005, 2, "0.01"}, {100.0, 0, "100"}};
  for (const auto& c : cases) {
    EXPECT_EQ(MeasuredText(c.value, c.decimals), c.shown) << c.value << " " << c.decimals;
  }
}

}  // namespace
}  // namespace acv
