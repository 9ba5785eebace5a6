#pragma once
// One open connection to the measurement library, SQLite or PostgreSQL,
// through Qt SQL. Each connection has its own name in QSqlDatabase's
// registry, so several may be open at once (two stores on one file, a test
// and its administrator connection), and it leaves the registry when
// destroyed. Open it for a task and let it go: a PostgreSQL server counts
// its connections.
#include <QSqlDatabase>
#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "library/core/LibraryLocation.h"

namespace acv {

class LibraryConnection {
 public:
  // Opens (SQLite: creating the folder and the file) the database at `location`.
  // SQLite: journal_mode=WAL, busy_timeout 10 s, foreign_keys ON. PostgreSQL: connect timeout 10 s.
  // On failure nullptr and *problem = "cannot open the library at <Display()>: <driver's reason>"
  // (the password never appears). Needs a QCoreApplication (Qt loads the drivers as plugins).
  static std::unique_ptr<LibraryConnection> Open(const LibraryLocation& location,
                                                 std::string* problem);
  ~LibraryConnection();
  LibraryConnection(const LibraryConnection&) = delete;
  LibraryConnection& operator=(const LibraryConnection&) = delete;

  QSqlDatabase Database() const;
  const LibraryLocation& Location() const { return location_; }
  bool IsPostgres() const { return location_.engine == LibraryLocation::Engine::Postgres; }

 private:
  LibraryConnection(LibraryLocation location, QString name);

  LibraryLocation location_;
  QString name_;
};

// The library this user works with (ChooseLibraryLocation): the --db option,
// else $ACVLOGGER_DB, else the settings' URL, else library.sqlite in the
// user's data folder ($XDG_DATA_HOME or ~/.local/share).
std::optional<LibraryLocation> ChooseLibraryForUser(const std::string& option,
                                                    const std::string& settingUrl,
                                                    std::string* problem);

}  // namespace acv
