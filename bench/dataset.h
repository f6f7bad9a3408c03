// The benchmark data set: a master built like a real one and the three
// lexicons at full size, drawn from a seed: the same bytes on every machine.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillaret::bench {

// splitmix64. The standard distributions differ from library to library,
// so the data set draws only from this, one draw per expression outside
// braced lists: the order of a call's arguments differs between compilers.
struct Random {
  uint64_t state;
  uint64_t next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t below(uint32_t bound) { return static_cast<uint32_t>(next() % bound); }  // [0, bound)
  bool percent(uint32_t chance) { return below(100) < chance; }
  template <class T>
  const T& pick(const std::vector<T>& items) {
    return items[below(static_cast<uint32_t>(items.size()))];
  }
};

// The pieces of `text` between separators.
std::vector<std::string_view> split(std::string_view text, char separator);

using Pairs = std::vector<std::pair<std::string, std::string>>;  // English, French

// The lexicons' pairs (8,191 topics, 8,191 faction names and ranks, 32,767
// names; French in Windows-1252) and their English sides by kind: 't'
// topics, 'f' faction texts, 'j' ranks, 'n' names, 'l' names of cells.
struct Vocabulary {
  Pairs topics, factions, names;
  std::map<char, std::vector<std::string>> kinds;
};
Vocabulary make_vocabulary(uint64_t seed);

// The bytes of the topic (CRLF line ends), faction and name (LF) files.
std::array<std::string, 3> lexicon_files(const Vocabulary& vocabulary);

// Writes `bytes` to `path`, or says on stderr that it cannot.
bool write_file(const std::string& path, const std::string& bytes);

// Writes the three lexicon files into the directory `dir`.
bool write_lexicons(const Vocabulary& vocabulary, const std::string& dir);

// The master: about `size_mb` MB, every count scaled from those of 80 MB
// (0: the TES3 record alone); about 8% of its names are not in the lexicons.
std::string make_master(const Vocabulary& vocabulary, double size_mb, uint64_t seed);

// A plug-in of `master` (the bytes of the file named `master_name`) that
// edits its interior cells and adds responses to a tenth of its topics, one
// time in three under a name the master lacks; empty if it is unreadable.
std::string make_mod(std::string_view master, const std::string& master_name);

}  // namespace quillaret::bench
