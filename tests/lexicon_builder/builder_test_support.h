// Running quillaret-lexicon in process, and reading back what it wrote.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon/lexicon.h"
#include "lexicon_builder/driver.h"
#include "support/run_program.h"
#include "support/string_console.h"
#include "support/temp_dir.h"

namespace quillaret::testing {

// Whatever happens, the program waits once for a character.
inline RunResult build_lexicons(const std::vector<std::string>& args) {
  StringConsole console;
  const int status = run_lexicon_builder(args, console);
  EXPECT_EQ(console.waits, 1);
  return {status, console.output};
}

// The three lexicons of `folder`, as the translator loads them.
inline Lexicons load_lexicons(const std::string& folder) {
  Lexicons lexicons;
  for (const LexiconFile& file : kLexiconFiles) {
    lexicons.*file.lexicon = Lexicon(read_file(folder + "/lexique_enfr" + file.suffix), file.phrases);
  }
  return lexicons;
}

}  // namespace quillaret::testing
