// Placeholder until the generator lands: writes an empty asset table.
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string dir = argv[1];
  std::ofstream(dir + "/embedded_assets.S") << "\n";
  std::ofstream(dir + "/embedded_assets.cpp") << "void registerAssetStore() {}\n";
  return 0;
}
