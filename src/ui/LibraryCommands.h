#pragma once
// The window's side of the measurement library: File -> Add to Library...
// and the add that follows a download when the settings name a site. The
// library is opened for each add and closed again, so the window never
// holds a connection to a team's server while it merely stays open.
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "library/LibraryConnection.h"
#include "library/LibraryStore.h"
#include "ui/FrameParts.h"

namespace acv {

struct AppSettings;

// One use of the user's library: the connection and the store attached to
// it (with the settings' event limits), closed together when it goes.
struct UserLibrary {
  std::unique_ptr<LibraryConnection> connection;
  std::unique_ptr<library::LibraryStore> store;
  // The store first: it holds a handle on the connection's database.
  void Close() {
    store.reset();
    connection.reset();
  }
};
bool OpenUserLibrary(const AppSettings& settings, UserLibrary* out, std::string* problem);

class LibraryCommands {
 public:
  struct Host {
    FrameParts parts;
    AppSettings& settings;
    // The data file the data on show came from or were saved to ("" for
    // data not saved), and whether they changed since.
    std::function<std::string()> documentPath;
    std::function<bool()> dataUnsaved;
    std::function<void(const QString&, int)> showStatus;
  };
  explicit LibraryCommands(Host host) : host_(std::move(host)) {}

  // Asks for the site (and whether every download goes there), then adds.
  void AddToLibrary();
  // After a download: the add without asking when the settings name a site.
  // The status text to tell ("" when the settings name none); a failure is
  // told in a message, and the download stays as it is.
  QString AfterDownload();
  // The add itself, to a site named already: true and *line, or false and
  // *problem.
  bool Add(const std::string& site, std::string* line, std::string* problem);

 private:
  // The library's sites and where it is, for the dialog.
  bool ReadSites(std::string* where, std::vector<std::string>* sites, std::string* problem);
  void TellFailure(const std::string& problem);

  Host host_;
  std::string lastSite_;  // the site added to last in this session
};

}  // namespace acv
