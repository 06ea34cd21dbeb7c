#pragma once
// The settings and score database: one SQLite connection to "VE4R.dtb" in the
// working directory, kept open for the whole run.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace SQLite {
class Database;
class Statement;
}  // namespace SQLite

constexpr const char* kDatabaseFile = "VE4R.dtb";
// What the player sees when the database cannot be used (the blank is part of it).
constexpr const char* kDatabaseLoadFailed = "failed to load VE4R.dtb ";

// One result row with typed reads by column position. A NULL, a missing
// column or text that is not a number reads as "" or 0, never a fault.
class DbRow {
 public:
  explicit DbRow(SQLite::Statement& statement) : statement_(statement) {}
  int columns() const;
  std::string text(int pos) const;
  int integer(int pos) const;
  int64_t integer64(int pos) const;
  float real(int pos) const;

 private:
  SQLite::Statement& statement_;
};

class SettingsDb {
 public:
  SettingsDb();
  ~SettingsDb();

  // Opens (creating when absent) the file and reads its table list, so that a
  // file that is not a database is refused here, before anything writes to it.
  bool open(const std::string& path);
  void close();
  bool isOpen() const { return db_ != nullptr; }
  // The file as it was opened; empty when closed.
  std::string path() const;

  // Runs statement text; false on error, with the reason in lastError().
  bool exec(const std::string& sql);
  // Runs a query and hands every row to onRow in order; false on error.
  bool query(const std::string& sql, const std::function<void(const DbRow&)>& onRow);
  // Names of the tables in the file; false when the file cannot be read.
  bool tableNames(std::vector<std::string>& names);
  const std::string& lastError() const { return lastError_; }

 private:
  std::unique_ptr<SQLite::Database> db_;
  std::string lastError_;
};

extern SettingsDb settingsDb;

// The outcome of a database step. A failure carries the text the player is
// shown on standard output; the program then ends, which only its entry point
// does, so every caller hands the result up instead of ending anything here.
class [[nodiscard]] DbResult {
 public:
  DbResult() = default;  // success
  static DbResult success() { return DbResult(); }
  static DbResult failure(std::string consoleText) { return DbResult(std::move(consoleText)); }
  bool ok() const { return consoleText_.empty(); }
  explicit operator bool() const { return ok(); }
  const std::string& consoleText() const { return consoleText_; }

 private:
  explicit DbResult(std::string text) : consoleText_(std::move(text)) {}
  std::string consoleText_;
};

// Closes the connection and returns the failure "what", "Terminating Program"
// and the database's last error text, as the player sees it.
DbResult terminateOnDbError(const std::string& what);
// Closes the connection and returns the failure kDatabaseLoadFailed.
DbResult reportDatabaseUnusable();

// Opens settingsDb on the file; fails with kDatabaseLoadFailed when no usable
// connection results.
DbResult openDatabase(const std::string& path = kDatabaseFile);

// On a file without tables: creates both tables and the default settings row
// in one transaction, so an interrupted first run leaves no half-made file.
// A file with any table is left as it is.
DbResult createTables();
