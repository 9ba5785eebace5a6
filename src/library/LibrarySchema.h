#pragma once
// The library's tables, and the version number that tells a program whether
// it can write a library: a newer one is refused, an older one is upgraded
// in one transaction, an empty database gets the tables.
#include <QSqlDatabase>
#include <string>

namespace acv::library {

// The version this program writes.
inline constexpr int kSchemaVersion = 4;

// Makes `db` a library of kSchemaVersion. "" or the one line of why not
// (`where` names the library in it).
std::string PrepareSchema(const QSqlDatabase& db, bool postgres, const std::string& where);

}  // namespace acv::library
