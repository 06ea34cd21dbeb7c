// The settings database under faults of its file and disk: each case gets
// the player's message or a sane value, and the file is never left damaged.
// Every case runs in a child process (a death test) that drops root first,
// so file permissions bind as they do for a player, and so a file size limit
// or a lost lock stays in the child.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "essentials/settings.hpp"
#include "persist/database.hpp"
#include "persist/settings_row.hpp"
#include "temp_dir.hpp"

namespace {

constexpr uid_t kNobody = 65534;

// In the child: become an ordinary user, as the game runs for a player.
void dropRoot() {
  if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
    std::fprintf(stderr, "cannot drop root\n");
    std::_Exit(2);
  }
}

// In the child: a failed expectation ends it with the reason on stderr.
void require(bool holds, const std::string& what) {
  if (holds) return;
  std::fprintf(stderr, "FAILED: %s\n", what.c_str());
  std::_Exit(1);
}

// Start-up's database steps, in its order.
DbResult loadChain(const std::string& path) {
  DbResult db = openDatabase(path);
  if (db) db = createTables();
  if (db) db = loadSettings();
  return db;
}

bool limitFileSize(rlim_t bytes) {
  const rlimit limit{bytes, bytes};
  return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

std::string integrity(const std::string& path) {
  SQLite::Database db(path, SQLite::OPEN_READONLY);
  return db.execAndGet("PRAGMA integrity_check").getString();
}

int storedInt(const std::string& path, const std::string& column) {
  SQLite::Database db(path, SQLite::OPEN_READONLY);
  return db.execAndGet("SELECT " + column + " FROM setupData WHERE id=1").getInt();
}

const std::string kUpdateFailed = "Failed to update setupData table\nTerminating Program\n";

class DatabaseFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    // A plain fork: the child works on this test's directory and file, which
    // the checks after it read. (The "threadsafe" style runs the whole test
    // again in a fresh process, with a directory of its own.)
    GTEST_FLAG_SET(death_test_style, "fast");
    // The child runs as nobody: the directory must be open to it.
    chmod(dir.file("").c_str(), 0777);
    settings = Settings{};
  }
  // A file made by a first run, with music switched off in it.
  std::string madeFile() {
    const std::string path = dir.file(kDatabaseFile);
    EXPECT_TRUE(loadChain(path).ok());
    settings.music = 0;
    EXPECT_TRUE(saveSettings().ok());
    settingsDb.close();
    chmod(path.c_str(), 0666);
    return path;
  }
  void setColumns(const std::string& path, const std::string& assignments) {
    SQLite::Database db(path, SQLite::OPEN_READWRITE);
    db.exec("UPDATE setupData SET " + assignments + " WHERE id=1");
  }
  // In a child as nobody: the file loads, the fault strikes, and saving a
  // changed row ends with the update failure message. The stored row keeps
  // its values and the file stays sound.
  void expectSaveFailsKeepingTheRow(const std::string& path, const std::function<void()>& fault) {
    EXPECT_EXIT(
        {
          dropRoot();
          require(loadChain(path).ok(), "the file loads");
          require(settings.music == 0, "the stored settings are read");
          fault();
          settings.music = 1;
          const DbResult saved = saveSettings();
          require(saved.consoleText().rfind(kUpdateFailed, 0) == 0, "message: " + saved.consoleText());
          std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(integrity(path), "ok");
    EXPECT_EQ(storedInt(path, "music"), 0);
  }

  TempDir dir;
};

TEST_F(DatabaseFaults, ReadOnlyWorkingDirectoryFailsToLoad) {
  chmod(dir.file("").c_str(), 0555);
  EXPECT_EXIT(
      {
        dropRoot();
        require(chdir(dir.file("").c_str()) == 0, "chdir");
        const DbResult db = loadChain(kDatabaseFile);
        require(db.consoleText() == std::string(kDatabaseLoadFailed) + "\n", "message: " + db.consoleText());
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_FALSE(std::filesystem::exists(dir.file(kDatabaseFile)));
}

TEST_F(DatabaseFaults, ReadOnlyFileLoadsButSavingEndsWithTheMessage) {
  const std::string path = madeFile();
  chmod(path.c_str(), 0444);
  expectSaveFailsKeepingTheRow(path, [] {});
}

TEST_F(DatabaseFaults, DirectoryNamedLikeTheFileFailsToLoad) {
  std::filesystem::create_directory(dir.file(kDatabaseFile));
  const DbResult db = loadChain(dir.file(kDatabaseFile));
  EXPECT_EQ(db.consoleText(), std::string(kDatabaseLoadFailed) + "\n");
  EXPECT_TRUE(std::filesystem::is_directory(dir.file(kDatabaseFile)));
}

// Another process holds the file locked for longer than the busy wait.
class LockedFile {
 public:
  explicit LockedFile(const std::string& path, int seconds) {
    int ready[2];
    if (pipe(ready) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      SQLite::Database db(path, SQLite::OPEN_READWRITE);
      db.exec("BEGIN EXCLUSIVE");
      (void)!write(ready[1], "x", 1);
      sleep(static_cast<unsigned>(seconds));
      std::_Exit(0);
    }
    char c;
    (void)!read(ready[0], &c, 1);
    close(ready[0]);
    close(ready[1]);
  }
  ~LockedFile() {
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = -1;
};

TEST_F(DatabaseFaults, LockedLongerThanTheBusyWait) {
  const std::string path = madeFile();
  ASSERT_TRUE(loadChain(path).ok());
  {
    const LockedFile lock(path, 3);
    settings.music = 1;
    const DbResult saved = saveSettings();
    EXPECT_EQ(saved.consoleText().rfind(kUpdateFailed, 0), 0u) << saved.consoleText();
  }
  EXPECT_EQ(integrity(path), "ok");
  EXPECT_EQ(storedInt(path, "music"), 0);
  {
    const LockedFile lock(path, 3);
    EXPECT_EQ(loadChain(path).consoleText(), std::string(kDatabaseLoadFailed) + "\n");
  }
  EXPECT_EQ(integrity(path), "ok");
}

TEST_F(DatabaseFaults, DiskFullWhileSavingKeepsTheOldRow) {
  expectSaveFailsKeepingTheRow(madeFile(), [] {
    // Nothing may be written past the first kilobyte of any file: the
    // journal and the row's page both hit the limit.
    signal(SIGXFSZ, SIG_IGN);
    require(limitFileSize(1024), "setrlimit");
    settings.name = std::string(20, 'n');
  });
}

TEST_F(DatabaseFaults, UnusableScreenSizesAndNullsAreRefused) {
  const std::string path = madeFile();
  for (const char* assignments :
       {"screenwidth = 0", "screenheight = -600", "screenwidth = NULL", "screenwidth = 'wide'"}) {
    setColumns(path, assignments);
    EXPECT_EQ(loadChain(path).consoleText(), std::string(kDatabaseLoadFailed) + "\n") << assignments;
    setColumns(path, "screenwidth = 800, screenheight = 600");
  }
  std::string nulls;
  for (const char* column : {"FPSCounter",   "music",           "sound",
                             "screendepth",  "screenwidth",     "screenheight",
                             "jBombButton",  "jfireLeftButton", "jFireRightButton",
                             "jMoveXAxis",   "jMoveYAxis",      "usejoy",
                             "jThreshhold",  "upkey",           "downkey",
                             "leftkey",      "rightkey",        "fire1key",
                             "fire2key",     "fire3key",        "ship2",
                             "ship3",        "ship4",           "ship5",
                             "ship6",        "achievements",    "ship1perfect",
                             "ship2perfect", "ship3perfect",    "ship4perfect",
                             "ship5perfect", "ship6perfect",    "hours",
                             "minutes",      "seconds",         "name",
                             "joystickport"}) {
    nulls += std::string(nulls.empty() ? "" : ", ") + column + " = NULL";
  }
  setColumns(path, nulls);
  EXPECT_EQ(loadChain(path).consoleText(), std::string(kDatabaseLoadFailed) + "\n");
  EXPECT_EQ(integrity(path), "ok");
}

TEST_F(DatabaseFaults, AThresholdBeyondFloatRangeReadsAsTheDefaultAndSaves) {
  const std::string path = madeFile();
  for (const char* threshold : {"1e300", "-1e999", "1e999"}) {  // too big for a float, -infinity, infinity
    setColumns(path, std::string("jThreshhold = ") + threshold);
    ASSERT_TRUE(loadChain(path).ok()) << threshold;
    EXPECT_FLOAT_EQ(settings.jThreshhold, 0.4f) << threshold;
    EXPECT_TRUE(saveSettings().ok()) << threshold;
    settingsDb.close();
  }
  EXPECT_EQ(integrity(path), "ok");
}

TEST_F(DatabaseFaults, OddValuesLoadAndSaveBackUnharmed) {
  const std::string path = madeFile();
  setColumns(path,
             "screenwidth = 100000, upkey = -1, downkey = 1099511627776, leftkey = 'abc', "
             "achievements = 'abcdefghijklmnopqrstuvwxyz0123', name = 'o''neil', jThreshhold = 'x', "
             "jMoveXAxis = 'X' || char(0) || 'Z'");
  ASSERT_TRUE(loadChain(path).ok());
  EXPECT_EQ(settings.screenwidth, 100000);
  EXPECT_EQ(settings.upkey, -1);
  EXPECT_EQ(settings.leftkey, 0);  // text that is not a number reads as 0
  EXPECT_EQ(settings.name, "o'neil");
  program.achievementFlags.fill(0);
  EXPECT_TRUE(saveSettings().ok());
  settingsDb.close();
  EXPECT_EQ(integrity(path), "ok");
  SQLite::Database db(path, SQLite::OPEN_READONLY);
  EXPECT_EQ(db.execAndGet("SELECT achievements FROM setupData WHERE id=1").getString(), std::string(20, '0'));
  EXPECT_EQ(db.execAndGet("SELECT name FROM setupData WHERE id=1").getString(), "o'neil");
  EXPECT_EQ(db.execAndGet("SELECT jMoveXAxis FROM setupData WHERE id=1").getString(), "X");  // read up to the NUL
}

}  // namespace
