#include "platform/store/sqlite.h"

#include <sqlite3.h>

namespace platform::sqlite {
namespace {

std::string describe(std::string_view doing, int code, const char* detail) {
  std::string message(doing);
  message += ": ";
  message += detail ? detail : sqlite3_errstr(code);
  return message;
}

}  // namespace

Error::Error(int code, const std::string& message) : std::runtime_error(message), code_(code) {}

Database::Database(const std::filesystem::path& file, OpenMode mode) {
  int flags = SQLITE_OPEN_NOMUTEX;
  switch (mode) {
    case OpenMode::readOnly:
      flags |= SQLITE_OPEN_READONLY;
      break;
    case OpenMode::readWrite:
      flags |= SQLITE_OPEN_READWRITE;
      break;
    case OpenMode::readWriteCreate:
      flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
      break;
  }
  const int code = sqlite3_open_v2(file.c_str(), &db_, flags, nullptr);
  if (code != SQLITE_OK) {
    // SQLite hands back a handle even when opening fails; its message is the one worth keeping.
    Error error(code,
                describe("opening " + file.string(), code, db_ ? sqlite3_errmsg(db_) : nullptr));
    sqlite3_close(db_);
    db_ = nullptr;
    throw error;
  }
  sqlite3_extended_result_codes(db_, 1);
}

Database::~Database() {
  sqlite3_close(db_);
}

void Database::check(int resultCode, std::string_view doing) const {
  if (resultCode == SQLITE_OK || resultCode == SQLITE_ROW || resultCode == SQLITE_DONE) return;
  throw Error(resultCode, describe(doing, resultCode, sqlite3_errmsg(db_)));
}

void Database::execute(std::string_view sql) {
  char* message = nullptr;
  const int code = sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, &message);
  if (code != SQLITE_OK) {
    Error error(sqlite3_extended_errcode(db_),
                describe("running \"" + std::string(sql.substr(0, 60)) + "\"", code, message));
    sqlite3_free(message);
    throw error;
  }
}

Statement Database::prepare(std::string_view sql) {
  return Statement(*this, sql);
}

std::int64_t Database::queryInteger(std::string_view sql) {
  Statement statement(*this, sql);
  if (!statement.step()) throw Error(SQLITE_ERROR, std::string(sql) + " gave no row");
  return statement.integer(0);
}

std::string Database::queryText(std::string_view sql) {
  Statement statement(*this, sql);
  if (!statement.step()) throw Error(SQLITE_ERROR, std::string(sql) + " gave no row");
  return statement.text(0);
}

std::int64_t Database::lastInsertRowId() const {
  return sqlite3_last_insert_rowid(db_);
}

int Database::changes() const {
  return sqlite3_changes(db_);
}

Statement::Statement(Database& database, std::string_view sql) : database_(&database), sql_(sql) {
  database.check(sqlite3_prepare_v2(database.handle(), sql_.c_str(), static_cast<int>(sql_.size()),
                                    &statement_, nullptr),
                 "preparing \"" + sql_ + "\"");
}

Statement::Statement(Statement&& other) noexcept
    : database_(other.database_), statement_(other.statement_), sql_(std::move(other.sql_)) {
  other.statement_ = nullptr;
}

Statement::~Statement() {
  sqlite3_finalize(statement_);
}

Statement& Statement::bind(int index, std::int64_t value) {
  database_->check(sqlite3_bind_int64(statement_, index, value), "binding a number");
  return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
  database_->check(sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                                     SQLITE_TRANSIENT),
                   "binding a text");
  return *this;
}

Statement& Statement::bind(int index, std::nullopt_t) {
  database_->check(sqlite3_bind_null(statement_, index), "binding a null");
  return *this;
}

bool Statement::step() {
  const int code = sqlite3_step(statement_);
  if (code == SQLITE_ROW) return true;
  if (code == SQLITE_DONE) return false;
  // The statement's own error is reported by the connection; reset it so it can run again.
  const int extended = sqlite3_extended_errcode(database_->handle());
  Error error(extended,
              describe("running \"" + sql_ + "\"", code, sqlite3_errmsg(database_->handle())));
  sqlite3_reset(statement_);
  throw error;
}

void Statement::run() {
  while (step()) {
  }
  reset();
}

void Statement::reset() {
  sqlite3_reset(statement_);
}

bool Statement::isNull(int column) const {
  return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::int64_t Statement::integer(int column) const {
  return sqlite3_column_int64(statement_, column);
}

std::optional<std::int64_t> Statement::optionalInteger(int column) const {
  if (isNull(column)) return std::nullopt;
  return integer(column);
}

std::string Statement::text(int column) const {
  const auto* characters = sqlite3_column_text(statement_, column);
  if (characters == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(characters),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

Transaction::Transaction(Database& database) : database_(database) {
  database_.execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
  if (open_) sqlite3_exec(database_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
  database_.execute("COMMIT");
  open_ = false;
}

}  // namespace platform::sqlite
