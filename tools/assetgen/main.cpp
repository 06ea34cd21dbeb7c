// ovelune-assetgen OUTDIR: synthesises every embedded file of the game into
// OUTDIR/files and writes the sources that link and register them.
// ovelune-assetgen --icons OUTDIR SIZE...: draws the application icon at each
// size into OUTDIR/hicolor/SIZExSIZE/apps/ovelune.png, the icon theme's layout.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "catalog.hpp"
#include "embedding_writer.hpp"
#include "images.hpp"

namespace fs = std::filesystem;

namespace {

// Runs every recipe, heavy ones first, on a few threads. Each result lands in
// its own slot, so the job order never shows in the output.
std::vector<gen::Bytes> runRecipes(const std::vector<gen::AssetRecipe>& recipes) {
  std::vector<size_t> order(recipes.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_partition(order.begin(), order.end(), [&](size_t i) { return recipes[i].heavy; });

  std::vector<gen::Bytes> results(recipes.size());
  std::atomic<size_t> next{0};
  std::exception_ptr failure;
  std::atomic<bool> failed{false};
  auto worker = [&] {
    for (size_t k = next++; k < order.size() && !failed; k = next++) {
      try {
        results[order[k]] = recipes[order[k]].make();
      } catch (...) {
        if (!failed.exchange(true)) failure = std::current_exception();
      }
    }
  };
  const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (auto& t : pool) t.join();
  if (failure) std::rethrow_exception(failure);
  return results;
}

void writeFile(const fs::path& path, const gen::Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void writeIcons(const fs::path& outDir, const std::vector<int>& sizes) {
  for (int size : sizes) {
    const std::string edge = std::to_string(size);
    const fs::path dir = outDir / "hicolor" / (edge + "x" + edge) / "apps";
    fs::create_directories(dir);
    writeFile(dir / "ovelune.png", gen::appIconPng(size));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool icons = argc >= 4 && std::string(argv[1]) == "--icons";
  if (argc != 2 && !icons) {
    std::fprintf(stderr, "usage: ovelune-assetgen OUTDIR | --icons OUTDIR SIZE...\n");
    return 2;
  }
  try {
    if (icons) {
      std::vector<int> sizes;
      for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 1 || size > 1024) throw std::runtime_error(std::string("bad icon size ") + argv[i]);
        sizes.push_back(size);
      }
      writeIcons(argv[2], sizes);
      return 0;
    }
    const fs::path outDir = fs::absolute(argv[1]).lexically_normal();
    const fs::path fileDir = outDir / "files";
    fs::create_directories(fileDir);

    const std::vector<gen::AssetRecipe> recipes = gen::assetCatalog();
    const std::vector<gen::Bytes> results = runRecipes(recipes);

    std::vector<gen::EmbeddedFile> files;
    for (size_t i = 0; i < recipes.size(); ++i) {
      const std::string number = std::to_string(i);
      const fs::path path = fileDir / ((i < 10 ? "0" : "") + number + ".bin");
      writeFile(path, results[i]);
      files.push_back({recipes[i].name, path});
    }
    gen::writeEmbeddingSources(outDir, files);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ovelune-assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
