#include "persist/settings_row.hpp"

#include <cmath>
#include <string>

#include "essentials/settings.hpp"
#include "persist/database.hpp"
#include "persist/sql_text.hpp"

namespace {

constexpr int kSettingsColumns = 38;  // id and the 37 settings

Settings settingsFromRow(const DbRow& row) {
  Settings s;
  s.FPSCounter = row.integer(1);
  s.music = row.integer(2);
  s.sound = row.integer(3);
  s.screendepth = row.integer(4);
  s.screenwidth = row.integer(5);
  s.screenheight = row.integer(6);
  s.jBombButton = row.integer(7);
  s.jfireLeftButton = row.integer(8);
  s.jFireRightButton = row.integer(9);
  s.jMoveXAxis = row.text(10);
  s.jMoveYAxis = row.text(11);
  s.usejoy = row.integer(12);
  // A stored threshold beyond float range (or NaN) would be written back as
  // "inf" or "nan", which no statement accepts: every save would then fail.
  const float threshold = row.real(13);
  if (std::isfinite(threshold)) s.jThreshhold = threshold;
  s.upkey = row.integer(14);
  s.downkey = row.integer(15);
  s.leftkey = row.integer(16);
  s.rightkey = row.integer(17);
  s.fire1key = row.integer(18);
  s.fire2key = row.integer(19);
  s.fire3key = row.integer(20);
  s.ship2 = row.integer(21);
  s.ship3 = row.integer(22);
  s.ship4 = row.integer(23);
  s.ship5 = row.integer(24);
  s.ship6 = row.integer(25);
  s.achievements = row.text(26);
  s.ship1perfect = row.integer(27);
  s.ship2perfect = row.integer(28);
  s.ship3perfect = row.integer(29);
  s.ship4perfect = row.integer(30);
  s.ship5perfect = row.integer(31);
  s.ship6perfect = row.integer(32);
  s.hours = row.integer(33);
  s.minutes = row.integer(34);
  s.seconds = row.integer(35);
  s.name = row.text(36);
  s.joystickport = row.integer(37);
  return s;
}

// Label, value and separator, run together as the statement wants them.
class StatementText {
 public:
  StatementText& add(const char* label, int value, const char* separator = ", ") {
    return raw(label, std::to_string(value), separator);
  }
  StatementText& add(const char* label, const std::string& quoted, const char* separator = ", ") {
    return raw(label, quoted, separator);
  }
  std::string str() const { return text_; }

 private:
  StatementText& raw(const char* label, const std::string& value, const char* separator) {
    text_ += label;
    text_ += value;
    text_ += separator;
    return *this;
  }
  std::string text_;
};

}  // namespace

DbResult loadSettings() {
  bool anyRow = false;
  bool complete = true;
  Settings loaded;
  const bool ran = settingsDb.query("SELECT * from setupData", [&](const DbRow& row) {
    anyRow = true;
    if (row.columns() < kSettingsColumns) complete = false;
    loaded = settingsFromRow(row);
  });
  if (!ran || !anyRow || !complete || loaded.screenwidth <= 0 || loaded.screenheight <= 0) {
    return reportDatabaseUnusable();
  }
  settings = loaded;
  return DbResult::success();
}

std::string settingsUpdateStatement() {
  const Settings& s = settings;
  return StatementText()
      .add("UPDATE setupData SET FPSCounter = ", s.FPSCounter)
      .add("music = ", s.music)
      .add("sound = ", s.sound)
      .add("screendepth = ", s.screendepth)
      .add("screenwidth = ", s.screenwidth)
      .add("screenheight = ", s.screenheight)
      .add(" jBombButton =", s.jBombButton)
      .add(" jfireLeftButton =", s.jfireLeftButton)
      .add(" jFireRightButton =", s.jFireRightButton)
      .add(" jMoveXAxis =", sqlQuoted(s.jMoveXAxis))
      .add(" jMoveYAxis =", sqlQuoted(s.jMoveYAxis))
      .add(" usejoy =", s.usejoy)
      .add(" jThreshhold =", sqlFloat(s.jThreshhold))
      .add(" upkey =", s.upkey)
      .add(" downkey =", s.downkey)
      .add(" leftkey =", s.leftkey)
      .add(" rightkey =", s.rightkey)
      .add(" fire1key =", s.fire1key)
      .add(" fire2key =", s.fire2key)
      .add(" fire3key =", s.fire3key)
      .add(" ship2 =", s.ship2)
      .add(" ship3 =", s.ship3)
      .add(" ship4 =", s.ship4)
      .add(" ship5 =", s.ship5)
      .add(" ship6 =", s.ship6)
      .add(" achievements=", sqlQuoted(s.achievements))
      .add(" ship1perfect=", s.ship1perfect)
      .add(" ship2perfect=", s.ship2perfect)
      .add(" ship3perfect=", s.ship3perfect)
      .add(" ship4perfect=", s.ship4perfect)
      .add(" ship5perfect=", s.ship5perfect)
      .add(" ship6perfect=", s.ship6perfect)
      .add(" hours=", s.hours)
      .add(" minutes=", s.minutes)
      .add(" seconds=", s.seconds)
      .add(" name=", sqlQuoted(s.name))
      .add(" joystickport=", s.joystickport, "   WHERE id=1")
      .str();
}

DbResult saveSettings() {
  std::string achievements;
  for (const int flag : program.achievementFlags) achievements += std::to_string(flag);
  settings.achievements = achievements;
  if (settingsDb.exec(settingsUpdateStatement())) return DbResult::success();
  return terminateOnDbError("Failed to update setupData table");
}
