// Writes the plug-ins and lexicons on which scripts/check-windows.sh runs
// the Windows executable under Wine and the Linux one side by side. Between
// them the plug-ins reach every record kind the translator handles, phrase
// substitution in responses, script rewriting, BLX conditions, a response
// that grows too long, names that the trace log has to carry (some with line
// ends of their own, which the Windows log must turn into CR LF), bytes of
// Windows-1252, a plug-in that comes out unchanged and one that fails, and
// two large enough for two threads, one of which fails at its end.
//
// Usage: make_windows_cases <directory>
// Writes the three lexicons into <directory> and the plug-ins into
// "<directory>/Data Files" (a folder name with a space, as in a game
// installation), and prints one line per plug-in, "<expectation> <name>",
// where the expectation is one of:
//   translated  a French copy that differs from the input
//   unchanged   a French copy identical to the input
//   fails       no French copy: an earlier one must stay as it was
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tools/plugin_builder.h"

using namespace quillaret::builder;

namespace {

// A plug-in of Morrowind.esm.
std::string with_header(const std::vector<std::string>& records) {
  return plugin({.masters = {{"Morrowind.esm", 79837557}}}, records);
}

// A record of `tag` whose ID is id_<tag>.
std::string item(const std::string& tag, const std::string& name) { return named(tag, "id_" + tag, name); }

// "Ald\xE9ruhn": the é in Windows-1252, the encoding of Morrowind's French
// texts, written as a byte so that this file's own encoding does not matter.
const std::string kAldruhn = "Ald\xE9ruhn";

// Every kind whose FNAM is a name, once translated and once logged.
std::string names_plugin() {
  std::vector<std::string> records;
  for (std::string tag : {"ARMO", "BSGN", "CLAS", "CLOT", "CONT", "CREA", "DOOR", "INGR", "LIGH", "MISC",
                          "RACE", "REGN", "SPEL", "WEAP"}) {
    records.insert(records.end(), {item(tag, "Iron Dagger"), item(tag, "Unknown " + tag)});
  }
  const std::string travel = subrecord("DODT", std::string(24, '\0'));
  records.insert(records.end(), {
      item("WEAP", "Dwemer Blade"),
      item("ACTI", "Iron Dagger"),  // a kind that keeps its names, lexicon or not
      named("NPC_", "guard", "Guard", {travel, subrecord("DNAM", zstring("Seyda Neen"))}),
      // Untranslated names go to the log as they are, line ends included.
      named("NPC_", "odd", "Two\nLines", {travel, subrecord("DNAM", zstring("Cr\rLf\r\n"))}),
      record("PGRD", {subrecord("DATA", std::string(12, '\0')), subrecord("NAME", zstring("Seyda Neen"))}),
      record("CELL", {subrecord("NAME", zstring("Seyda Neen")), subrecord("DATA", std::string(12, '\0')),
                      subrecord("FRMR", u32(1)), subrecord("NAME", zstring("door")),
                      subrecord("DNAM", zstring("Balmora")), subrecord("DNAM", zstring(kAldruhn))}),
      faction("Fighters Guild", "Fighters Guild", {"Apprentice", "Swordsman"})});
  return with_header(records);
}

// Topics, responses, result scripts, conditions and a script.
std::vector<std::string> dialogue() {
  std::string crowded;
  for (int i = 0; i < 50; ++i) crowded += "Iron Key. ";
  return {
      topic("latest rumors"),
      info({.id = "1",
            .filters = {subrecord("ANAM", zstring("Seyda Neen"))},
            .response = "Ask about the latest rumors; the Old Bridge is closed.\r\nTake an Iron Dagger.",
            .after = {subrecord("SCVR", condition("0BLX0", "Seyda Neen")),
                      subrecord("SCVR", condition("1BLX3", kAldruhn)),
                      subrecord("SCVR", condition("2BLX5", "Nowhere")),
                      subrecord("SCVR", condition("3sX00", "Seyda Neen")),
                      subrecord("BNAM", "AddTopic \"Old Bridge\"\r\nplayer->AddItem \"Iron Key\" 1")}}),
      // Too long once translated: it stays English.
      info("2", crowded),
      // Neither the topic lexicon nor the name lexicon, then the name one.
      topic("Old Bridge"),
      topic("Balmora"),
      topic("Vivec"),
      info("3", "The Old Bridges of Vivec, and the Old Bridge, 'Old Bridge'."),
      script("rumors",
             "begin rumors\r\n  AddTopic \"latest rumors\"\r\n  \"Guard\"->Say \"Iron Dagger\"\r\nend rumors"),
  };
}

// The dialogue many times over: enough work for the translation to run on
// two threads while it writes. `tail` comes last.
std::string large_plugin(const std::vector<std::string>& tail = {}) {
  const std::vector<std::string> once = dialogue();
  std::vector<std::string> records;
  for (int i = 0; i < 1501; ++i) records.insert(records.end(), once.begin(), once.end());
  records.insert(records.end(), tail.begin(), tail.end());
  return with_header(records);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_windows_cases <directory>\n";
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir / "Data Files");
  bool written = true;
  const auto write = [&](const std::filesystem::path& path, const std::string& bytes) {
    written = written && std::ofstream(path, std::ios::binary) << bytes;
  };

  // Both line-end conventions, as users' lexicons have them.
  write(dir / "lexique_enfr_dial.txt",
        lexicon_file({{"latest rumors", "derni\xE8res rumeurs"}, {"Old Bridge", "Vieux Pont"}}, "\r\n"));
  write(dir / "lexique_enfr_fact.txt",
        lexicon_file({{"Fighters Guild", "Guilde des guerriers"}, {"Apprentice", "Apprenti"}}));
  write(dir / "lexique_enfr_name.txt",
        lexicon_file({{"Iron Dagger", "Dague de fer"}, {"Iron Key", "Clef de fer"}, {"Dwemer Blade", "Lame dw\xE9mer"},
                      {"Guard", "Garde"}, {"Seyda Neen", "Seyda Nihn"}, {"Balmora", "Balmora la Belle"},
                      {kAldruhn, "Ald'ruhn"}},
                     "\r\n"));

  struct Case {
    const char* expectation;
    std::string name, bytes;
  };
  const std::vector<Case> cases{
      {"translated", "Names.esp", names_plugin()},
      {"translated", "Dialogue.esm", with_header(dialogue())},
      // A name beyond the ANSI code page: only the wide command line and
      // wide file functions reach it.
      {"translated", "\xC3\x89lan \xE2\x80\x94 \xE6\x97\xA5\xE6\x9C\xAC.esp",
       with_header({item("WEAP", "Iron Dagger")})},
      // Names that no lexicon has, in handled and other kinds.
      {"unchanged", "Plain.esp",
       with_header({item("WEAP", "Glass Longsword"), item("ACTI", "Iron Dagger"), topic("Dagoth Ur"),
                    info("4", "Nothing to see here."),
                    record("BOOK", {subrecord("NAME", zstring("book")), subrecord("TEXT", zstring("Iron Dagger"))})})},
      // A record kind that the reader does not know, after a good one.
      {"fails", "Broken.esp", with_header({item("WEAP", "Iron Dagger"), record("ZZZZ", {subrecord("NAME", "x")})})},
      {"translated", "Large.esm", large_plugin()},
      // A name too large to translate, in the last run of records.
      {"fails", "LargeBroken.esm", large_plugin({item("WEAP", std::string(40000, 'x'))})},
  };
  for (const Case& c : cases) {
    write(dir / "Data Files" / c.name, c.bytes);
    std::cout << c.expectation << " " << c.name << "\n";
  }
  if (!written) std::cerr << "cannot write the cases into " << dir << "\n";
  return written ? 0 : 1;
}
