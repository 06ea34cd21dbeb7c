#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "essentials/settings.hpp"
#include "persist/database.hpp"
#include "persist/scores.hpp"
#include "persist/settings_row.hpp"
#include "persist/sql_text.hpp"
#include "temp_dir.hpp"

namespace {

constexpr const char* kDefaultRow =
    "1|0|1|1|32|800|600|5|2|0|joyx|joyy|0|0.4|38|40|37|39|90|88|67|0|0|0|0|0|00000000000000000000|"
    "0|0|0|0|0|0|0|0|0||0";

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = Settings{};
    program = ProgramState{};
  }
  void TearDown() override { settingsDb.close(); }

  // Keeps what a failed step would have printed.
  DbResult note(DbResult result) {
    fatalText += result.consoleText();
    return result;
  }

  // A database as a first run leaves it, with the settings loaded.
  void startFresh() {
    ASSERT_TRUE(note(openDatabase(path)));
    ASSERT_TRUE(note(createTables()));
    ASSERT_TRUE(note(loadSettings()));
  }

  // Runs statements on the file through a connection of its own.
  void rawExec(const std::string& sql) {
    SQLite::Database db(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec(sql);
  }

  // Row `id` of setupData as its columns' text joined with '|'.
  std::string rawRow(int id) {
    SQLite::Database db(path);
    SQLite::Statement q(db, "SELECT * FROM setupData WHERE id=" + std::to_string(id));
    std::string row;
    if (!q.executeStep()) return "<none>";
    for (int i = 0; i < q.getColumnCount(); ++i) row += (i ? "|" : "") + std::string(q.getColumn(i).getText(""));
    return row;
  }

  int rawCount(const std::string& sql) {
    SQLite::Database db(path);
    return db.execAndGet(sql).getInt();
  }

  TempDir dir;
  std::string path = dir.file("VE4R.dtb");
  std::string fatalText;
};

}  // namespace

TEST_F(DatabaseTest, FirstRunCreatesBothTablesAndExactlyTheDefaultRow) {
  startFresh();
  EXPECT_EQ(fatalText, "");
  EXPECT_EQ(rawRow(1), kDefaultRow);
  EXPECT_EQ(rawCount("SELECT count(*) FROM setupData"), 1);
  EXPECT_EQ(rawCount("SELECT count(*) FROM sqlite_master WHERE type='table' AND name IN ('scores','setupData')"), 2);
  EXPECT_EQ(settings.screendepth, 32);
  EXPECT_EQ(settings.jMoveYAxis, "joyy");
  EXPECT_EQ(settings.jThreshhold, 0.4f);
  EXPECT_EQ(settings.achievements, "00000000000000000000");
  EXPECT_EQ(settings.name, "");
}

TEST_F(DatabaseTest, ExistingTablesAreNeverRecreatedOrGivenADefaultRow) {
  startFresh();
  settingsDb.close();
  rawExec(
      "DELETE FROM setupData; INSERT INTO setupData (id, screenwidth, screenheight, name) VALUES (7, 640, 480, "
      "'kept')");
  ASSERT_TRUE(note(openDatabase(path)));
  ASSERT_TRUE(note(createTables()));
  ASSERT_TRUE(note(loadSettings()));
  EXPECT_EQ(rawCount("SELECT count(*) FROM setupData"), 1);
  EXPECT_EQ(settings.screenwidth, 640);
  EXPECT_EQ(settings.name, "kept");

  // Any table at all marks a file as initialised: a foreign database is not
  // extended with our tables, and having no settings row it is refused.
  TempDir other;
  path = other.file("VE4R.dtb");
  rawExec("CREATE TABLE notes (t text)");
  const std::vector<char> before = fileBytes(path);
  ASSERT_TRUE(note(openDatabase(path)));
  ASSERT_TRUE(note(createTables()));
  EXPECT_FALSE(note(loadSettings()));
  EXPECT_EQ(fatalText, "failed to load VE4R.dtb \n");
  EXPECT_EQ(fileBytes(path), before);
}

TEST_F(DatabaseTest, ThresholdIsWrittenWithNineDigitsAndReadsBackAsTheSameFloat) {
  EXPECT_EQ(sqlFloat(0.4f), "0.400000006");
  EXPECT_EQ(sqlFloat(1.0f), "1.00000000");
  EXPECT_EQ(sqlFloat(0.25f), "0.250000000");

  startFresh();
  EXPECT_NE(settingsUpdateStatement().find(" jThreshhold =0.400000006, "), std::string::npos);
  settings.jThreshhold = 0.3f;
  ASSERT_TRUE(note(saveSettings()));
  settings = Settings{};
  ASSERT_TRUE(note(loadSettings()));
  EXPECT_EQ(settings.jThreshhold, 0.3f);
}

TEST_F(DatabaseTest, UpdateChangesOnlyRowOne) {
  startFresh();
  const std::string statement = settingsUpdateStatement();
  ASSERT_GE(statement.size(), 13u);
  EXPECT_EQ(statement.substr(statement.size() - 13), "   WHERE id=1");
  EXPECT_EQ(statement.rfind("UPDATE setupData SET FPSCounter = 0, music = 1, sound = 1, screendepth = 32, ", 0), 0u);

  rawExec("INSERT INTO setupData (id, music, fire1key, name) VALUES (2, 1, 90, 'second')");
  const std::string rowTwo = rawRow(2);
  settings.music = 0;
  settings.fire1key = 65;
  program.achievementFlags[3] = 1;
  ASSERT_TRUE(note(saveSettings()));
  EXPECT_EQ(settings.achievements, "00010000000000000000");
  EXPECT_EQ(rawRow(2), rowTwo);
  EXPECT_EQ(rawRow(1),
            "1|0|0|1|32|800|600|5|2|0|joyx|joyy|0|0.400000006|38|40|37|39|65|88|67|0|0|0|0|0|"
            "00010000000000000000|0|0|0|0|0|0|0|0|0||0");
}

TEST_F(DatabaseTest, QuotesAndSymbolsInNamesSaveAndReadBackUnchanged) {
  startFresh();
  for (const std::string name : {"O'Brien", "Tom & \"Jerry\"", "''; DROP TABLE scores; --"}) {
    settings.name = name;
    ASSERT_TRUE(note(saveSettings())) << name;
    settings = Settings{};
    ASSERT_TRUE(note(loadSettings()));
    EXPECT_EQ(settings.name, name);
  }
  EXPECT_EQ(fatalText, "");
  EXPECT_EQ(rawCount("SELECT count(*) FROM sqlite_master WHERE name='scores'"), 1);
}

TEST_F(DatabaseTest, UnusableFilesAreReportedAndLeftByteIdentical) {
  struct Case {
    const char* what;
    std::function<void()> make;
  };
  const Case cases[] = {
      {"garbage bytes",
       [this] {
         std::ofstream out(path, std::ios::binary);
         for (int i = 0; i < 300; ++i) out << "not a database, just some bytes " << i << '\n';
       }},
      {"no settings row",
       [this] {
         startFresh();
         settingsDb.close();
         rawExec("DELETE FROM setupData");
       }},
      {"screen width 0",
       [this] {
         startFresh();
         settingsDb.close();
         rawExec("UPDATE setupData SET screenwidth=0");
       }},
      {"negative screen height",
       [this] {
         startFresh();
         settingsDb.close();
         rawExec("UPDATE setupData SET screenheight=-600");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir own;
    path = own.file("VE4R.dtb");
    c.make();
    const std::vector<char> before = fileBytes(path);
    fatalText.clear();
    settings = Settings{};
    settings.name = "untouched";

    const bool usable = note(openDatabase(path)) && note(createTables()) && note(loadSettings());
    EXPECT_FALSE(usable);
    EXPECT_EQ(fatalText, "failed to load VE4R.dtb \n");
    EXPECT_EQ(settings.name, "untouched");
    EXPECT_FALSE(settingsDb.isOpen());
    EXPECT_EQ(fileBytes(path), before);
  }
}

TEST_F(DatabaseTest, NullAndNonNumericValuesReadAsEmptyOrZero) {
  startFresh();
  rawExec(
      "UPDATE setupData SET jMoveXAxis=NULL, name=NULL, achievements=NULL, music='loud', sound=NULL, "
      "jThreshhold=NULL, ship2='7x'");
  ASSERT_TRUE(note(loadSettings()));
  EXPECT_EQ(settings.jMoveXAxis, "");
  EXPECT_EQ(settings.name, "");
  EXPECT_EQ(settings.achievements, "");
  EXPECT_EQ(settings.music, 0);
  EXPECT_EQ(settings.sound, 0);
  EXPECT_EQ(settings.jThreshhold, 0.0f);
  EXPECT_EQ(settings.ship2, 7);
}

TEST_F(DatabaseTest, FailedUpdateReportsTheTableAndTheDatabaseError) {
  startFresh();
  rawExec("DROP TABLE setupData");
  EXPECT_FALSE(note(saveSettings()));
  EXPECT_EQ(fatalText, "Failed to update setupData table\nTerminating Program\nno such table: setupData\n");
  EXPECT_FALSE(settingsDb.isOpen());
}

TEST_F(DatabaseTest, BusyFileIsWaitedForInsteadOfFailing) {
  startFresh();
  SQLite::Database other(path, SQLite::OPEN_READWRITE);
  other.exec("BEGIN EXCLUSIVE");
  std::thread release([&other] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    other.exec("COMMIT");
  });
  settings.hours = 3;
  const bool saved = note(saveSettings()).ok();
  release.join();
  EXPECT_TRUE(saved);
  EXPECT_EQ(fatalText, "");
  EXPECT_EQ(rawCount("SELECT hours FROM setupData WHERE id=1"), 3);
}

TEST_F(DatabaseTest, ScoreSummariesCountPerShipAndTruncateTheAverage) {
  startFresh();
  const ShipScoreSummary none = shipScoreSummary(2);
  EXPECT_EQ(none.played, 0);
  EXPECT_EQ(none.highest, 0);
  EXPECT_EQ(none.average, 0);

  insertScore(10, 1, 2);
  insertScore(15, 1, 2);
  insertScore(5000000000LL, 1, 3);
  const ShipScoreSummary two = shipScoreSummary(2);
  EXPECT_EQ(two.played, 2);
  EXPECT_EQ(two.highest, 15);
  EXPECT_EQ(two.average, 12);
  const ShipScoreSummary three = shipScoreSummary(3);
  EXPECT_EQ(three.played, 1);
  EXPECT_EQ(three.highest, 5000000000LL);
  EXPECT_EQ(rawCount("SELECT count(*) FROM scores WHERE level=1"), 3);
}
