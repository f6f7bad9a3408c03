// Helpers shared by the translation tests: running the installed program on
// one plug-in and checking all it leaves, and lexicons built in memory.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lexicon/lexicon.h"
#include "tools/plugin_builder.h"
#include "support/plugin_io.h"
#include "support/run_program.h"

namespace quillaret::testing {

using Pairs = std::vector<std::pair<std::string, std::string>>;

inline Lexicon make_lexicon(const Pairs& pairs) { return Lexicon(builder::lexicon_file(pairs)); }

inline std::string sub(std::string_view tag, std::string_view payload) {
  return builder::subrecord(tag, payload);
}
// A name as the file stores it: the text and a NUL.
inline std::string name(std::string_view tag, std::string_view text) {
  return builder::subrecord(tag, builder::zstring(text));
}

// Most end-to-end cases use these. Topics and names overlap on purpose
// (Duplicate; Vivec in Vivec City; Great, which a failed topic Great Hall
// must not hide among the names); the names hold an empty source, an
// empty target and a target equal to its source.
inline Installation standard_installation() {
  using builder::lexicon_file;
  return Installation(
      lexicon_file({{"Great Hall", "Grande Salle"}, {"Great", "Grand"},
                    {"Old Bridge", "Vieux Pont"}, {"Duplicate", "Sujet"}, {"Vivec", "VIVEC"}}),
      lexicon_file({{"Fighters Guild", "Guilde des guerriers"}, {"Apprentice", "Apprenti"}}),
      lexicon_file({{"Iron Key", "Clef de fer"}, {"Iron", "Fer"}, {"Iron Dagger", "Dague de fer"},
                    {"Vivec City", "Cite de Vivec"}, {"Duplicate", "Nom"}, {"Nothing", ""},
                    {"Same", "Same"}, {"", "Vide"}, {"Fargoth", "Fargoth le fou"},
                    {"Journeyman", "Compagnon"}, {"Tribunal Temple", "Temple"}, {"Great", "Gros"},
                    {"Long", std::string(300, 'L')}}));
}

// One run, the console showing the pass's `lines`. Without `output` the
// pass must fail and leave no output at all.
struct Expectation {
  std::string input;
  std::optional<std::string> output;
  std::string log;
  std::string lines = {};  // console lines of the pass
};

// Runs the cases in one installation, each under a name of its own: nothing
// an earlier run left may pass for a result.
inline void expect_runs(const std::vector<Expectation>& cases) {
  const Installation install = standard_installation();
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    const Expectation& e = cases[i];
    const std::string stem = "Case" + std::to_string(i);
    install.dir().write(stem + ".esp", e.input);
    const RunResult run = install.translate(stem + ".esp");
    EXPECT_EQ(run.status, e.output ? 0 : 1);
    EXPECT_EQ(run.output, "Welcome in Quillaret v1.01\n\nReading lexicons\nParsing Mod file\nTranslating\n" + e.lines +
                              (e.output ? "done!\nSaving file\nsaving...\ndone\n" : "Error translating file!\n"));
    EXPECT_EQ(install.dir().read(stem + "_fr.log"), e.log);
    if (e.output) {
      EXPECT_EQ(install.dir().read(stem + "_fr.esp"), *e.output);
    } else {
      const std::string files = listing(install.dir().path());
      EXPECT_EQ(files.find(stem + "_fr.esp"), std::string::npos) << files;
      EXPECT_EQ(files.find(".tmp"), std::string::npos) << files;
    }
  }
}

}  // namespace quillaret::testing
