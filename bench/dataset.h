// The benchmark data set: a large master built like a real one and the
// three lexicons at full size, generated from a seed so that every run and
// every machine gets the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillaret::bench {

// splitmix64. The standard library's distributions are not specified
// bit for bit, so the data set draws only from this.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t next();
  uint32_t below(uint32_t bound);                 // [0, bound)
  uint32_t between(uint32_t low, uint32_t high);  // [low, high]
  bool percent(uint32_t chance) { return below(100) < chance; }
  template <class T>
  const T& pick(const std::vector<T>& items) {
    return items[below(static_cast<uint32_t>(items.size()))];
  }

 private:
  uint64_t state_;
};

struct Entry {
  std::string source;  // English
  std::string target;  // French, Windows-1252
};

struct LexiconSizes {
  size_t topics = 8191;
  size_t factions = 8191;
  size_t names = 32767;
};

// Every English/French pair of the data set, and the English names sorted by
// what they name so that the master can use each where it belongs.
struct Vocabulary {
  std::vector<Entry> topics;
  std::vector<Entry> factions;  // faction names and rank titles
  std::vector<Entry> names;

  std::vector<std::string> topic_words;  // topics as they occur in prose
  std::vector<std::string> faction_names, ranks;
  std::vector<std::string> items, people, towns, places, regions, creatures, spells, classes, races,
      signs;
};

Vocabulary make_vocabulary(uint64_t seed, const LexiconSizes& sizes = {});

// A copy whose name lexicon keeps `count` of its entries, evenly spread.
Vocabulary with_names(const Vocabulary& vocabulary, size_t count);

// The lexicon files' bytes: the topic file with Windows line ends, the
// others with Unix ones.
struct LexiconFiles {
  std::string topics, factions, names;
};
LexiconFiles lexicon_files(const Vocabulary& vocabulary);

struct MasterOptions {
  double size_mb = 80;  // the contents scale with it; the default gives > 80 MB
  uint64_t seed = 1;
  bool header_only = false;  // just the TES3 record
};

struct MasterStats {
  uint64_t bytes = 0;
  uint64_t records = 0;  // top level
  uint64_t subrecords = 0;
  uint64_t responses = 0;  // INFO NAME
  uint64_t scripts = 0;    // SCPT SCTX and INFO BNAM
  uint64_t blx_conditions = 0;
  uint64_t named_objects = 0;  // records whose names the translator looks up
  uint64_t cells = 0;
  uint64_t doors = 0;  // door references with a destination cell
};

std::string make_master(const Vocabulary& vocabulary, const MasterOptions& options,
                        MasterStats* stats = nullptr);

// A plug-in of `count` INFO records under their DIAL topics, as in the
// master: for the response and script microbenchmarks.
std::string make_dialogue(const Vocabulary& vocabulary, size_t count, uint64_t seed);

// A plug-in of `count` SCPT records.
std::string make_scripts(const Vocabulary& vocabulary, size_t count, uint64_t seed);

}  // namespace quillaret::bench
