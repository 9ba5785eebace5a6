#include "data/JsonText.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

namespace acv {
namespace {

template <typename Number>
void AppendNumber(std::string& out, Number value) {
  char buf[32];
  const auto written = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, written.ptr);
}

void Append(std::string& out, const nlohmann::ordered_json& value) {
  using Type = nlohmann::ordered_json::value_t;
  switch (value.type()) {
    case Type::object: {
      out += '{';
      bool first = true;
      for (const auto& [key, item] : value.items()) {
        if (!first) out += ',';
        first = false;
        Append(out, nlohmann::ordered_json(key));
        out += ':';
        Append(out, item);
      }
      out += '}';
      return;
    }
    case Type::array: {
      out += '[';
      for (std::size_t i = 0; i < value.size(); ++i) {
        if (i > 0) out += ',';
        Append(out, value[i]);
      }
      out += ']';
      return;
    }
    case Type::number_integer:
      AppendNumber(out, value.get<std::int64_t>());
      return;
    case Type::number_unsigned:
      AppendNumber(out, value.get<std::uint64_t>());
      return;
    case Type::number_float: {
      const double number = value.get<double>();
      if (std::isfinite(number)) {
        AppendNumber(out, number);
      } else {
        out += "null";
      }
      return;
    }
    default:
      out += value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
      return;
  }
}

}  // namespace

std::string JsonText(const nlohmann::ordered_json& value) {
  std::string out;
  Append(out, value);
  return out;
}

}  // namespace acv
