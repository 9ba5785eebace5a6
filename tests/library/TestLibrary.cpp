#include "TestLibrary.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace acv::test {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? "" : value;
}

// The databases this program created, dropped after its last test, so a
// long test run does not fill the server with them.
std::vector<std::string>& CreatedDatabases() {
  static std::vector<std::string> names;
  return names;
}

bool Execute(const LibraryLocation& location, const std::string& statement, std::string* why) {
  auto admin = LibraryConnection::Open(location, why);
  if (!admin) return false;
  QSqlQuery query(admin->Database());
  if (!query.exec(QString::fromStdString(statement))) {
    *why = statement + ": " + query.lastError().text().toStdString();
    return false;
  }
  return true;
}

class DropCreatedDatabases : public ::testing::Environment {
 public:
  void TearDown() override {
    const auto server = TestServerLocation();
    if (!server) return;
    for (const std::string& name : CreatedDatabases()) {
      std::string why;
      // FORCE: a test that failed half-way may have left its connection.
      if (!Execute(*server, "DROP DATABASE IF EXISTS \"" + name + "\" WITH (FORCE)", &why)) {
        std::fprintf(stderr, "could not drop the test database %s: %s\n", name.c_str(),
                     why.c_str());
      }
    }
  }
};

[[maybe_unused]] const auto* const dropper =
    ::testing::AddGlobalTestEnvironment(new DropCreatedDatabases);

std::unique_ptr<LibraryConnection> OpenFresh(const LibraryLocation& location) {
  std::string problem;
  auto connection = LibraryConnection::Open(location, &problem);
  if (!connection) ADD_FAILURE() << problem;
  return connection;
}

}  // namespace

void EnsureLibraryTestApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "library_test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
}

bool TestEngineIsPostgres() {
  return Environment("ACVLOGGER_TEST_ENGINE") == "postgres";
}

std::optional<LibraryLocation> TestServerLocation() {
  if (!TestEngineIsPostgres()) return std::nullopt;
  const std::string urlFile = Environment("ACVLOGGER_TEST_PG_URL_FILE");
  std::ifstream in(urlFile);
  std::string url;
  if (urlFile.empty() || !std::getline(in, url)) {
    ADD_FAILURE() << "no URL of the test server in ACVLOGGER_TEST_PG_URL_FILE (\"" << urlFile
                  << "\"): run the test through ctest, which starts the server";
    return std::nullopt;
  }
  std::string problem;
  auto location = ParseLibraryLocation(url, &problem);
  if (!location) ADD_FAILURE() << problem;
  return location;
}

std::unique_ptr<LibraryConnection> OpenFreshTestLibrary() {
  EnsureLibraryTestApplication();
  static unsigned counter = 0;
  ++counter;
  const std::string engine = Environment("ACVLOGGER_TEST_ENGINE");
  if (engine.empty() || engine == "sqlite") {
    static QTemporaryDir folder;
    if (!folder.isValid()) {
      ADD_FAILURE() << "no temporary folder: " << folder.errorString().toStdString();
      return nullptr;
    }
    LibraryLocation location;
    location.path = folder.filePath(QStringLiteral("library-%1.sqlite").arg(counter)).toStdString();
    return OpenFresh(location);
  }
  if (engine != "postgres") {
    ADD_FAILURE() << "ACVLOGGER_TEST_ENGINE is \"" << engine << "\", not sqlite or postgres";
    return nullptr;
  }
  const auto server = TestServerLocation();
  if (!server) return nullptr;
  // Unique across the test programs ctest runs at once on the one server.
  const std::string name = "acv_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter);
  std::string why;
  if (!Execute(*server, "CREATE DATABASE \"" + name + "\"", &why)) {
    ADD_FAILURE() << why;
    return nullptr;
  }
  CreatedDatabases().push_back(name);
  LibraryLocation location = *server;
  location.database = name;
  return OpenFresh(location);
}

}  // namespace acv::test
