#include "cli/CliOptions.h"

#include <charconv>

namespace acv::cli {

std::optional<std::string> OptionList::Take(const std::string& name, const std::string& valueWhat) {
  std::optional<std::string> value;
  const std::string prefix = name + "=";
  for (std::size_t i = 0; i < args_.size() && !EndsOptions(i);) {
    if (args_[i] == name) {
      if (i + 1 >= args_.size()) {
        if (error_.empty()) error_ = name + " needs " + valueWhat;
        args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i));
        continue;
      }
      value = args_[i + 1];
      args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i),
                  args_.begin() + static_cast<std::ptrdiff_t>(i + 2));
      continue;
    }
    if (args_[i].rfind(prefix, 0) == 0) {
      value = args_[i].substr(prefix.size());
      args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    ++i;
  }
  return value;
}

std::optional<std::string> OptionList::TakeOutput(const std::string& valueWhat) {
  std::optional<std::string> output = Take("--output", valueWhat);
  if (auto shortForm = Take("-o", valueWhat)) output = shortForm;
  return output;
}

bool OptionList::TakeFlag(const std::string& name) {
  bool found = false;
  for (std::size_t i = 0; i < args_.size() && !EndsOptions(i);) {
    if (args_[i] == name) {
      found = true;
      args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
  return found;
}

std::vector<std::string> OptionList::TakeWords() {
  std::vector<std::string> words, left;
  std::size_t i = 0;
  for (; i < args_.size() && !EndsOptions(i); ++i) {
    const std::string& a = args_[i];
    (a.size() > 1 && a[0] == '-' ? left : words).push_back(a);
  }
  if (i < args_.size())
    words.insert(words.end(), args_.begin() + static_cast<std::ptrdiff_t>(i + 1), args_.end());
  args_ = std::move(left);
  return words;
}

std::string OptionList::TakeDataFile(std::string& file) {
  const std::vector<std::string> words = TakeWords();
  if (words.empty()) return "no data file given";
  if (words.size() > 1) return "one data file at a time";
  file = words.front();
  return {};
}

std::string OptionList::Error() const {
  if (!error_.empty()) return error_;
  if (args_.empty()) return {};
  const std::string& word = args_.front();
  return (word.rfind('-', 0) == 0 ? "unknown option '" : "unexpected argument '") + word + "'";
}

std::optional<int> ParseInt(const std::string& text) {
  int value = 0;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (begin != end && *begin == '+') ++begin;  // from_chars takes '-' only
  if (begin == end) return std::nullopt;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

}  // namespace acv::cli
