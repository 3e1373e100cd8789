#include "library/SqliteDatabase.h"

#include <sqlite3.h>

namespace dyno {

namespace {

// Long enough for another program's batch of index writes to finish.
constexpr int kBusyTimeoutMs = 30000;

}  // namespace

bool SqliteError::isDamage() const {
    const int primary = code_ & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

SqliteDatabase::SqliteDatabase(const std::filesystem::path& file) {
    const int code =
        sqlite3_open_v2(file.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqliteError(file.string() + ": " + message, code);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close_v2(db_);
}

void SqliteDatabase::execute(std::string_view sql) {
    const std::string text(sql);
    char* error = nullptr;
    const int code = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
    if (code != SQLITE_OK) {
        const std::string message = error ? error : sqlite3_errstr(code);
        sqlite3_free(error);
        throw SqliteError(message, code);
    }
}

void SqliteDatabase::fail(int code) const {
    throw SqliteError(sqlite3_errmsg(db_), code);
}

SqliteStatement::SqliteStatement(SqliteDatabase& db, std::string_view sql) : db_(db) {
    const int code = sqlite3_prepare_v3(db.handle(), sql.data(), static_cast<int>(sql.size()),
                                        SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
    if (code != SQLITE_OK) db.fail(code);
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value) {
    if (const int code = sqlite3_bind_int64(statement_, index, value)) db_.fail(code);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, double value) {
    if (const int code = sqlite3_bind_double(statement_, index, value)) db_.fail(code);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view text) {
    if (const int code = sqlite3_bind_text64(statement_, index, text.data(), text.size(),
                                             SQLITE_TRANSIENT, SQLITE_UTF8)) {
        db_.fail(code);
    }
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index) {
    if (const int code = sqlite3_bind_null(statement_, index)) db_.fail(code);
    return *this;
}

bool SqliteStatement::step() {
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) return true;
    if (code == SQLITE_DONE) return false;
    sqlite3_reset(statement_);
    db_.fail(code);
}

void SqliteStatement::run() {
    while (step()) {
    }
    reset();
}

void SqliteStatement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double SqliteStatement::real(int column) const {
    return sqlite3_column_double(statement_, column);
}

std::string SqliteStatement::text(int column) const {
    const auto* bytes = sqlite3_column_text(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return bytes ? std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size))
                 : std::string();
}

bool SqliteStatement::isNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

SqliteTransaction::SqliteTransaction(SqliteDatabase& db) : db_(db) {
    db_.execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
    if (!open_) return;
    try {
        db_.execute("ROLLBACK");
    } catch (const SqliteError&) {
        // Nothing more to undo: SQLite already rolled back after the failure.
    }
}

void SqliteTransaction::commit() {
    db_.execute("COMMIT");
    open_ = false;
}

}  // namespace dyno
