// Writes the benchmark data set:
//
//   quillaret_make_dataset [--size-mb N] [--seed N] [--header-only]
//                          [--lexicons DIR] [PLUGIN]
//
// PLUGIN gets the master (80 MB by default; --header-only writes just its
// TES3 record). --lexicons DIR writes lexique_enfr_dial.txt,
// lexique_enfr_fact.txt and lexique_enfr_name.txt into DIR. The same seed
// gives the same bytes on every machine.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dataset.h"

namespace {

bool write_file(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

int usage() {
  std::fprintf(stderr,
               "usage: quillaret_make_dataset [--size-mb N] [--seed N] [--header-only] "
               "[--lexicons DIR] [PLUGIN]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quillaret::bench;
  MasterOptions options;
  std::string lexicon_dir;
  std::string plugin;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--size-mb" && has_value) {
      options.size_mb = std::atof(argv[++i]);
      if (options.size_mb <= 0) return usage();
    } else if (arg == "--seed" && has_value) {
      options.seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--header-only") {
      options.header_only = true;
    } else if (arg == "--lexicons" && has_value) {
      lexicon_dir = argv[++i];
    } else if (arg.starts_with("-") || !plugin.empty()) {
      return usage();
    } else {
      plugin = arg;
    }
  }
  if (plugin.empty() && lexicon_dir.empty()) return usage();

  const Vocabulary vocabulary = make_vocabulary(options.seed);
  if (!lexicon_dir.empty()) {
    const LexiconFiles files = lexicon_files(vocabulary);
    const std::string prefix = lexicon_dir + "/lexique_enfr";
    if (!write_file(prefix + "_dial.txt", files.topics) ||
        !write_file(prefix + "_fact.txt", files.factions) ||
        !write_file(prefix + "_name.txt", files.names)) {
      std::fprintf(stderr, "cannot write the lexicons into %s\n", lexicon_dir.c_str());
      return 1;
    }
    std::printf(
        "lexicons: %zu topics (%zu bytes), %zu faction texts (%zu bytes), "
        "%zu names (%zu bytes)\n",
        vocabulary.topics.size(), files.topics.size(), vocabulary.factions.size(),
        files.factions.size(), vocabulary.names.size(), files.names.size());
  }
  if (!plugin.empty()) {
    MasterStats stats;
    const std::string master = make_master(vocabulary, options, &stats);
    if (!write_file(plugin, master)) {
      std::fprintf(stderr, "cannot write %s\n", plugin.c_str());
      return 1;
    }
    std::printf(
        "%s: %llu bytes, %llu records + %llu subrecords = %llu nodes; "
        "%llu responses, %llu scripts, %llu BLX conditions, %llu named objects, "
        "%llu cells, %llu doors\n",
        plugin.c_str(), static_cast<unsigned long long>(stats.bytes),
        static_cast<unsigned long long>(stats.records),
        static_cast<unsigned long long>(stats.subrecords),
        static_cast<unsigned long long>(stats.records + stats.subrecords),
        static_cast<unsigned long long>(stats.responses),
        static_cast<unsigned long long>(stats.scripts),
        static_cast<unsigned long long>(stats.blx_conditions),
        static_cast<unsigned long long>(stats.named_objects),
        static_cast<unsigned long long>(stats.cells), static_cast<unsigned long long>(stats.doors));
  }
  return 0;
}
