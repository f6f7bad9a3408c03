// The master: record kinds in the order a real master stores them, with
// their usual subrecords and payload sizes. The translated kinds carry the
// vocabulary's names, some missing from the lexicons; most bytes are what
// the translator only copies: landscape, references, path grids, compiled
// scripts.
#include "dataset.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "plugin/names.h"
#include "tools/plugin_builder.h"

namespace quillaret::bench {
namespace {

using namespace builder;
using Subrecords = std::vector<std::string>;

// Texts between bars, with slots "$c" (see Generator::slot).
constexpr std::string_view kSentences =
    "Have you heard about the $T? They say $N knows more about it. |I have nothing on $T. |"
    "$N is looking for the $N. You might find one in $L. |I can teach you $N, for a price. |"
    "If you want to learn about $T, talk to $N in $L. |Go to $L and mention $T to $N. |"
    "A $N near $L has been troubling travelers on the road to $L. |Keep your voice down. |"
    "$N's $N was stolen last night. The $F is blamed. |We do not talk about $T here, %PCRace. |"
    "Some say $T is a matter best left to the $F. |Travel to $L and beware of the $N. |"
    "The $F pays well for a $N, or so I hear from $N. |\"$T\"; that is all I will say. |"
    "You should visit $L when you can. |What do you want, %PCName? I am busy with $T. |"
    "$N? Yes, I know $N. Ask about $T in $L. |The $N is a dangerous beast (use $N against it). ";
constexpr std::string_view kScriptLines =
    "\tAddTopic \"$t\"\r\n|\taddtopic \"$t\"\r\n|\tPlayer->AddItem \"$n\" 1\r\n|"
    "\tif ( GetItemCount \"$n\" > 0 )\r\n\t\tset state to 1\r\n\tendif\r\n|"
    "\tif ( GetPCCell \"$l\" == 1 )\r\n\t\tset doOnce to 1\r\n\tendif\r\n|"
    "\tPositionCell 1024 2048 128 0 \"$l\"\r\n|\t\"$n\"->StartCombat Player\r\n|"
    "\tMessageBox \"$N has left for $N.\"\r\n|\tJournal \"$0\" 20\r\n|\tCast \"$n\" Player\r\n|"
    "\tset timer to ( timer + GetSecondsPassed )\r\n|\t; $N must not see this\r\n|"
    "\tModPCFacRep 5 \"$f\"\r\n|\tStartScript \"$1\"\r\n";
constexpr std::string_view kResultLines =
    "AddTopic \"$t\"\r\n|AddTopic \"$t\"\r\n|Journal \"$0\" 10\r\n|Player->AddItem \"$n\" 1\r\n|"
    "ModDisposition 10\r\n|Choice \"Yes\" 1 \"No\" 2\r\n";
constexpr std::string_view kBookLine =
    "It is written that $N went to $N in search of the $t.<BR>\r\n";

// Record kinds in a master's order, with their counts for 80 MB and their
// subrecords between spaces. A subrecord is a tag and its payload: "#" the
// record's ID, "$c" a slot's text and a NUL, "&c" the same in 32 bytes, or
// a number: that many bytes of data. Subrecords joined by commas form a
// group, which "*a-b" repeats a to b times and "%p" keeps in p percent of
// the records. SCPT, CELL and DIAL records are built apart.
struct Kind {
  std::string_view tag;
  double count;
  std::string_view subrecords;
};
// clang-format off
constexpr Kind kKinds[] = {
    {"GMST", 1400, "NAME# INTV4"}, {"GLOB", 90, "NAME# FNAM1 FLTV4"},
    {"CLAS", 30, "NAME# FNAM$n CLDT60 DESC40"},
    {"FACT", 400, "NAME# FNAM$f RNAM&j*10 FADT240 ANAM$4,INTV4*3"},
    {"RACE", 10, "NAME# FNAM$n RADT140 NPCS32*3 DESC60"}, {"SOUN", 400, "NAME# FNAM24 DATA3"},
    {"SKIL", 27, "INDX4 SKDT24 DESC60"},
    {"MGEF", 137, "INDX4 MEDT36 ITEX20 PTEX16 CVFX16 BVFX16 HVFX16 AVFX16 DESC40"},
    {"SCPT", 2400, ""}, {"REGN", 40, "NAME# FNAM$n WEAT8 BNAM$9 CNAM4 SNAM33*6"},
    {"BSGN", 13, "NAME# FNAM$n TNAM20 DESC30 NPCS32"}, {"LTEX", 100, "NAME# INTV4 DATA20"},
    {"STAT", 4000, "NAME# MODL24"}, {"DOOR", 700, "NAME# MODL20 FNAM$l SNAM10 ANAM10"},
    {"MISC", 1500, "NAME# MODL20 FNAM$n MCDT12"}, {"WEAP", 1000, "NAME# MODL20 FNAM$n WPDT32"},
    {"CONT", 1200, "NAME# MODL20 FNAM$n CNDT4 FLAG4 NPCO36*0-6"},
    {"SPEL", 1000, "NAME# FNAM$n SPDT12 ENAM24*1-3"},
    {"CREA", 900, "NAME# MODL20 FNAM$n NPDT96 FLAG4 NPCO36*0-3 AIDT12 AI_W14"},
    {"BODY", 600, "NAME# MODL20 FNAM$n BYDT4"}, {"LIGH", 500, "NAME# MODL20 FNAM$n LHDT24"},
    {"ENCH", 700, "NAME# ENDT16 ENAM24*1-3"},
    // Travel destinations are named by their cells.
    {"NPC_", 2800, "NAME# FNAM$n RNAM$5 CNAM$6 ANAM$4 BNAM24 KNAM24 NPDT52 FLAG4 NPCO36*2-8 "
                   "NPCS32*0-5 AIDT12 DODT24,DNAM$l*1-4%10 AI_W14"},
    {"ARMO", 1200, "NAME# MODL20 FNAM$n AODT24 INDX1,BNAM20*1-3"},
    {"CLOT", 1000, "NAME# MODL20 FNAM$n CTDT12 INDX1,BNAM20*1-3"},
    {"REPA", 100, "NAME# MODL20 FNAM$N RIDT16"}, {"ACTI", 700, "NAME# MODL20 FNAM$N"},
    {"APPA", 150, "NAME# MODL20 FNAM$N AADT16"}, {"LOCK", 100, "NAME# MODL20 FNAM$N LKDT16"},
    {"PROB", 100, "NAME# MODL20 FNAM$N PBDT16"}, {"INGR", 400, "NAME# MODL20 FNAM$n IRDT56"},
    {"BOOK", 570, "NAME# MODL20 FNAM$N BKDT20 TEXT$x"},
    {"ALCH", 300, "NAME# MODL20 FNAM$N ALDT12 ENAM24*1-3"},
    {"LEVI", 500, "NAME# DATA4 NNAM1 INDX4 INAM$2,INTV2*2-12"},
    {"LEVC", 500, "NAME# DATA4 NNAM1 INDX4 CNAM$9,INTV2*2-12"}, {"CELL", 2500, ""},
    {"LAND", 1130, "INTV8 DATA4 VNML12675 VHGT4232 WNAM81 VCLR12675 VTEX512"},
    {"PGRD", 2500, "DATA12 NAME$l PGRP352 PGRC104"}, {"SNDG", 300, "NAME# DATA4 CNAM$9 SNAM$8"},
    {"DIAL", 3000, ""},
};
// clang-format on
// The kinds of the IDs of slots "$0" to "$9".
constexpr std::string_view kIdKinds = "DIAL SCPT MISC NPC_ FACT RACE CLAS REGN SOUN CREA";
// A reference in a cell; a door leads to the cell of its DNAM.
constexpr std::string_view kReference = "FRMR4 NAME$2 XSCL4%30 DODT24,DNAM$l%5 ANAM$3%4 DATA24";
// An INFO's filters: actor, race, class, faction, cell, player faction.
constexpr std::string_view kFilters = "ONAM$3%50 RNAM$5%10 CNAM$6%10 FNAM$4%20 ANAM$l%25 DNAM$4%5";
// Conditions: type and details, then the slot of the name tested.
constexpr std::string_view kConditions = "BLXl BLXl BlXL 5IX2 6DX3 4JX0 8FX4 146";

// The record `number` of a kind: its tag in lower case, then the number.
std::string id_of(std::string_view tag, size_t number) {
  char id[16];
  std::snprintf(id, sizeof id, "%.4s%05zu", tag.data(), number);
  std::transform(id, id + 4, id, fold_case);
  return id;
}

// The number after `mark` in `options`; `otherwise` when there is no mark.
uint32_t option(std::string_view options, char mark, uint32_t otherwise) {
  const size_t at = options.find(mark);
  return at == std::string_view::npos ? otherwise : std::stoul(std::string(options.substr(at + 1)));
}

class Generator {
 public:
  Generator(const Vocabulary& v, double scale, uint64_t seed) : v_(v), scale_(scale), rng_{seed} {}

  std::vector<std::string> records;

  void build() {
    for (const Kind& kind : kKinds) {
      for (size_t i = 0; i < n(kind.count); ++i) {
        if (kind.tag == "SCPT") {
          script(i);
        } else if (kind.tag == "CELL") {
          cell();
        } else if (kind.tag == "DIAL") {
          topic(i);
        } else {
          Subrecords subs;
          append(subs, kind.subrecords, id_of(kind.tag, i));
          records.push_back(record(kind.tag, subs));
        }
      }
    }
  }

 private:
  // A count given for 80 MB, scaled.
  uint32_t n(double count) const {
    return static_cast<uint32_t>(std::max(1.0, std::round(count * scale_)));
  }

  // Bytes that the translator only copies: words of the generator, in
  // little-endian order as on every machine.
  std::string blob(size_t size) {
    std::string data;
    while (data.size() < size) data += u64(rng_.next());
    data.resize(size);
    return data;
  }

  // A slot "$c": a letter, a name of that kind (see Vocabulary::kinds), in
  // lower case as a field holds it (one in twelve missing from the
  // lexicons), in upper case as prose has it (one in fourteen in a form that
  // must not be translated: another case, a plural, glued to a hyphen); a
  // digit, an ID of a kind of kIdKinds; 'x', a book's text.
  std::string slot(char code) {
    if (code >= '0' && code <= '9') {
      const std::string_view tag = kIdKinds.substr(5 * static_cast<size_t>(code - '0'), 4);
      return id_of(tag, rng_.below(n(std::ranges::find(kKinds, tag, &Kind::tag)->count)));
    }
    if (code == 'x') return lines(kBookLine, 10, 50);
    std::string name = rng_.pick(v_.kinds.at(static_cast<char>(code | 0x20)));
    const uint32_t form = rng_.below(code >= 'a' ? 12 : 42);
    if (code >= 'a') return form == 0 ? name + " Replica" : name;
    if (form == 0) std::ranges::transform(name, name.begin(), fold_case);
    return form == 1 ? name + "s" : form == 2 ? "half-" + name : name;
  }

  // `low` to `high` texts of `patterns` (between bars), their slots filled.
  std::string lines(std::string_view patterns, uint32_t low, uint32_t high) {
    const std::vector<std::string_view> list = split(patterns, '|');
    std::string text;
    for (uint32_t count = low + rng_.below(high - low + 1); count > 0; --count) {
      const std::string_view pattern = rng_.pick(list);
      for (size_t i = 0; i < pattern.size(); ++i) {
        text += pattern[i] == '$' ? slot(pattern[++i]) : std::string(1, pattern[i]);
      }
    }
    return text;
  }

  // Appends the subrecords of `layout` (see kKinds) of the record `id`.
  void append(Subrecords& subs, std::string_view layout, const std::string& id) {
    for (std::string_view item : split(layout, ' ')) {
      const std::string_view group = item.substr(0, item.find_first_of("*%"));
      const std::string_view options = item.substr(group.size());
      const uint32_t low = option(options, '*', 1), high = option(options, '-', low);
      const uint32_t percent = option(options, '%', 100);
      if (percent < 100 && !rng_.percent(percent)) continue;
      for (uint32_t count = low + rng_.below(high - low + 1); count > 0; --count) {
        for (std::string_view one : split(group, ',')) {
          subs.push_back(subrecord(one.substr(0, 4), payload(one.substr(4), id)));
        }
      }
    }
  }

  // A payload from its code in a layout: "#", "$c", "&c" or a size (see kKinds).
  std::string payload(std::string_view code, const std::string& id) {
    if (code == "#") return zstring(id);
    if (code.starts_with('$')) return zstring(slot(code[1]));
    if (code.starts_with('&')) return fixed(slot(code[1]), 32);
    return blob(std::stoul(std::string(code)));
  }

  void script(size_t number) {
    const std::string id = id_of("SCPT", number);
    const std::string source = "Begin " + id +
                               "\r\n\r\nshort doOnce\r\nshort state\r\nshort timer\r\n\r\n"
                               "if ( MenuMode == 1 )\r\n\treturn\r\nendif\r\n\r\n" +
                               lines(kScriptLines, 8, 28) + "\r\nEnd " + id + "\r\n";
    records.push_back(
        builder::script(id, source, blob(source.size() / 2), {"doOnce", "state", "timer"}));
  }

  // Four in ten are interiors; three exteriors in ten have a name, the
  // others none.
  void cell() {
    const bool interior = rng_.percent(40);
    const std::string name = interior || rng_.percent(30) ? slot('l') : "";
    Subrecords subs{subrecord("NAME", zstring(name)),
                    subrecord("DATA", u32(interior ? 1 : 2) + blob(8))};
    append(subs, interior ? "WHGT4 AMBI16" : "RGNN$7 NAM54", "");
    const uint32_t references = 20 + rng_.below(221);
    subs.push_back(subrecord("NAM0", u32(references)));
    for (uint32_t r = 0; r < references; ++r) append(subs, kReference, "");
    records.push_back(record("CELL", subs));
  }

  // A topic, or one time in ten a journal, and its share of the INFOs.
  void topic(size_t number) {
    const bool journal = rng_.below(10) == 0;
    const std::vector<std::string>& topics = v_.kinds.at('t');
    const std::string name = journal            ? id_of("DIAL", number)
                             : rng_.percent(95) ? topics[number * 7919 % topics.size()]
                                                : slot('n');
    records.push_back(builder::topic(name, journal ? kJournal : kTopic));
    const std::vector<std::string_view> conditions = split(kConditions, ' ');
    for (; infos_ < n(28000) * (number + 1) / n(3000); ++infos_) {
      const uint64_t id = 2814513281263319000ull + infos_;
      Info info{.id = std::to_string(id),
                .previous = infos_ % 9 ? std::to_string(id - 1) : "",
                .next = std::to_string(id + 1),
                .data = blob(12)};
      append(info.filters, kFilters, "");
      info.response = lines(kSentences, 1, 4);
      info.response->pop_back();
      // Conditions: index, type and details, comparison operator, the name
      // tested; "BLX" tests the player's cell by its name.
      for (uint32_t index = 0, count = rng_.below(5); index < count; ++index) {
        const std::string_view code = rng_.pick(conditions);
        const std::string prefix = {static_cast<char>('0' + index), code[0], code[1], code[2],
                                    static_cast<char>('0' + rng_.below(6))};
        info.after.push_back(
            subrecord("SCVR", condition(prefix, code.size() > 3 ? slot(code[3]) : "")));
        info.after.push_back(subrecord("INTV", u32(rng_.below(2))));
      }
      if (rng_.percent(30)) info.after.push_back(subrecord("BNAM", lines(kResultLines, 1, 4)));
      records.push_back(builder::info(info));
    }
  }

  const Vocabulary& v_;
  double scale_;
  Random rng_;
  size_t infos_ = 0;
};

}  // namespace

std::string make_master(const Vocabulary& vocabulary, double size_mb, uint64_t seed) {
  Generator master(vocabulary, size_mb / 80, seed);
  if (size_mb > 0) master.build();
  return builder::plugin(
      {.flags = 1, .author = "Quillaret bench", .description = "Generated benchmark master."},
      master.records);
}

}  // namespace quillaret::bench
