#pragma once
// The name the window gives the data it shows: its title, and the list of
// files opened or saved recently (File -> Recent Files, kept in the settings).
#include <string>
#include <string_view>
#include <vector>

namespace acv {

// "name.stdata — <caption>" for data from or saved to a file; "Untitled —
// <caption>" for data from the logger not saved yet; a '*' after the name
// while the data are unsaved; "SITE <name> — <caption>" for a library
// site's timeline (never a file of its own); the caption alone while no
// data are shown.
std::string WindowTitle(std::string_view caption, const std::string& dataFile, bool hasData,
                        bool unsaved, const std::string& site = {});

inline constexpr int kRecentFileCount = 4;

// Puts path at the front of the list (moving it there when listed already)
// and keeps at most kRecentFileCount entries.
void RememberRecentFile(std::vector<std::string>& list, const std::string& path);
void ForgetRecentFile(std::vector<std::string>& list, const std::string& path);

// The menu entry for list position index (0-based): "&1 ~/data/x.stdata",
// the home folder shortened to "~" and any '&' of the path doubled so it is
// shown rather than taken as a mnemonic.
std::string RecentFileMenuText(int index, const std::string& path, const std::string& home);

}  // namespace acv
