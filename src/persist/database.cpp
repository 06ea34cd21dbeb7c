#include "persist/database.hpp"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

SettingsDb settingsDb;

namespace {

// A busy file (another copy of the game saving) is retried this long.
constexpr int kBusyTimeoutMs = 2000;

constexpr const char* kCreateScores =
    "Create TABLE scores (id integer primary Key AUTOINCREMENT, score long, level integer, perfect integer)";
constexpr const char* kCreateSetupData =
    "CREATE TABLE setupData (id integer primary key AUTOINCREMENT,FPSCounter integer, music integer, sound integer, "
    "screendepth integer,screenwidth integer, screenheight integer, jBombButton integer, jfireLeftButton integer, "
    "jFireRightButton integer, jMoveXAxis varchar(4), jMoveYAxis varchar(4), usejoy integer, jThreshhold real, "
    "upkey integer, downkey integer, leftkey integer, rightkey integer, fire1key integer, fire2key integer, "
    "fire3key integer,ship2 integer, ship3 integer, ship4 integer, ship5 integer, ship6 integer, achievements "
    "varchar(20), ship1perfect integer,  ship2perfect integer,  ship3perfect integer,  ship4perfect integer,  "
    "ship5perfect integer,  ship6perfect integer,  hours integer,  minutes integer,  seconds integer,  name "
    "varchar(20), joystickport integer)";
constexpr const char* kInsertDefaultRow =
    "INSERT INTO setupData "
    "values(null,0,1,1,32,800,600,5,2,0,'joyx','joyy',0,0.4,38,40,37,39,90,88,67,0,0,0,0,0,'00000000000000000000',"
    "0,0,0,0,0,0,0,0,0,'',0)";

DbResult fatalReport(const std::string& what, const std::string& reason) {
  settingsDb.close();
  return DbResult::failure(what + "\nTerminating Program\n" + reason + "\n");
}

// Undoes the half-made tables, keeping the error text of the failed step.
DbResult abandonCreation(const char* what) {
  const std::string reason = settingsDb.lastError();
  settingsDb.exec("ROLLBACK");
  return fatalReport(what, reason);
}

}  // namespace

// ---------------------------------------------------------------- DbRow

int DbRow::columns() const { return statement_.getColumnCount(); }

std::string DbRow::text(int pos) const {
  if (pos < 0 || pos >= columns()) return "";
  return statement_.getColumn(pos).getText("");
}

int DbRow::integer(int pos) const {
  if (pos < 0 || pos >= columns()) return 0;
  return statement_.getColumn(pos).getInt();
}

int64_t DbRow::integer64(int pos) const {
  if (pos < 0 || pos >= columns()) return 0;
  return statement_.getColumn(pos).getInt64();
}

float DbRow::real(int pos) const {
  if (pos < 0 || pos >= columns()) return 0.0f;
  return static_cast<float>(statement_.getColumn(pos).getDouble());
}

// ---------------------------------------------------------------- SettingsDb

SettingsDb::SettingsDb() = default;
SettingsDb::~SettingsDb() = default;

std::string SettingsDb::path() const { return db_ ? db_->getFilename() : std::string(); }

bool SettingsDb::open(const std::string& path) {
  close();
  try {
    db_ = std::make_unique<SQLite::Database>(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE, kBusyTimeoutMs);
  } catch (const SQLite::Exception& e) {
    lastError_ = e.what();
    return false;
  }
  // SQLite reads the file lazily: only a first query tells a database from
  // any other file.
  std::vector<std::string> names;
  if (!tableNames(names)) {
    db_.reset();
    return false;
  }
  return true;
}

void SettingsDb::close() { db_.reset(); }

bool SettingsDb::exec(const std::string& sql) {
  if (!db_) {
    lastError_ = "database not open";
    return false;
  }
  if (db_->tryExec(sql) != SQLITE_OK) {
    lastError_ = db_->getErrorMsg();
    return false;
  }
  return true;
}

bool SettingsDb::query(const std::string& sql, const std::function<void(const DbRow&)>& onRow) {
  if (!db_) {
    lastError_ = "database not open";
    return false;
  }
  try {
    SQLite::Statement statement(*db_, sql);
    const DbRow row(statement);
    while (statement.executeStep()) onRow(row);
  } catch (const SQLite::Exception& e) {
    lastError_ = e.what();
    return false;
  }
  return true;
}

bool SettingsDb::tableNames(std::vector<std::string>& names) {
  names.clear();
  return query("SELECT name FROM sqlite_master WHERE type='table'",
               [&names](const DbRow& row) { names.push_back(row.text(0)); });
}

// ---------------------------------------------------------------- game operations

DbResult reportDatabaseUnusable() {
  settingsDb.close();
  return DbResult::failure(std::string(kDatabaseLoadFailed) + "\n");
}

DbResult openDatabase(const std::string& path) {
  if (settingsDb.open(path)) return DbResult::success();
  return reportDatabaseUnusable();
}

DbResult terminateOnDbError(const std::string& what) { return fatalReport(what, settingsDb.lastError()); }

DbResult createTables() {
  if (!settingsDb.isOpen()) return DbResult::success();
  std::vector<std::string> names;
  // Unreadable or already initialised: never write to it (loading reports an
  // unusable file).
  if (!settingsDb.tableNames(names) || !names.empty()) return DbResult::success();

  if (!settingsDb.exec("BEGIN IMMEDIATE")) return terminateOnDbError("Failed to create scores table");
  if (!settingsDb.exec(kCreateScores)) return abandonCreation("Failed to create scores table");
  if (!settingsDb.exec(kCreateSetupData)) return abandonCreation("Failed to create setupData table");
  // The default row is not reported on its own: without it nothing is kept,
  // the file stays new, and loading the settings reports it.
  if (!settingsDb.exec(kInsertDefaultRow) || !settingsDb.exec("COMMIT")) settingsDb.exec("ROLLBACK");
  return DbResult::success();
}
