// Writes Example.esp, the small English plug-in bundled with Quillaret. It
// holds one of each kind of record that the translator handles (and a few
// that it leaves alone), with names, a dialogue with responses, result
// scripts and conditions, a script and a cell with a door.
//
// Usage: make_example <output path>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "support/plugin_builder.h"

using namespace quillaret::builder;

namespace {

std::string padded(const std::string& text, size_t size) {
  std::string field = text;
  field.resize(size, '\0');
  return field;
}

std::string f32(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  return u32(bits);
}

std::string header(uint32_t record_count) {
  return record("TES3", {subrecord("HEDR", f32(1.3f) + u32(0) + padded("Quillaret", 32) +
                                               padded("Example plug-in for Quillaret.", 256) +
                                               u32(record_count)),
                         subrecord("MAST", zstring("Morrowind.esm")),
                         subrecord("DATA", std::string(8, '\0'))});
}

std::string named(const char* tag, const char* id, const char* name,
                  std::vector<std::string> rest = {}) {
  std::vector<std::string> subrecords{subrecord("NAME", zstring(id)),
                                      subrecord("FNAM", zstring(name))};
  subrecords.insert(subrecords.end(), rest.begin(), rest.end());
  return record(tag, subrecords);
}

std::string info(const char* id, const char* response, std::vector<std::string> rest = {}) {
  std::vector<std::string> subrecords{subrecord("INAM", zstring(id)),
                                      subrecord("PNAM", std::string(1, '\0')),
                                      subrecord("NNAM", std::string(1, '\0')),
                                      subrecord("DATA", std::string(12, '\0')),
                                      subrecord("NAME", response)};
  subrecords.insert(subrecords.end(), rest.begin(), rest.end());
  return record("INFO", subrecords);
}

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
      record("FACT", {subrecord("NAME", zstring("Fighters Guild")),
                      subrecord("FNAM", zstring("Fighters Guild")),
                      subrecord("RNAM", padded("Apprentice", 32)),
                      subrecord("RNAM", padded("Journeyman", 32))}),
      record("CELL", {subrecord("NAME", zstring("Seyda Neen, Census and Excise Office")),
                      subrecord("DATA", std::string(12, '\0')),
                      subrecord("FRMR", u32(1)),
                      subrecord("NAME", zstring("door_wood")),
                      subrecord("DNAM", zstring("Seyda Neen"))}),
      record("SCPT", {subrecord("SCHD", padded("rumor_script", 52)),
                      subrecord("SCTX", "begin rumor_script\r\n"
                                        "  AddTopic \"latest rumors\"\r\n"
                                        "  player->AddItem \"Iron Key\" 1\r\n"
                                        "end rumor_script")}),
      record("DIAL", {subrecord("NAME", zstring("latest rumors")),
                      subrecord("DATA", std::string(1, '\0'))}),
      info("1001",
           "They say the Old Bridge is closed. Bring an Iron Dagger to the Fighters "
           "Guild if you want work.",
           {subrecord("SCVR", condition("0BLX0", "Seyda Neen, Census and Excise Office")),
            subrecord("BNAM", "AddTopic \"Old Bridge\"")}),
      info("1002", "Ask about the latest rumors in Seyda Neen."),
      record("DIAL", {subrecord("NAME", zstring("Old Bridge")),
                      subrecord("DATA", std::string(1, '\0'))}),
      info("1003", "The Old Bridge? Take the Iron Key; it opens the Wooden Door.",
           {subrecord("ANAM", zstring("Seyda Neen, Census and Excise Office"))}),
      // A topic in neither lexicon: logged.
      record("DIAL", {subrecord("NAME", zstring("Vivec")),
                      subrecord("DATA", std::string(1, '\0'))}),
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_example <output path>\n";
    return 2;
  }
  const std::vector<std::string> body = records();
  std::string plugin = header(static_cast<uint32_t>(body.size()));
  for (const std::string& r : body) plugin += r;
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(plugin.data(), static_cast<std::streamsize>(plugin.size()));
  return out ? 0 : 1;
}
