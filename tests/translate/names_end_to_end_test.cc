// Whole-name translation, the trace log and the payload size limits, seen
// from outside: the real program run on plug-ins built here.
#include "translate/translate_test_support.h"

namespace quillaret::testing {
namespace {
using namespace builder;
using namespace std::string_literals;

// Not zero, so that a record rewritten with a new size must still carry them.
const std::string kFlags = "\x01\x02\x03\x04\x05\x06\x07\x08";

std::vector<Expectation> whole_name_cases() {
  std::vector<Expectation> cases;
  // Only FNAM is a name in these kinds; their NAME and DATA are identifiers.
  for (const char* kind : {"ARMO", "BSGN", "CLAS", "CLOT", "CONT", "CREA", "DOOR", "INGR", "LIGH",
                           "MISC", "RACE", "REGN", "SPEL", "WEAP"}) {
    const auto named = [&](const char* fnam) {
      return record(kind, {name("NAME", "Iron"), name("FNAM", fnam), sub("DATA", "Iron")}, kFlags);
    };
    const std::string unknown = record(kind, {name("FNAM", "Unknown Thing")});
    cases.push_back({named("Iron Dagger") + unknown, named("Dague de fer") + unknown,
                     kind + "\n"s + kind + "\n  Unknown Thing\n"});
  }
  for (const char* kind :
       {"ACTI", "BOOK", "GMST", "SKIL", "MGEF", "LOCK", "PROB", "REPA", "ALCH", "STAT", "TES3"}) {
    const std::string same = record(kind, {name("NAME", "Iron"), name("FNAM", "Iron Dagger")});
    cases.push_back({same, same, ""});
  }
  const std::string apprentice = "Apprentice" + std::string(22, '\0');  // a padded rank
  const std::vector<Expectation> listed = {
      {record("NPC_", {name("NAME", "Iron"), name("FNAM", "Fargoth"), name("DNAM", "Iron"),
                       name("RNAM", "Iron"), name("ANAM", "Nobody")}) +
           record("NPC_", {name("FNAM", "Nobody"), name("DNAM", "Nowhere")}),
       record("NPC_", {name("NAME", "Iron"), name("FNAM", "Fargoth le fou"), name("DNAM", "Fer"),
                       name("RNAM", "Iron"), name("ANAM", "Nobody")}) +
           record("NPC_", {name("FNAM", "Nobody"), name("DNAM", "Nowhere")}),
       "NPC_\nNPC_\n  Nobody\n  Nowhere\n"},
      {record("PGRD", {sub("DATA", "Iron"), name("NAME", "Vivec City"), name("NAME", "Lost")}),
       record("PGRD", {sub("DATA", "Iron"), name("NAME", "Cite de Vivec"), name("NAME", "Lost")}),
       "PGRD\n  Lost\n"},
      // A cell's first NAME and every DNAM; the next cell starts afresh.
      {record("CELL", {name("NAME", "Vivec City"), sub("DATA", "Iron"), name("NAME", "Iron"),
                       name("DNAM", "Iron"), name("DNAM", "Nowhere"), name("RGNN", "Iron")}) +
           record("CELL", {name("NAME", "Iron"), name("NAME", "Elsewhere")}),
       record("CELL", {name("NAME", "Cite de Vivec"), sub("DATA", "Iron"), name("NAME", "Iron"),
                       name("DNAM", "Fer"), name("DNAM", "Nowhere"), name("RGNN", "Iron")}) +
           record("CELL", {name("NAME", "Fer"), name("NAME", "Elsewhere")}),
       "CELL\n  Nowhere\nCELL\n"},
      {record("CELL", {name("DNAM", "Iron"), name("NAME", "Iron")}),
       record("CELL", {name("DNAM", "Fer"), name("NAME", "Iron")}), "CELL\n"},
      // Factions read their own lexicon only, and no one else reads it.
      {record("FACT", {name("NAME", "Iron"), name("FNAM", "Fighters Guild"),
                       sub("RNAM", apprentice), name("RNAM", "Journeyman"), name("ANAM", "Iron")}) +
           record("WEAP", {name("FNAM", "Apprentice")}),
       record("FACT",
              {name("NAME", "Iron"), name("FNAM", "Guilde des guerriers"), name("RNAM", "Apprenti"),
               name("RNAM", "Journeyman"), name("ANAM", "Iron")}) +
           record("WEAP", {name("FNAM", "Apprentice")}),
       "FACT\n  Journeyman\nWEAP\n  Apprentice\n"},
      // Topics first and silently, then names with logging.
      {record("DIAL", {sub("DATA", "\0"s), name("NAME", "Old Bridge")}) +
           record("DIAL", {name("NAME", "Iron Dagger")}) +
           record("DIAL", {name("NAME", "Duplicate")}) + record("DIAL", {name("NAME", "Mystery")}),
       record("DIAL", {sub("DATA", "\0"s), name("NAME", "Vieux Pont")}) +
           record("DIAL", {name("NAME", "Dague de fer")}) +
           record("DIAL", {name("NAME", "Sujet")}) + record("DIAL", {name("NAME", "Mystery")}),
       "DIAL\nDIAL\nDIAL\nDIAL\n  Mystery\n"},
      {record("INFO", {name("INAM", "Iron"), name("ANAM", "Fargoth")}) +
           record("INFO", {name("ANAM", "Stranger")}),
       record("INFO", {name("INAM", "Iron"), name("ANAM", "Fargoth le fou")}) +
           record("INFO", {name("ANAM", "Stranger")}),
       "INFO\nINFO\n  Stranger\n"},
      // A handled record is logged even when it holds nothing to translate.
      {record("MISC", {}) + record("BOOK", {}), record("MISC", {}) + record("BOOK", {}), "MISC\n"},
      // Sizes 0 and 1 are never looked up, not even against the empty source;
      // a longer payload whose text is empty is.
      {record("WEAP", {sub("FNAM", "\0"s), sub("FNAM", ""), sub("FNAM", "\0xy"s)}),
       record("WEAP", {sub("FNAM", "\0"s), sub("FNAM", ""), name("FNAM", "Vide")}), "WEAP\n"},
      // Exact bytes up to the first NUL, whether or not one is stored.
      {record("WEAP", {name("FNAM", "iron dagger"), name("FNAM", "Iron Dagger "),
                       name("FNAM", "Iron Dagge"), sub("FNAM", "Iron Dagger"),
                       sub("FNAM", "Iron Dagger\0junk"s)}),
       record("WEAP", {name("FNAM", "iron dagger"), name("FNAM", "Iron Dagger "),
                       name("FNAM", "Iron Dagge"), name("FNAM", "Dague de fer"),
                       name("FNAM", "Dague de fer")}),
       "WEAP\n  iron dagger\n  Iron Dagger \n  Iron Dagge\n"},
  };
  cases.insert(cases.end(), listed.begin(), listed.end());
  return cases;
}

TEST(WholeNames, TranslateHandledKindsAndLogWhatIsMissing) {
  expect_runs(standard_installation(), whole_name_cases());
}

// Payloads of 32,768 bytes fail the pass, but only where a handler reads them.
std::vector<Expectation> size_limit_cases() {
  const std::string big(32768, 'a'), name_32767 = std::string(32766, 'a') + '\0';
  const std::string name_32768 = std::string(32767, 'a') + '\0';
  const std::string response = "Iron " + std::string(32762, 'x');
  std::string script, rewritten;  // 32,767 bytes that grow well past the limit
  for (int i = 0; i < 2978; ++i) script += "\"Iron Key\" ", rewritten += "\"Clef de fer\" ";
  script += "zzzzzzzzz", rewritten += "zzzzzzzzz";
  const std::string condition = "0BLX\x04" + std::string(32762, 'n');
  const auto same = [](const std::string& s, const std::string& log) {
    return Expectation{s, s, log};
  };
  const auto fails = [](const std::string& s, const std::string& log, const std::string& lines) {
    return Expectation{s, std::nullopt, log, lines};
  };
  EXPECT_EQ(script.size(), 32767u);
  return {
      same(record("WEAP", {sub("FNAM", name_32767)}), "WEAP\n  " + std::string(32766, 'a') + "\n"),
      fails(record("WEAP", {sub("FNAM", name_32768)}), "WEAP\n", "Bad record size!\n"),
      same(record("ACTI", {sub("FNAM", name_32768)}), ""),
      same(record("WEAP", {sub("DATA", big)}), "WEAP\n"),
      {record("CELL", {name("NAME", "Iron"), sub("NAME", big)}),
       record("CELL", {name("NAME", "Fer"), sub("NAME", big)}), "CELL\n"},
      fails(record("DIAL", {sub("NAME", big)}), "DIAL\n", "Bad record size!\n"),
      fails(record("INFO", {sub("ANAM", big)}), "INFO\n", "Bad record size!\n"),
      {record("INFO", {sub("NAME", response)}), record("INFO", {sub("NAME", response)}), "INFO\n",
       "string too long!\n"},
      fails(record("INFO", {sub("NAME", big)}), "INFO\n",
            "Bad INFO NAME/BNAM record size! 32768\n"),
      fails(record("INFO", {sub("BNAM", big)}), "INFO\n",
            "Bad INFO NAME/BNAM record size! 32768\n"),
      {record("SCPT", {sub("SCTX", script)}), record("SCPT", {sub("SCTX", rewritten)}), "SCPT\n"},
      fails(record("SCPT", {sub("SCTX", big)}), "SCPT\n", "Bad SCPT SCTX record size! 32768\n"),
      same(record("INFO", {sub("SCVR", condition)}), "INFO\n"),
      fails(record("INFO", {sub("SCVR", "0xyz" + big.substr(4))}), "INFO\n", "Bad record size!\n"),
  };
}

TEST(PayloadLimits, RefuseOnly32768BytesOrMoreInHandledSubrecords) {
  expect_runs(standard_installation(), size_limit_cases());
}

}  // namespace
}  // namespace quillaret::testing
