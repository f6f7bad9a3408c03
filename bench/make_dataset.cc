// Writes the benchmark data set:
//
//   quillaret_make_dataset [--size-mb N] [--seed N] [--lexicons DIR] [PLUGIN]
//   quillaret_make_dataset --mod-of MASTER PLUGIN
//
// PLUGIN gets the master (80 MB by default; --size-mb 0 writes its TES3
// record alone), DIR the three lexicon files. The same seed gives the same
// bytes on every machine. With --mod-of, PLUGIN gets a mod of MASTER, a
// file beside it.
#include <cstdlib>
#include <iostream>
#include <string>

#include "dataset.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "plugin/little_endian.h"

int main(int argc, char** argv) {
  using namespace quillaret;
  using namespace quillaret::bench;
  double size_mb = 80;
  uint64_t seed = 1;
  std::string lexicons, plugin, mod_of;
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
    } else if (arg == "--mod-of" && value) {
      mod_of = argv[++i];
    } else {
      usage = arg.starts_with("-") || !plugin.empty();
      plugin = arg;
    }
  }
  if (usage || size_mb < 0 || (plugin.empty() && lexicons.empty()) ||
      (!mod_of.empty() && plugin.empty())) {
    std::cerr << "usage: quillaret_make_dataset [--size-mb N] [--seed N] [--lexicons DIR] [PLUGIN]\n"
                 "       quillaret_make_dataset --mod-of MASTER PLUGIN\n";
    return 2;
  }
  if (!mod_of.empty()) {
    std::string master;
    const std::string mod = platform::read_file(mod_of, &master)
                                ? make_mod(master, std::string(platform::file_name(mod_of)))
                                : std::string();
    if (mod.empty()) std::cerr << "cannot read the master " << mod_of << "\n";
    return !mod.empty() && write_file(plugin, mod) ? 0 : 1;
  }
  const Vocabulary vocabulary = make_vocabulary(seed);
  if (!lexicons.empty() && !write_lexicons(vocabulary, lexicons)) return 1;
  if (plugin.empty()) return 0;
  const std::string master = make_master(vocabulary, size_mb, seed);
  if (!write_file(plugin, master)) return 1;
  // Its records and subrecords, and among them what the translator works on.
  uint64_t records = 0, subrecords = 0, responses = 0, scripts = 0, blx = 0, cells = 0, doors = 0;
  for (size_t start = 0, end = 0; start < master.size(); start = end) {
    const std::string_view tag(&master[start], 4);
    end = start + 16 + read_u32(&master[start + 4]);
    ++records;
    responses += tag == "INFO";
    scripts += tag == "SCPT";
    cells += tag == "CELL";
    for (size_t at = start + 16; at < end; at += 8 + read_u32(&master[at + 4])) {
      const std::string_view sub(&master[at], 4);
      ++subrecords;
      scripts += tag == "INFO" && sub == "BNAM";  // a result script
      doors += tag == "CELL" && sub == "DNAM";
      blx += sub == "SCVR" && master.compare(at + 9, 3, "BLX") == 0;
    }
  }
  std::cout << plugin << ": " << master.size() << " bytes, " << records << " records + "
            << subrecords << " subrecords = " << records + subrecords << " nodes; " << responses
            << " responses, " << scripts << " scripts, " << blx << " BLX conditions, " << cells
            << " cells, " << doors << " doors\n";
  return 0;
}
