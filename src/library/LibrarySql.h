#pragma once
// Small helpers over Qt SQL for the library: statements that throw with the
// driver's reason instead of failing quietly, values always bound (never
// pasted into the SQL text), and a transaction that rolls back unless it is
// committed, so an import cut short by an error leaves nothing behind.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace acv::library {

// A failure of the database, worded for one line.
class LibraryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Prepares `sql` (placeholders "?") on `db`; throws LibraryError when the
// statement is not understood.
QSqlQuery Prepare(const QSqlDatabase& db, const char* sql);
// Binds the values in order and runs the prepared statement; throws on failure.
void Run(QSqlQuery& query, std::initializer_list<QVariant> values = {});
// Prepares and runs in one step (a statement without values runs as it is).
QSqlQuery Execute(const QSqlDatabase& db, const char* sql,
                  std::initializer_list<QVariant> values = {});

// A 64-bit value as Qt SQL binds it on both engines.
inline QVariant Int(std::int64_t v) {
  return QVariant::fromValue<qlonglong>(v);
}
QVariant Text(const std::string& text);
QVariant Blob(const std::vector<std::uint8_t>& bytes);
// `count` floats as a little-endian float32 blob, without a copy between.
QVariant FloatsBlob(const float* values, std::int64_t count);
std::vector<std::uint8_t> BlobOf(const QVariant& value);
std::string TextOf(const QVariant& value);

// BEGIN on construction, ROLLBACK on destruction unless Commit() ran.
class Transaction {
 public:
  explicit Transaction(const QSqlDatabase& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  QSqlDatabase db_;
  bool open_ = false;
};

}  // namespace acv::library
