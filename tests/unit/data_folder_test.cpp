// The installed game's data folder: where the XDG rules put it, and its
// creation, private to the player, as the working directory.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/data_folder.hpp"
#include "temp_dir.hpp"

namespace fs = std::filesystem;

TEST(DataFolder, FollowsTheXdgRules) {
  EXPECT_EQ(playerDataFolder("/srv/data", "/home/ann"), fs::path("/srv/data/ovelune"));
  const fs::path inHome("/home/ann/.local/share/ovelune");
  EXPECT_EQ(playerDataFolder(nullptr, "/home/ann"), inHome);
  EXPECT_EQ(playerDataFolder("", "/home/ann"), inHome);
  // A relative XDG_DATA_HOME is invalid and ignored, as is a relative HOME.
  EXPECT_EQ(playerDataFolder("data", "/home/ann"), inHome);
  EXPECT_EQ(playerDataFolder(nullptr, "ann"), std::nullopt);
  EXPECT_EQ(playerDataFolder(nullptr, nullptr), std::nullopt);
}

// Runs the process's entry into the data folder with HOME in a fresh folder
// and no XDG_DATA_HOME, then puts the environment and working directory back.
class DataFolderEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    start_ = fs::current_path();
    saveVariable("HOME", &home_);
    saveVariable("XDG_DATA_HOME", &xdg_);
    home = fs::path(dir_.file("home"));
    fs::create_directory(home);
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
  }
  void TearDown() override {
    fs::current_path(start_);
    restoreVariable("HOME", home_);
    restoreVariable("XDG_DATA_HOME", xdg_);
  }

  fs::path home;

 private:
  static void saveVariable(const char* name, std::optional<std::string>* into) {
    if (const char* v = std::getenv(name)) *into = v;
  }
  static void restoreVariable(const char* name, const std::optional<std::string>& value) {
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }

  TempDir dir_;
  fs::path start_;
  std::optional<std::string> home_, xdg_;
};

TEST_F(DataFolderEntry, CreatesEachMissingLevelPrivateAndEntersIt) {
  std::string error;
  ASSERT_TRUE(enterPlayerDataFolder(&error)) << error;
  const fs::path folder = home / ".local" / "share" / "ovelune";
  EXPECT_EQ(fs::current_path(), folder);
  for (const fs::path& level : {home / ".local", home / ".local" / "share", folder})
    EXPECT_EQ(fs::status(level).permissions(), fs::perms::owner_all) << level;
  EXPECT_EQ(fs::status(home).permissions() & fs::perms::group_read, fs::perms::group_read) << "home was changed";

  // A second start finds it and keeps what is in it.
  std::ofstream(folder / "VE4R.dtb") << "kept";
  fs::current_path(home);
  ASSERT_TRUE(enterPlayerDataFolder(&error)) << error;
  EXPECT_TRUE(fs::exists("VE4R.dtb"));
}

TEST_F(DataFolderEntry, NamesTheFolderWhenItCannotBeMade) {
  fs::create_directories(home / ".local");
  std::ofstream(home / ".local" / "share") << "a file in the way";
  std::string error;
  EXPECT_FALSE(enterPlayerDataFolder(&error));
  EXPECT_NE(error.find((home / ".local" / "share" / "ovelune").string()), std::string::npos) << error;

  unsetenv("HOME");
  EXPECT_FALSE(enterPlayerDataFolder(&error));
  EXPECT_NE(error.find("HOME"), std::string::npos) << error;
}
