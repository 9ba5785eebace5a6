#pragma once
// The database a library test works on, on the engine the test run chose:
// every test program registered through acv_add_library_test (see
// CMakeLists.txt beside this file) runs once on SQLite and once on the test
// run's own PostgreSQL server.
//
//   auto connection = acv::test::OpenFreshTestLibrary();
//   ASSERT_TRUE(connection);
//   ... connection->Database() ...
//   // a CLI run on the same library: --db connection->Location().Display()
//
// ACVLOGGER_TEST_ENGINE unset or "sqlite": a new file in a temporary folder.
// "postgres": a new database (CREATE DATABASE, unique name, dropped when the
// test program ends) on the server whose URL is in the file named by
// ACVLOGGER_TEST_PG_URL_FILE. The server trusts connections from 127.0.0.1,
// so Display() of the location is a complete --db URL.
#include <memory>
#include <optional>
#include <string>

#include "library/LibraryConnection.h"

namespace acv::test {

// An empty database for one test; nullptr (and a test failure naming why)
// when it cannot be had.
std::unique_ptr<LibraryConnection> OpenFreshTestLibrary();

// Whether this run of the test program is the PostgreSQL one: tests of
// something that does not depend on the engine run in the SQLite run only.
bool TestEngineIsPostgres();

// The test server's administrator location (its "postgres" database), for
// tests that need the server itself; nullopt outside the PostgreSQL run.
std::optional<LibraryLocation> TestServerLocation();

// Creates the QCoreApplication Qt SQL needs to load its drivers, once.
void EnsureLibraryTestApplication();

}  // namespace acv::test
