// Each pairing rule on a hand-made English plug-in and translation: the
// lexicons' exact bytes and the report's lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon_builder/builder_test_support.h"
#include "support/plugin_builder.h"

namespace quillaret::testing {
namespace {

using namespace builder;
using Pairs = std::vector<std::pair<std::string, std::string>>;
using Records = std::vector<std::string>;

std::string named(const char* tag, const char* id, const std::string& name, Records more = {}) {
  Records subrecords = {subrecord("NAME", zstring(id)), subrecord("FNAM", zstring(name))};
  subrecords.insert(subrecords.end(), more.begin(), more.end());
  return record(tag, subrecords);
}

std::string padded(std::string text) {
  text.resize(32, '\0');
  return text;
}

std::string dial(const char* name, char type = 0) {
  return record("DIAL", {subrecord("NAME", zstring(name)), subrecord("DATA", std::string(1, type))});
}

std::string info(const char* id, Records more = {}) {
  Records subrecords = {subrecord("INAM", zstring(id)), subrecord("NAME", "Hello.")};
  subrecords.insert(subrecords.end(), more.begin(), more.end());
  return record("INFO", subrecords);
}

// A reference: its number, object and, for a door, destination.
Records ref(uint32_t number, const char* object, const char* destination = nullptr) {
  Records subrecords = {subrecord("FRMR", u32(number)), subrecord("NAME", zstring(object))};
  if (destination != nullptr) subrecords.push_back(subrecord("DNAM", zstring(destination)));
  return subrecords;
}

std::string cell(const std::string& name, std::vector<Records> refs, bool interior = true, int x = 0,
                 int y = 0) {
  Records subrecords = {subrecord("NAME", zstring(name)),
                        subrecord("DATA", u32(interior ? 1 : 0) + u32(static_cast<uint32_t>(x)) +
                                              u32(static_cast<uint32_t>(y)))};
  for (const Records& r : refs) subrecords.insert(subrecords.end(), r.begin(), r.end());
  return record("CELL", subrecords);
}

std::string pgrd(const std::string& name, int x = 0, int y = 0) {
  return record("PGRD",
                {subrecord("NAME", zstring(name)),
                 subrecord("DATA", u32(static_cast<uint32_t>(x)) + u32(static_cast<uint32_t>(y)) + u32(0))});
}

struct Case {
  const char* name;
  Records english, french;
  Pairs topics, factions, names;
  std::vector<std::string> report;  // lines the report holds
};

const std::vector<Case>& cases() {
  static const std::vector<Case> all = {
      {"records pair by kind and ID, without regard to case, in any order",
       {named("WEAP", "Dagger_A", "Iron Dagger"), named("BOOK", "key", "Key Book"),
        named("MISC", "key", "Iron Key"), named("ACTI", "sign", "Sign"), named("WEAP", "dup", "First"),
        named("WEAP", "dup", "Second"), named("WEAP", "only_en", "Lonely")},
       {named("MISC", "KEY", "Clef de fer"), named("WEAP", "dup", "Premier"),
        named("ACTI", "sign", "Enseigne"), named("WEAP", "dagger_a", "Dague de fer"),
        named("WEAP", "dup", "Deuxieme")},
       {},
       {},
       {{"Iron Dagger", "Dague de fer"},
        {"Iron Key", "Clef de fer"},
        {"Sign", "Enseigne"},
        {"First", "Premier"},
        {"Second", "Deuxieme"}},
       {"lexique_enfr_name.txt: 5 added, 0 kept, 0 conflicting, 0 skipped"}},
      {"one French text per source: the most frequent that translates, the first on a tie",
       {named("MISC", "g1", "Gold"), named("MISC", "g2", "Gold"), named("MISC", "g3", "Gold"),
        named("MISC", "r1", "Rope"), named("MISC", "r2", "Rope"), named("MISC", "k1", "Key"),
        named("MISC", "k2", "Key"), named("MISC", "k3", "Key"), named("MISC", "s", "Same")},
       {named("MISC", "g1", "Gold"), named("MISC", "g2", "Gold"), named("MISC", "g3", "Or"),
        named("MISC", "r1", "Corde"), named("MISC", "r2", "Cordage"), named("MISC", "k1", "Clef"),
        named("MISC", "k2", "Cle"), named("MISC", "k3", "Cle"), named("MISC", "s", "Same")},
       {},
       {},
       {{"Gold", "Or"}, {"Rope", "Corde"}, {"Key", "Cle"}, {"Same", "Same"}},
       {"lexique_enfr_name.txt: 4 added, 0 kept, 3 conflicting, 0 skipped",
        "  \"Gold\": wrote \"Or\" (1 record)", "    also \"Gold\": MISC \"g1\", MISC \"g2\"",
        "  \"Key\": wrote \"Cle\" (2 records)", "    also \"Clef\": MISC \"k1\"",
        "    also \"Cordage\": MISC \"r2\""}},
      {"a faction's name and its ranks by position, up to their NUL",
       {record("FACT", {subrecord("NAME", zstring("fg")), subrecord("FNAM", zstring("Fighters Guild")),
                        subrecord("RNAM", padded("Apprentice")), subrecord("RNAM", padded("Journeyman"))})},
       {record("FACT", {subrecord("NAME", zstring("fg")), subrecord("FNAM", zstring("Guilde des guerriers")),
                        subrecord("RNAM", padded("Apprenti")), subrecord("RNAM", zstring("Compagnon"))})},
       {},
       {{"Fighters Guild", "Guilde des guerriers"}, {"Apprentice", "Apprenti"}, {"Journeyman", "Compagnon"}},
       {},
       {}},
      {"topics through their responses; other dialogues left out; conditions and cell filters by position",
       {dial("latest rumors"), info("i1"), info("i2"), info("i3"), dial("Greeting 0", 2),
        info("i4", {subrecord("ANAM", zstring("Balmora")), subrecord("SCVR", condition("0sX00", "var")),
                    subrecord("SCVR", condition("1BLX0", "Balmora, Guild"))}),
        dial("Vivec"), dial("Lost"), info("i5")},
       {dial("autre"), info("i3"), dial("rumeurs"), info("i2"), info("i1"), dial("Salutation 0", 2),
        info("i4", {subrecord("ANAM", zstring("Balmora")), subrecord("SCVR", condition("0sX00", "var_fr")),
                    subrecord("SCVR", condition("1BLX0", "Balmora, Guilde"))})},
       {{"latest rumors", "rumeurs"}},
       {},
       {{"Balmora", "Balmora"}, {"Balmora, Guild", "Balmora, Guilde"}},
       {"  \"latest rumors\": wrote \"rumeurs\" (2 records)",
        "    also \"autre\": INFO \"i3\" in \"latest rumors\"", "Unpaired cells and topics: 2",
        "  DIAL \"Vivec\": a topic without responses, through which topics pair",
        "  DIAL \"Lost\": none of its responses is in the French file"}},
      {"exterior cells by grid, doors by their reference, travel by position",
       {cell("Balmora", {ref(1, "door_a", "Balmora, Guild"), ref(2, "door_b", "Caldera")}, false, -3, -2),
        cell("Far Away", {}, false, 9, 9), pgrd("Balmora", -3, -2),
        named("NPC_", "guide", "Guide",
              {subrecord("DNAM", zstring("Vivec")), subrecord("DNAM", zstring("Ald'ruhn"))})},
       {pgrd("Balmora", -3, -2),
        cell("Balmora", {ref(2, "DOOR_B", "Caldera_fr"), ref(1, "door_a", "Balmora, Guilde")}, false, -3, -2),
        named("NPC_", "guide", "Guide",
              {subrecord("DNAM", zstring("Vivec")), subrecord("DNAM", zstring("Aldruhn"))})},
       {},
       {},
       {{"Balmora", "Balmora"},
        {"Balmora, Guild", "Balmora, Guilde"},
        {"Caldera", "Caldera_fr"},
        {"Guide", "Guide"},
        {"Vivec", "Vivec"},
        {"Ald'ruhn", "Aldruhn"}},
       {"lexique_enfr_name.txt: 6 added, 0 kept, 0 conflicting, 0 skipped", "Unpaired cells and topics: 0"}},
      // A reference that two cells hold on one side (Den's rock) pairs nothing.
      {"interior cells by their references, when certain; path grids through their cell",
       {cell("Balmora, Guild", {ref(10, "chair"), ref(11, "table")}), pgrd("Balmora, Guild"),
        cell("Storage", {ref(20, "crate"), ref(21, "crate")}), cell("Empty Room", {}),
        cell("Lost Room", {ref(30, "x")}), cell("Hall A", {ref(40, "x")}), cell("Hall B", {ref(41, "x")}),
        cell("Den", {ref(50, "x"), ref(51, "rock")})},
       {pgrd("Stock A"), cell("Stock A", {ref(20, "crate")}), cell("Stock B", {ref(21, "crate")}),
        cell("Balmora, Guilde", {ref(11, "TABLE"), ref(10, "chair")}), pgrd("Balmora, Guilde"),
        cell("Salle", {ref(40, "x"), ref(41, "x")}), cell("Grotte", {ref(51, "rock")}),
        cell("Antre", {ref(51, "rock"), ref(50, "x")})},
       {},
       {},
       {{"Balmora, Guild", "Balmora, Guilde"}, {"Den", "Antre"}},
       {"lexique_enfr_name.txt: 2 added, 0 kept, 0 conflicting, 0 skipped", "Unpaired cells and topics: 5",
        "  CELL \"Storage\": its references lie in several cells of the French file",
        "  CELL \"Empty Room\": holds no reference to pair it by",
        "  CELL \"Lost Room\": none of its references singles out a cell of the French file",
        "  CELL \"Hall A\": its French cell also holds references of other cells",
        "  CELL \"Hall B\": its French cell also holds references of other cells"}},
      {"texts a lexicon cannot hold are skipped; two empty texts are no pair",
       {named("MISC", "q", "Say \"hi\""), named("MISC", "e", "Empty"), named("MISC", "n", ""),
        named("MISC", "z", ""), named("MISC", "l", "Two\r\nlines"), named("MISC", "ok", "Fine")},
       {named("MISC", "q", "Dis"), named("MISC", "e", ""), named("MISC", "n", "Rien"), named("MISC", "z", ""),
        named("MISC", "l", "Deux"), named("MISC", "ok", "Bien")},
       {},
       {},
       {{"Fine", "Bien"}},
       {"lexique_enfr_name.txt: 1 added, 0 kept, 0 conflicting, 4 skipped",
        "  \"Say \"hi\"\" / \"Dis\": a double quote, which a lexicon cannot hold", "    MISC \"q\"",
        "  \"Empty\" / \"\": the French text is empty", "  \"\" / \"Rien\": the English text is empty",
        "  \"Two\r\nlines\" / \"Deux\": a line break, which a lexicon cannot hold"}},
  };
  return all;
}

TEST(LexiconPairing, EachRule) {
  // Every case shares a record without texts: the two files are a pair.
  const std::string anchor = record("STAT", {subrecord("NAME", zstring("anchor"))});
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::string english = anchor, french = anchor;
    for (const std::string& r : c.english) english += r;
    for (const std::string& r : c.french) french += r;
    dir.write("en.esp", english);
    dir.write("fr.esp", french);
    const BuildRun run =
        build_lexicons({"quillaret-lexicon", dir.file("en.esp"), dir.file("fr.esp"), dir.path().string()});
    ASSERT_EQ(run.status, 0) << run.console;
    EXPECT_EQ(dir.read("lexique_enfr_dial.txt"), lexicon_file(c.topics, "\r\n"));
    EXPECT_EQ(dir.read("lexique_enfr_fact.txt"), lexicon_file(c.factions, "\r\n"));
    EXPECT_EQ(dir.read("lexique_enfr_name.txt"), lexicon_file(c.names, "\r\n"));
    const std::string report = dir.read("lexique_enfr_report.txt");
    for (const std::string& line : c.report) {
      EXPECT_NE(report.find(line + "\r\n"), std::string::npos) << line << "\n" << report;
    }
  }
}

}  // namespace
}  // namespace quillaret::testing
