// What a run tells the user: one summary line per lexicon, and the report
// file, which lists every conflict, skipped pair and unpaired record with
// the English records (kind and ID) involved. Lines end in CRLF in the file
// and in LF on the console.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "lexicon_builder/choices.h"
#include "lexicon_builder/lexicon_update.h"
#include "lexicon_builder/pairing.h"
#include "lexicon_builder/plugin_texts.h"

namespace quillaret::lexicon_builder {

struct LexiconOutcome {
  std::string_view file_name;  // lexique_enfr_name.txt
  const LexiconChoices* choices = nullptr;
  const LexiconUpdate* update = nullptr;
};

// "<file name>: 3 added, 1 kept, 1 conflicting, 0 skipped", without a line
// end. Conflicting: sources whose French texts disagree, among the records
// or with the lexicon; skipped: pairs set aside.
std::string summary_line(const LexiconOutcome& outcome);

// A record as the report names it: `WEAP "iron dagger"`, `CELL "Seyda Neen" (-2, -9)`,
// `INFO "1234" in "latest rumors"`.
std::string describe_record(const PluginTexts& texts, uint32_t record);

struct ReportInput {
  std::string_view english_path, french_path;
  const PluginTexts* english = nullptr;
  const Pairing* pairing = nullptr;
  std::array<LexiconOutcome, kLexiconCount> lexicons;
};

std::string format_report(const ReportInput& input);

}  // namespace quillaret::lexicon_builder
