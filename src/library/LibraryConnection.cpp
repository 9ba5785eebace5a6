#include "library/LibraryConnection.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <atomic>
#include <cstdlib>

namespace acv {
namespace {

constexpr int kBusyTimeoutMs = 10000;
constexpr int kConnectTimeoutS = 10;

QString NextConnectionName() {
  static std::atomic<unsigned> counter{0};
  return QStringLiteral("acv-library-%1").arg(++counter);
}

// The driver's reason on one line, with the password cut out should a
// driver ever echo it.
std::string Reason(const QSqlError& error, const LibraryLocation& location) {
  QString text = error.databaseText().trimmed();
  if (text.isEmpty()) text = error.driverText().trimmed();
  if (text.isEmpty()) text = QStringLiteral("no reason given by the driver");
  text = text.simplified();
  if (!location.password.empty()) {
    text.replace(QString::fromStdString(location.password), QStringLiteral("***"));
  }
  return text.toStdString();
}

bool Fail(std::string* problem, const LibraryLocation& location, const std::string& why) {
  if (problem != nullptr)
    *problem = "cannot open the library at " + location.Display() + ": " + why;
  return false;
}

// Runs one statement; false with the driver's reason in *why.
bool Exec(const QSqlDatabase& database, const QString& statement, const LibraryLocation& location,
          std::string* why) {
  QSqlQuery query(database);
  if (!query.exec(statement)) {
    *why = Reason(query.lastError(), location);
    return false;
  }
  return true;
}

bool PrepareSqlite(QSqlDatabase& database, const LibraryLocation& location, std::string* problem) {
  const QString path = QString::fromStdString(location.path);
  const QFileInfo file(path);
  if (file.isDir()) return Fail(problem, location, "it is a folder, not a library file");
  if (!QDir().mkpath(file.absolutePath())) {
    return Fail(problem, location, "cannot create the folder " + file.absolutePath().toStdString());
  }
  database.setDatabaseName(path);
  // Two programs writing at once wait for each other's transaction instead
  // of failing at once with "database is locked".
  database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
  if (!database.open()) return Fail(problem, location, Reason(database.lastError(), location));
  // The first statements read the file's header: a file that is not a
  // database fails here, with the one line the caller prints, not later.
  std::string why;
  // A page cache (16 MiB) that holds a whole download's pages, so that an
  // import writes each page once, at its commit.
  if (!Exec(database, QStringLiteral("PRAGMA journal_mode=WAL"), location, &why) ||
      !Exec(database, QStringLiteral("PRAGMA foreign_keys=ON"), location, &why) ||
      !Exec(database, QStringLiteral("PRAGMA cache_size=-16384"), location, &why)) {
    return Fail(problem, location, why);
  }
  return true;
}

bool PreparePostgres(QSqlDatabase& database, const LibraryLocation& location,
                     std::string* problem) {
  database.setHostName(QString::fromStdString(location.host));
  database.setPort(location.port);
  database.setUserName(QString::fromStdString(location.user));
  database.setPassword(QString::fromStdString(location.password));
  database.setDatabaseName(QString::fromStdString(location.database));
  // An unreachable server must not hang the program for the system's TCP timeout.
  database.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(kConnectTimeoutS));
  if (!database.open()) return Fail(problem, location, Reason(database.lastError(), location));
  return true;
}

}  // namespace

std::unique_ptr<LibraryConnection> LibraryConnection::Open(const LibraryLocation& location,
                                                           std::string* problem) {
  const bool postgres = location.engine == LibraryLocation::Engine::Postgres;
  const QString driver = postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
  if (!QSqlDatabase::isDriverAvailable(driver)) {
    Fail(problem, location,
         "Qt's " + driver.toStdString() + " driver is not installed (package " +
             (postgres ? "libqt6sql6-psql" : "libqt6sql6-sqlite") + ")");
    return nullptr;
  }
  // Constructed before the database is added, so the destructor removes it
  // from the registry on every failure below.
  std::unique_ptr<LibraryConnection> connection(
      new LibraryConnection(location, NextConnectionName()));
  QSqlDatabase database = QSqlDatabase::addDatabase(driver, connection->name_);
  const bool ready = postgres ? PreparePostgres(database, location, problem)
                              : PrepareSqlite(database, location, problem);
  if (!ready) return nullptr;
  return connection;
}

LibraryConnection::LibraryConnection(LibraryLocation location, QString name)
    : location_(std::move(location)), name_(std::move(name)) {}

LibraryConnection::~LibraryConnection() {
  {
    QSqlDatabase database = QSqlDatabase::database(name_, false);
    if (database.isOpen()) database.close();
  }
  // Every QSqlDatabase handle of this name above is gone: Qt removes the
  // connection quietly only then.
  QSqlDatabase::removeDatabase(name_);
}

QSqlDatabase LibraryConnection::Database() const {
  return QSqlDatabase::database(name_, false);
}

std::optional<LibraryLocation> ChooseLibraryForUser(const std::string& option,
                                                    const std::string& settingUrl,
                                                    std::string* problem) {
  const char* environment = std::getenv("ACVLOGGER_DB");
  const std::string dataHome =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
  return ChooseLibraryLocation(option, environment == nullptr ? "" : environment, settingUrl,
                               dataHome, problem);
}

}  // namespace acv
