// Translate an English plug-in, build lexicons from it and its translation,
// translate it again with them: every text translated by exact lookup comes
// out the same, but for the sources that the build reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <set>

#include "lexicon_builder/builder_test_support.h"
#include "lexicon_builder/choices.h"
#include "plugin/plugin_view.h"
#include "support/plugin_io.h"
#include "translate/fields.h"

namespace quillaret::testing {
namespace {

using namespace builder;
namespace lb = lexicon_builder;

const std::vector<std::string> kEnglish = {"Iron", "Iron Key", "Old Bridge", "Balmora",
                                           "x",    "",         "Say \"hi\""};
const std::vector<std::string> kFrench = {"Fer", "Clef de fer", "Vieux Pont", "", "Balmora"};

// Records that a translation keeps or drops together (a topic and its
// responses, a cell and its path grid): in English, and the English that
// the French comes from.
using Records = std::vector<std::string>;
using Unit = std::pair<Records, Records>;

struct Generator {
  std::mt19937 rng;
  uint32_t serial = 0;  // IDs, reference numbers and grids never repeat

  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
  std::string text() { return kEnglish[static_cast<size_t>(below(static_cast<int>(kEnglish.size())))]; }
  std::string id() { return "id" + std::to_string(++serial); }

  // With `conflict`, a second record of the same name, named otherwise in French.
  Unit named(bool conflict) {
    const char* kind =
        std::vector<const char*>{"WEAP", "NPC_", "ACTI", "SPEL"}[static_cast<size_t>(below(4))];
    Records subrecords = {z("NAME", id()), z("FNAM", text())};
    for (int n = below(3); n > 0; --n) subrecords.push_back(z("DNAM", text()));  // travel
    Unit unit = {{record(kind, subrecords)}, {record(kind, subrecords)}};
    if (conflict) {
      const std::string other = z("NAME", id());
      unit.first.push_back(record(kind, {other, subrecords[1]}));
      unit.second.push_back(record(kind, {other, z("FNAM", "Autre")}));
    }
    return unit;
  }
  Records cell() {
    const bool interior = below(2) == 0;
    const uint32_t at = ++serial;
    const std::string grid = interior ? std::string(8, '\0') : u32(at) + u32(-at), name = text();
    Records subrecords = {z("NAME", name), subrecord("DATA", u32(interior) + grid)};
    for (int n = interior && below(5) == 0 ? 0 : below(4); n > 0; --n) {
      subrecords.insert(subrecords.end(),
                        {subrecord("FRMR", u32(++serial)), z("NAME", below(2) ? "door" : "x")});
      if (below(2)) subrecords.push_back(z("DNAM", text()));
    }
    return {record("CELL", subrecords), record("PGRD", {z("NAME", name), subrecord("DATA", grid + u32(0))})};
  }
  Records topic() {
    Records records = {
        record("DIAL", {z("NAME", text()), subrecord("DATA", std::string(1, below(3) ? 0 : 2))})};
    for (int n = below(4); n > 0; --n) {
      Records subrecords = {z("INAM", id()), subrecord("NAME", "Hello")};
      if (below(2)) subrecords.push_back(z("ANAM", text()));
      for (int c = below(3); c > 0; --c) {
        subrecords.push_back(subrecord("SCVR", condition(below(3) ? "0BLX0" : "0sX00", text())));
      }
      records.push_back(record("INFO", subrecords));
    }
    return records;
  }
  Records faction() {
    const std::string rank = text(), name = text();
    return {builder::faction(id(), name, {rank, rank})};
  }
};

struct Variant {
  bool shuffle = false;    // the French file's records in another order
  bool drop = false;       // records missing on either side
  bool conflicts = false;  // names that the French file gives otherwise in some records
};

struct Counts {
  int compared = 0, translated = 0, conflicts = 0;
};

// The texts the build reports as conflicting, skipped or in unpaired records.
std::set<std::string> reported_texts(std::string_view english, std::string_view french,
                                     const Variant& variant, Counts* counts) {
  PluginView en, fr;
  std::string error;
  EXPECT_TRUE(en.open_bytes(english, "en", &error) && fr.open_bytes(french, "fr", &error));
  const lb::PluginTexts texts = lb::extract_texts(en);
  const lb::Pairing pairing = lb::pair_texts(texts, lb::extract_texts(fr));
  std::set<std::string> reported;
  for (const lb::LexiconChoices& lexicon : lb::choose_texts(pairing.observations)) {
    for (const lb::Choice& choice : lexicon.choices) {
      if (choice.candidates.size() < 2) continue;
      reported.emplace(choice.source);
      ++counts->conflicts;
      // Otherwise only the names of copied kinds (ACTI) disagree, with themselves.
      EXPECT_TRUE(variant.conflicts || std::any_of(choice.candidates.begin(), choice.candidates.end(),
                                                   [&](const auto& c) { return c.target == choice.source; }));
    }
    for (const lb::Skip& skip : lexicon.skips) reported.emplace(skip.source);
  }
  for (const lb::UnpairedRecord& u : pairing.unpaired) {
    const lb::TextRecord& r = texts.records[u.record];
    reported.emplace(r.id);
    for (uint32_t k = r.fields_begin; k < r.fields_end; ++k) reported.emplace(texts.fields[k].text);
    EXPECT_TRUE(variant.drop || u.reason == lb::Unpaired::no_references ||
                u.reason == lb::Unpaired::no_responses || u.reason == lb::Unpaired::several_grids);
  }
  return reported;
}

// Walks the English plug-in and its two translations in step, over the
// records whose partner the French file holds (`compared`).
void compare(std::string_view english, std::string_view first, std::string_view second,
             const std::vector<bool>& compared, const std::set<std::string>& reported, Counts* counts) {
  PluginView e, a, b;
  std::string error;
  ASSERT_TRUE(e.open_bytes(english, "e", &error) && a.open_bytes(first, "a", &error) &&
              b.open_bytes(second, "b", &error));
  // Texts up to their NUL: a rank's padding goes with any replacement.
  const auto text = [](const Subrecord& s) {
    return s.tag == make_tag("SCVR") ? s.payload.substr(5) : s.text();
  };
  bool topic = false;
  size_t k = 0;
  for (RecordCursor ec = e.records(), ac = a.records(), bc = b.records(); ec.valid();
       ec.next(), ac.next(), bc.next()) {
    const Record& r = ec.record();
    if (r.tag == make_tag("DIAL")) topic = r.find(make_tag("DATA"))->payload[0] == 0;
    if (!compared[k++]) continue;
    for (size_t i = 0; i < r.subrecords.size(); ++i) {
      const TranslatedField* field = translated_field(r.tag, r.subrecords[i].tag);
      if (field == nullptr || field->lookup == Lookup::response || field->lookup == Lookup::script) continue;
      if (r.tag == make_tag("DIAL") && !topic) continue;  // IDs the game uses: never renamed
      const std::string_view source = text(r.subrecords[i]), once = text(ac.record().subrecords[i]);
      ++counts->compared;
      counts->translated += once != source;
      if (once != text(bc.record().subrecords[i])) {
        EXPECT_TRUE(reported.contains(std::string(source))) << tag_text(r.tag) << " \"" << source << "\"";
      }
    }
  }
}

std::string translated(std::string_view input, const Lexicons& lexicons) {
  const PassResult result = translate_in_memory(input, lexicons);
  EXPECT_EQ(result.status, 0);
  return result.output;
}

void round_trip(unsigned seed, const Variant& variant, Counts* counts) {
  Generator g{std::mt19937(seed)};
  Lexicons lexicons;
  for (const LexiconFile& file : kLexiconFiles) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int n = 2 + g.below(8); n > 0; --n)
      pairs.emplace_back(g.text(), kFrench[static_cast<size_t>(g.below(5))]);
    std::erase_if(pairs, [](const auto& p) { return p.first.find('"') != std::string::npos; });
    lexicons.*file.lexicon = Lexicon(lexicon_file(pairs), file.phrases);
  }
  std::vector<Unit> units = {g.named(false)};
  for (int n = 4 + g.below(20); n > 0; --n) {
    const int kind = g.below(4);
    const Records records = kind == 1 ? g.cell() : kind == 2 ? g.topic() : kind == 3 ? g.faction() : Records{};
    units.push_back(kind == 0 ? g.named(variant.conflicts && g.below(3) == 0) : Unit{records, records});
  }
  std::string english;
  std::vector<bool> compared;
  std::vector<std::string> french_units;
  for (size_t u = 0; u < units.size(); ++u) {
    const int fate = u == 0 || !variant.drop ? 2 : g.below(6);  // 0: English only, 1: French only
    for (const std::string& r : fate == 1 ? Records{} : units[u].first) {
      english += r;
      compared.push_back(fate != 0);
    }
    const std::string source = std::accumulate(units[u].second.begin(), units[u].second.end(), std::string());
    if (fate != 0) french_units.push_back(translated(source, lexicons));
  }
  if (variant.shuffle) std::shuffle(french_units.begin(), french_units.end(), g.rng);
  const std::string french = std::accumulate(french_units.begin(), french_units.end(), std::string());

  TempDir dir;
  const RunResult run = build_from(dir, english, french, "out");
  ASSERT_EQ(run.status, 0) << run.output;
  compare(english, translated(english, lexicons), translated(english, load_lexicons(dir.file("out"))),
          compared, reported_texts(english, french, variant, counts), counts);
}

TEST(LexiconRoundTrip, RandomPlugins) {
  for (const Variant variant : {Variant{}, Variant{true}, Variant{true, true}, Variant{false, false, true}}) {
    Counts counts;
    for (unsigned seed = 1; seed <= 150 && !HasFailure(); ++seed) {
      SCOPED_TRACE("seed " + std::to_string(seed) + ", variant " + std::to_string(variant.shuffle) +
                   std::to_string(variant.drop) + std::to_string(variant.conflicts));
      round_trip(seed, variant, &counts);
    }
    // The property holds of many texts, many of them translated.
    EXPECT_GT(counts.compared, 3000);
    EXPECT_GT(counts.translated, counts.compared / 4);
    EXPECT_TRUE(!variant.conflicts || counts.conflicts > 100);
  }
}

// The bundled example and its sample lexicons: the names a user sees first.
TEST(LexiconRoundTrip, BundledExample) {
  const std::string examples = QUILLARET_SOURCE_DIR "/examples/";
  const std::string english = read_file(examples + "Example.esp");
  const std::string first = translated(english, load_lexicons(examples));
  TempDir dir;
  const RunResult run = build_from(dir, english, first, "out");
  ASSERT_EQ(run.status, 0) << run.output;
  Counts counts;
  compare(english, first, translated(english, load_lexicons(dir.file("out"))), std::vector<bool>(100, true),
          reported_texts(english, first, {}, &counts), &counts);
  EXPECT_EQ(counts.compared, 18);
  EXPECT_EQ(counts.conflicts, 1);  // the activator, whose name the translator copies
}

}  // namespace
}  // namespace quillaret::testing
