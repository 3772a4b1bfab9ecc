// A connection to a PostgreSQL server through libpq; values travel as text.
#include <libpq-fe.h>

#include <memory>

#include "board/database.h"

namespace board {
namespace {

class PostgresConnection : public Connection {
 public:
  explicit PostgresConnection(const std::string& address) : conn(PQconnectdb(address.c_str())) {
    if (PQstatus(conn) != CONNECTION_OK) {
      const std::string why = PQerrorMessage(conn);
      PQfinish(conn);
      throw DatabaseError("PostgreSQL: " + why);
    }
    run("SET client_min_messages = warning", {});
  }
  ~PostgresConnection() override { PQfinish(conn); }

  Result run(const std::string& sql, const std::vector<Value>& parameters) override {
    std::vector<std::optional<std::string>> texts;
    for (const Value& value : parameters) {
      if (const auto* whole = std::get_if<std::int64_t>(&value)) {
        texts.emplace_back(std::to_string(*whole));
      } else if (const auto* text = std::get_if<std::string>(&value)) {
        texts.emplace_back(*text);
      } else {
        texts.emplace_back();
      }
    }
    std::vector<const char*> values;
    for (const auto& text : texts) values.push_back(text ? text->c_str() : nullptr);
    const std::unique_ptr<PGresult, decltype(&PQclear)> answer(
        PQexecParams(conn, sql.c_str(), int(values.size()), nullptr, values.data(), nullptr,
                     nullptr, 0),
        PQclear);
    const ExecStatusType status = PQresultStatus(answer.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      const std::string why = PQresultErrorMessage(answer.get());
      // A connection lost to a restarted server is opened again for the next statement.
      if (PQstatus(conn) == CONNECTION_BAD) PQreset(conn);
      throw DatabaseError("PostgreSQL: " + why);
    }
    Result result;
    for (int row = 0; row < PQntuples(answer.get()); ++row) {
      Row& out = result.rows.emplace_back();
      for (int column = 0; column < PQnfields(answer.get()); ++column) {
        if (PQgetisnull(answer.get(), row, column)) {
          out.emplace_back();
        } else {
          out.emplace_back(std::string(PQgetvalue(answer.get(), row, column),
                                       std::size_t(PQgetlength(answer.get(), row, column))));
        }
      }
    }
    const char* changed = PQcmdTuples(answer.get());
    result.affected = changed[0] != '\0' ? std::stoll(changed) : 0;
    return result;
  }

 private:
  PGconn* conn;
};

}  // namespace

std::unique_ptr<Connection> openPostgres(const std::string& address) {
  return std::make_unique<PostgresConnection>(address);
}

}  // namespace board
