#include "library/LibrarySql.h"

#include <QByteArray>
#include <QSqlError>
#include <QString>
#include <bit>

#include "library/core/SeriesChunks.h"

namespace acv::library {
namespace {

std::string Reason(const QSqlError& error) {
  QString text = error.databaseText().trimmed();
  if (text.isEmpty()) text = error.driverText().trimmed();
  // One line: a server's message may run over several.
  return text.simplified().toStdString();
}

}  // namespace

QSqlQuery Prepare(const QSqlDatabase& db, const char* sql) {
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!query.prepare(QString::fromUtf8(sql))) throw LibraryError(Reason(query.lastError()));
  return query;
}

void Run(QSqlQuery& query, std::initializer_list<QVariant> values) {
  int i = 0;
  for (const QVariant& v : values) query.bindValue(i++, v);
  if (!query.exec()) throw LibraryError(Reason(query.lastError()));
}

QSqlQuery Execute(const QSqlDatabase& db, const char* sql, std::initializer_list<QVariant> values) {
  if (values.size() == 0) {
    // Nothing to bind: run as it is (PostgreSQL prepares no table definitions).
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QString::fromUtf8(sql))) throw LibraryError(Reason(query.lastError()));
    return query;
  }
  QSqlQuery query = Prepare(db, sql);
  Run(query, values);
  return query;
}

QVariant Text(const std::string& text) {
  return QString::fromStdString(text);
}

QVariant Blob(const std::vector<std::uint8_t>& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

QVariant FloatsBlob(const float* values, std::int64_t count) {
  if constexpr (std::endian::native == std::endian::little) {
    return QByteArray(reinterpret_cast<const char*>(values), static_cast<qsizetype>(count) * 4);
  } else {
    return Blob(EncodeFloats(std::vector<float>(values, values + count)));
  }
}

std::vector<std::uint8_t> BlobOf(const QVariant& value) {
  const QByteArray bytes = value.toByteArray();
  return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
          reinterpret_cast<const std::uint8_t*>(bytes.constData()) + bytes.size()};
}

std::string TextOf(const QVariant& value) {
  return value.toString().toStdString();
}

Transaction::Transaction(const QSqlDatabase& db) : db_(db) {
  if (!db_.transaction()) throw LibraryError(Reason(db_.lastError()));
  open_ = true;
}

Transaction::~Transaction() {
  if (open_) db_.rollback();
}

void Transaction::Commit() {
  if (!db_.commit()) throw LibraryError(Reason(db_.lastError()));
  open_ = false;
}

}  // namespace acv::library
