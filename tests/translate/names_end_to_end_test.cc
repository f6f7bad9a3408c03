// Whole-name translation, the trace log and the payload size limits, seen
// from outside: the real program run on plug-ins built here.
#include "translate/translate_test_support.h"

namespace quillaret::testing {
namespace {
using namespace builder;
using namespace std::string_literals;

// A name subrecord before and after the run; without `after` it stays.
struct Field {
  std::string tag, before;
  std::optional<std::string> after = std::nullopt;
};
using Fields = std::vector<Field>;

// A run on records of names, each stored with its NUL. Their further
// header bytes are not zero, so that a record rewritten with a new size
// must still carry them.
Expectation named(const std::vector<std::pair<std::string, Fields>>& records, const std::string& log) {
  Expectation e{"", "", log};
  for (const auto& [kind, fields] : records) {
    std::vector<std::string> before, after;
    for (const Field& f : fields) {
      before.push_back(name(f.tag, f.before));
      after.push_back(name(f.tag, f.after.value_or(f.before)));
    }
    e.input += record(kind, before, "\1\2\3\4\5\6\7\x08");
    *e.output += record(kind, after, "\1\2\3\4\5\6\7\x08");
  }
  return e;
}

TEST(WholeNames, TranslateHandledKindsAndLogWhatIsMissing) {
  std::vector<Expectation> cases;
  // Only FNAM is a name in these kinds; their NAME and DATA are identifiers.
  for (const char* kind : {"ARMO", "BSGN", "CLAS", "CLOT", "CONT", "CREA", "DOOR", "INGR", "LIGH",
                           "MISC", "RACE", "REGN", "SPEL", "WEAP"}) {
    cases.push_back(named({{kind, {{"NAME", "Iron"}, {"FNAM", "Iron Dagger", "Dague de fer"}, {"DATA", "Iron"}}},
                           {kind, {{"FNAM", "Unknown Thing"}}}},
                          kind + "\n"s + kind + "\n  Unknown Thing\n"));
  }
  for (const char* kind :
       {"ACTI", "BOOK", "GMST", "SKIL", "MGEF", "LOCK", "PROB", "REPA", "ALCH", "STAT", "TES3"}) {
    cases.push_back(named({{kind, {{"NAME", "Iron"}, {"FNAM", "Iron Dagger"}}}}, ""));
  }
  const std::string apprentice = "Apprentice" + std::string(21, '\0');  // a padded rank
  cases.insert(cases.end(), {
      named({{"NPC_", {{"NAME", "Iron"}, {"FNAM", "Fargoth", "Fargoth le fou"}, {"DNAM", "Iron", "Fer"},
                       {"RNAM", "Iron"}, {"ANAM", "Nobody"}}},
             {"NPC_", {{"FNAM", "Nobody"}, {"DNAM", "Nowhere"}}}},
            "NPC_\nNPC_\n  Nobody\n  Nowhere\n"),
      named({{"PGRD", {{"DATA", "Iron"}, {"NAME", "Vivec City", "Cite de Vivec"}, {"NAME", "Lost"}}}},
            "PGRD\n  Lost\n"),
      // A cell's first NAME and every DNAM; the next cell starts afresh.
      named({{"CELL", {{"NAME", "Vivec City", "Cite de Vivec"}, {"DATA", "Iron"}, {"NAME", "Iron"},
                       {"DNAM", "Iron", "Fer"}, {"DNAM", "Nowhere"}, {"RGNN", "Iron"}}},
             {"CELL", {{"NAME", "Iron", "Fer"}, {"NAME", "Elsewhere"}}}},
            "CELL\n  Nowhere\nCELL\n"),
      // Factions read their own lexicon only, and no one else reads it.
      named({{"FACT", {{"NAME", "Iron"}, {"FNAM", "Fighters Guild", "Guilde des guerriers"},
                       {"RNAM", apprentice, "Apprenti"}, {"RNAM", "Journeyman"}, {"ANAM", "Iron"}}},
             {"WEAP", {{"FNAM", "Apprentice"}}}},
            "FACT\n  Journeyman\nWEAP\n  Apprentice\n"),
      // Topics first and silently, then names with logging.
      named({{"DIAL", {{"DATA", ""}, {"NAME", "Old Bridge", "Vieux Pont"}}},
             {"DIAL", {{"NAME", "Iron Dagger", "Dague de fer"}}},
             {"DIAL", {{"NAME", "Duplicate", "Sujet"}}}, {"DIAL", {{"NAME", "Mystery"}}}},
            "DIAL\nDIAL\nDIAL\nDIAL\n  Mystery\n"),
      named({{"INFO", {{"INAM", "Iron"}, {"ANAM", "Fargoth", "Fargoth le fou"}}},
             {"INFO", {{"ANAM", "Stranger"}}}},
            "INFO\nINFO\n  Stranger\n"),
      // A handled record is logged even when it holds nothing to translate.
      named({{"MISC", {}}, {"BOOK", {}}}, "MISC\n"),
      // Sizes 0 and 1 are never looked up, not even against the empty source;
      // a longer payload whose text is empty is.
      {record("WEAP", {sub("FNAM", "\0"s), sub("FNAM", ""), sub("FNAM", "\0xy"s)}),
       record("WEAP", {sub("FNAM", "\0"s), sub("FNAM", ""), name("FNAM", "Vide")}), "WEAP\n"},
      // Exact bytes up to the first NUL, whether or not one is stored.
      {record("WEAP", {name("FNAM", "iron dagger"), sub("FNAM", "Iron Dagger"),
                       sub("FNAM", "Iron Dagger\0junk"s)}),
       record("WEAP", {name("FNAM", "iron dagger"), name("FNAM", "Dague de fer"),
                       name("FNAM", "Dague de fer")}),
       "WEAP\n  iron dagger\n"},
  });
  expect_runs(cases);
}

// Payloads of 32,768 bytes fail the pass, but only where a handler reads them.
TEST(PayloadLimits, RefuseOnly32768BytesOrMoreInHandledSubrecords) {
  const std::string big(32768, 'a'), name_32767 = std::string(32766, 'a') + '\0';
  const std::string name_32768 = std::string(32767, 'a') + '\0';
  std::string script, rewritten;  // 32,767 bytes that grow well past the limit
  for (int i = 0; i < 2978; ++i) script += "\"Iron Key\" ", rewritten += "\"Clef de fer\" ";
  script += "zzzzzzzzz", rewritten += "zzzzzzzzz";
  const std::string condition = "0BLX\x04" + std::string(32762, 'n');
  EXPECT_EQ(script.size(), 32767u);
  expect_runs({
      {record("WEAP", {sub("FNAM", name_32767)}), record("WEAP", {sub("FNAM", name_32767)}),
       "WEAP\n  " + std::string(32766, 'a') + "\n"},
      {record("WEAP", {sub("FNAM", name_32768)}), std::nullopt, "WEAP\n", "Bad record size!\n"},
      {record("WEAP", {sub("DATA", big)}), record("WEAP", {sub("DATA", big)}), "WEAP\n"},
      {record("CELL", {name("NAME", "Iron"), sub("NAME", big)}),
       record("CELL", {name("NAME", "Fer"), sub("NAME", big)}), "CELL\n"},
      {record("INFO", {sub("NAME", big)}), std::nullopt, "INFO\n", "Bad INFO NAME/BNAM record size! 32768\n"},
      {record("INFO", {sub("BNAM", big)}), std::nullopt, "INFO\n", "Bad INFO NAME/BNAM record size! 32768\n"},
      {record("SCPT", {sub("SCTX", script)}), record("SCPT", {sub("SCTX", rewritten)}), "SCPT\n"},
      {record("SCPT", {sub("SCTX", big)}), std::nullopt, "SCPT\n", "Bad SCPT SCTX record size! 32768\n"},
      {record("INFO", {sub("SCVR", condition)}), record("INFO", {sub("SCVR", condition)}), "INFO\n"},
      {record("INFO", {sub("SCVR", "0xyz" + big.substr(4))}), std::nullopt, "INFO\n", "Bad record size!\n"},
  });
}

}  // namespace
}  // namespace quillaret::testing
