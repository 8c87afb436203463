#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

#include "server/sqlite_statement.h"

struct sqlite3;

namespace plumwit::server {

// An open database file. Not thread-safe: the store serialises access.
class SqliteDatabase {
 public:
  // Creates the file (readable by its owner only) when it does not exist.
  explicit SqliteDatabase(const std::filesystem::path& file);
  ~SqliteDatabase();
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;

  // Statements are prepared once and kept for the life of the database;
  // a statement still in use when the same SQL is asked for again is
  // prepared afresh for the second use.
  SqliteStatement Prepare(std::string_view sql);
  // Runs one statement that takes no values.
  void Execute(std::string_view sql);
  std::int64_t LastInsertId() const;

 private:
  struct KeptStatement {
    sqlite3_stmt* statement = nullptr;
    bool in_use = false;
  };

  sqlite3* database_ = nullptr;
  std::unordered_map<std::string, KeptStatement> kept_;
};

}  // namespace plumwit::server
