// Writes the seed corpora of the fuzz targets: <dir>/pipeline/*.esp and
// <dir>/lexicon/*.txt.
//
// Usage: make_fuzz_seeds <dir>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "fuzz_data.h"

namespace {

bool write_all(const std::filesystem::path& dir, const std::vector<std::string>& seeds,
               const char* extension) {
  std::filesystem::create_directories(dir);
  for (size_t i = 0; i < seeds.size(); ++i) {
    std::ofstream out(dir / ("seed-" + std::to_string(i) + extension), std::ios::binary);
    out.write(seeds[i].data(), static_cast<std::streamsize>(seeds[i].size()));
    if (!out) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_fuzz_seeds <dir>\n";
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  if (!write_all(dir / "pipeline", quillaret::fuzzing::seed_plugins(), ".esp") ||
      !write_all(dir / "lexicon", quillaret::fuzzing::seed_lexicons(), ".txt")) {
    std::cerr << "cannot write the seeds into " << dir << "\n";
    return 1;
  }
  return 0;
}
