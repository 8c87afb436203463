#include "server/sqlite_statement.h"

#include <sqlite3.h>

namespace plumwit::server {

SqliteStatement::SqliteStatement(sqlite3* database, std::string_view sql) : database_(database) {
  Check(
      sqlite3_prepare_v2(database_, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr),
      "prepare");
}

SqliteStatement::SqliteStatement(sqlite3* database, sqlite3_stmt* kept, bool* in_use)
    : database_(database), statement_(kept), kept_in_use_(in_use) {
  *kept_in_use_ = true;
}

SqliteStatement::~SqliteStatement() {
  if (kept_in_use_ == nullptr) {
    sqlite3_finalize(statement_);
    return;
  }
  if (statement_ == nullptr) return;  // moved from
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
  *kept_in_use_ = false;
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : database_(other.database_), statement_(other.statement_), kept_in_use_(other.kept_in_use_) {
  other.statement_ = nullptr;
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
  Check(sqlite3_bind_int64(statement_, index, value), "bind");
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
  Check(sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT,
                            SQLITE_UTF8),
        "bind");
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, const std::optional<std::int64_t>& value) {
  if (value) return Bind(index, *value);
  Check(sqlite3_bind_null(statement_, index), "bind");
  return *this;
}

bool SqliteStatement::Step() {
  const int code = sqlite3_step(statement_);
  if (code == SQLITE_ROW) return true;
  if (code == SQLITE_DONE) return false;
  Check(code, "step");
  return false;
}

void SqliteStatement::Run() {
  while (Step()) {
  }
}

std::int64_t SqliteStatement::Int(int column) const {
  return sqlite3_column_int64(statement_, column);
}

std::string SqliteStatement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(statement_, column);
  if (text == nullptr) return {};
  const int length = sqlite3_column_bytes(statement_, column);
  return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length));
}

std::optional<std::int64_t> SqliteStatement::OptionalInt(int column) const {
  if (sqlite3_column_type(statement_, column) == SQLITE_NULL) return std::nullopt;
  return Int(column);
}

void SqliteStatement::Check(int code, const char* what) const {
  if (code == SQLITE_OK) return;
  throw SqliteError(std::string("SQLite ") + what + " failed: " + sqlite3_errmsg(database_));
}

}  // namespace plumwit::server
