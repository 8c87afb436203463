#pragma once

#include "server/sqlite_database.h"

namespace plumwit::server {

// BEGIN IMMEDIATE; rolls back unless committed.
class SqliteTransaction {
 public:
  explicit SqliteTransaction(SqliteDatabase& database);
  ~SqliteTransaction();
  SqliteTransaction(const SqliteTransaction&) = delete;
  SqliteTransaction& operator=(const SqliteTransaction&) = delete;
  void Commit();

 private:
  SqliteDatabase& database_;
  bool done_ = false;
};

}  // namespace plumwit::server
