// Writes Example.esp, the small English plug-in bundled with Quillaret. It
// holds one of each kind of record that the translator handles (and a few
// that it leaves alone), with names, a dialogue with responses, result
// scripts and conditions, a script and a cell with a door.
//
// Usage: make_example <output path>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tools/plugin_builder.h"

using namespace quillaret::builder;

namespace {

std::vector<std::string> records() {
  return {
      named("WEAP", "iron dagger", "Iron Dagger",
            {subrecord("MODL", zstring("w\\w_iron_dagger.nif")),
             subrecord("WPDT", std::string(32, '\x01'))}),
      named("ARMO", "netch_leather_cuirass", "Netch Leather Cuirass"),
      named("MISC", "key_old_bridge", "Iron Key"),
      // Activators keep their names: the translator leaves this one alone.
      named("ACTI", "dagger_display", "Iron Dagger"),
      named("CREA", "mudcrab", "Mudcrab"),
      named("NPC_", "guard_seyda", "Guard"),
      // No lexicon entry: it goes to the trace log.
      named("NPC_", "fargoth", "Fargoth"),
      named("DOOR", "door_wood", "Wooden Door"),
      faction("Fighters Guild", "Fighters Guild", {"Apprentice", "Journeyman"}),
      record("CELL",
             {subrecord("NAME", zstring("Seyda Neen, Census and Excise Office")),
              subrecord("DATA", std::string(12, '\0')), subrecord("FRMR", u32(1)),
              subrecord("NAME", zstring("door_wood")), subrecord("DNAM", zstring("Seyda Neen"))}),
      script("rumor_script",
             "begin rumor_script\r\n"
             "  AddTopic \"latest rumors\"\r\n"
             "  player->AddItem \"Iron Key\" 1\r\n"
             "end rumor_script"),
      topic("latest rumors"),
      info("1001",
           "They say the Old Bridge is closed. Bring an Iron Dagger to the Fighters "
           "Guild if you want work.",
           {subrecord("SCVR", condition("0BLX0", "Seyda Neen, Census and Excise Office")),
            subrecord("BNAM", "AddTopic \"Old Bridge\"")}),
      info("1002", "Ask about the latest rumors in Seyda Neen."),
      topic("Old Bridge"),
      info("1003", "The Old Bridge? Take the Iron Key; it opens the Wooden Door.",
           {subrecord("ANAM", zstring("Seyda Neen, Census and Excise Office"))}),
      // A topic in neither lexicon: logged.
      topic("Vivec"),
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_example <output path>\n";
    return 2;
  }
  const std::string bytes = plugin({.author = "Quillaret",
                                    .description = "Example plug-in for Quillaret.",
                                    .masters = {{"Morrowind.esm", 0}}},
                                   records());
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return out ? 0 : 1;
}
