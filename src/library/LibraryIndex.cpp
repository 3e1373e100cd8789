#include "library/LibraryIndex.h"

#include <array>
#include <fstream>
#include <system_error>
#include <utility>
#include <variant>

namespace dyno {

namespace {

// Raised whenever the tables change. An index of version 1 is brought up to date in
// place (kUpgradeFromVersion1); any other version is rebuilt rather than misread.
constexpr int kSchemaVersion = 2;

constexpr std::string_view kSchema = R"sql(
CREATE TABLE IF NOT EXISTS folders(path TEXT PRIMARY KEY);
CREATE TABLE IF NOT EXISTS sessions(
  id INTEGER PRIMARY KEY,
  path TEXT NOT NULL UNIQUE,
  size INTEGER NOT NULL, modified_ns INTEGER NOT NULL,
  member_crc INTEGER NOT NULL, member_size INTEGER NOT NULL,
  unreadable TEXT,
  make TEXT, model TEXT, owner TEXT, remark1 TEXT, remark2 TEXT, remark3 TEXT,
  dyno_model INTEGER, electronics INTEGER, roller_weight REAL, roller_code INTEGER,
  correction_standard INTEGER, correction_factor REAL,
  air_pressure REAL, air_temperature REAL, air_humidity REAL,
  run1_samples INTEGER, run1_power REAL, run1_speed REAL, run1_torque REAL,
  run2_samples INTEGER, run2_power REAL, run2_speed REAL, run2_torque REAL,
  run3_samples INTEGER, run3_power REAL, run3_speed REAL, run3_torque REAL,
  max_power REAL, engine_power REAL, power_spread REAL);
CREATE INDEX IF NOT EXISTS sessions_by_time ON sessions(modified_ns);
CREATE INDEX IF NOT EXISTS sessions_by_power ON sessions(max_power, modified_ns);
CREATE INDEX IF NOT EXISTS sessions_by_engine_power ON sessions(engine_power, modified_ns);
CREATE INDEX IF NOT EXISTS sessions_by_spread ON sessions(power_spread, modified_ns);
CREATE VIRTUAL TABLE IF NOT EXISTS session_words USING fts5(
  make, model, owner, remark1, remark2, remark3,
  content='sessions', content_rowid='id', tokenize='unicode61 remove_diacritics 2');
CREATE TRIGGER IF NOT EXISTS sessions_words_in AFTER INSERT ON sessions BEGIN
  INSERT INTO session_words(rowid, make, model, owner, remark1, remark2, remark3)
  VALUES (new.id, new.make, new.model, new.owner, new.remark1, new.remark2, new.remark3);
END;
CREATE TRIGGER IF NOT EXISTS sessions_words_out AFTER DELETE ON sessions BEGIN
  INSERT INTO session_words(session_words, rowid, make, model, owner, remark1, remark2, remark3)
  VALUES ('delete', old.id, old.make, old.model, old.owner, old.remark1, old.remark2, old.remark3);
END;
)sql";

// Version 1 knew nothing of the analysis: its entries keep all they held and get the
// two figures empty, and a stamp no file has (size -1), so that the next scan reads
// every archive again and fills them in. Until then they are not found by the
// figures' filters, as archives without a coast-down are not.
constexpr std::string_view kUpgradeFromVersion1 = R"sql(
ALTER TABLE sessions ADD COLUMN engine_power REAL;
ALTER TABLE sessions ADD COLUMN power_spread REAL;
CREATE INDEX IF NOT EXISTS sessions_by_engine_power ON sessions(engine_power, modified_ns);
CREATE INDEX IF NOT EXISTS sessions_by_spread ON sessions(power_spread, modified_ns);
UPDATE sessions SET size = -1 WHERE unreadable IS NULL;
)sql";

constexpr std::string_view kColumns =
    "path, size, modified_ns, member_crc, member_size, unreadable, make, model, owner, "
    "remark1, remark2, remark3, dyno_model, electronics, roller_weight, roller_code, "
    "correction_standard, correction_factor, air_pressure, air_temperature, air_humidity, "
    "run1_samples, run1_power, run1_speed, run1_torque, run2_samples, run2_power, run2_speed, "
    "run2_torque, run3_samples, run3_power, run3_speed, run3_torque, max_power, "
    "engine_power, power_spread";
constexpr int kColumnCount = 36;

// The half-open range of path keys in a folder and below it: "/a/b/" up to "/a/b0"
// ('0' follows '/'), so "/a/bc" is not taken for a file in "/a/b".
std::pair<std::string, std::string> folderRange(const std::filesystem::path& folder) {
    std::string prefix = indexPath(folder).string();
    if (prefix.empty() || prefix.back() != '/') prefix += '/';
    std::string end = prefix;
    end.back() = '0';
    return {prefix, end};
}

IndexedSession sessionOf(const SqliteStatement& row) {
    IndexedSession s;
    s.path = row.text(0);
    s.stamp = {row.integer(1), row.integer(2)};
    s.fingerprint = {static_cast<std::uint32_t>(row.integer(3)),
                     static_cast<std::uint64_t>(row.integer(4))};
    s.unreadableReason = row.isNull(5) ? std::string() : row.text(5);
    s.make = row.text(6);
    s.model = row.text(7);
    s.owner = row.text(8);
    s.remarks = {row.text(9), row.text(10), row.text(11)};
    s.dynoModel = static_cast<int>(row.integer(12));
    s.electronicsType = static_cast<int>(row.integer(13));
    s.rollerWeightKg = row.real(14);
    s.rollerCode = static_cast<int>(row.integer(15));
    s.correctionStandard = static_cast<int>(row.integer(16));
    s.correctionFactor = row.real(17);
    s.airPressureMbar = row.real(18);
    s.airTemperatureC = row.real(19);
    s.airHumidityPercent = row.real(20);
    for (int r = 0; r < kRunsPerSession; ++r) {
        IndexedRun& run = s.runs[static_cast<std::size_t>(r)];
        const int at = 21 + 4 * r;
        run.samples = static_cast<int>(row.integer(at));
        run.maxPowerHp = row.real(at + 1);
        run.maxSpeedKmh = row.real(at + 2);
        run.maxTorque = row.real(at + 3);
    }
    const auto figure = [&row](int column) {
        return row.isNull(column) ? std::nullopt : std::optional<double>(row.real(column));
    };
    s.peakEnginePowerHp = figure(34);
    s.powerSpreadPercent = figure(35);
    return s;
}

void bindSession(SqliteStatement& insert, const IndexedSession& s) {
    int at = 0;
    const auto put = [&](auto value) { insert.bind(++at, value); };
    put(std::string_view(indexPath(s.path).string()));
    put(s.stamp.sizeBytes);
    put(s.stamp.modifiedNs);
    put(std::int64_t{s.fingerprint.crc});
    put(static_cast<std::int64_t>(s.fingerprint.size));
    if (s.isReadable()) {
        insert.bindNull(++at);
    } else {
        put(std::string_view(s.unreadableReason));
    }
    for (const std::string* text :
         {&s.make, &s.model, &s.owner, &s.remarks[0], &s.remarks[1], &s.remarks[2]}) {
        put(std::string_view(*text));
    }
    put(s.dynoModel);
    put(s.electronicsType);
    put(s.rollerWeightKg);
    put(s.rollerCode);
    put(s.correctionStandard);
    put(s.correctionFactor);
    put(s.airPressureMbar);
    put(s.airTemperatureC);
    put(s.airHumidityPercent);
    for (const IndexedRun& run : s.runs) {
        put(run.samples);
        put(run.maxPowerHp);
        put(run.maxSpeedKmh);
        put(run.maxTorque);
    }
    put(s.maxPowerHp());
    for (const std::optional<double>& figure : {s.peakEnginePowerHp, s.powerSpreadPercent}) {
        if (figure) {
            put(*figure);
        } else {
            insert.bindNull(++at);
        }
    }
}

std::string insertSql() {
    std::string sql = "INSERT INTO sessions(" + std::string(kColumns) + ") VALUES (?";
    for (int i = 1; i < kColumnCount; ++i) sql += ", ?";
    return sql + ")";
}

// Folders a damaged index still names, if its folder table can be read at all.
std::vector<std::filesystem::path> foldersOfDamaged(const std::filesystem::path& file) {
    std::vector<std::filesystem::path> folders;
    try {
        SqliteDatabase damaged(file);
        SqliteStatement select(damaged, "SELECT path FROM folders");
        while (select.step()) folders.emplace_back(select.text(0));
    } catch (const SqliteError&) {
        // Nothing to recover: the index starts empty and fills as folders are scanned.
    }
    return folders;
}

// The first bytes of every SQLite database file.
constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};

bool beginsLikeADatabase(const std::filesystem::path& file) {
    std::array<char, kSqliteHeader.size()> start{};
    std::ifstream in(file, std::ios::binary);
    in.read(start.data(), start.size());
    return in.gcount() == static_cast<std::streamsize>(start.size()) &&
           std::string_view(start.data(), start.size()) == kSqliteHeader;
}

// A database that holds tables but not the index's own two belongs to another
// program, whatever version mark it carries; an empty one becomes an index.
bool isAnotherProgramsDatabase(SqliteDatabase& db) {
    SqliteStatement tables(db, "SELECT count(*) FROM sqlite_master");
    SqliteStatement ours(db,
                         "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                         "name IN ('folders', 'sessions')");
    tables.step();
    ours.step();
    return tables.integer(0) != 0 && ours.integer(0) != 2;
}

void moveAside(const std::filesystem::path& file) {
    std::error_code ignored;
    // SQLite looks for "<name>-wal" beside "<name>", so the set stays together.
    for (const char* part : {"", "-wal", "-shm"}) {
        const std::filesystem::path from = file.string() + part;
        const std::filesystem::path to = file.string() + ".damaged" + part;
        std::filesystem::remove(to, ignored);
        if (std::filesystem::exists(from, ignored)) std::filesystem::rename(from, to, ignored);
    }
}

// A search's SQL and the values for its parameters, in order.
using SearchValue = std::variant<std::int64_t, double, std::string>;
struct SearchSql {
    std::string sql;
    std::vector<SearchValue> values;

    void add(std::string_view condition, SearchValue value) {
        sql += condition;
        values.push_back(std::move(value));
    }
};

void bindValue(SqliteStatement& select, int at, const std::string& text) {
    select.bind(at, std::string_view(text));
}
void bindValue(SqliteStatement& select, int at, std::int64_t value) {
    select.bind(at, value);
}
void bindValue(SqliteStatement& select, int at, double value) {
    select.bind(at, value);
}

// LIKE ignores case of ASCII letters; '\' keeps the user's % and _ literal.
std::string likePattern(const std::string& text) {
    std::string pattern = "%";
    for (const char c : text) {
        if (c == '%' || c == '_' || c == '\\') pattern += '\\';
        pattern += c;
    }
    return pattern + "%";
}

void addTextFilters(const LibraryQuery& query, SearchSql& search) {
    const std::string words = fullTextQuery(query.words);
    if (!words.empty()) {
        // With a limit, '+' has SQLite walk the index of the order asked for and stop
        // at the limit, testing each row against the words' matches; otherwise it
        // fetches every match by its id and sorts them all, which for a prefix that
        // matches every session (the first letters typed) takes several times longer.
        search.add(query.limit > 0 ? " AND +id IN" : " AND id IN", words);
        search.sql += " (SELECT rowid FROM session_words WHERE session_words MATCH ?)";
    }
    for (const auto& [column, text] :
         {std::pair{"make", &query.make}, std::pair{"model", &query.model},
          std::pair{"owner", &query.owner}}) {
        if (text->empty()) continue;
        search.add(std::string(" AND ") + column + " LIKE ? ESCAPE '\\'", likePattern(*text));
    }
}

void addFigureFilters(const LibraryQuery& query, SearchSql& search) {
    // Sorted by a figure, that figure's index is walked in order and the walk stops at
    // the limit; '+' keeps SQLite from taking the time index for the date range instead.
    const char* time = query.order == LibraryOrder::newestFirst ? "modified_ns" : "+modified_ns";
    if (query.sinceNs) search.add(std::string(" AND ") + time + " >= ?", *query.sinceNs);
    if (query.untilNs) search.add(std::string(" AND ") + time + " < ?", *query.untilNs);
    if (query.dynoModel) search.add(" AND dyno_model = ?", std::int64_t{*query.dynoModel});
    if (query.minPowerHp) search.add(" AND max_power >= ?", *query.minPowerHp);
    // A missing figure (NULL) compares as neither true nor false: never found.
    if (query.minEnginePowerHp) search.add(" AND engine_power >= ?", *query.minEnginePowerHp);
    if (query.maxSpreadPercent) search.add(" AND power_spread <= ?", *query.maxSpreadPercent);
    if (!query.folder.empty()) {
        const auto [from, to] = folderRange(query.folder);
        search.add(" AND path >= ?", from);
        search.add(" AND path < ?", to);
    }
}

std::string_view orderClause(LibraryOrder order) {
    switch (order) {
        case LibraryOrder::newestFirst: break;
        case LibraryOrder::mostPowerFirst:
            return " ORDER BY max_power DESC, modified_ns DESC, id DESC";
        // NULL sorts last when descending, first when ascending.
        case LibraryOrder::mostEnginePowerFirst:
            return " ORDER BY engine_power DESC, modified_ns DESC, id DESC";
        case LibraryOrder::leastSpreadFirst:
            return " ORDER BY power_spread IS NULL, power_spread, modified_ns DESC, id DESC";
    }
    return " ORDER BY modified_ns DESC, id DESC";
}

}  // namespace

std::filesystem::path indexPath(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    absolute = absolute.lexically_normal();
    std::string text = absolute.string();
    if (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

LibraryIndex::LibraryIndex(const std::filesystem::path& file, const LibraryOpening& opening)
    : file_(file) {
    refuseWhatIsNotAnIndex(opening);
    if (file_.has_parent_path()) {
        std::error_code ignored;
        std::filesystem::create_directories(file_.parent_path(), ignored);
    }
    try {
        open();
    } catch (const SqliteError& error) {
        if (!error.isDamage()) throw;
        if (!opening.mayStartAnew) {
            throw IndexRefused("the session index " + file_.string() + " is damaged (" +
                               error.what() + "); a scan starts it anew");
        }
        startAnew(error.what());
    }
}

void LibraryIndex::refuseWhatIsNotAnIndex(const LibraryOpening& opening) const {
    std::error_code error;
    const auto status = std::filesystem::status(file_, error);
    if (status.type() == std::filesystem::file_type::not_found) return;
    const auto refuse = [this](const std::string& what) {
        throw IndexRefused(file_.string() + " is not a session index (" + what +
                           "); it is left as it is");
    };
    // Neither opened nor read: a FIFO would hold the command for ever.
    if (error || !std::filesystem::is_regular_file(status)) refuse("not a plain file");
    if (!opening.isNamedByUser) return;
    // An empty file becomes a new index, as a missing one does.
    if (std::filesystem::file_size(file_, error) == 0 && !error) return;
    if (!beginsLikeADatabase(file_)) refuse("not a database");
}

void LibraryIndex::open() {
    db_ = std::make_unique<SqliteDatabase>(file_);
    // Before anything is written to it: a file whose tables are not the index's
    // belongs to another program.
    if (isAnotherProgramsDatabase(*db_)) {
        db_.reset();
        throw IndexRefused(file_.string() +
                           " is not a session index (a database of another program); it is left "
                           "as it is");
    }
    db_->execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON");
    SqliteStatement check(*db_, "PRAGMA quick_check");
    const bool healthy = check.step() && check.text(0) == "ok";
    const std::string problem = healthy ? "" : check.text(0);
    check.reset();
    if (!healthy) throw SqliteError("the index is damaged: " + problem, 11 /* SQLITE_CORRUPT */);
    createSchema();
}

void LibraryIndex::createSchema() {
    SqliteTransaction transaction(*db_);
    SqliteStatement version(*db_, "PRAGMA user_version");
    version.step();
    const auto found = version.integer(0);
    version.reset();
    if (found == kSchemaVersion) return;
    if (found == 1) {
        db_->execute(kUpgradeFromVersion1);
    } else if (found != 0) {
        throw SqliteError("the index was made by another version of the program",
                          26 /* SQLITE_NOTADB */);
    } else {
        db_->execute(kSchema);
    }
    db_->execute("PRAGMA user_version = " + std::to_string(kSchemaVersion));
    transaction.commit();
}

void LibraryIndex::startAnew(const std::string& why) {
    db_.reset();
    openReport_.rebuilt = true;
    openReport_.foldersToRescan = foldersOfDamaged(file_);
    moveAside(file_);
    openReport_.message = "The session index " + file_.string() + " could not be used (" + why +
                          "); it is rebuilt from the session archives";
    open();
    for (const auto& folder : openReport_.foldersToRescan) addFolder(folder);
}

std::unordered_map<std::string, KnownArchive> LibraryIndex::knownUnder(
    const std::filesystem::path& folder) {
    const auto [from, to] = folderRange(folder);
    SqliteStatement select(*db_,
                           "SELECT path, size, modified_ns, member_crc, member_size, "
                           "unreadable IS NULL FROM sessions WHERE path >= ? AND path < ?");
    select.bind(1, std::string_view(from)).bind(2, std::string_view(to));
    std::unordered_map<std::string, KnownArchive> known;
    while (select.step()) {
        known[select.text(0)] = KnownArchive{{select.integer(1), select.integer(2)},
                                             {static_cast<std::uint32_t>(select.integer(3)),
                                              static_cast<std::uint64_t>(select.integer(4))},
                                             select.integer(5) != 0};
    }
    return known;
}

void LibraryIndex::store(std::span<const IndexedSession> sessions) {
    if (sessions.empty()) return;
    SqliteTransaction transaction(*db_);
    SqliteStatement drop(*db_, "DELETE FROM sessions WHERE path = ?");
    SqliteStatement insert(*db_, insertSql());
    for (const IndexedSession& session : sessions) {
        drop.bind(1, indexPath(session.path).string()).run();
        bindSession(insert, session);
        insert.run();
    }
    transaction.commit();
}

void LibraryIndex::remove(std::span<const std::filesystem::path> archives) {
    if (archives.empty()) return;
    SqliteTransaction transaction(*db_);
    SqliteStatement drop(*db_, "DELETE FROM sessions WHERE path = ?");
    for (const auto& archive : archives) drop.bind(1, indexPath(archive).string()).run();
    transaction.commit();
}

void LibraryIndex::addFolder(const std::filesystem::path& folder) {
    SqliteStatement insert(*db_, "INSERT OR IGNORE INTO folders(path) VALUES (?)");
    insert.bind(1, indexPath(folder).string()).run();
}

std::vector<std::filesystem::path> LibraryIndex::folders() {
    std::vector<std::filesystem::path> folders;
    SqliteStatement select(*db_, "SELECT path FROM folders ORDER BY path");
    while (select.step()) folders.emplace_back(select.text(0));
    return folders;
}

std::vector<IndexedSession> LibraryIndex::search(const LibraryQuery& query) {
    SearchSql search;
    search.sql = "SELECT " + std::string(kColumns) + " FROM sessions WHERE unreadable IS NULL";
    addTextFilters(query, search);
    addFigureFilters(query, search);
    search.sql += orderClause(query.order);
    if (query.limit > 0) search.sql += " LIMIT " + std::to_string(query.limit);

    SqliteStatement select(*db_, search.sql);
    int at = 1;
    for (const SearchValue& value : search.values) {
        std::visit([&](const auto& v) { bindValue(select, at++, v); }, value);
    }
    std::vector<IndexedSession> found;
    while (select.step()) found.push_back(sessionOf(select));
    return found;
}

std::vector<IndexedSession> LibraryIndex::unreadable(const std::filesystem::path& folder) {
    const auto [from, to] = folderRange(folder.empty() ? std::filesystem::path("/") : folder);
    SqliteStatement select(*db_, "SELECT " + std::string(kColumns) +
                                     " FROM sessions WHERE unreadable IS NOT NULL AND path >= ? "
                                     "AND path < ? ORDER BY path");
    select.bind(1, std::string_view(from)).bind(2, std::string_view(to));
    std::vector<IndexedSession> found;
    while (select.step()) found.push_back(sessionOf(select));
    return found;
}

std::optional<IndexedSession> LibraryIndex::find(const std::filesystem::path& archive) {
    SqliteStatement select(*db_,
                           "SELECT " + std::string(kColumns) + " FROM sessions WHERE path = ?");
    select.bind(1, indexPath(archive).string());
    if (!select.step()) return std::nullopt;
    return sessionOf(select);
}

}  // namespace dyno
