#pragma once
// A small INI file with the semantics of the classic profile-string
// functions: section and key names compare case-insensitively, section names
// may contain blanks ("AUTOOFF Info"), values are trimmed and cut to 259
// characters, and writing a key changes only its own line, so every other
// line of the file (unknown keys and sections, comments) is kept as it was.
// Nothing here fails on a damaged file: unreadable lines are carried along
// and ignored.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace acv {

class IniFile {
 public:
  // The longest value a read returns; longer values are cut.
  static constexpr std::size_t kMaxValueLength = 259;

  static IniFile Parse(std::string_view text);
  // A missing, unreadable or implausibly large file gives an empty one;
  // `problem` then says why a file that is there could not be read whole
  // ("" when it was read, or when there is none).
  static IniFile Load(const std::string& path, std::string* problem = nullptr);

  // The value of the first matching key of the first matching section,
  // trimmed, without enclosing quotes, cut to kMaxValueLength.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  std::string GetString(std::string_view section, std::string_view key,
                        const std::string& fallback) const;
  // Profile-integer rules: a missing or empty value gives `fallback`;
  // otherwise an optional sign and the leading digits (text without digits
  // gives 0), saturated to the int range.
  int GetInt(std::string_view section, std::string_view key, int fallback) const;

  // Replaces the key's value in place, or adds the key at the end of its
  // section, or adds the section at the end of the file.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  std::string Text() const;
  // Writes through a temporary file and a rename. "" or the error.
  std::string Save(const std::string& path) const;

 private:
  std::vector<std::string> lines_;
};

}  // namespace acv
