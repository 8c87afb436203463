#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace plumwit::server {

class SqliteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One prepared statement; values only ever reach SQL through its bindings.
class SqliteStatement {
 public:
  // Prepares `sql` for this handle alone; it is finalised with the handle.
  SqliteStatement(sqlite3* database, std::string_view sql);
  // Uses a statement prepared earlier and kept by its owner: the handle
  // resets it and marks it free again (`*in_use`) when it goes away.
  SqliteStatement(sqlite3* database, sqlite3_stmt* kept, bool* in_use);
  ~SqliteStatement();
  SqliteStatement(SqliteStatement&& other) noexcept;
  SqliteStatement& operator=(SqliteStatement&&) = delete;
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Parameters count from 1, as in SQL's ?1.
  SqliteStatement& Bind(int index, std::int64_t value);
  SqliteStatement& Bind(int index, std::string_view text);
  SqliteStatement& Bind(int index, const std::optional<std::int64_t>& value);

  // True while a row is ready to read.
  bool Step();
  // Steps to the end, for statements that return nothing.
  void Run();

  // Columns count from 0.
  std::int64_t Int(int column) const;
  std::string Text(int column) const;
  std::optional<std::int64_t> OptionalInt(int column) const;

 private:
  void Check(int code, const char* what) const;
  sqlite3* database_;
  sqlite3_stmt* statement_ = nullptr;
  bool* kept_in_use_ = nullptr;  // set for a kept statement
};

}  // namespace plumwit::server
