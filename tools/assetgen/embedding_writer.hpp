#pragma once
// Writes the assembly file that links the generated files into the program
// and the C++ file that registers them by name.
#include <filesystem>
#include <string>
#include <vector>

namespace gen {

struct EmbeddedFile {
  std::string name;            // name in the asset store
  std::filesystem::path path;  // absolute path of its bytes
};

void writeEmbeddingSources(const std::filesystem::path& outDir, const std::vector<EmbeddedFile>& files);

}  // namespace gen
