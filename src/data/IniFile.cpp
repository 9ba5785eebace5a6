#include "data/IniFile.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

#include "data/FileIO.h"

namespace acv {
namespace {

// A settings file is a few kilobytes; anything far larger is not ours.
constexpr std::uint64_t kMaxIniBytes = 1 << 20;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

// The section name of a "[name]" line; false for any other line. A line
// without the closing bracket names the rest of the line.
bool SectionOf(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  line.remove_prefix(1);
  const std::size_t close = line.find(']');
  name = Trim(close == std::string_view::npos ? line : line.substr(0, close));
  return true;
}

// Key and raw value of a "key=value" line; false for comments and lines
// without "=".
bool EntryOf(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '[') return false;
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  return true;
}

// Where a key is (or would go): line indices, npos when absent.
struct Position {
  std::size_t head = std::string::npos;   // the section's "[...]" line
  std::size_t entry = std::string::npos;  // the key's line
  std::size_t last = std::string::npos;   // last non-blank line of the section
};

Position Find(const std::vector<std::string>& lines, std::string_view section,
              std::string_view key) {
  Position p;
  bool inside = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view name;
    if (SectionOf(lines[i], name)) {
      if (inside) break;  // the first matching section ends here
      inside = SameName(name, section);
      if (inside) p.head = p.last = i;
      continue;
    }
    if (!inside) continue;
    if (!Trim(lines[i]).empty()) p.last = i;
    std::string_view k, v;
    if (p.entry == std::string::npos && EntryOf(lines[i], k, v) && SameName(k, key)) p.entry = i;
  }
  return p;
}

std::string Clean(std::string_view s) {
  std::string out(s);
  std::replace_if(
      out.begin(), out.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  return out;
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    // Every carriage return before the line end goes: one of them is the
    // CR LF of a file written elsewhere, more are damage, and a save writes
    // plain line ends, so a line must come back from it as it was read.
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ini.lines_.emplace_back(line);
    start = end + 1;
  }
  return ini;
}

IniFile IniFile::Load(const std::string& path, std::string* problem) {
  if (problem != nullptr) problem->clear();
  std::vector<std::uint8_t> bytes;
  if (std::string error = ReadWholeFile(path, bytes, kMaxIniBytes); !error.empty()) {
    // No file is no problem: the defaults are what a first start has.
    if (problem != nullptr && FileExists(path)) *problem = std::move(error);
    return {};
  }
  return Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  const Position p = Find(lines_, section, key);
  if (p.entry == std::string::npos) return std::nullopt;
  std::string_view k, v;
  EntryOf(lines_[p.entry], k, v);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v.substr(0, kMaxValueLength));
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               const std::string& fallback) const {
  return Get(section, key).value_or(fallback);
}

int IniFile::GetInt(std::string_view section, std::string_view key, int fallback) const {
  const std::optional<std::string> value = Get(section, key);
  if (!value || value->empty()) return fallback;
  std::string_view s = *value;
  bool negative = false;
  if (s.front() == '-' || s.front() == '+') {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  long long v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    v = std::min<long long>(v * 10 + (c - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  if (negative) v = -v;
  return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  const Position p = Find(lines_, section, key);
  if (p.entry != std::string::npos) {
    // Keep the key as the file spells it; only the value changes.
    std::string_view k, v;
    EntryOf(lines_[p.entry], k, v);
    lines_[p.entry] = std::string(k) + "=" + Clean(value);
    return;
  }
  const std::string entry = Clean(key) + "=" + Clean(value);
  if (p.head != std::string::npos) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(p.last + 1), entry);
    return;
  }
  if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
  std::string head = Clean(section);
  head.insert(head.begin(), '[');
  head.push_back(']');
  lines_.push_back(std::move(head));
  lines_.push_back(entry);
}

std::string IniFile::Text() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += '\n';
  }
  return text;
}

std::string IniFile::Save(const std::string& path) const {
  const std::string text = Text();
  return WriteFileAtomically(
      path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace acv
