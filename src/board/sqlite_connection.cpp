// An SQLite file in write-ahead-log mode: readers never wait for the writer, and a writer waits
// up to a while for another.
#include <sqlite3.h>

#include <memory>

#include "board/database.h"

namespace board {
namespace {

class SqliteConnection : public Connection {
 public:
  explicit SqliteConnection(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE |
                                              SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
      const std::string why = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
      sqlite3_close(db);
      throw DatabaseError(path + ": " + why);
    }
    sqlite3_busy_timeout(db, 30000);
    run("PRAGMA journal_mode=WAL", {});
    run("PRAGMA synchronous=NORMAL", {});
    run("PRAGMA foreign_keys=ON", {});
  }
  ~SqliteConnection() override { sqlite3_close(db); }

  Result run(const std::string& sql, const std::vector<Value>& parameters) override {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), int(sql.size()), &raw, nullptr) != SQLITE_OK) fail();
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(raw,
                                                                               sqlite3_finalize);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
      const int at = sqlite3_bind_parameter_index(raw, ("$" + std::to_string(i + 1)).c_str());
      if (at == 0) continue;
      const Value& value = parameters[i];
      if (const auto* whole = std::get_if<std::int64_t>(&value)) {
        sqlite3_bind_int64(raw, at, *whole);
      } else if (const auto* text = std::get_if<std::string>(&value)) {
        sqlite3_bind_text(raw, at, text->data(), int(text->size()), SQLITE_TRANSIENT);
      }
    }
    Result result;
    int step = 0;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
      Row& row = result.rows.emplace_back();
      for (int column = 0; column < sqlite3_column_count(raw); ++column) {
        const auto* text = sqlite3_column_text(raw, column);
        if (text == nullptr) {
          row.emplace_back();
        } else {
          row.emplace_back(std::string(reinterpret_cast<const char*>(text),
                                       std::size_t(sqlite3_column_bytes(raw, column))));
        }
      }
    }
    if (step != SQLITE_DONE) fail();
    result.affected = sqlite3_changes(db);
    return result;
  }

 private:
  [[noreturn]] void fail() { throw DatabaseError(sqlite3_errmsg(db)); }
  sqlite3* db = nullptr;
};

}  // namespace

std::unique_ptr<Connection> openSqlite(const std::string& path) {
  return std::make_unique<SqliteConnection>(path);
}

}  // namespace board
