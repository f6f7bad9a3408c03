#include "fuzz_data.h"

#include "tools/plugin_builder.h"

namespace quillaret::fuzzing {

using namespace quillaret::builder;

const LexiconFiles& pipeline_lexicons() {
  static const LexiconFiles files{
      lexicon_file({
          {"Old Bridge", "Vieux Pont"},
          {"Great Hall", "Grande Salle"},
          {"Great", "Grand"},
          {"Morrowind", "Morrowind"},
          {"Silent Topic", ""},
          {"Iron", "Fer du sujet"},  // also a name: topics win in responses
          {"", "jamais"},            // an empty source never matches a phrase
      }),
      lexicon_file({
          {"Mages Guild", "Guilde des Mages"},
          {"Guild", "Guilde"},
          {"Apprentice", ""},
      }),
      lexicon_file(
          {
              {"Iron Key", "Clef de fer"},
              {"Iron", "Fer"},
              {"Iron Dagger", "Dague de fer"},
              {"Old Bridge Inn", "Auberge du Vieux Pont"},
              {"Balmora", "Balmora"},
              {"Fargoth", "Fargoth le Bosmer"},
              {"Caius Cosades", "Caius Cosad\xE8s"},
              {"Nothing", ""},
              {"Dagger", "Dague A"},
              {"Dagger", "Dague B"},  // duplicate source: the load order decides
              {"Long", std::string(300, 'L')},
              {"", "sans nom"},
          },
          "\r\n"),
  };
  return files;
}

namespace {

// An INFO whose subrecords after DATA are `rest`, none of them a response.
std::string bare_info(const std::vector<std::string>& rest) {
  return quillaret::builder::info({.id = "1234567890", .after = rest});
}

std::string named(std::string_view tag, std::string_view name) {
  return quillaret::builder::named(tag, "id", name);
}

}  // namespace

std::vector<std::string> seed_plugins() {
  // Every handled kind with a text to translate.
  std::vector<std::string> all_kinds;
  for (const char* tag : {"ARMO", "BSGN", "CLAS", "CLOT", "CONT", "CREA", "DOOR", "INGR", "LIGH",
                          "MISC", "RACE", "REGN", "SPEL", "WEAP"}) {
    all_kinds.push_back(named(tag, "Iron Dagger"));
  }
  all_kinds.push_back(quillaret::builder::named(
      "NPC_", "fargoth", "Fargoth",
      {subrecord("DODT", std::string(24, '\0')), subrecord("DNAM", zstring("Balmora"))}));
  all_kinds.push_back(record(
      "PGRD", {subrecord("DATA", std::string(12, '\0')), subrecord("NAME", zstring("Balmora"))}));
  all_kinds.push_back(record(
      "CELL", {subrecord("NAME", zstring("Balmora")), subrecord("DATA", std::string(12, '\0')),
               subrecord("NAME", zstring("Iron")), subrecord("DNAM", zstring("Old Bridge Inn"))}));
  all_kinds.push_back(faction("mages", "Mages Guild", {"Apprentice", "Guild"}));
  // Ranks as zstrings rather than padded to 32 bytes.
  all_kinds.push_back(quillaret::builder::named("FACT", "guild", "Guild",
                                                {subrecord("RNAM", zstring("Apprentice"))}));
  all_kinds.push_back(topic("Old Bridge"));
  all_kinds.push_back(record("DIAL", {subrecord("NAME", zstring("Fargoth"))}));
  all_kinds.push_back(
      info({.id = "1234567890",
            .filters = {subrecord("ANAM", zstring("Balmora"))},
            .response = "The Great Hall is near the Old Bridge Inn. Iron Key's owner, Great Halls "
                        "(Fargoth) and Iron-Dagger.",
            .after = {subrecord("SCVR", condition("1BLX\x08", "Iron Key")),
                      subrecord("SCVR", condition("2BLX3", "Balmora")),
                      subrecord("SCVR", condition("\177BLX\x04", "Long")),
                      subrecord("SCVR", condition("3blx\x08", "Iron Key")),
                      subrecord("SCVR", condition("4BLX\x08", std::string("Iron\0Key", 8))),
                      subrecord("BNAM",
                                "AddTopic \"Old Bridge\"\naddtopic \"Iron Key\"\r\n"
                                "AddItem \"Iron Dagger\" 1; \"abc\"Iron\" ADDTOPIC "
                                "\"Great\"\nAddTopic \"")}}));
  all_kinds.push_back(
      script("test", "begin test\nAddTopic \"Morrowind\"\nplayer->AddItem \"Nothing\" 1\nend",
             std::string(8, '\x01'), {"state"}));
  for (const char* tag : {"ACTI", "BOOK", "STAT", "GMST", "SKIL", "LOCK"}) {
    all_kinds.push_back(named(tag, "Iron Dagger"));
  }
  std::vector<std::string> seeds{plugin({.masters = {{"Morrowind.esm", 79837557}}}, all_kinds)};

  // One small plug-in per handled shape, so that mutations start close to it.
  seeds.push_back(named("WEAP", "Iron Dagger"));
  seeds.push_back(info("1", "Great Hall"));
  seeds.push_back(bare_info({subrecord("BNAM", "AddTopic \"Old Bridge\"")}));
  seeds.push_back(bare_info({subrecord("SCVR", condition("1BLX\x0d", "Caius Cosades"))}));
  seeds.push_back(bare_info({subrecord("SCVR", condition(std::string_view("1BLX\0", 5), ""))}));

  // Shapes the reader must take without a crash: records of size 0 and
  // below 8, SCVR of 0 to 4 bytes, a nested record, a record whose
  // subrecords overrun it, stray bytes at the end, an empty name.
  seeds.push_back("WEAP" + u32(0) + std::string(8, '\0') + named("WEAP", "Iron"));
  seeds.push_back("WEAP" + u32(5) + std::string(8, '\0') + named("WEAP", "Iron"));
  std::vector<std::string> short_conditions;
  for (int size = 0; size <= 4; ++size) {
    short_conditions.push_back(subrecord("SCVR", std::string("1BLX", static_cast<size_t>(size))));
  }
  seeds.push_back(bare_info(short_conditions));
  seeds.push_back(record("WEAP", {subrecord("FNAM", zstring("Iron")), named("MISC", "Iron")}));
  std::string overrun = named("WEAP", "Iron Dagger");
  overrun[4] = 3;  // the record claims less than its subrecords hold
  seeds.push_back(overrun + named("CLOT", "Iron"));
  seeds.push_back(named("WEAP", "Fargoth") + "xyz");
  seeds.push_back(record("WEAP", {subrecord("FNAM", std::string(1, '\0'))}));
  return seeds;
}

std::vector<std::string> seed_lexicons() {
  const LexiconFiles& files = pipeline_lexicons();
  std::vector<std::string> seeds{files.topics, files.factions, files.names};
  seeds.push_back(lexicon_file({{"Dagger", "A"},
                                {"Dagger", "B"},
                                {"Iron Dagger", "C"},
                                {"Dag", "D"},
                                {"Iron", "E"},
                                {"Daggers", "F"}}));
  seeds.push_back("label: \"Iron\" \"ignored\"\n\"Fer\"\n\n\"odd\"\n");
  static const char kNul[] = "\"Iron\"\n\"Fer\0\"Steel\"\n\"Acier\"\n";
  seeds.push_back(std::string(kNul, sizeof kNul - 1));
  seeds.push_back("\"unterminated\n\"target");
  seeds.push_back(std::string("\"") + std::string(2000, 'x') + "\"\n\"y\"\n");
  return seeds;
}

}  // namespace quillaret::fuzzing
