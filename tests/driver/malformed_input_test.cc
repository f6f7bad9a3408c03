// Damaged plug-ins, lexicons, paths and arguments, end to end. Whatever the
// damage, a run ends with one of the program's messages, one wait for a
// character and its exit status, leaves the input as it was, and either
// writes a complete output or leaves an earlier Mod_fr.esp byte for byte,
// with no temporary file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tools/plugin_builder.h"
#include "driver/driver.h"
#include "support/run_program.h"
#include "platform/console.h"

namespace quillaret::testing {
namespace {
using namespace quillaret::builder;
namespace fs = std::filesystem;

const std::string kEarlier = "an earlier translation";
const std::string kNames = lexicon_file({{"Iron Dagger", "Dague de fer"}});

const std::string kRead = "Reading lexicons\n";
const std::string kParse = kRead + "Parsing Mod file\n";
const std::string kSuccess = kParse + "Translating\ndone!\nSaving file\nsaving...\ndone\n";
const std::string kParseError = kParse + "Error parsing file!\n";
const std::string kNoFile = kRead + "file does not exist!\n";

const std::string kHeader = record("TES3", {subrecord("HEDR", std::string(12, 'h'))});  // 36 bytes

std::string with_u32(std::string bytes, size_t at, uint32_t value) { return bytes.replace(at, 4, u32(value)); }

struct Case {
  std::string name;
  std::string plugin;   // Mod.esp
  std::string console;  // after the welcome line; {dir} is the installation
  int status;
  std::string output = {};  // Mod_fr.esp after a successful run
  std::string names = kNames;
  std::function<void(const TempDir&)> damage = {};  // done to the installation
  std::vector<std::string> args = {"Mod.esp"};      // after argument 0
  bool unprivileged = false;  // as root, run as nobody so that permissions bind
  std::string argument0 = {};  // the executable's path when empty
  std::string input = "Mod.esp", french = "Mod_fr.esp";  // in the installation
};

std::vector<Case> cases() {
  const std::string dagger = named("WEAP", "dagger", "Iron Dagger");
  const std::string dague = named("WEAP", "dagger", "Dague de fer");
  const auto fill = static_cast<uint32_t>(dagger.size() - 16);  // its subrecords' bytes
  const std::string fnam = subrecord("FNAM", zstring("Iron Dagger"));
  const std::string bad_size = kParse + "Translating\nBad record size!\nError translating file!\n";
  // Unchanged bytes after a replaced name, too many for the output's buffer.
  const std::string long_run = record("STAT", {subrecord("DATA", std::string(70000, 'd'))});
  return {
      // Sizes that claim bytes the file does not have.
      {"RecordSizeAllOnes", with_u32(dagger, 4, 0xFFFFFFFF), kParseError, 1},
      {"SubrecordSizeAllOnes", with_u32(dagger, 35, 0xFFFFFFFF), kParseError, 1},
      // A failed read after whole, translated records writes none of them.
      {"CutAfterWholeRecords", kHeader + dagger + dagger.substr(0, 20), kParseError, 1},
      // Fewer than 8 bytes past its last subrecord is an unfilled tail, as
      // anywhere else in a file (a second read of the output must agree).
      {"RecordTailPastTheEnd", with_u32(dagger, 4, fill + 1), kSuccess, 0,
       with_u32(dague, 4, fill + 2)},
      {"StrayBytesAfterTheLastRecord", kHeader + dagger + "abc", kSuccess, 0, kHeader + dague},
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
      {"EmptyFile", "", kSuccess, 0, ""},
      // Arguments, inputs that cannot be read, an output that cannot be written.
      {"NoArgument", dagger, "missing ESP/ESM/ESS file!\n", 1, {}, kNames, {}, {}},
      // The input is opened before its name is checked.
      {"MissingInput", dagger, kNoFile, 1, {}, kNames, {}, {"Save.ess"}},
      {"SavedGame", dagger, kRead + "unsupported file format!\n", 1, {}, kNames,
       [](const TempDir& dir) { dir.write("Save.ess", dir.read("Mod.esp")); }, {"Save.ess"}},
      {"UpperCaseExtension", dagger, kRead + "unsupported file format!\n", 1, {}, kNames,
       [](const TempDir& dir) { dir.write("Mod.ESP", dir.read("Mod.esp")); }, {"Mod.ESP"}},
      {"InputIsADirectory", dagger, kNoFile, 1, {}, kNames,
       [](const TempDir& dir) { fs::create_directory(dir.file("Dir.esp")); }, {"Dir.esp"}},
      {"UnreadableInput", dagger, kNoFile, 1, {}, kNames,
       [](const TempDir& dir) { fs::permissions(dir.file("Mod.esp"), fs::perms::none); },
       {"Mod.esp"}, true},
      {"UnwritableOutputFolder", dagger, kNoFile, 1, {}, kNames,
       [](const TempDir& dir) { fs::permissions(dir.path(), fs::perms(0555)); }, {"Mod.esp"}, true},
      // The trace log is optional.
      {"LogIsADirectory", dagger, kSuccess + "No traces!\n", 0, dague, kNames,
       [](const TempDir& dir) { fs::create_directory(dir.file("Mod_fr.log")); }},
      // Lexicons: missing ones stop the run after a wait of their own, though
      // they load beside the input's reading; damaged ones load what they hold.
      {"MissingLexicon", dagger,
       kRead + "file does not exist {dir}/lexique_enfr_name.txt!\n<wait>Missing lexicons!\n", 1, {},
       kNames, [](const TempDir& dir) { fs::remove(dir.file("lexique_enfr_name.txt")); }},
      {"LexiconIsADirectory", dagger,
       kRead + "file does not exist {dir}/lexique_enfr_dial.txt!\n<wait>Missing lexicons!\n", 1, {},
       kNames, [](const TempDir& dir) {
         fs::remove(dir.file("lexique_enfr_dial.txt"));
         fs::create_directory(dir.file("lexique_enfr_dial.txt"));
       }},
      // Argument 0 names the lexicons' folder, whichever separator it uses.
      {.name = "LexiconsBesideArgumentZero", .plugin = dagger,
       .console = kRead + "file does not exist elsewhere/lexique_enfr_dial.txt!\nMissing lexicons!\n",
       .status = 1, .argument0 = "elsewhere\\quillaret"},
      {"VeryLongLines", dagger + long_run, kSuccess, 0, named("WEAP", "dagger", std::string(20000, 'D')) + long_run,
       std::string(300000, '-') + "\n" + lexicon_file({{"Iron Dagger", std::string(20000, 'D')}})},
      // The copy and the log go beside the input, named after its last
      // extension; further arguments are ignored.
      {.name = "DottedNames", .plugin = dagger, .console = kSuccess, .status = 0, .output = dague,
       .args = {"x.esm/My.Mod.esm", "Ignored.esp"}, .input = "x.esm/My.Mod.esm", .french = "x.esm/My.Mod_fr.esm"},
  };
}

// Marks where the program waits among its messages.
struct MarkingConsole : Console {
  void print(std::string_view text) override { output += text; }
  void wait() override { output += "<wait>"; }
  std::string output;
};

TEST(MalformedInput, EndsWithItsMessageAndLeavesTheFilesSafe) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    Installation install("", "", c.names);
    const TempDir& dir = install.dir();
    const fs::path folder = fs::path(dir.file(c.input)).parent_path();
    const std::string log = fs::path(dir.file(c.french)).replace_extension(".log").string();
    fs::create_directories(folder);
    dir.write(c.input, c.plugin);
    dir.write(c.french, kEarlier);
    if (c.damage) c.damage(dir);
    const std::string before = listing(folder);
    const bool had_log = fs::exists(log);

    std::vector<std::string> args = c.args;
    args.insert(args.begin(), c.argument0.empty() ? install.executable() : c.argument0);
    RunResult result;
    std::string console = c.console;
    if (c.unprivileged || !c.argument0.empty()) {
      // Permissions bind another user; a relative argument 0 is the cwd's.
      result = run_program(install.executable(), args, dir.path().string(), c.unprivileged);
    } else {
      // In process, the one wait at the end shows too.
      for (size_t i = 1; i < args.size(); ++i) args[i] = dir.file(args[i]);
      MarkingConsole marking;
      result = {run(args, marking), marking.output};
      console += "<wait>";
    }
    fs::permissions(dir.path(), fs::perms::owner_all, fs::perm_options::add);
    fs::permissions(dir.file(c.input), fs::perms::owner_read, fs::perm_options::add);

    if (size_t at = console.find("{dir}"); at != std::string::npos) console.replace(at, 5, dir.path().string());
    EXPECT_EQ(result.output, "Welcome in Quillaret v1.01\n\n" + console);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(dir.read(c.input), c.plugin);
    EXPECT_EQ(dir.read(c.french), c.status == 0 ? c.output : kEarlier);
    // The trace log is the one file a run adds, once it got to create it.
    if (!had_log) {
      EXPECT_EQ(fs::exists(log), c.console.starts_with(kParse));
      fs::remove(log);
    }
    EXPECT_EQ(listing(folder), before);
  }
}

}  // namespace
}  // namespace quillaret::testing
