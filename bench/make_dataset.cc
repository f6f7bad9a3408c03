// Writes the benchmark data set:
//
//   quillaret_make_dataset [--size-mb N] [--seed N] [--lexicons DIR] [PLUGIN]
//
// PLUGIN gets the master (80 MB by default; --size-mb 0 writes its TES3
// record alone), DIR the three lexicon files. The same seed gives the same
// bytes on every machine.
#include <cstdlib>
#include <iostream>
#include <string>

#include "dataset.h"

int main(int argc, char** argv) {
  using namespace quillaret::bench;
  double size_mb = 80;
  uint64_t seed = 1;
  std::string lexicons, plugin;
  bool usage = false;
  for (int i = 1; i < argc && !usage; ++i) {
    const std::string arg = argv[i];
    const bool value = i + 1 < argc;
    if (arg == "--size-mb" && value) {
      size_mb = std::atof(argv[++i]);
    } else if (arg == "--seed" && value) {
      seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--lexicons" && value) {
      lexicons = argv[++i];
    } else {
      usage = arg.starts_with("-") || !plugin.empty();
      plugin = arg;
    }
  }
  if (usage || size_mb < 0 || (plugin.empty() && lexicons.empty())) {
    std::cerr
        << "usage: quillaret_make_dataset [--size-mb N] [--seed N] [--lexicons DIR] [PLUGIN]\n";
    return 2;
  }
  const Vocabulary vocabulary = make_vocabulary(seed);
  if (!lexicons.empty() && !write_lexicons(vocabulary, lexicons)) return 1;
  if (plugin.empty()) return 0;
  MasterStats s;
  const std::string master = make_master(vocabulary, size_mb, seed, &s);
  if (!write_file(plugin, master)) return 1;
  std::cout << plugin << ": " << master.size() << " bytes, " << s.records << " records + "
            << s.subrecords << " subrecords = " << s.records + s.subrecords << " nodes; "
            << s.responses << " responses, " << s.scripts << " scripts, " << s.blx_conditions
            << " BLX conditions, " << s.cells << " cells, " << s.doors << " doors\n";
  return 0;
}
