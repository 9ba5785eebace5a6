#include "frame/DocumentName.h"

#include <algorithm>
#include <filesystem>

namespace acv {

std::string WindowTitle(std::string_view caption, const std::string& dataFile, bool hasData,
                        bool unsaved, const std::string& site) {
  if (!hasData) return std::string(caption);
  if (!site.empty()) return "SITE " + site + " \u2014 " + std::string(caption);
  std::string name =
      dataFile.empty() ? "Untitled" : std::filesystem::path(dataFile).filename().string();
  if (unsaved) name += '*';
  return name + " \u2014 " + std::string(caption);
}

void RememberRecentFile(std::vector<std::string>& list, const std::string& path) {
  if (path.empty()) return;
  ForgetRecentFile(list, path);
  list.insert(list.begin(), path);
  if (list.size() > static_cast<std::size_t>(kRecentFileCount)) list.resize(kRecentFileCount);
}

void ForgetRecentFile(std::vector<std::string>& list, const std::string& path) {
  list.erase(std::remove(list.begin(), list.end(), path), list.end());
}

std::string RecentFileMenuText(int index, const std::string& path, const std::string& home) {
  std::string shown = path;
  if (!home.empty() && home != "/" && shown.size() > home.size() &&
      shown.compare(0, home.size(), home) == 0 && shown[home.size()] == '/') {
    shown = "~" + shown.substr(home.size());
  }
  std::string escaped;
  for (char c : shown) {
    if (c == '&') escaped += '&';
    escaped += c;
  }
  return "&" + std::to_string(index + 1) + " " + escaped;
}

}  // namespace acv
