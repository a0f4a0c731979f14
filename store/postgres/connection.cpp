#include "store/postgres/connection.h"

#include <poll.h>

#include <array>
#include <vector>

namespace quarn::store::postgres {

namespace {

// A first connection that hangs (an unreachable host) gives up after this
// long, and a query whose data the network stops acknowledging fails after
// the other, rather than stall the one thread that runs every table.
constexpr const char* kConnectTimeoutSeconds = "3";
constexpr const char* kTcpUserTimeoutMs = "5000";

}  // namespace

bool Result::Ok() const {
  const ExecStatusType status = result_ ? PQresultStatus(result_.get()) : PGRES_FATAL_ERROR;
  return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

std::int64_t Result::Int(int row, int column) const {
  const auto* bytes =
      reinterpret_cast<const unsigned char*>(PQgetvalue(result_.get(), row, column));
  const int length = PQgetlength(result_.get(), row, column);
  std::uint64_t value = length > 0 && (bytes[0] & 0x80) != 0 ? ~std::uint64_t{0} : 0;
  for (int i = 0; i < length; ++i) value = (value << 8) | bytes[i];
  return static_cast<std::int64_t>(value);
}

std::string Result::Bytes(int row, int column) const {
  return {PQgetvalue(result_.get(), row, column),
          static_cast<std::size_t>(PQgetlength(result_.get(), row, column))};
}

std::int64_t Result::Changed() const {
  const std::string text = Ok() ? PQcmdTuples(result_.get()) : "";
  return text.empty() ? 0 : std::stoll(text);
}

Connection::Connection(const std::string& uri) {
  const std::array<const char*, 4> keys = {"connect_timeout", "tcp_user_timeout", "dbname",
                                           nullptr};
  const std::array<const char*, 4> values = {kConnectTimeoutSeconds, kTcpUserTimeoutMs, uri.c_str(),
                                             nullptr};
  // expand_dbname: "dbname" is the whole URI, and what it sets wins over the
  // defaults before it.
  conn_.reset(PQconnectdbParams(keys.data(), values.data(), 1));
}

Result Connection::Run(std::string_view sql, std::initializer_list<Param> params) {
  if (!conn_) return Result(nullptr);
  if (PQstatus(conn_.get()) != CONNECTION_OK && !Reconnected()) return Result(nullptr);
  std::vector<const char*> values;
  std::vector<int> lengths;
  std::vector<int> formats;
  for (const Param& param : params) {
    values.push_back(param.text.data());
    lengths.push_back(static_cast<int>(param.text.size()));
    formats.push_back(param.binary ? 1 : 0);
  }
  const std::string text(sql);
  return Result(PQexecParams(conn_.get(), text.c_str(), static_cast<int>(values.size()), nullptr,
                             values.data(), lengths.data(), formats.data(), 1));
}

// A blocking reset would hold the one thread that runs every table for up to
// the connect timeout at each retry while the database's host is unreachable.
bool Connection::Reconnected() {
  if (!resetting_) {
    if (PQresetStart(conn_.get()) == 0) return false;
    resetting_ = true;
    polling_ = PGRES_POLLING_WRITING;
  }
  for (;;) {
    // Refused at once (the server is down): the next call starts anew.
    if (PQstatus(conn_.get()) == CONNECTION_BAD || PQsocket(conn_.get()) < 0) {
      resetting_ = false;
      return false;
    }
    const short wanted = polling_ == PGRES_POLLING_READING ? POLLIN : POLLOUT;
    pollfd ready{PQsocket(conn_.get()), wanted, 0};
    if (::poll(&ready, 1, 0) <= 0) return false;  // not yet: the next call goes on
    polling_ = PQresetPoll(conn_.get());
    if (polling_ == PGRES_POLLING_OK || polling_ == PGRES_POLLING_FAILED) {
      resetting_ = false;
      return polling_ == PGRES_POLLING_OK;
    }
  }
}

void Connection::RollbackIfOpen() {
  if (!conn_ || PQstatus(conn_.get()) != CONNECTION_OK) return;
  if (PQtransactionStatus(conn_.get()) != PQTRANS_IDLE) {
    PQclear(PQexec(conn_.get(), "ROLLBACK"));
  }
}

std::string Connection::Error() const {
  std::string message = conn_ ? PQerrorMessage(conn_.get()) : "out of memory";
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  return message.empty() ? "the database connection is lost" : message;
}

}  // namespace quarn::store::postgres
