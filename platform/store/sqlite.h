#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace platform::sqlite {

// A failed SQLite call: what was being done, SQLite's message and its extended result code.
class Error : public std::runtime_error {
 public:
  Error(int code, const std::string& message);
  int code() const { return code_; }
  // The primary result code (SQLITE_BUSY, SQLITE_FULL, ...), without the extended bits.
  int primaryCode() const { return code_ & 0xff; }

 private:
  int code_;
};

enum class OpenMode { readOnly, readWrite, readWriteCreate };

class Statement;

// One open database connection; closed when the object goes.
class Database {
 public:
  Database(const std::filesystem::path& file, OpenMode mode);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs one or more statements that return no rows.
  void execute(std::string_view sql);
  Statement prepare(std::string_view sql);
  // The single value of a one-row, one-column query such as "PRAGMA user_version".
  std::int64_t queryInteger(std::string_view sql);
  std::string queryText(std::string_view sql);
  std::int64_t lastInsertRowId() const;
  int changes() const;

  sqlite3* handle() const { return db_; }
  // Throws Error for a result code that is not SQLITE_OK, naming what was being done.
  void check(int resultCode, std::string_view doing) const;

 private:
  sqlite3* db_ = nullptr;
};

// A prepared statement. Parameters are numbered from 1, result columns from 0, as in SQLite.
class Statement {
 public:
  Statement(Database& database, std::string_view sql);
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement& operator=(Statement&&) = delete;

  Statement& bind(int index, std::int64_t value);
  Statement& bind(int index, int value) { return bind(index, static_cast<std::int64_t>(value)); }
  Statement& bind(int index, std::string_view text);
  Statement& bind(int index, std::nullopt_t);
  template <typename T>
  Statement& bind(int index, const std::optional<T>& value) {
    return value ? bind(index, *value) : bind(index, std::nullopt);
  }

  // Runs to the next row: true when there is one, false when the statement is done.
  bool step();
  // Runs a statement that returns no rows, then makes it ready to run again.
  void run();
  // Makes the statement ready to run again, keeping its bindings.
  void reset();

  bool isNull(int column) const;
  std::int64_t integer(int column) const;
  std::optional<std::int64_t> optionalInteger(int column) const;
  std::string text(int column) const;

 private:
  Database* database_;
  sqlite3_stmt* statement_ = nullptr;
  std::string sql_;
};

// BEGIN IMMEDIATE on construction; rolled back when it goes without commit().
class Transaction {
 public:
  explicit Transaction(Database& database);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  Database& database_;
  bool open_ = true;
};

}  // namespace platform::sqlite
