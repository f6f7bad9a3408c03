// Dialogue responses, script texts and condition names, seen from outside:
// the real program run on plug-ins built here.
#include "translate/translate_test_support.h"

namespace quillaret::testing {
namespace {
using namespace builder;
using namespace std::string_literals;

// One payload before and after; no `after` means the input's bytes stay.
struct Rewrite {
  std::string before;
  std::optional<std::string> after;
  std::string lines = {};
};
const std::nullopt_t kUnchanged = std::nullopt;

// Runs each payload in the subrecords `wrap` builds from it.
template <typename Wrap>
void expect_rewrites(const std::vector<Rewrite>& rows, const std::string& log, Wrap wrap) {
  std::vector<Expectation> cases;
  for (const Rewrite& row : rows) {
    cases.push_back({wrap(row.before), wrap(row.after.value_or(row.before)), log, row.lines});
  }
  expect_runs(cases);
}

TEST(Responses, SubstitutePhrasesAtWordStartsThatEndAtBoundaries) {
  const std::string x500(500, 'x'), x508(508, 'x'), x509(509, 'x');
  std::vector<Rewrite> rows = {
      {"Great, Great Hall.", "Grand, Grande Salle."},
      {"Great Halls", "Gros Halls"},  // the topics' 'Great Hall' fails; the names still match
      {"Duplicate", "Sujet"},        // topics before names
      {"Vivec City", "VIVEC City"},  // even a shorter topic before a longer name
      // Followed by a hyphen, a letter, a digit or a high byte; after a hyphen.
      {"Iron-clad Irons Iron2 Iron\xE9 Old-Iron", kUnchanged},
      {"Say Nothing.", "Say ."},
      {"Iron\0Iron Key"s, "Fer"},
      {"Iron " + x508, "Fer " + x508},
      {"Iron " + x509, kUnchanged, "string too long!\n"},
      {"Same " + x508, kUnchanged, "string too long!\n"},  // an identical target still counts
      {std::string(600, 'y'), kUnchanged},
      {"Tribunal Temple " + x500, "Temple " + x500},
  };
  for (char d : std::string(" .,;:!?'()\"\t\n\r")) {
    rows.push_back({"a"s + d + "Iron" + d + "b", "a"s + d + "Fer" + d + "b"});
  }
  expect_rewrites(rows, "INFO\n", [](const std::string& text) {
    return record("INFO", {name("INAM", "1"), sub("NAME", text)});
  });
}

// The scan itself is compared with a reference on random scripts in
// translate_property_test; these are the cases that one does not draw.
TEST(Scripts, RewriteAddTopicArgumentsAndQuotedNames) {
  const std::vector<Rewrite> rows = {
      {"AddTopic \"Old Bridge\"", "AddTopic \"Vieux Pont\""},
      {"ADDTOPIC \"Old Bridge\"", kUnchanged},
      {"AddItem \"Iron Key\" 1", "AddItem \"Clef de fer\" 1"},
      {"AddItem \"Nothing\" 1", "AddItem \"\" 1"},
      {"AddItem \"\" 1", kUnchanged},
      {"AddItem \"Iron\" 1\0AddItem \"Iron\""s, "AddItem \"Fer\" 1"},
      {"x\0AddItem \"Iron\""s, kUnchanged},
  };
  // Result scripts and script sources are rewritten alike.
  expect_rewrites(rows, "INFO\nSCPT\n", [](const std::string& text) {
    return record("INFO", {sub("BNAM", text)}) +
           record("SCPT", {sub("SCHD", "\"Iron\""), sub("SCTX", text)});
  });
}

TEST(Conditions, TranslateTheNamesOfBlxConditionsOnly) {
  const std::vector<Rewrite> rows = {
      {"\377BLX0Iron", "\377BLX0Fer", "SCVR: Iron\n"},  // byte 0 is free
      {"0BLx0Iron", kUnchanged},
      {"0ALX0Iron", kUnchanged},
      {"0BLX0Iron ", kUnchanged},
      {"0BLX0Iron\0xyz"s, "0BLX0Fer", "SCVR: Iron\n"},
      {"0BLX0", "0BLX0Vide", "SCVR: \n"},
      {"0BLX0Nothing", "0BLX0", "SCVR: Nothing\n"},
      {"0BLX0Long", "0BLX0" + std::string(300, 'L'), "SCVR: Long\n"},
      // Byte 4 is the comparison operator, whatever the lengths: a value that
      // happens to be a length stays too. The property test keeps every
      // operator of random conditions through names of other lengths.
      {"0BLX\x04" "Iron", "0BLX\x04" "Fer", "SCVR: Iron\n"},
      {"0BLX", kUnchanged},  // too short to hold the codes and the operator
  };
  expect_rewrites(rows, "INFO\n", [](const std::string& payload) {
    return record("INFO", {sub("SCVR", payload)});
  });
}

}  // namespace
}  // namespace quillaret::testing
