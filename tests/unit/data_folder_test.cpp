// The installed game's data folder: where the XDG rules put it, and its
// creation, private to the player, as the working directory.
#include <gtest/gtest.h>

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

TEST(DataFolder, IsMadePrivateEnteredAndReportedWhenItCannotBe) {
  const fs::path start = fs::current_path();
  TempDir dir;
  const fs::path home = dir.file("home"), folder = home / ".local" / "share" / "ovelune";
  fs::create_directories(home);
  std::string error;
  ASSERT_TRUE(enterDataFolder(folder, &error)) << error;
  EXPECT_EQ(fs::current_path(), folder);
  for (const fs::path& level : {home / ".local", home / ".local" / "share", folder})
    EXPECT_EQ(fs::status(level).permissions(), fs::perms::owner_all) << level;
  EXPECT_NE(fs::status(home).permissions(), fs::perms::owner_all) << "an existing folder was changed";

  const fs::path blocked = dir.file("blocked");
  std::ofstream(blocked) << "a file in the way";
  EXPECT_FALSE(enterDataFolder(blocked / "ovelune", &error));
  EXPECT_NE(error.find((blocked / "ovelune").string()), std::string::npos) << error;
  fs::current_path(start);
}
