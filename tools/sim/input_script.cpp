#include "input_script.hpp"

#include <algorithm>
#include <climits>
#include <fstream>
#include <map>
#include <sstream>

#include "essentials/settings.hpp"
#include "platform/input_state.hpp"
#include "platform/keycodes.hpp"

namespace {

bool keyCode(const std::string& name, int* code) {
  const std::map<std::string, int> codes = {
      {"up", settings.upkey},       {"down", settings.downkey},   {"left", settings.leftkey},
      {"right", settings.rightkey}, {"fire1", settings.fire1key}, {"fire2", settings.fire2key},
      {"fire3", settings.fire3key}, {"escape", pf::vk::kEscape},  {"q", pf::vk::kQ},
  };
  const auto it = codes.find(name);
  if (it == codes.end()) return false;
  *code = it->second;
  return true;
}

}  // namespace

bool InputScript::load(const std::string& path, std::string* error) {
  std::ifstream in(path);
  if (!in) {
    *error = "cannot read input script " + path;
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    HeldKeys span;
    if (!(words >> span.first)) continue;  // blank or comment line
    std::string name;
    if (!(words >> span.last) || span.last < span.first) {
      *error = path + ":" + std::to_string(number) + ": expected START END KEY...";
      return false;
    }
    while (words >> name) {
      int code = 0;
      if (!keyCode(name, &code)) {
        *error = path + ":" + std::to_string(number) + ": unknown key '" + name + "'";
        return false;
      }
      span.codes.push_back(code);
    }
    spans_.push_back(std::move(span));
  }
  return true;
}

void InputScript::holdFrom(int first, int code) { spans_.push_back(HeldKeys{first, INT_MAX, {code}}); }

void InputScript::apply(int frame) {
  std::vector<int> wanted;
  for (const HeldKeys& span : spans_) {
    if (frame >= span.first && frame <= span.last) wanted.insert(wanted.end(), span.codes.begin(), span.codes.end());
  }
  std::sort(wanted.begin(), wanted.end());
  wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
  pf::InputState& input = pf::inputState();
  for (int code : held_) {
    if (!std::binary_search(wanted.begin(), wanted.end(), code)) input.keyReleased(code);
  }
  for (int code : wanted) {
    if (!std::binary_search(held_.begin(), held_.end(), code)) input.keyPressed(code);
  }
  held_ = std::move(wanted);
}
