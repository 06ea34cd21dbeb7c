#include "app/data_folder.hpp"

#include <cstdlib>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Relative values are invalid by the XDG rules and are ignored.
std::optional<fs::path> absoluteFolder(const char* value) {
  if (value == nullptr || *value == '\0') return std::nullopt;
  fs::path path(value);
  if (!path.is_absolute()) return std::nullopt;
  return path;
}

}  // namespace

std::optional<fs::path> playerDataFolder(const char* xdgDataHome, const char* home) {
  if (auto data = absoluteFolder(xdgDataHome)) return *data / "ovelune";
  if (auto homeFolder = absoluteFolder(home)) return *homeFolder / ".local" / "share" / "ovelune";
  return std::nullopt;
}

bool enterDataFolder(const fs::path& folder, std::string* error) {
  // The missing levels, outermost first.
  std::vector<fs::path> missing;
  std::error_code ec;
  for (fs::path p = folder; !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
    missing.insert(missing.begin(), p);
    if (p == p.parent_path()) break;
  }
  for (const fs::path& level : missing) {
    if (!fs::create_directory(level, ec) && ec) break;
    fs::permissions(level, fs::perms::owner_all, fs::perm_options::replace, ec);
    if (ec) break;
  }
  if (!ec) fs::current_path(folder, ec);
  if (ec) {
    *error = "cannot use " + folder.string() + ": " + ec.message();
    return false;
  }
  return true;
}

bool enterPlayerDataFolder(std::string* error) {
  const std::optional<fs::path> folder = playerDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  if (!folder) {
    *error = "no folder for the player's data: neither XDG_DATA_HOME nor HOME names one";
    return false;
  }
  return enterDataFolder(*folder, error);
}
