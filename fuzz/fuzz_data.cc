#include "fuzz_data.h"

#include "support/plugin_builder.h"

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
      lexicon_file({
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

std::string info(const std::vector<std::string>& subrecords) {
  std::vector<std::string> all{subrecord("INAM", zstring("1234567890")),
                               subrecord("DATA", std::string(12, '\0'))};
  all.insert(all.end(), subrecords.begin(), subrecords.end());
  return record("INFO", all);
}

std::string named(std::string_view tag, std::string_view name) {
  return record(tag, {subrecord("NAME", zstring("id")), subrecord("FNAM", zstring(name))});
}

}  // namespace

std::vector<std::string> seed_plugins() {
  const std::string header =
      record("TES3", {subrecord("HEDR", std::string(300, '\0')),
                      subrecord("MAST", zstring("Morrowind.esm")),
                      subrecord("DATA", std::string(8, '\0'))});
  std::vector<std::string> seeds;

  // Every handled kind with a text to translate.
  std::string all_kinds = header;
  for (const char* tag : {"ARMO", "BSGN", "CLAS", "CLOT", "CONT", "CREA", "DOOR", "INGR",
                          "LIGH", "MISC", "RACE", "REGN", "SPEL", "WEAP"}) {
    all_kinds += named(tag, "Iron Dagger");
  }
  all_kinds += record("NPC_", {subrecord("NAME", zstring("fargoth")),
                               subrecord("FNAM", zstring("Fargoth")),
                               subrecord("DNAM", zstring("Balmora"))});
  all_kinds += record("PGRD", {subrecord("DATA", std::string(12, '\0')),
                               subrecord("NAME", zstring("Balmora"))});
  all_kinds += record("CELL", {subrecord("NAME", zstring("Balmora")),
                               subrecord("DATA", std::string(12, '\0')),
                               subrecord("NAME", zstring("Iron")),
                               subrecord("DNAM", zstring("Old Bridge Inn"))});
  all_kinds += record("FACT", {subrecord("NAME", zstring("mages")),
                               subrecord("FNAM", zstring("Mages Guild")),
                               subrecord("RNAM", zstring("Apprentice")),
                               subrecord("RNAM", zstring("Guild"))});
  all_kinds += record("DIAL", {subrecord("NAME", zstring("Old Bridge")),
                               subrecord("DATA", std::string(1, '\0'))});
  all_kinds += record("DIAL", {subrecord("NAME", zstring("Fargoth"))});
  all_kinds += info({subrecord("ANAM", zstring("Balmora")),
                     subrecord("NAME", "The Great Hall is near the Old Bridge Inn. Iron Key's "
                                       "owner, Great Halls (Fargoth) and Iron-Dagger."),
                     subrecord("SCVR", condition("1BLX\x08", "Iron Key")),
                     subrecord("SCVR", condition("\x7f" "BLX\x04", "Long")),
                     subrecord("SCVR", condition("3blx\x08", "Iron Key")),
                     subrecord("SCVR", condition("4BLX\x08", std::string("Iron\0Key", 8))),
                     subrecord("BNAM", "AddTopic \"Old Bridge\"\naddtopic \"Iron Key\"\r\n"
                                       "AddItem \"Iron Dagger\" 1; \"abc\"Iron\" ADDTOPIC "
                                       "\"Great\"\nAddTopic \"")});
  all_kinds += record("SCPT", {subrecord("SCHD", std::string(52, '\0')),
                               subrecord("SCTX", "begin test\nAddTopic \"Morrowind\"\n"
                                                 "player->AddItem \"Nothing\" 1\nend")});
  for (const char* tag : {"ACTI", "BOOK", "STAT", "GMST", "SKIL", "LOCK"}) {
    all_kinds += named(tag, "Iron Dagger");
  }
  seeds.push_back(all_kinds);

  // One small plug-in per handled shape, so that mutations start close to it.
  seeds.push_back(named("WEAP", "Iron Dagger"));
  seeds.push_back(info({subrecord("NAME", "Great Hall")}));
  seeds.push_back(info({subrecord("BNAM", "AddTopic \"Old Bridge\"")}));
  seeds.push_back(info({subrecord("SCVR", condition("1BLX\x0d", "Caius Cosades"))}));
  seeds.push_back(info({subrecord("SCVR", condition(std::string_view("1BLX\0", 5), ""))}));

  // Shapes the reader must take without a crash: records of size 0 and
  // below 8, SCVR of 0 to 4 bytes, a nested record, a record whose
  // subrecords overrun it, stray bytes at the end, an empty name.
  seeds.push_back("WEAP" + u32(0) + std::string(8, '\0') + named("WEAP", "Iron"));
  seeds.push_back("WEAP" + u32(5) + std::string(8, '\0') + named("WEAP", "Iron"));
  std::vector<std::string> short_conditions;
  for (int size = 0; size <= 4; ++size) {
    short_conditions.push_back(subrecord("SCVR", std::string("1BLX", static_cast<size_t>(size))));
  }
  seeds.push_back(info(short_conditions));
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
  seeds.push_back(lexicon_file({{"Dagger", "A"}, {"Dagger", "B"}, {"Iron Dagger", "C"},
                                {"Dag", "D"}, {"Iron", "E"}, {"Daggers", "F"}}));
  seeds.push_back("label: \"Iron\" \"ignored\"\n\"Fer\"\n\n\"odd\"\n");
  static const char kNul[] = "\"Iron\"\n\"Fer\0\"Steel\"\n\"Acier\"\n";
  seeds.push_back(std::string(kNul, sizeof kNul - 1));
  seeds.push_back("\"unterminated\n\"target");
  seeds.push_back(std::string("\"") + std::string(2000, 'x') + "\"\n\"y\"\n");
  return seeds;
}

}  // namespace quillaret::fuzzing
