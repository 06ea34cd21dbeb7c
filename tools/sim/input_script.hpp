#pragma once
// Scripted input: lines "START END KEY..." hold the keys from frame START to
// frame END inclusive; '#' starts a comment. Keys: up down left right fire1
// fire2 fire3 escape q.
#include <string>
#include <vector>

struct HeldKeys {
  int first = 0;
  int last = 0;
  std::vector<int> codes;  // virtual-key codes, resolved from the settings
};

class InputScript {
 public:
  // Parses the file; false with a message on a bad line or a missing file.
  bool load(const std::string& path, std::string* error);
  // Holds `code` for every frame from `first` on.
  void holdFrom(int first, int code);
  // Presses and releases keys so that exactly the keys of `frame` are held.
  void apply(int frame);

 private:
  std::vector<HeldKeys> spans_;
  std::vector<int> held_;
};
