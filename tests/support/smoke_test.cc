#include <gtest/gtest.h>

#include "plugin/plugin_builder.h"
#include "support/run_program.h"

namespace quillaret::testing {
namespace {
using namespace quillaret::builder;

TEST(Smoke, TranslatesAWeaponName) {
  Installation install("", "", lexicon_file({{"Iron Dagger", "Dague de fer"}}));
  install.dir().write("Mod.esp", record("WEAP", {subrecord("FNAM", zstring("Iron Dagger"))}));
  RunResult run = install.translate("Mod.esp");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(install.dir().read("Mod_fr.esp"),
            record("WEAP", {subrecord("FNAM", zstring("Dague de fer"))}));
}

}  // namespace
}  // namespace quillaret::testing
