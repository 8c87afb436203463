#include "server/sqlite_transaction.h"

namespace plumwit::server {

SqliteTransaction::SqliteTransaction(SqliteDatabase& database) : database_(database) {
  database_.Execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
  if (done_) return;
  try {
    database_.Execute("ROLLBACK");
  } catch (const SqliteError&) {
    // Nothing more can be done here; SQLite rolls back when the file closes.
  }
}

void SqliteTransaction::Commit() {
  database_.Execute("COMMIT");
  done_ = true;
}

}  // namespace plumwit::server
