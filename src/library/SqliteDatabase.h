#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace dyno {

// An SQLite failure: the library's message and its result code, so the index can
// tell a damaged file (SQLITE_CORRUPT, SQLITE_NOTADB) from a busy or full disk.
class SqliteError : public std::runtime_error {
  public:
    SqliteError(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }
    // The file is not a database or its pages are damaged.
    bool isDamage() const;

  private:
    int code_;
};

// One connection to a database file, used from one thread. Writers wait up to the
// busy timeout for another program's transaction instead of failing at once.
class SqliteDatabase {
  public:
    explicit SqliteDatabase(const std::filesystem::path& file);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    void execute(std::string_view sql);
    sqlite3* handle() { return db_; }
    [[noreturn]] void fail(int code) const;

  private:
    sqlite3* db_ = nullptr;
};

// A prepared statement: bind by position (from 1), step, read columns (from 0).
class SqliteStatement {
  public:
    SqliteStatement(SqliteDatabase& db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& bind(int index, std::int64_t value);
    SqliteStatement& bind(int index, int value) { return bind(index, std::int64_t{value}); }
    SqliteStatement& bind(int index, double value);
    SqliteStatement& bind(int index, std::string_view text);
    SqliteStatement& bindNull(int index);

    // True while a row is there to read; false when done.
    bool step();
    // Runs a statement that returns no rows, then makes it ready to run again.
    void run();
    void reset();

    std::int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;
    bool isNull(int column) const;

  private:
    SqliteDatabase& db_;
    sqlite3_stmt* statement_ = nullptr;
};

// BEGIN IMMEDIATE .. COMMIT: takes the write lock at the start, so two programs
// scanning at once queue up instead of failing half-way; rolled back unless
// committed.
class SqliteTransaction {
  public:
    explicit SqliteTransaction(SqliteDatabase& db);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;
    void commit();

  private:
    SqliteDatabase& db_;
    bool open_ = true;
};

}  // namespace dyno
