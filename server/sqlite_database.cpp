#include "server/sqlite_database.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <string>

namespace plumwit::server {

SqliteDatabase::SqliteDatabase(const std::filesystem::path& file) {
  // The file holds password hashes: create it for its owner only. SQLite gives
  // its journal files the same mode.
  const int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (descriptor >= 0) ::close(descriptor);
  const int code =
      sqlite3_open_v2(file.c_str(), &database_,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (code != SQLITE_OK) {
    const std::string message = database_ != nullptr ? sqlite3_errmsg(database_) : "out of memory";
    sqlite3_close(database_);
    throw SqliteError("Cannot open " + file.string() + ": " + message);
  }
  sqlite3_extended_result_codes(database_, 1);
  sqlite3_busy_timeout(database_, 5000);
}

SqliteDatabase::~SqliteDatabase() {
  for (auto& entry : kept_) sqlite3_finalize(entry.second.statement);
  sqlite3_close(database_);
}

SqliteStatement SqliteDatabase::Prepare(std::string_view sql) {
  auto found = kept_.find(std::string(sql));
  if (found == kept_.end()) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(database_, sql.data(), static_cast<int>(sql.size()),
                           SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) {
      sqlite3_finalize(statement);
      return SqliteStatement(database_, sql);  // reports the error
    }
    found = kept_.emplace(std::string(sql), KeptStatement{statement, false}).first;
  }
  if (found->second.in_use) return SqliteStatement(database_, sql);
  return SqliteStatement(database_, found->second.statement, &found->second.in_use);
}

void SqliteDatabase::Execute(std::string_view sql) { Prepare(sql).Run(); }

std::int64_t SqliteDatabase::LastInsertId() const { return sqlite3_last_insert_rowid(database_); }

}  // namespace plumwit::server
