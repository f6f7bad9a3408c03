// What the fuzz targets start from: the fixed lexicons of the pipeline
// target and the plug-ins and lexicons of the seed corpora.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Stops the fuzzer with the failed condition's place: a finding.
#define FUZZ_CHECK(condition)                                                             \
  do {                                                                                    \
    if (!(condition)) {                                                                   \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)

namespace quillaret::fuzzing {

struct LexiconFiles {
  std::string topics;
  std::string factions;
  std::string names;
};

// A small lexicon set rich in what makes lookups hard: phrases that share a
// prefix, a topic that is also a name, AddTopic topics, BLX condition names,
// empty targets, an empty source, duplicate sources and a target of more
// than 255 bytes.
const LexiconFiles& pipeline_lexicons();

// Plug-ins that exercise every handled record kind with texts that those
// lexicons translate, and the damaged shapes the reader must survive.
std::vector<std::string> seed_plugins();

// Lexicon files: well-formed, odd, and damaged.
std::vector<std::string> seed_lexicons();

}  // namespace quillaret::fuzzing
