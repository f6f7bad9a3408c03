#include <gtest/gtest.h>
#ifdef __linux__
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "tools/plugin_builder.h"
#include "support/run_program.h"

namespace quillaret::testing {
namespace {
using namespace builder;
namespace fs = std::filesystem;

const std::string kSuccess = "Welcome in Quillaret v1.01\n\nReading lexicons\nParsing Mod file\nTranslating\n"
                             "done!\nSaving file\nsaving...\ndone\n";

TEST(Driver, LexiconDirectory) {
  const std::string own = fs::read_symlink("/proc/self/exe").parent_path().string();
  // A separator at index 0 alone does not count: the executable's own folder is asked for.
  for (const auto& [argument0, directory] : std::vector<std::pair<std::string, std::string>>{
           {"games/tools/quillaret", "games/tools"}, {"C:\\Games\\quillaret.exe", "C:\\Games"},
           {"a\\b/quillaret", "a\\b"}, {"/quillaret", own}, {"quillaret", own}, {"", own}}) {
    EXPECT_EQ(lexicon_directory(argument0), directory) << argument0;
  }
}

// Every record kind, with subrecords of many kinds, conditions with and
// without a prefix and nested records, comes out as it went in; so does a
// plug-in of over half a million subrecords.
TEST(Driver, UntranslatedPluginsComeOutIdentical) {
  const std::string kinds =
      "ACTIALCHAPPAARMOBODYBOOKBSGNCELLCLASCLOTCONTCREADIALDOORENCHFACTGLOBGMSTINFOINGRLAND"
      "LEVCLEVILIGHLOCKLTEXMGEFMISCNPC_PGRDPROBRACEREGNREPASCPTSKILSNDGSOUNSPELSSCRSTATTES3WEAP";
  const std::string tags = "NAMEFNAMDNAMRNAMANAMBNAMSCTXDATAAI_AASNDAVFXBSNDBVFXCSNDCVFXHSNDHVFXLKDTMEDTPBDTPTEX"
                           "QSTRRADTRIDTSKDTSTRVMODLINDX";
  ASSERT_EQ(kinds.size(), 43u * 4);
  std::string plugin;
  for (size_t r = 0; r < kinds.size(); r += 4) {
    std::vector<std::string> children;
    for (size_t k = r; k < r + 16; k += 4) {
      children.push_back(subrecord(tags.substr(k % tags.size(), 4), zstring(kinds.substr(r, 4) + " name")));
    }
    children.push_back(subrecord("SCVR", condition("01BLX", "Fargoth")));
    children.push_back(subrecord("SCVR", "ab"));
    // Every third record, and the last, ends with a nested record that ends with one.
    if (r % 12 == 0) children.push_back(record("SCPT", {subrecord("SCTX", "begin"), record("INFO", {})}));
    plugin += record(kinds.substr(r, 4), children, std::string("\1\0\0\0\2\0\0\0", 8));
  }
  std::string many;
  for (int i = 0; i < 500001; ++i) many += subrecord("DATA", "d");
  for (const std::string& input : {plugin, record("STAT", {many})}) {
    Installation install("", "", "");
    install.dir().write("Mod.esp", input);
    const RunResult run = install.translate("Mod.esp");
    EXPECT_EQ(run.output, kSuccess);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(install.dir().read("Mod_fr.esp") == input);
  }
}

#ifdef __linux__
TEST(Driver, AShorterTranslationKeepsNoSpacePastItsEnd) {
  // Space is set aside for as many bytes as the input has; a translation
  // half as long must give the rest back.
  const std::string long_name(200, 'L');
  Installation install("", "", "\"" + long_name + "\"\n\"S\"\n");
  std::string plugin;
  for (int i = 0; i < 10000; ++i) plugin += record("WEAP", {subrecord("FNAM", zstring(long_name))});
  install.dir().write("Mod.esp", plugin);
  ASSERT_EQ(install.translate("Mod.esp").status, 0);
  struct stat output;
  ASSERT_EQ(::stat(install.dir().file("Mod_fr.esp").c_str(), &output), 0);
  ASSERT_LT(output.st_size, static_cast<off_t>(plugin.size() / 4));
  EXPECT_LE(output.st_blocks * 512, output.st_size + (64 << 10));
}
#endif

}  // namespace
}  // namespace quillaret::testing
