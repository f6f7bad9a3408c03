// The master: record kinds in the order a real master stores them, with
// their usual subrecords and payload sizes. The translated kinds carry names
// from the lexicons (and some that are missing from them); the bulk of the
// bytes is what the translator only copies: landscape, cell references,
// path grids, compiled scripts, books.
#include "dataset.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/plugin_builder.h"

namespace quillaret::bench {
namespace {

using builder::subrecord;
using builder::u32;
using builder::zstring;

std::string fixed(std::string_view text, size_t size) {
  std::string field(text.substr(0, size));
  field.resize(size, '\0');
  return field;
}

std::string id_of(std::string_view kind, size_t number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "_%05zu", number);
  return std::string(kind) + digits;
}

std::string lowercase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

class Builder {
 public:
  Builder(const Vocabulary& vocabulary, uint64_t seed) : v_(vocabulary), rng_(seed) {}

  std::string& bytes() { return out_; }
  MasterStats& stats() { return stats_; }

  void add(std::string_view tag, const std::vector<std::string>& subrecords) {
    out_ += builder::record(tag, subrecords);
    ++stats_.records;
    stats_.subrecords += subrecords.size();
  }

  // Payload bytes that the translator only copies (little-endian words of
  // the generator, the same on every machine).
  std::string blob(size_t size) {
    std::string data(size, '\0');
    for (size_t i = 0; i < size; i += 8) {
      const uint64_t word = rng_.next();
      for (size_t j = 0; j < 8 && i + j < size; ++j) {
        data[i + j] = static_cast<char>(word >> (8 * j) & 0xFF);
      }
    }
    return data;
  }

  // Most names come from the lexicon; some are not in it (the translator
  // logs those), as in a master that the lexicon does not fully cover.
  std::string name_from(const std::vector<std::string>& kind) {
    const std::string& name = rng_.pick(kind);
    return rng_.percent(8) ? name + " Replica" : name;
  }

  // The record count is patched in once the master is complete.
  void header() {
    std::string hedr;
    hedr += u32(0x3FA66666);  // version 1.3
    hedr += u32(1);           // a master
    hedr += fixed("Quillaret bench", 32);
    hedr += fixed("Generated benchmark master. Same seed, same bytes.", 256);
    hedr += u32(0);
    add("TES3", {subrecord("HEDR", hedr)});
  }

  void game_settings(size_t count) {
    for (size_t i = 0; i < count; ++i) {
      const std::string id = id_of("sSetting", i);
      switch (i % 3) {
        case 0:
          add("GMST", {subrecord("NAME", id), subrecord("STRV", "You cannot do that now.")});
          break;
        case 1:
          add("GMST", {subrecord("NAME", id), subrecord("INTV", u32(rng_.below(500)))});
          break;
        default:
          add("GMST", {subrecord("NAME", id), subrecord("FLTV", u32(0x3F800000))});
          break;
      }
    }
    for (size_t i = 0; i < count / 16; ++i) {
      add("GLOB", {subrecord("NAME", zstring(id_of("global", i))), subrecord("FNAM", "s"),
                   subrecord("FLTV", u32(0))});
    }
  }

  void classes_factions_races(size_t factions) {
    for (size_t i = 0; i < v_.classes.size(); ++i) {
      add("CLAS",
          {subrecord("NAME", zstring(id_of("class", i))), subrecord("FNAM", zstring(v_.classes[i])),
           subrecord("CLDT", blob(60)), subrecord("DESC", "A class of the benchmark.")});
    }
    for (size_t i = 0; i < factions; ++i) {
      std::vector<std::string> subs = {subrecord("NAME", zstring(id_of("faction", i))),
                                       subrecord("FNAM", zstring(name_from(v_.faction_names)))};
      for (int rank = 0; rank < 10; ++rank) {
        subs.push_back(subrecord("RNAM", fixed(rng_.pick(v_.ranks), 32)));
      }
      subs.push_back(subrecord("FADT", blob(240)));
      for (int other = 0; other < 3; ++other) {
        subs.push_back(subrecord(
            "ANAM", zstring(id_of("faction", rng_.below(static_cast<uint32_t>(factions))))));
        subs.push_back(subrecord("INTV", u32(rng_.below(3))));
      }
      add("FACT", subs);
    }
    for (size_t i = 0; i < v_.races.size(); ++i) {
      std::vector<std::string> subs = {subrecord("NAME", zstring(id_of("race", i))),
                                       subrecord("FNAM", zstring(v_.races[i])),
                                       subrecord("RADT", blob(140))};
      for (int power = 0; power < 3; ++power) {
        subs.push_back(subrecord("NPCS", fixed(id_of("power", i * 3 + power), 32)));
      }
      subs.push_back(subrecord("DESC", "A people of the benchmark, proud and numerous."));
      add("RACE", subs);
    }
  }

  void sounds_skills_effects(size_t sounds) {
    for (size_t i = 0; i < sounds; ++i) {
      add("SOUN", {subrecord("NAME", zstring(id_of("sound", i))),
                   subrecord("FNAM", zstring("Fx\\sound_" + std::to_string(i) + ".wav")),
                   subrecord("DATA", blob(3))});
    }
    for (uint32_t i = 0; i < 27; ++i) {
      add("SKIL", {subrecord("INDX", u32(i)), subrecord("SKDT", blob(24)),
                   subrecord("DESC", "Governs the use of one of the arts of the benchmark.")});
    }
    for (uint32_t i = 0; i < 137; ++i) {
      add("MGEF", {subrecord("INDX", u32(i)), subrecord("MEDT", blob(36)),
                   subrecord("ITEX", "s\\tx_s_effect.dds"), subrecord("PTEX", "vfx_particle.tga"),
                   subrecord("CVFX", "VFX_DefaultCast"), subrecord("BVFX", "VFX_DefaultBolt"),
                   subrecord("HVFX", "VFX_DefaultHit"), subrecord("AVFX", "VFX_DefaultArea"),
                   subrecord("DESC", "An effect of the benchmark.")});
    }
  }

  std::string script_line(size_t number) {
    switch (rng_.below(16)) {
      case 0:
        return "\tAddTopic \"" + rng_.pick(v_.topic_words) + "\"\r\n";
      case 1:
        return "\taddtopic \"" + rng_.pick(v_.topic_words) + "\"\r\n";
      case 2:
        return "\tPlayer->AddItem \"" + name_from(v_.items) + "\" 1\r\n";
      case 3:
        return "\tif ( GetItemCount \"" + rng_.pick(v_.items) +
               "\" > 0 )\r\n\t\tset state to 1\r\n\tendif\r\n";
      case 4:
        return "\tif ( GetPCCell \"" + name_from(v_.places) +
               "\" == 1 )\r\n\t\tset doOnce to 1\r\n\tendif\r\n";
      case 5:
        return "\tPositionCell 1024 2048 128 0 \"" + rng_.pick(v_.places) + "\"\r\n";
      case 6:
        return "\t\"" + rng_.pick(v_.people) + "\"->StartCombat Player\r\n";
      case 7:
        return "\tMessageBox \"" + rng_.pick(v_.people) + " has left for " + rng_.pick(v_.towns) +
               ".\"\r\n";
      case 8:
        return "\tJournal \"" + id_of("quest", number % 700) + "\" 20\r\n";
      case 9:
        return "\tset timer to ( timer + GetSecondsPassed )\r\n";
      case 10:
        return "\tPlaceAtPC \"" + rng_.pick(v_.creatures) + "\" 1 128 1\r\n";
      case 11:
        return "\t; " + rng_.pick(v_.people) + " must not see this\r\n";
      case 12:
        return "\tModPCFacRep 5 \"" + rng_.pick(v_.faction_names) + "\"\r\n";
      case 13:
        return "\tCast \"" + rng_.pick(v_.spells) + "\" Player\r\n";
      case 14:
        return "\tStartScript \"" + id_of("script", rng_.below(2400)) + "\"\r\n";
      default:
        return "\tif ( state == 1 )\r\n\t\tReturn\r\n\tendif\r\n";
    }
  }

  void scripts(size_t count) {
    for (size_t i = 0; i < count; ++i) {
      const std::string id = id_of("script", i);
      std::string text = "Begin " + id +
                         "\r\n\r\nshort doOnce\r\nshort state\r\nfloat timer\r\n\r\n"
                         "if ( MenuMode == 1 )\r\n\treturn\r\nendif\r\n\r\n";
      for (uint32_t line = rng_.between(8, 28); line > 0; --line) text += script_line(i);
      text += "\r\nEnd " + id + "\r\n";
      std::string schd = fixed(id, 32) + u32(2) + u32(0) + u32(1) +
                         u32(static_cast<uint32_t>(text.size() / 2)) + u32(24);
      add("SCPT",
          {subrecord("SCHD", schd), subrecord("SCVR", std::string("doOnce\0state\0timer\0", 19)),
           subrecord("SCDT", blob(text.size() / 2)), subrecord("SCTX", text)});
      ++stats_.scripts;
    }
  }

  void regions_signs_textures(size_t statics) {
    for (size_t i = 0; i < v_.regions.size(); ++i) {
      std::vector<std::string> subs = {
          subrecord("NAME", zstring(id_of("region", i))), subrecord("FNAM", zstring(v_.regions[i])),
          subrecord("WEAT", blob(8)), subrecord("BNAM", zstring(id_of("creature_list", i))),
          subrecord("CNAM", blob(4))};
      for (int sound = 0; sound < 6; ++sound) {
        subs.push_back(subrecord("SNAM", fixed(id_of("sound", rng_.below(400)), 32) + "\x0A"));
      }
      add("REGN", subs);
      ++stats_.named_objects;
    }
    for (size_t i = 0; i < v_.signs.size(); ++i) {
      add("BSGN",
          {subrecord("NAME", zstring(id_of("sign", i))), subrecord("FNAM", zstring(v_.signs[i])),
           subrecord("TNAM", "birthsigns\\sign.tga"), subrecord("DESC", "Born under it."),
           subrecord("NPCS", fixed(id_of("power", i), 32))});
      ++stats_.named_objects;
    }
    for (uint32_t i = 0; i < 100; ++i) {
      add("LTEX", {subrecord("NAME", zstring(id_of("texture", i))), subrecord("INTV", u32(i)),
                   subrecord("DATA", zstring("tx_ground_" + std::to_string(i) + ".tga"))});
    }
    for (size_t i = 0; i < statics; ++i) {
      add("STAT", {subrecord("NAME", zstring(id_of("ex_static", i))),
                   subrecord("MODL", zstring("x\\ex_static_" + std::to_string(i % 900) + ".nif"))});
    }
  }

  // An item kind with a name: NAME, MODL, FNAM, its data block, an icon.
  void items(std::string_view tag, std::string_view data_tag, size_t data_size, size_t count,
             const std::vector<std::string>& names) {
    for (size_t i = 0; i < count; ++i) {
      std::vector<std::string> subs = {
          subrecord("NAME", zstring(id_of(lowercase(std::string(tag)), i))),
          subrecord("MODL", zstring("m\\item_" + std::to_string(i % 500) + ".nif")),
          subrecord("FNAM", zstring(name_from(names))), subrecord(data_tag, blob(data_size)),
          subrecord("ITEX", zstring("m\\tx_item_" + std::to_string(i % 500) + ".dds"))};
      if (tag == "ARMO" || tag == "CLOT") {
        for (uint32_t part = rng_.between(1, 3); part > 0; --part) {
          subs.push_back(subrecord("INDX", std::string(1, static_cast<char>(part))));
          subs.push_back(subrecord("BNAM", zstring(id_of("part", rng_.below(600)))));
        }
      }
      if (rng_.percent(10)) {
        subs.push_back(subrecord("ENAM", zstring(id_of("enchantment", rng_.below(700)))));
      }
      add(tag, subs);
      ++stats_.named_objects;
    }
  }

  void objects(double scale) {
    auto n = [&](double base) {
      return static_cast<size_t>(std::max(1.0, std::round(base * scale)));
    };
    for (size_t i = 0; i < n(700); ++i) {
      add("DOOR",
          {subrecord("NAME", zstring(id_of("door", i))), subrecord("MODL", zstring("d\\door.nif")),
           subrecord("FNAM",
                     zstring(rng_.percent(60) ? std::string("Door") : name_from(v_.places))),
           subrecord("SNAM", zstring("Door Open")), subrecord("ANAM", zstring("Door Close"))});
      ++stats_.named_objects;
    }
    items("MISC", "MCDT", 12, n(1500), v_.items);
    items("WEAP", "WPDT", 32, n(1000), v_.items);
    for (size_t i = 0; i < n(1200); ++i) {
      std::vector<std::string> subs = {subrecord("NAME", zstring(id_of("container", i))),
                                       subrecord("MODL", zstring("o\\contain.nif")),
                                       subrecord("FNAM", zstring(name_from(v_.items))),
                                       subrecord("CNDT", blob(4)), subrecord("FLAG", u32(8))};
      for (uint32_t item = rng_.between(0, 6); item > 0; --item) {
        subs.push_back(subrecord(
            "NPCO", u32(rng_.between(1, 5)) + fixed(id_of("misc", rng_.below(1500)), 32)));
      }
      add("CONT", subs);
      ++stats_.named_objects;
    }
    for (size_t i = 0; i < n(1000); ++i) {
      std::vector<std::string> subs = {subrecord("NAME", zstring(id_of("spell", i))),
                                       subrecord("FNAM", zstring(name_from(v_.spells))),
                                       subrecord("SPDT", blob(12))};
      for (uint32_t effect = rng_.between(1, 3); effect > 0; --effect) {
        subs.push_back(subrecord("ENAM", blob(24)));
      }
      add("SPEL", subs);
      ++stats_.named_objects;
    }
    for (size_t i = 0; i < n(900); ++i) {
      std::vector<std::string> subs = {subrecord("NAME", zstring(id_of("creature", i))),
                                       subrecord("MODL", zstring("r\\creature.nif")),
                                       subrecord("FNAM", zstring(name_from(v_.creatures))),
                                       subrecord("NPDT", blob(96)), subrecord("FLAG", u32(0x48))};
      for (uint32_t item = rng_.between(0, 3); item > 0; --item) {
        subs.push_back(subrecord("NPCO", u32(1) + fixed(id_of("ingred", rng_.below(400)), 32)));
      }
      subs.push_back(subrecord("AIDT", blob(12)));
      subs.push_back(subrecord("AI_W", blob(14)));
      add("CREA", subs);
      ++stats_.named_objects;
    }
    for (size_t i = 0; i < n(600); ++i) {
      add("BODY",
          {subrecord("NAME", zstring(id_of("part", i))), subrecord("MODL", zstring("b\\part.nif")),
           subrecord("FNAM", zstring(rng_.pick(v_.races))), subrecord("BYDT", blob(4))});
    }
    items("LIGH", "LHDT", 24, n(500), v_.items);
    for (size_t i = 0; i < n(700); ++i) {
      std::vector<std::string> subs = {subrecord("NAME", zstring(id_of("enchantment", i))),
                                       subrecord("ENDT", blob(16))};
      for (uint32_t effect = rng_.between(1, 3); effect > 0; --effect) {
        subs.push_back(subrecord("ENAM", blob(24)));
      }
      add("ENCH", subs);
    }
    people(n(2800));
    items("ARMO", "AODT", 24, n(1200), v_.items);
    items("CLOT", "CTDT", 12, n(1000), v_.items);
    for (size_t i = 0; i < n(700); ++i) {
      // Activators pass through the translator even though they have names.
      add("ACTI", {subrecord("NAME", zstring(id_of("activator", i))),
                   subrecord("MODL", zstring("x\\acti.nif")),
                   subrecord("FNAM", zstring(rng_.pick(v_.items)))});
    }
    for (size_t i = 0; i < n(150); ++i) {
      add("APPA", {subrecord("NAME", zstring(id_of("apparatus", i))),
                   subrecord("MODL", zstring("m\\appa.nif")),
                   subrecord("FNAM", zstring(rng_.pick(v_.items))), subrecord("AADT", blob(16)),
                   subrecord("ITEX", zstring("m\\tx_appa.dds"))});
    }
    items("INGR", "IRDT", 56, n(400), v_.items);
    for (size_t i = 0; i < n(570); ++i) {
      std::string text =
          "<DIV ALIGN=\"LEFT\"><FONT COLOR=\"000000\" SIZE=\"3\" FACE=\"Magic Cards\">";
      for (uint32_t sentence = rng_.between(10, 50); sentence > 0; --sentence) {
        text += "It is written that " + rng_.pick(v_.people) + " went to " + rng_.pick(v_.towns) +
                " in search of the " + rng_.pick(v_.topic_words) + ".<BR>\r\n";
      }
      add("BOOK",
          {subrecord("NAME", zstring(id_of("book", i))), subrecord("MODL", zstring("m\\book.nif")),
           subrecord("FNAM", zstring(rng_.pick(v_.items))), subrecord("BKDT", blob(20)),
           subrecord("ITEX", zstring("m\\tx_book.dds")), subrecord("TEXT", text)});
    }
    for (size_t i = 0; i < n(300); ++i) {
      add("ALCH", {subrecord("NAME", zstring(id_of("potion", i))),
                   subrecord("MODL", zstring("m\\potion.nif")),
                   subrecord("FNAM", zstring(rng_.pick(v_.spells))), subrecord("ALDT", blob(12)),
                   subrecord("ENAM", blob(24)), subrecord("TEXT", zstring("m\\tx_potion.dds"))});
    }
    for (const char* tag : {"LEVI", "LEVC"}) {
      for (size_t i = 0; i < n(500); ++i) {
        const uint32_t entries = rng_.between(2, 12);
        std::vector<std::string> subs = {
            subrecord("NAME", zstring(id_of("leveled", i))), subrecord("DATA", u32(1)),
            subrecord("NNAM", std::string(1, '\0')), subrecord("INDX", u32(entries))};
        for (uint32_t e = 0; e < entries; ++e) {
          subs.push_back(
              subrecord(tag[3] == 'I' ? "INAM" : "CNAM", zstring(id_of("misc", rng_.below(1500)))));
          subs.push_back(subrecord("INTV", std::string("\x01\x00", 2)));
        }
        add(tag, subs);
      }
    }
  }

  void people(size_t count) {
    for (size_t i = 0; i < count; ++i) {
      std::vector<std::string> subs = {
          subrecord("NAME", zstring(id_of("npc", i))),
          subrecord("FNAM", zstring(name_from(v_.people))),
          subrecord("RNAM", zstring(id_of("race", rng_.below(10)))),
          subrecord("CNAM", zstring(id_of("class", rng_.below(30)))),
          subrecord("ANAM", zstring(id_of("faction", rng_.below(400)))),
          subrecord("BNAM", zstring("b_n_dark elf_m_head_01")),
          subrecord("KNAM", zstring("b_n_dark elf_m_hair_01")),
          subrecord("NPDT", blob(52)),
          subrecord("FLAG", u32(0x18))};
      for (uint32_t item = rng_.between(2, 8); item > 0; --item) {
        subs.push_back(subrecord("NPCO", u32(1) + fixed(id_of("misc", rng_.below(1500)), 32)));
      }
      for (uint32_t spell = rng_.between(0, 5); spell > 0; --spell) {
        subs.push_back(subrecord("NPCS", fixed(id_of("spell", rng_.below(1000)), 32)));
      }
      subs.push_back(subrecord("AIDT", blob(12)));
      if (rng_.percent(10)) {
        // Travel services: destinations named by their cells.
        for (uint32_t stop = rng_.between(1, 4); stop > 0; --stop) {
          subs.push_back(subrecord("DODT", blob(24)));
          subs.push_back(subrecord("DNAM", zstring(name_from(v_.places))));
        }
      }
      subs.push_back(subrecord("AI_W", blob(14)));
      add("NPC_", subs);
      ++stats_.named_objects;
    }
  }

  // One reference of a cell: FRMR, the object, its position, and for some
  // the extras real cells carry; doors lead to a named cell.
  void reference(std::vector<std::string>& subs, uint32_t number) {
    subs.push_back(subrecord("FRMR", u32(number)));
    subs.push_back(subrecord(
        "NAME", zstring(id_of(rng_.percent(70) ? "ex_static" : "misc", rng_.below(4000)))));
    if (rng_.percent(30)) subs.push_back(subrecord("XSCL", u32(0x3F8CCCCD)));
    if (rng_.percent(5)) {
      subs.push_back(subrecord("DODT", blob(24)));
      subs.push_back(subrecord("DNAM", zstring(name_from(v_.places))));
      ++stats_.doors;
    }
    if (rng_.percent(4)) subs.push_back(subrecord("ANAM", zstring(id_of("npc", rng_.below(2800)))));
    if (rng_.percent(3)) subs.push_back(subrecord("NAM9", u32(rng_.between(1, 20))));
    if (rng_.percent(2)) subs.push_back(subrecord("INTV", u32(rng_.below(300))));
    subs.push_back(subrecord("DATA", blob(24)));
  }

  void cells_lands_grids(size_t cells, size_t lands) {
    for (size_t i = 0; i < cells; ++i) {
      const bool interior = rng_.percent(40);
      std::vector<std::string> subs;
      if (interior) {
        subs.push_back(subrecord("NAME", zstring(name_from(v_.places))));
        subs.push_back(subrecord("DATA", u32(1) + u32(0) + u32(0)));
        subs.push_back(subrecord("WHGT", u32(0)));
        subs.push_back(subrecord("AMBI", blob(16)));
      } else {
        const bool named = rng_.percent(30);
        subs.push_back(subrecord("NAME", zstring(named ? name_from(v_.towns) : std::string())));
        subs.push_back(subrecord("DATA", u32(2) + blob(8)));
        subs.push_back(subrecord("RGNN", zstring(id_of("region", rng_.below(40)))));
        subs.push_back(subrecord("NAM5", blob(4)));
      }
      const uint32_t count = rng_.between(20, 240);
      subs.push_back(subrecord("NAM0", u32(count)));
      for (uint32_t r = 1; r <= count; ++r) reference(subs, r);
      add("CELL", subs);
      ++stats_.cells;
      ++stats_.named_objects;
    }
    for (size_t i = 0; i < lands; ++i) {
      add("LAND", {subrecord("INTV", u32(static_cast<uint32_t>(i % 64)) +
                                         u32(static_cast<uint32_t>(i / 64))),
                   subrecord("DATA", u32(9)), subrecord("VNML", blob(12675)),
                   subrecord("VHGT", blob(4232)), subrecord("WNAM", blob(81)),
                   subrecord("VCLR", blob(12675)), subrecord("VTEX", blob(512))});
    }
    for (size_t i = 0; i < cells; ++i) {
      const uint32_t points = rng_.between(4, 40);
      add("PGRD", {subrecord("DATA", blob(8) + u32(points)),
                   subrecord("NAME", zstring(name_from(rng_.percent(50) ? v_.places : v_.towns))),
                   subrecord("PGRP", blob(16 * points)), subrecord("PGRC", blob(4 * points + 16))});
      ++stats_.named_objects;
    }
    for (size_t i = 0; i < 300; ++i) {
      add("SNDG", {subrecord("NAME", zstring(id_of("sound_gen", i))), subrecord("DATA", u32(0)),
                   subrecord("CNAM", zstring(id_of("creature", i))),
                   subrecord("SNAM", zstring(id_of("sound", i)))});
    }
  }

  // A phrase as prose carries it; now and then in a form that must not be
  // translated: another case, a plural, glued to a hyphen.
  std::string phrase(const std::vector<std::string>& kind) {
    const std::string& text = rng_.pick(kind);
    switch (rng_.below(40)) {
      case 0:
        return lowercase(text);
      case 1:
        return text + "s";
      case 2:
        return "half-" + text;
      default:
        return text;
    }
  }

  std::string sentence() {
    const std::string T = phrase(v_.topic_words), P = phrase(v_.people), L = phrase(v_.places),
                      I = phrase(v_.items), C = phrase(v_.creatures), N = phrase(v_.towns),
                      F = rng_.pick(v_.faction_names), R = phrase(v_.regions),
                      S = phrase(v_.spells);
    switch (rng_.below(24)) {
      case 0:
        return "Have you heard about the " + T + "? They say " + P + " knows more about it. ";
      case 1:
        return P + " is looking for the " + I + ". You might find one in " + L + ". ";
      case 2:
        return "If you want to learn about " + T + ", talk to " + P + " in " + N + ". ";
      case 3:
        return "A " + C + " near " + L + " has been troubling travelers on the road to " + N + ". ";
      case 4:
        return "I can teach you " + S + ", for a price. ";
      case 5:
        return P + "'s " + I + " was stolen last night. The " + F + " is blamed. ";
      case 6:
        return "Some say " + T + " is a matter best left to the " + F + ". ";
      case 7:
        return "Go to " + L + ". Speak with " + P + " and mention " + T + ". ";
      case 8:
        return "We do not talk about " + T + " here, %PCRace. ";
      case 9:
        return "Travel to the " + R + " and beware of the " + C + ". ";
      case 10:
        return "The " + F + " pays well for a " + I + ", or so I hear from " + P + ". ";
      case 11:
        return "You should visit " + N + " when you can. The " + L + " is worth a look. ";
      case 12:
        return "I have nothing more to say about " + T + ". ";
      case 13:
        return P + "? Yes, I know " + P + ". Ask about " + T + " in " + N + ". ";
      case 14:
        return "Bring me a " + I + " and I will tell you where to find " + P + ". ";
      case 15:
        return "Many pilgrims pass through " + N + " on the way to " + L + ". ";
      case 16:
        return "The " + C + " is a dangerous beast (use " + S + " against it). ";
      case 17:
        return "What do you want, %PCName? I am busy with " + T + ". ";
      case 18:
        return "There are rumors of " + T + " in the " + R + ". ";
      case 19:
        return N + " is a fine town, though the " + F + " has too many friends there. ";
      case 20:
        return "Keep your voice down. ";
      case 21:
        return "I don't have time for this, outlander. ";
      case 22:
        return "The weather has been strange lately, and the harvest was poor. ";
      default:
        return "\"" + T + "\"; that is all I will say. ";
    }
  }

  std::string response() {
    std::string text;
    for (uint32_t count = rng_.between(1, 4); count > 0; --count) text += sentence();
    text.pop_back();
    return text;
  }

  std::string result_script() {
    std::string text;
    for (uint32_t line = rng_.between(1, 4); line > 0; --line) {
      switch (rng_.below(6)) {
        case 0:
        case 1:
          text += "AddTopic \"" + rng_.pick(v_.topic_words) + "\"\r\n";
          break;
        case 2:
          text += "Journal \"" + id_of("quest", rng_.below(700)) + "\" 10\r\n";
          break;
        case 3:
          text += "Player->AddItem \"" + name_from(v_.items) + "\" 1\r\n";
          break;
        case 4:
          text += "ModDisposition 10\r\n";
          break;
        default:
          text += "Choice \"Yes\" 1 \"No\" 2\r\n";
          break;
      }
    }
    return text;
  }

  // A condition: index, type, function and comparison, then the name it
  // tests. "BLX" conditions test a cell, by the cell's name.
  std::string condition(uint32_t index) {
    std::string prefix(1, static_cast<char>('0' + index));
    std::string name;
    switch (rng_.below(8)) {
      case 0:
      case 1:
        prefix += "BLX";
        name = name_from(v_.places);
        ++stats_.blx_conditions;
        break;
      case 2:
        prefix += "BlX";
        name = rng_.pick(v_.places);
        break;  // another code: untouched
      case 3:
        prefix += "5IX";
        name = id_of("misc", rng_.below(1500));
        break;
      case 4:
        prefix += "6DX";
        name = id_of("npc", rng_.below(2800));
        break;
      case 5:
        prefix += "4JX";
        name = id_of("quest", rng_.below(700));
        break;
      case 6:
        prefix += "2fX";
        name = id_of("global", rng_.below(80));
        break;
      default:
        prefix += "146";
        break;
    }
    prefix += '0';
    return builder::condition(prefix, name);
  }

  void dialogue(size_t topics, size_t infos) {
    size_t info_number = 0;
    for (size_t d = 0; d < topics; ++d) {
      const uint32_t type = rng_.below(10) == 0 ? 4 : 0;  // journals and topics
      const std::string name = d < v_.topic_words.size() && rng_.percent(95)
                                   ? v_.topic_words[(d * 7919) % v_.topic_words.size()]
                                   : name_from(v_.people);
      add("DIAL", {subrecord("NAME", zstring(type == 4 ? id_of("quest", d) : name)),
                   subrecord("DATA", std::string(1, static_cast<char>(type)))});
      ++stats_.named_objects;
      const size_t end = infos * (d + 1) / topics;
      for (; info_number < end; ++info_number) info(info_number);
    }
  }

  void info(size_t number) {
    std::vector<std::string> subs = {
        subrecord("INAM", zstring(id_of("2814513281263319", number))),
        subrecord("PNAM", zstring(number % 9 ? id_of("2814513281263319", number - 1) : "")),
        subrecord("NNAM", zstring(id_of("2814513281263319", number + 1))),
        subrecord("DATA", blob(12))};
    if (rng_.percent(50)) {
      subs.push_back(subrecord("ONAM", zstring(id_of("npc", rng_.below(2800)))));
    }
    if (rng_.percent(10)) subs.push_back(subrecord("RNAM", zstring(id_of("race", rng_.below(10)))));
    if (rng_.percent(10)) {
      subs.push_back(subrecord("CNAM", zstring(id_of("class", rng_.below(30)))));
    }
    if (rng_.percent(20)) {
      subs.push_back(subrecord("FNAM", zstring(id_of("faction", rng_.below(400)))));
    }
    if (rng_.percent(25)) subs.push_back(subrecord("ANAM", zstring(name_from(v_.places))));
    if (rng_.percent(5)) {
      subs.push_back(subrecord("DNAM", zstring(id_of("faction", rng_.below(400)))));
    }
    subs.push_back(subrecord("NAME", response()));
    ++stats_.responses;
    for (uint32_t c = 0, count = rng_.below(5); c < count; ++c) {
      subs.push_back(subrecord("SCVR", condition(c)));
      subs.push_back(subrecord("INTV", u32(rng_.below(2))));
    }
    if (rng_.percent(30)) {
      subs.push_back(subrecord("BNAM", result_script()));
      ++stats_.scripts;
    }
    add("INFO", subs);
  }

 private:
  const Vocabulary& v_;
  Random rng_;
  std::string out_;
  MasterStats stats_;
};

// Record counts for the default 80 MB; they scale with the size asked for.
// Cells, their references and landscape hold most of the bytes and nodes,
// as in the real masters.
constexpr double kDefaultMegabytes = 80;

void patch_record_count(std::string& bytes, uint64_t records) {
  const std::string count = u32(static_cast<uint32_t>(records - 1));  // the header excluded
  bytes.replace(16 + 8 + 296, 4, count);
}

}  // namespace

std::string make_master(const Vocabulary& vocabulary, const MasterOptions& options,
                        MasterStats* stats) {
  Builder b(vocabulary, options.seed);
  b.header();
  if (!options.header_only) {
    const double scale = options.size_mb / kDefaultMegabytes;
    auto n = [&](double base) {
      return static_cast<size_t>(std::max(1.0, std::round(base * scale)));
    };
    b.game_settings(n(1400));
    b.classes_factions_races(n(400));
    b.sounds_skills_effects(n(400));
    b.scripts(n(2400));
    b.regions_signs_textures(n(4000));
    b.objects(scale);
    b.cells_lands_grids(n(2500), n(1100));
    b.dialogue(n(3000), n(28000));
  }
  patch_record_count(b.bytes(), b.stats().records);
  b.stats().bytes = b.bytes().size();
  if (stats != nullptr) *stats = b.stats();
  return std::move(b.bytes());
}

std::string make_dialogue(const Vocabulary& vocabulary, size_t count, uint64_t seed) {
  Builder b(vocabulary, seed);
  b.header();
  b.dialogue(std::max<size_t>(1, count / 10), count);
  return std::move(b.bytes());
}

std::string make_scripts(const Vocabulary& vocabulary, size_t count, uint64_t seed) {
  Builder b(vocabulary, seed);
  b.header();
  b.scripts(count);
  return std::move(b.bytes());
}

}  // namespace quillaret::bench
