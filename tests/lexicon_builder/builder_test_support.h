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
#include "tools/plugin_builder.h"

namespace quillaret::testing {

// A name subrecord: the text and its NUL.
inline std::string z(const char* tag, std::string_view text) { return builder::subrecord(tag, builder::zstring(text)); }

// Whatever happens, the program waits once for a character.
inline RunResult build_lexicons(const std::vector<std::string>& args) {
  StringConsole console;
  const int status = run_lexicon_builder(args, console);
  EXPECT_EQ(console.waits, 1);
  return {status, console.output};
}

// Builds lexicons into `out` (a folder in `dir`) from en.esp and fr.esp,
// written into `dir` first.
inline RunResult build_from(const TempDir& dir, std::string_view english, std::string_view french,
                            std::string_view out = "") {
  dir.write("en.esp", english);
  dir.write("fr.esp", french);
  return build_lexicons({"quillaret-lexicon", dir.file("en.esp"), dir.file("fr.esp"), dir.file(out)});
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
