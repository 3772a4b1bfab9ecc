// The board's storage, reached through SQL: an SQLite file (one process) or a PostgreSQL
// server (any number of processes). Statements are written once for both, with parameters as
// $1, $2, ...; only the schema and the claiming of jobs differ between the two.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace board {

using Value = std::variant<std::nullptr_t, std::int64_t, std::string>;
using Row = std::vector<std::optional<std::string>>;

struct Result {
  std::vector<Row> rows;
  std::int64_t affected = 0;  // rows changed by an INSERT, UPDATE or DELETE
};

struct DatabaseError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

enum class Dialect { Sqlite, Postgres };

class Connection {
 public:
  virtual ~Connection() = default;
  // Runs one statement. Throws DatabaseError.
  virtual Result run(const std::string& sql, const std::vector<Value>& parameters = {}) = 0;
};

std::unique_ptr<Connection> openSqlite(const std::string& path);
std::unique_ptr<Connection> openPostgres(const std::string& address);

// A fixed set of connections shared by the server's threads.
class Database {
 public:
  // `address` is a postgresql:// (or postgres://) URI, or the path of an SQLite file.
  // Throws DatabaseError.
  Database(const std::string& address, std::size_t connections);

  Dialect dialect() const { return dialect_; }

  // Runs `work` on a free connection inside one transaction, committed when `work` returns
  // and rolled back when it throws.
  template <typename Work>
  auto transaction(Work work) {
    Borrowed connection(*this);
    connection->run(dialect_ == Dialect::Sqlite ? "BEGIN IMMEDIATE" : "BEGIN");
    try {
      auto result = work(*connection);
      connection->run("COMMIT");
      return result;
    } catch (...) {
      try {
        connection->run("ROLLBACK");
      } catch (const DatabaseError&) {
      }
      throw;
    }
  }

  // Runs one statement on a free connection, on its own.
  Result run(const std::string& sql, const std::vector<Value>& parameters = {});

 private:
  class Borrowed {
   public:
    explicit Borrowed(Database& database);
    ~Borrowed();
    Borrowed(const Borrowed&) = delete;
    Borrowed& operator=(const Borrowed&) = delete;
    Connection* operator->() { return connection.get(); }
    Connection& operator*() { return *connection; }

   private:
    Database& owner;
    std::unique_ptr<Connection> connection;
  };

  Dialect dialect_;
  std::mutex mutex;
  std::condition_variable returned;
  std::vector<std::unique_ptr<Connection>> free;
};

// Column `column` of `row` as a number; 0 when null.
std::int64_t number(const Row& row, std::size_t column);

}  // namespace board
