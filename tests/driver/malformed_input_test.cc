// Damaged plug-ins, lexicons and paths, end to end. Whatever the damage, a
// run ends with one of the program's messages and its exit status, leaves
// the input as it was, and either writes a complete output or leaves an
// earlier Mod_fr.esp byte for byte, with no temporary file behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "plugin/plugin_builder.h"
#include "support/run_program.h"

namespace quillaret::testing {
namespace {
using namespace quillaret::builder;
namespace fs = std::filesystem;

const std::string kEarlier = "an earlier translation";
const std::string kNames = lexicon_file({{"Iron Dagger", "Dague de fer"}});

const std::string kRead = "Reading lexicons\n";
const std::string kParse = kRead + "Parsing Mod file\n";
const std::string kDone = "done!\nSaving file\nsaving...\ndone\n";
const std::string kSuccess = kParse + "Translating\n" + kDone;
const std::string kParseError = kParse + "Error parsing file!\n";
const std::string kNoFile = kRead + "file does not exist!\n";

const std::string kHeader = record("TES3", {subrecord("HEDR", std::string(12, 'h'))});  // 36 bytes

std::string weapon(std::string_view name) {
  return record("WEAP", {subrecord("NAME", zstring("dagger")), subrecord("FNAM", zstring(name))});
}
std::string info(std::vector<std::string> subrecords) { return record("INFO", subrecords); }

std::string with_u32(std::string bytes, size_t at, uint32_t value) {
  return bytes.replace(at, 4, u32(value));
}

std::string several_megabytes() {
  std::vector<std::pair<std::string, std::string>> pairs;
  char source[32], target[32];
  for (int i = 0; i < 150000; ++i) {
    std::snprintf(source, sizeof source, "Sword %06d", i);
    std::snprintf(target, sizeof target, "Epee %06d", i);
    pairs.emplace_back(source, target);
  }
  return lexicon_file(pairs);
}

struct Case {
  std::string name;
  std::string plugin;   // Mod.esp
  std::string console;  // after the welcome line; {dir} is the installation
  int status;
  std::string output = {};  // Mod_fr.esp after a successful run
  std::string names = kNames;
  std::function<void(const TempDir&)> damage = {};  // done to the installation
  std::string input = "Mod.esp";
  bool unprivileged = false;  // as root, run as nobody so that permissions bind
};

// Names the row in test listings rather than dumping its bytes.
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

void remove_lexicon(const TempDir& dir, const char* suffix, bool make_directory) {
  const std::string path = dir.file(std::string("lexique_enfr") + suffix);
  fs::remove(path);
  if (make_directory) fs::create_directory(path);
}

std::string missing_lexicon(const char* suffix) {
  return kRead + "file does not exist {dir}/lexique_enfr" + suffix + "!\nMissing lexicons!\n";
}

std::vector<Case> cases() {
  const std::string dagger = weapon("Iron Dagger");
  const std::string dague = weapon("Dague de fer");
  const auto fill = static_cast<uint32_t>(dagger.size() - 16);  // its subrecords' bytes
  const std::string scvr_text = "Take the Iron Dagger";
  const std::string zero_record = "MISC" + u32(0) + std::string(8, '\0');
  const std::string steel = weapon("Steel Axe");
  const std::string fnam = subrecord("FNAM", zstring("Iron Dagger"));
  const std::string bad_size = kParse + "Translating\nBad record size!\nError translating file!\n";
  std::vector<Case> rows{
      // Sizes that claim bytes the file does not have.
      {"RecordSizePastTheEnd", with_u32(dagger, 4, fill + 8), kParseError, 1},
      // Fewer than 8 bytes past its last subrecord is an unfilled tail, as
      // anywhere else in a file (a second read of the output must agree).
      {"RecordTailPastTheEnd", with_u32(dagger, 4, fill + 1), kSuccess, 0,
       with_u32(dague, 4, fill + 2)},
      {"RecordSizeAllOnes", with_u32(dagger, 4, 0xFFFFFFFF), kParseError, 1},
      {"SubrecordSizePastTheEnd", with_u32(dagger, 35, 13), kParseError, 1},
      {"SubrecordSizeAllOnes", with_u32(dagger, 35, 0xFFFFFFFF), kParseError, 1},
      // A record of size 0 has no children: the weapon after it is translated.
      {"RecordOfSizeZero", zero_record + dagger, kSuccess, 0, zero_record + dague},
      {"LastRecordOfSizeZero", dagger + zero_record, kSuccess, 0, dague + zero_record},
      // A record 12 bytes short keeps its shortfall when its name grows...
      {"SubrecordsOverrunTheirRecord", with_u32(dagger, 4, fill - 12), kSuccess, 0,
       with_u32(dague, 4, fill - 11)},
      // ...and fails when the shortfall would take its size below zero, or
      // below 8, when the record would read back as owning its bytes.
      {"OverrunRecordShrinksBelowZero", "WEAP" + u32(8) + std::string(8, '\0') + fnam,
       bad_size, 1, {}, lexicon_file({{"Iron Dagger", ""}})},
      {"OverrunRecordShrinksBelowASubrecord", "WEAP" + u32(12) + std::string(8, '\0') + fnam,
       bad_size, 1, {}, lexicon_file({{"Iron Dagger", ""}})},
      // Tags in neither table stop the read with the reader's line.
      {"UnknownTagAtTopLevel", kHeader + "ABCD" + u32(4) + "abcd" + dagger,
       kParse + "ABCD(2), size=4, prev=0, next=-1, parent=-1, left=" +
           std::to_string(dagger.size() + 8) + "\nError parsing file!\n",
       1},
      {"UnknownTagInsideRecord",
       kHeader + record("WEAP", {subrecord("NAME", zstring("dagger")), subrecord("ZZZZ", "xyz")}),
       kParse + "  ZZZZ(4), size=3, prev=3, next=-1, parent=2, left=0\nError parsing file!\n", 1},
      {"EmptyFile", "", kSuccess, 0, ""},
      // Inputs that cannot be read, an output that cannot be written.
      {"InputIsADirectory", dagger, kNoFile, 1, {}, kNames,
       [](const TempDir& dir) { fs::create_directory(dir.file("Dir.esp")); }, "Dir.esp"},
      {"MissingInput", dagger, kNoFile, 1, {}, kNames, {}, "Missing.esp"},
      {"UnreadableInput", dagger, kNoFile, 1, {}, kNames,
       [](const TempDir& dir) { fs::permissions(dir.file("Mod.esp"), fs::perms::none); },
       "Mod.esp", true},
      {"UnwritableOutputFolder", dagger, kNoFile, 1, {}, kNames,
       [](const TempDir& dir) { fs::permissions(dir.path(), fs::perms(0555)); }, "Mod.esp", true},
      // Lexicons: missing ones stop the run; damaged ones load what they hold.
      {"MissingLexicon", dagger, missing_lexicon("_name.txt"), 1, {}, kNames,
       [](const TempDir& dir) { remove_lexicon(dir, "_name.txt", false); }},
      {"LexiconIsADirectory", dagger, missing_lexicon("_dial.txt"), 1, {}, kNames,
       [](const TempDir& dir) { remove_lexicon(dir, "_dial.txt", true); }},
      {"EmptyLexicon", dagger, kSuccess, 0, dagger, ""},
      {"LexiconWithNulByte", dagger + steel, kSuccess, 0, dague + steel,
       kNames + '\0' + lexicon_file({{"Steel Axe", "Hache"}})},
      {"UnterminatedQuoteAtTheEnd", dagger + steel, kSuccess, 0, dague + weapon("Hache"),
       kNames + "\"Steel Axe\"\n\"Hache"},
      {"OddNumberOfStrings", dagger + steel, kSuccess, 0, dague + steel,
       kNames + "\"Steel Axe\"\n"},
      {"VeryLongLines", dagger, kSuccess, 0, weapon(std::string(20000, 'D')),
       std::string(300000, '-') + "\n" + lexicon_file({{"Iron Dagger", std::string(20000, 'D')}})},
      {"SeveralMegabytes", weapon("Sword 000000") + weapon("Sword 149999"), kSuccess, 0,
       weapon("Epee 000000") + weapon("Epee 149999"), kNames,
       [](const TempDir& dir) { dir.write("lexique_enfr_name.txt", several_megabytes()); }},
      // Equal sources after a longer one: the loader's order must not read
      // past its own tables (a fault fuzzing caught); the first one wins.
      {"DuplicateSourcesAfterALongerOne", weapon("Dagger"), kSuccess, 0, weapon("Dague A"),
       lexicon_file({{"Iron Dagger", "Dague de fer"}, {"Dagger", "Dague A"}, {"Dagger", "B"}})},
  };
  // A condition under 5 bytes is a plain payload, whatever it holds.
  for (size_t size = 0; size <= 4; ++size) {
    const std::string scvr = subrecord("SCVR", std::string("1BLX", size));
    rows.push_back({"ConditionOf" + std::to_string(size) + "Bytes",
                    info({scvr, subrecord("NAME", scvr_text)}), kSuccess, 0,
                    info({scvr, subrecord("NAME", "Take the Dague de fer")})});
  }
  return rows;
}

class MalformedInput : public ::testing::TestWithParam<Case> {};

TEST_P(MalformedInput, EndsWithItsMessageAndLeavesTheFilesSafe) {
  const Case& c = GetParam();
  Installation install("", "", c.names);
  const TempDir& dir = install.dir();
  dir.write("Mod.esp", c.plugin);
  dir.write("Mod_fr.esp", kEarlier);
  if (c.damage) c.damage(dir);
  const std::string listing = dir.listing();

  const RunResult run = install.translate(c.input, c.unprivileged);
  fs::permissions(dir.path(), fs::perms::owner_all, fs::perm_options::add);
  fs::permissions(dir.file("Mod.esp"), fs::perms::owner_read, fs::perm_options::add);

  std::string console = c.console;
  if (size_t at = console.find("{dir}"); at != std::string::npos) {
    console.replace(at, 5, dir.path().string());
  }
  EXPECT_EQ(run.output, "Welcome in Quillaret v1.01\n\n" + console);
  EXPECT_EQ(run.status, c.status);
  EXPECT_EQ(dir.read("Mod.esp"), c.plugin);
  EXPECT_EQ(dir.read("Mod_fr.esp"), c.status == 0 ? c.output : kEarlier);
  // The trace log is the one file a run adds, once it got to create it.
  const bool log = c.console.starts_with(kParse);
  EXPECT_EQ(dir.exists("Mod_fr.log"), log);
  if (log) fs::remove(dir.file("Mod_fr.log"));
  EXPECT_EQ(dir.listing(), listing);
}

INSTANTIATE_TEST_SUITE_P(Matrix, MalformedInput, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return info.param.name; });

// A plug-in cut at every byte: only a cut after a whole record and 0 to 3
// stray bytes reads; every other one fails and leaves the earlier output.
TEST(MalformedInput, PluginCutAtEveryByte) {
  const std::vector<std::string> records{
      kHeader, weapon("Iron Dagger"),
      info({subrecord("SCVR", condition("1BLX\x0b", "Iron Dagger")),
            subrecord("NAME", "Iron Dagger")})};
  const std::vector<std::string> translated{
      kHeader, weapon("Dague de fer"),
      info({subrecord("SCVR", condition("1BLX\x0c", "Dague de fer")),
            subrecord("NAME", "Dague de fer")})};
  std::string plugin;
  for (const std::string& r : records) plugin += r;

  Installation install("", "", kNames);
  const TempDir& dir = install.dir();
  for (size_t cut = 0; cut <= plugin.size(); ++cut) {
    SCOPED_TRACE("cut at byte " + std::to_string(cut));
    dir.write("Mod.esp", plugin.substr(0, cut));
    dir.write("Mod_fr.esp", kEarlier);
    fs::remove(dir.file("Mod_fr.log"));
    const std::string listing = dir.listing();

    // The whole records before the cut, when only 0 to 3 bytes follow them.
    std::string output, scvr_line;
    size_t whole = 0;
    for (size_t i = 0; i < records.size() && whole + records[i].size() <= cut; ++i) {
      whole += records[i].size();
      output += translated[i];
      if (i == 2) scvr_line = "SCVR: Iron Dagger\n";
    }
    const bool reads = cut - whole < 4;
    const RunResult run = install.translate("Mod.esp");
    EXPECT_EQ(run.output, "Welcome in Quillaret v1.01\n\n" +
                              (reads ? kParse + "Translating\n" + scvr_line + kDone : kParseError));
    EXPECT_EQ(run.status, reads ? 0 : 1);
    EXPECT_EQ(dir.read("Mod.esp"), plugin.substr(0, cut));
    EXPECT_EQ(dir.read("Mod_fr.esp"), reads ? output : kEarlier);
    fs::remove(dir.file("Mod_fr.log"));
    EXPECT_EQ(dir.listing(), listing);
  }
}

}  // namespace
}  // namespace quillaret::testing
