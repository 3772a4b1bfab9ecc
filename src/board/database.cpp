#include "board/database.h"

namespace board {
namespace {

bool isPostgresAddress(const std::string& address) {
  return address.rfind("postgresql://", 0) == 0 || address.rfind("postgres://", 0) == 0;
}

}  // namespace

Database::Database(const std::string& address, std::size_t connections)
    : dialect_(isPostgresAddress(address) ? Dialect::Postgres : Dialect::Sqlite) {
  for (std::size_t i = 0; i < connections; ++i) {
    free.push_back(dialect_ == Dialect::Postgres ? openPostgres(address) : openSqlite(address));
  }
}

Result Database::run(const std::string& sql, const std::vector<Value>& parameters) {
  Borrowed connection(*this);
  return connection->run(sql, parameters);
}

Database::Borrowed::Borrowed(Database& database) : owner(database) {
  std::unique_lock lock(owner.mutex);
  owner.returned.wait(lock, [this] { return !owner.free.empty(); });
  connection = std::move(owner.free.back());
  owner.free.pop_back();
}

Database::Borrowed::~Borrowed() {
  {
    std::lock_guard lock(owner.mutex);
    owner.free.push_back(std::move(connection));
  }
  owner.returned.notify_one();
}

std::int64_t number(const Row& row, std::size_t column) {
  return column < row.size() && row[column] ? std::stoll(*row[column]) : 0;
}

}  // namespace board
