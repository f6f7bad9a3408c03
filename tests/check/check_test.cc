#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "check/check_driver.h"
#include "tools/plugin_builder.h"
#include "support/string_console.h"
#include "support/temp_dir.h"

namespace quillaret::testing {
namespace {
using namespace builder;
using Records = std::vector<std::string>;

std::string cell(const std::string& name, Records refs, uint32_t flags = 1) {
  refs.insert(refs.begin(), {subrecord("NAME", zstring(name)), subrecord("DATA", u32(flags) + u32(1) + u32(2))});
  return record("CELL", refs);
}

std::string reference(uint32_t master, uint32_t number, const std::string& object) {
  return subrecord("FRMR", u32(master << 24 | number)) + subrecord("NAME", zstring(object));
}

// The French master that every plug-in of these tests extends.
const std::string kMaster =
    header({}) + record("REGN", {subrecord("NAME", zstring("azura")), subrecord("FNAM", zstring("C\xf4te d'Azura"))}) +
    cell("Bureau", {reference(0, 5, "door"), reference(0, 6, "chest")}) + cell("Cave", {reference(0, 7, "rock")}) +
    cell("Balmora", {}, 0) + topic("rumeurs") + info("100", "Parlez des rumeurs et du Vieux-Pont.") +
    topic("quete_1", kJournal) + script("master_script", "AddTopic \"ajout\xe9\"");

struct Checked {
  int status;
  std::string console, report, folder;
  std::vector<std::string> lines;  // of the report, its count left out
};

struct LexiconTexts {
  std::string dial, name;
};

// Checks Mod.esp, made of `records` after a header naming `masters` (by
// default Master.esm at its size), with the program in a folder that holds
// `lexicons` (or none).
Checked check(const Records& records, const std::optional<LexiconTexts>& lexicons = std::nullopt,
              std::vector<Master> masters = {{"Master.esm", kMaster.size()}}) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "bin");
  if (lexicons) {
    dir.write("bin/lexique_enfr_dial.txt", lexicons->dial);
    dir.write("bin/lexique_enfr_fact.txt", "");
    dir.write("bin/lexique_enfr_name.txt", lexicons->name);
  }
  dir.write("Master.esm", kMaster);
  const std::string mod = plugin({.masters = masters}, records);
  dir.write("Mod.esp", mod);
  StringConsole console;
  Checked result{run_check({dir.file("bin/quillaret-check"), dir.file("Mod.esp")}, console), console.output, "",
                 dir.path().string(), {}};
  EXPECT_EQ(console.waits, 1);
  EXPECT_EQ(dir.read("Mod.esp"), mod);
  if (result.status == 2) return result;
  result.report = dir.read("Mod.check.txt");
  EXPECT_TRUE(console.output.ends_with(result.report + "Report: " + dir.file("Mod.check.txt") + "\n"))
      << console.output;
  std::istringstream report(result.report);
  for (std::string line; std::getline(report, line);) result.lines.push_back(line);
  result.lines.pop_back();
  return result;
}

// Every kind of reference, once to a name that exists (in another case, or
// as a prefix where the game matches one) and once to one that does not.
TEST(Check, ReferencesSoundAndBroken) {
  struct Row {
    std::function<std::string(const std::string&)> make;
    std::string sound, broken, line;
  };
  const std::vector<Row> rows = {
      {[](auto& n) { return cell("Hall", {subrecord("FRMR", u32(1)), subrecord("DNAM", zstring(n))}); },
       "BUREAU", "Office", "door  CELL \"Hall\" -> \"Office\": no such interior cell"},
      {[](auto& n) { return named("NPC_", "guide", "", {subrecord("DODT", std::string(24, '\0')), subrecord("DNAM", zstring(n))}); },
       "bureau", "Office", "travel  NPC_ \"guide\" -> \"Office\": no such interior cell"},
      // Doors and travellers go to interiors: an exterior's name is none.
      {[](auto& n) { return named("CREA", "guide", "", {subrecord("DNAM", zstring(n))}); },
       "Bureau", "Balmora", "travel  CREA \"guide\" -> \"Balmora\": no such interior cell"},
      // A reference's CNAM names its owner's faction, unless it follows MVRF.
      {[](auto& n) { return cell("Hall", {subrecord("CNAM", zstring("Guilde")), subrecord("MVRF", u32(1)), subrecord("CNAM", zstring(n))}); },
       "Bureau", "Office", "moved  CELL \"Hall\" -> \"Office\": no such interior cell"},
      {[](auto& n) { return named("NPC_", "guide", "", {subrecord("AI_F", std::string(48, '\0')), subrecord("CNDT", zstring(n))}); },
       "Bureau", "Office", "package  NPC_ \"guide\" -> \"Office\": no such cell"},
      {[](auto& n) { return info({.id = "901", .filters = {subrecord("ANAM", zstring(n))}}); },
       "bur", "Office", "cell filter  INFO \"901\" of \"rumeurs\" -> \"Office\": no cell's name begins so"},
      // Only "BLX" conditions name cells.
      {[](auto& n) { return info({.id = "902", .after = {subrecord("SCVR", condition("0BLX0", n)),
                                                         subrecord("SCVR", condition("0sX00", "Office"))}}); },
       "C\xf4te", "Bureau du", "not cell  INFO \"902\" of \"rumeurs\" -> \"Bureau du\": no cell's name begins so"},
      {[](auto& n) { return script("go", "player->PositionCell, 1 2 3 0 \"" + n + "\" ; COC \"Office\""); },
       "Bureau", "Office", "script  SCPT \"go\" -> \"Office\": PositionCell: no such cell"},
      {[](auto& n) { return info({.id = "903", .after = {subrecord("BNAM", "if ( GetPCCell \"" + n + "\" == 1 )\r\nendif")}}); },
       "Bal", "Vivec", "script  INFO \"903\" of \"rumeurs\" -> \"Vivec\": GetPCCell: no cell's name begins so"},
      {[](auto& n) { return info({.id = "904", .after = {subrecord("BNAM", "addtopic \"" + n + "\"")}}); },
       "Rumeurs", "rumors", "script  INFO \"904\" of \"rumeurs\" -> \"rumors\": addtopic: no such topic"},
      {[](auto& n) { return script("quest", "SetJournalIndex " + n + " 10"); },
       "QUETE_1", "quest_1", "script  SCPT \"quest\" -> \"quest_1\": SetJournalIndex: no such journal"},
  };
  Records sound{topic("rumeurs")}, broken{topic("rumeurs")};
  std::vector<std::string> lines;
  for (const Row& row : rows) {
    sound.push_back(row.make(row.sound));
    broken.push_back(row.make(row.broken));
    lines.push_back(row.line);
  }
  // The door last in the file, first in the report: it groups by kind.
  std::rotate(broken.begin() + 1, broken.begin() + 2, broken.end());
  const Checked good = check(sound), bad = check(broken);
  EXPECT_EQ(good.status, 0);
  EXPECT_EQ(good.report, "0 findings\n");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.lines, lines);
  EXPECT_EQ(bad.report.substr(bad.report.rfind("11 findings")),
            "11 findings: door 1, travel 2, moved 1, package 1, cell filter 1, not cell 1, script 4\n");
}

// Each row holds sound cases beside the faulty ones, which alone are found.
TEST(Check, FindingsOfTheirOwn) {
  const std::string utf8 = "\xc3\x89p\xc3\xa9\x65";
  struct Row {
    const char* what;
    Records records;
    LexiconTexts lexicons;
    std::vector<std::string> lines;
  };
  const std::string topic_lost = "detached topic  DIAL ";
  const std::string topic_why =
      ": no master has this topic, yet its responses link into the master's topic \"rumeurs\" (INFO \"100\"): they "
      "land in a topic of their own; ";
  const std::string cell_why = "the changes land in a cell of their own; ";
  const std::vector<Row> rows = {
      {"stale script",
       {script("fresh", "MessageBox \"Bonjour\" ; \"Hello\"", "\x07" "BONJOUR"),
        script("stale", "MessageBox \"Bonjour\" \"Oui\" \"Non\"", "Hello Yes No"),
        record("SCPT", {subrecord("SCDT", ""), subrecord("SCTX", "Say \"x\"")})},
       {},
       {"stale script  SCPT \"stale\" -> \"Bonjour\": in the source, not in the compiled data (nor 2 more): "
        "the game runs the old texts until the script is compiled again in the editor"}},
      {"encoding",
       {record("WEAP", {subrecord("NAME", zstring("a")), subrecord("FNAM", zstring(utf8))}),
        record("WEAP", {subrecord("NAME", zstring("b")), subrecord("FNAM", zstring("\xc9p\xe9\x65"))}),
        record("BOOK", {subrecord("NAME", zstring("c")), subrecord("FNAM", zstring(utf8))})},
       {},
       {"encoding  WEAP \"a\" -> \"" + utf8 + "\": FNAM is UTF-8, which the game shows as garbage; French texts "
        "must be Windows-1252 (save the lexicons so)"}},
      {"unreachable topic",
       {topic("Nouveau"), topic("vieux"), topic("Vieux-Pont"), topic("umeurs"), topic("AJOUT\xe9"), topic("rumeurs"),
        topic("propre"), info("905", "Mon (propre) avis.")},
       {},
       {"unreachable topic  DIAL \"Nouveau\": no response mentions it and no AddTopic adds it",
        "unreachable topic  DIAL \"umeurs\": no response mentions it and no AddTopic adds it"}},
      // A topic or an interior cell that the masters lack while its responses
      // or references are theirs, and how the lexicons must change; beside
      // topics and cells that attach (another case), or that are the mod's own.
      {"topic left English",
       {topic("rumors"), info({.id = "906", .previous = "100"})},
       {lexicon_file({{"gossip", "rumeurs"}}), ""},
       {topic_lost + "\"rumors\"" + topic_why +
        "add \"rumors\" with the French \"rumeurs\" to lexique_enfr_dial.txt; \"rumeurs\" is already the French of "
        "\"gossip\" in lexique_enfr_dial.txt"}},
      {"topic in another French wording",
       {topic("rumeur"), info({.id = "906", .next = "100"})},
       {lexicon_file({{"gossip", "Rumeurs"}}), lexicon_file({{"rumors", "rumeur"}})},
       {topic_lost + "\"rumeur\"" + topic_why +
        "lexique_enfr_name.txt translates \"rumors\" to it: correct that line to \"rumeurs\"; \"rumeurs\" is "
        "already the French of \"gossip\" in lexique_enfr_dial.txt"}},
      {"cell left English",
       {cell("Census Office", {reference(1, 5, "door")})},
       {"", ""},
       {"detached cell  CELL \"Census Office\": no master has this cell, yet it changes 1 reference of the master's "
        "cell \"Bureau\": " + cell_why + "add \"Census Office\" with the French \"Bureau\" to "
        "lexique_enfr_name.txt"}},
      // Translated before the lexicon knew it.
      {"cell translated with an older lexicon",
       {cell("Office", {reference(1, 6, "chest")})},
       {"", lexicon_file({{"Office", "BUREAU"}})},
       {"detached cell  CELL \"Office\": no master has this cell, yet it changes 1 reference of the master's cell "
        "\"Bureau\": " + cell_why + "lexique_enfr_name.txt translates it to \"BUREAU\": translate the plug-in again"}},
      // Named after the cell that holds the most of its references.
      {"cell in another French wording",
       {cell("Bureaux", {reference(1, 7, "rock"), reference(1, 5, "DOOR"), reference(1, 6, "chest")})},
       {"", lexicon_file({{"Office", "Bureaux"}})},
       {"detached cell  CELL \"Bureaux\": no master has this cell, yet it changes 2 references of the master's cell "
        "\"Bureau\": " + cell_why + "lexique_enfr_name.txt translates \"Office\" to it: correct that line to "
        "\"Bureau\""}},
      {"attached, or the mod's own",
       {topic("RUMEURS"), info({.id = "907", .previous = "100"}), topic("nouvelles"),
        info({.id = "908", .response = "Quelles nouvelles ?"}), info({.id = "909", .previous = "908"}),
        cell("BUREAU", {reference(1, 5, "door")}), cell("Grotte", {reference(0, 5, "door")}),
        cell("Salle", {reference(1, 5, "chest"), reference(1, 9, "door")}),
        cell("Dehors", {reference(1, 5, "door")}, 0)},
       {"", ""},
       {}},
  };
  for (const Row& row : rows) {
    const Checked result = check(row.records, row.lexicons);
    EXPECT_EQ(result.lines, row.lines) << row.what;
    EXPECT_EQ(result.status, row.lines.empty() ? 0 : 1) << row.what;
  }
}

TEST(Check, Masters) {
  const Records door{cell("Hall", {subrecord("DNAM", zstring("Office")), subrecord("DNAM", zstring("Bureau"))}, 0),
                     cell("Salle", {reference(1, 5, "door")}),
                     topic("gossip"),
                     info({.id = "906", .previous = "555"}), topic("Vivec")};
  // The recorded size has 64 bits.
  const Checked resized = check({}, std::nullopt, {{"Master.esm", 1234 + (uint64_t{1} << 32)}});
  EXPECT_EQ(resized.lines, std::vector<std::string>{
      "master size  TES3 \"Mod.esp\" -> \"Master.esm\": the header records 4294968530 bytes, the file has " +
      std::to_string(kMaster.size()) + "; the game warns when it loads the plug-in (saving it again in the "
      "editor records the new size)"});
  // What the master that is there defines is still known.
  const Checked missing = check(door, std::nullopt, {{"Absent.esm", 1}, {"Master.esm", kMaster.size()}});
  EXPECT_EQ(missing.lines, (std::vector<std::string>{
      "missing master  TES3 \"Mod.esp\" -> \"Absent.esm\": not in " + missing.folder +
          "; the names that only it could define are not checked",
      "not checked  CELL \"Hall\" at (1, 2) -> \"Office\": door destination, no such interior cell in the files "
      "read; Absent.esm, which is missing, may define it",
      "not checked  DIAL \"gossip\": its responses link to INFO \"555\", which no file read holds; Absent.esm, "
      "which is missing, may hold it under another name",
      "not checked  CELL \"Salle\": it holds references to objects of Absent.esm, which is missing; no master "
      "read has this cell",
      "not checked  DIAL \"Vivec\": no response of the files read mentions it nor AddTopic adds it; Absent.esm, "
      "which is missing, may make it known"}));
}

TEST(Check, LexiconHints) {
  const Records doors{cell("Hall", {subrecord("DNAM", zstring("Office")), subrecord("DNAM", zstring("Port")),
                                    subrecord("DNAM", zstring("harbour")), subrecord("DNAM", zstring("Nowhere"))})};
  const Checked hinted = check(doors, LexiconTexts{"", lexicon_file({{"Office", "Bureau"}, {"Harbour", "Port"}})});
  EXPECT_EQ(hinted.lines, (std::vector<std::string>{
      "door  CELL \"Hall\" -> \"Office\": no such interior cell; lexique_enfr_name.txt translates it to \"Bureau\", which exists",
      "door  CELL \"Hall\" -> \"Port\": no such interior cell; it is the French of \"Harbour\" in lexique_enfr_name.txt, but "
      "no file read has it",
      "door  CELL \"Hall\" -> \"harbour\": no such interior cell; lexique_enfr_name.txt translates \"Harbour\" to \"Port\", "
      "which does not exist either",
      "door  CELL \"Hall\" -> \"Nowhere\": no such interior cell; in neither the lexicons nor the masters"}));
  EXPECT_NE(check(doors).console.find("No lexicons beside the program"), std::string::npos);
}

TEST(Check, CannotRun) {
  const Checked damaged = check({"WEAP\x10"});
  EXPECT_EQ(damaged.status, 2);
  EXPECT_NE(damaged.console.find("Mod.esp is damaged\n"), std::string::npos);
  // A master that is there but damaged stops the check too.
  TempDir dir;
  dir.write("Mod.esp", header({.masters = {{"Bad.esm", 4}}}));
  dir.write("Bad.esm", "TES3");
  StringConsole console;
  EXPECT_EQ(run_check({"quillaret-check", dir.file("Mod.esp")}, console), 2);
  EXPECT_NE(console.output.find("Bad.esm is damaged"), std::string::npos);
  EXPECT_EQ(run_check({"quillaret-check"}, console), 2);
  EXPECT_EQ(run_check({"quillaret-check", "/nonexistent/Mod.esp"}, console), 2);
  EXPECT_NE(console.output.find("cannot read /nonexistent/Mod.esp\n"), std::string::npos);
  EXPECT_EQ(report_path("a.b/Mod_fr.esp"), "a.b/Mod_fr.check.txt");
  EXPECT_EQ(report_path("a.b/Mod"), "a.b/Mod.check.txt");
}

}  // namespace
}  // namespace quillaret::testing
