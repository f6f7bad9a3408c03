#include <gtest/gtest.h>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace quillaret::testing {
namespace {

const std::string kExamples = QUILLARET_SOURCE_DIR "/examples/";

// The committed example must be what its generator writes, or the two drift
// apart unnoticed.
TEST(Example, CommittedPluginMatchesItsGenerator) {
  TempDir dir;
  RunResult run = run_program(QUILLARET_MAKE_EXAMPLE, {QUILLARET_MAKE_EXAMPLE, dir.file("Example.esp")},
                              dir.path().string());
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(dir.read("Example.esp"), read_file(kExamples + "Example.esp"));
}

// The demo translates the example with the sample lexicons: each kind of
// translation shows in the output, and the names left for the translator
// show in the log.
TEST(Example, SampleLexiconsTranslateTheExample) {
  Installation install(read_file(kExamples + "lexique_enfr_dial.txt"),
                       read_file(kExamples + "lexique_enfr_fact.txt"),
                       read_file(kExamples + "lexique_enfr_name.txt"));
  install.dir().write("Example.esp", read_file(kExamples + "Example.esp"));
  RunResult run = install.translate("Example.esp");
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(run.output,
            "Welcome in Quillaret v1.01\n\nReading lexicons\nParsing Mod file\nTranslating\n"
            "SCVR: Seyda Neen, Census and Excise Office\ndone!\nSaving file\nsaving...\ndone\n");
  const std::string french = install.dir().read("Example_fr.esp");
  using namespace std::literals;
  for (std::string_view text : {"FNAM\x0d\0\0\0Dague de fer\0"sv,
                           "They say the Vieux Pont is closed. Bring an Dague de fer to the "
                           "Guilde des guerriers if you want work.SCVR"sv,
                           "AddTopic \"derni\xe8res rumeurs\""sv,
                           "player->AddItem \"Clef de fer\" 1"sv,
                           "0BLX0Seyda Neen, Bureau du recensement et des imp\xf4ts"sv}) {
    EXPECT_NE(french.find(text), std::string::npos) << text;
  }
  const std::string log = install.dir().read("Example_fr.log");
  EXPECT_NE(log.find("NPC_\n  Fargoth\n"), std::string::npos);
  EXPECT_NE(log.find("DIAL\n  Vivec\n"), std::string::npos);
}

}  // namespace
}  // namespace quillaret::testing
