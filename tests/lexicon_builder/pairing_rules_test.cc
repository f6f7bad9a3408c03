// The pairing rules on hand-made plug-ins: the lexicons' exact bytes and
// the report's lines.
#include <gtest/gtest.h>

#include <numeric>

#include "lexicon_builder/builder_test_support.h"

namespace quillaret::testing {
namespace {

using namespace builder;
using Records = std::vector<std::string>;

// A cell whose references are given as number, object, and for a door its destination.
std::string cell(const std::string& name, std::vector<Records> refs, int x = 0, int y = 0,
                 bool interior = true) {
  Records subrecords = {z("NAME", name), subrecord("DATA", u32(interior) + u32(x) + u32(y))};
  for (const Records& r : refs) {
    subrecords.insert(subrecords.end(), {subrecord("FRMR", r[0]), z("NAME", r[1])});
    if (r.size() > 2) subrecords.push_back(z("DNAM", r[2]));
  }
  return record("CELL", subrecords);
}
std::string pgrd(const std::string& name, int x = 0, int y = 0) {
  return record("PGRD", {z("NAME", name), subrecord("DATA", u32(x) + u32(y) + u32(0))});
}

struct Case {
  const char* name;
  Records english, french;
  std::vector<std::pair<std::string, std::string>> topics, names;
  std::vector<std::string> report;  // lines the report holds
};

TEST(LexiconPairing, EachRule) {
  const std::vector<Case> cases = {
      // Two empty names (n) are no pair, and no skip either.
      {"by kind and ID (any case, then rank); the most frequent French text that translates; skips",
       {named("WEAP", "Dagger_A", "Iron Dagger"), named("BOOK", "key", "Key Book"),
        named("MISC", "key", "Iron Key"), named("ACTI", "sign", "Sign"), named("WEAP", "dup", "First"),
        named("WEAP", "dup", "Second"), named("MISC", "g1", "Gold"), named("MISC", "g2", "Gold"),
        named("MISC", "g3", "Gold"), named("MISC", "r1", "Rope"), named("MISC", "r2", "Rope"),
        named("MISC", "k1", "Key"), named("MISC", "k2", "Key"), named("MISC", "k3", "Key"),
        named("MISC", "q", "Say \"hi\""), named("MISC", "e", "Empty"), named("MISC", "n", "")},
       {named("MISC", "KEY", "Clef de fer"), named("WEAP", "dup", "Premier"),
        named("ACTI", "sign", "Enseigne"), named("WEAP", "dagger_a", "Dague"),
        named("WEAP", "dup", "Deuxieme"), named("MISC", "g1", "Gold"), named("MISC", "g2", "Gold"),
        named("MISC", "g3", "Or"), named("MISC", "r1", "Corde"), named("MISC", "r2", "Cordage"),
        named("MISC", "k1", "Clef"), named("MISC", "k2", "Cle"), named("MISC", "k3", "Cle"),
        named("MISC", "q", "Dis"), named("MISC", "e", ""), named("MISC", "n", "")},
       {},
       {{"Iron Dagger", "Dague"}, {"Iron Key", "Clef de fer"}, {"Sign", "Enseigne"}, {"First", "Premier"},
        {"Second", "Deuxieme"}, {"Gold", "Or"}, {"Rope", "Corde"}, {"Key", "Cle"}},
       {"lexique_enfr_name.txt: 8 added, 0 kept, 3 conflicting, 2 skipped",
        "  \"Gold\": wrote \"Or\" (1 record)", "    also \"Gold\": MISC \"g1\", MISC \"g2\"",
        "    also \"Cordage\": MISC \"r2\"", "  \"Key\": wrote \"Cle\" (2 records)",
        "  \"Say \"hi\"\" / \"Dis\": a double quote, which a lexicon cannot hold", "    MISC \"q\"",
        "  \"Empty\" / \"\": the French text is empty"}},
      {"topics by their responses' votes, other dialogues left out; cell filters and BLX conditions",
       {topic("latest rumors"), info({.id = "i1"}), info({.id = "i2"}), info({.id = "i3"}),
        topic("Greeting 0", kGreeting),
        info({.id = "i4", .after = {z("ANAM", "Balmora"), subrecord("SCVR", condition("0sX00", "var")),
                    subrecord("SCVR", condition("1BLX0", "Balmora, Guild"))}}),
        topic("Vivec"), topic("Lost"), info({.id = "i5"})},
       {topic("autre"), info({.id = "i3"}), topic("rumeurs"), info({.id = "i2"}), info({.id = "i1"}),
        topic("Salutation 0", kGreeting),
        info({.id = "i4", .after = {z("ANAM", "Balmora"), subrecord("SCVR", condition("0sX00", "var_fr")),
                    subrecord("SCVR", condition("1BLX0", "Balmora, Guilde"))}})},
       {{"latest rumors", "rumeurs"}},
       {{"Balmora", "Balmora"}, {"Balmora, Guild", "Balmora, Guilde"}},
       {"  \"latest rumors\": wrote \"rumeurs\" (2 records)",
        "    also \"autre\": INFO \"i3\" in \"latest rumors\"",
        "  DIAL \"Vivec\": a topic without responses, through which topics pair",
        "  DIAL \"Lost\": none of its responses is in the French file"}},
      // References are (number, object[, door destination]); Den's rock, in
      // two French cells, tells nothing.
      {"exterior cells by grid, doors by reference; interior cells when certain; path grids",
       {cell("Balmora", {{u32(1), "door_a", "Guild"}, {u32(2), "door_b", "Caldera"}}, -3, -2, false),
        pgrd("Balmora", -3, -2), cell("Guild", {{u32(10), "chair"}, {u32(11), "table"}}), pgrd("Guild"),
        cell("Storage", {{u32(20), "crate"}, {u32(21), "crate"}}), cell("Empty Room", {}),
        cell("Lost Room", {{u32(30), "x"}}), cell("Hall A", {{u32(40), "x"}}),
        cell("Hall B", {{u32(41), "x"}}), cell("Den", {{u32(50), "x"}, {u32(51), "rock"}})},
       {pgrd("Balmora", -3, -2),
        cell("Balmora", {{u32(2), "DOOR_B", "Caldra"}, {u32(1), "door_a", "Guilde"}}, -3, -2, false),
        pgrd("Stock A"), cell("Stock A", {{u32(20), "crate"}}), cell("Stock B", {{u32(21), "crate"}}),
        cell("Guilde", {{u32(11), "TABLE"}, {u32(10), "chair"}}), pgrd("Guilde"),
        cell("Salle", {{u32(40), "x"}, {u32(41), "x"}}), cell("Grotte", {{u32(51), "rock"}}),
        cell("Antre", {{u32(51), "rock"}, {u32(50), "x"}})},
       {},
       {{"Balmora", "Balmora"}, {"Guild", "Guilde"}, {"Caldera", "Caldra"}, {"Den", "Antre"}},
       {"lexique_enfr_name.txt: 4 added, 0 kept, 0 conflicting, 0 skipped", "Unpaired cells and topics: 5",
        "  CELL \"Storage\": its references lie in several cells of the French file",
        "  CELL \"Empty Room\": holds no reference to pair it by",
        "  CELL \"Lost Room\": none of its references singles out a cell of the French file",
        "  CELL \"Hall B\": its French cell also holds references of other cells"}},
  };
  // Every case shares a record without texts: the two files are a pair.
  const std::string anchor = record("STAT", {z("NAME", "anchor")});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const RunResult run = build_from(dir, std::accumulate(c.english.begin(), c.english.end(), anchor),
                                     std::accumulate(c.french.begin(), c.french.end(), anchor));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(dir.read("lexique_enfr_dial.txt"), lexicon_file(c.topics, "\r\n"));
    EXPECT_EQ(dir.read("lexique_enfr_name.txt"), lexicon_file(c.names, "\r\n"));
    const std::string report = dir.read("lexique_enfr_report.txt");
    for (const std::string& line : c.report) EXPECT_NE(report.find(line + "\r\n"), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace quillaret::testing
