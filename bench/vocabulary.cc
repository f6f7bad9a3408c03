// The English/French pairs of the data set: proper names built from
// syllables, the rest from small bilingual word lists, so that the French
// reads like real targets: longer than the sources, with the accented
// letters of Windows-1252.
#include <iostream>
#include <set>

#include "dataset.h"
#include "lexicon/lexicon.h"
#include "platform/files.h"
#include "tools/plugin_builder.h"

namespace quillaret::bench {

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find(separator, start), text.size());
    pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

namespace {

// "English=French" pairs between bars, the French in Windows-1252 (octal:
// \351 e acute, \350 e grave, \352 e circumflex, \342 a circumflex, \356 i
// circumflex, \364 o circumflex, \311 E acute, \234 oe).
constexpr std::string_view kMaterials =
    "Iron=de fer|Steel=d'acier|Silver=d'argent|Glass=de verre|Ebony=d'\351b\350ne|Bone=en os|"
    "Daedric=daedrique|Dwarven=dwemer|Bonemold=en os moul\351|Netch Leather=en cuir de netch";
constexpr std::string_view kObjects =
    "Dagger=Dague|Longsword=\311p\351e longue|War Axe=Hache de guerre|Staff=B\342ton|Helm=Heaume|"
    "Crossbow=Arbal\350te|Arrow=Fl\350che|Cuirass=Cuirasse|Pauldron=\311paul\350re|Boots=Bottes|"
    "Greaves=Jambi\350res|Shield=Bouclier|Ring=Anneau|Amulet=Amulette|Key=Clef|Goblet=Gobelet";
constexpr std::string_view kVirtues =
    "Flame=flamme|Frost=givre|Healing=gu\351rison|Light=lumi\350re|Shadow=l'ombre|Wind=vent|"
    "Stealth=discr\351tion|Storms=temp\352tes";
constexpr std::string_view kPlaces =
    "Guild of Mages=Guilde des mages|Temple=Temple|Tradehouse=Comptoir|Manor=Manoir|Tower=Tour|"
    "Council Club=Club du conseil|Fighters Guild=Guilde des guerriers|Inn=Auberge|Mine=Mine|"
    "Market=March\351|Arena=Ar\350ne|Sewers=\311gouts|Library=Biblioth\350que|Cave=Grotte|"
    "Great Hall=Grand-salle|Hall of Justice=Palais de justice";
constexpr std::string_view kTopicTraits =
    "latest=derni\350res|little=petit|ancient=anciens|secret=secret|strange=\351trange|lost=perdu|"
    "stolen=vol\351|missing=disparu|old=vieux|hidden=cach\351|sacred=sacr\351|Dwemer=dwemer";
constexpr std::string_view kTopicThings =
    "rumors=rumeurs|advice=conseil|place=lieu|ruins=ruines|trade=m\351tier|services=services|"
    "orders=ordres|duties=devoirs|quest=qu\352te|artifact=artefact|prophecy=proph\351tie|"
    "blight=peste|smugglers=contrebandiers|necromancers=n\351cromanciens|eggs=\234ufs|"
    "shrine=autel|ebony=\351b\350ne|silt strider=\351chassier|guild guide=guide de guilde|"
    "heart=c\234ur|tax=imp\364t|reward=r\351compense|heresy=h\351r\351sie|dreams=r\352ves|"
    "ash storms=temp\352tes de cendres|island=\356le|ancestors=anc\352tres";
constexpr std::string_view kGroups =
    "Guild=Guilde|Company=Compagnie|House=Maison|Legion=L\351gion|Order=Ordre|Cult=Culte|"
    "Brotherhood=Confr\351rie|Circle=Cercle|Society=Soci\351t\351|Fellowship=Fraternit\351";
constexpr std::string_view kRanks =
    "Apprentice=Apprenti|Journeyman=Compagnon|Evoker=\311vocateur|Conjurer=Conjurateur|"
    "Master=Ma\356tre|Arch-Mage=Archimage|Associate=Associ\351|Initiate=Initi\351|Curate=Cur\351|"
    "Oathman=Ass\351ment\351|Footpad=Voleur \340 la tire|Knight=Chevalier|Herald=H\351raut";
constexpr std::string_view kRankGrades =
    "First=premier|Second=second|Third=troisi\350me|Senior=principal|Junior=subalterne|"
    "High=grand|Chief=en chef|Honored=honor\351|Sworn=jur\351|Elder=a\356n\351";
constexpr std::string_view kSyllables =
    "al ba dra vel oth ri mor sa ne dar ur go ra the si lo ka zu en fa mi ro na hla vu ser dun "
    "gi bel ar is tel va mo ane el ith ul dre nil sed ya bri tor ven aly gal rin dos ek tho ma";

using Pair = std::pair<std::string, std::string>;

Pairs words(std::string_view list) {
  Pairs pairs;
  for (std::string_view pair : split(list, '|')) {
    const size_t equals = pair.find('=');
    pairs.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
  }
  return pairs;
}

}  // namespace

Vocabulary make_vocabulary(uint64_t seed) {
  Random rng{seed ^ 0x5155494C4C415245ull};
  const std::vector<std::string_view> syllables = split(kSyllables, ' ');
  // A proper name of two or three syllables; in French, one in five takes
  // an accent.
  auto proper = [&] {
    std::string name(rng.pick(syllables));
    for (uint32_t more = 1 + rng.below(2); more > 0; --more) name += rng.pick(syllables);
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
    std::string french = name;
    const size_t e = french.find('e', 1);
    if (rng.percent(20) && e != std::string::npos) french[e] = '\351';
    return Pair(name, french);
  };
  // "modifier head" in English, "head modifier" in French; with `of`,
  // "modifier of head" and "modifier de head".
  auto combine = [&](const Pairs& modifiers, const Pairs& heads, bool of = false) {
    const Pair& modifier = rng.pick(modifiers);
    const Pair& head = rng.pick(heads);
    if (!of) return Pair(modifier.first + " " + head.first, head.second + " " + modifier.second);
    return Pair(modifier.first + " of " + head.first, modifier.second + " de " + head.second);
  };
  // Adds to `to` what `make` draws, skipping sources taken already, until
  // `count` are in or 50 times as many drawn.
  std::set<std::string> taken;
  auto draw = [&](Pairs& to, size_t count, auto make) {
    for (size_t added = 0, drawn = 0; added < count && drawn < 50 * count; ++drawn) {
      Pair pair = make();
      if (!taken.insert(pair.first).second) continue;
      to.push_back(std::move(pair));
      ++added;
    }
  };
  auto add_all = [&](Pairs& to, const Pairs& list) {
    for (const Pair& pair : list) draw(to, 1, [&] { return pair; });
  };
  // The sources of `pairs` from `first` on.
  auto sources = [](const Pairs& pairs, size_t first) {
    std::vector<std::string> list;
    for (size_t i = first; i < pairs.size(); ++i) list.push_back(pairs[i].first);
    return list;
  };
  Vocabulary v;
  Pairs towns, propers;
  draw(towns, 600, proper);
  draw(propers, 4000, proper);

  // Topics: things, towns, then "trait thing" and "thing of Town": short
  // topics begin longer ones ("ruins", "ruins of Balmora").
  taken.clear();
  const Pairs things = words(kTopicThings), traits = words(kTopicTraits);
  add_all(v.topics, things);
  add_all(v.topics, Pairs(towns.begin(), towns.begin() + 300));  // names too, as in the games
  draw(v.topics, 8191 - v.topics.size(),
       [&] { return rng.percent(15) ? combine(traits, things) : combine(things, towns, true); });

  // Faction texts: faction names, then rank titles.
  const Pairs groups = words(kGroups), ranks = words(kRanks), grades = words(kRankGrades);
  draw(v.factions, 8191 - 130, [&] { return combine(groups, propers, true); });
  const size_t first_rank = v.factions.size();
  add_all(v.factions, ranks);
  draw(v.factions, 8191 - v.factions.size(), [&] { return combine(grades, ranks); });

  // Names: towns, places ("Town, Place"), people, things.
  taken.clear();
  add_all(v.names, towns);
  const Pairs places = words(kPlaces);
  draw(v.names, 6000, [&] {
    const Pair& town = rng.pick(towns);
    const Pair& place = rng.pick(places);
    return Pair(town.first + ", " + place.first, town.second + ", " + place.second);
  });
  v.kinds['l'] = sources(v.names, 0);
  draw(v.names, 12000, [&] {
    const Pair given = proper(), family = proper();
    if (rng.percent(10)) return given;
    return Pair(given.first + " " + family.first, given.second + " " + family.second);
  });
  // Every material alone is a name too ("Iron"), the beginning of many.
  const Pairs materials = words(kMaterials), objects = words(kObjects), virtues = words(kVirtues);
  add_all(v.names, materials);
  draw(v.names, 32767 - v.names.size(), [&] {
    const Pair item = combine(materials, objects);
    if (rng.percent(10)) return item;
    return combine({item}, rng.percent(50) ? virtues : Pairs{proper()}, true);
  });
  // A few sources twice with different targets, as merged lexicons have:
  // the loader's order decides.
  for (size_t i = v.names.size() - 32; i < v.names.size(); i += 2) {
    v.names[i] = {v.names[i + 1].first, v.names[i + 1].second + " (variante)"};
  }
  v.kinds['t'] = sources(v.topics, 0);
  v.kinds['f'] = sources(v.factions, 0);
  v.kinds['j'] = sources(v.factions, first_rank);
  v.kinds['n'] = sources(v.names, 0);
  return v;
}

std::array<std::string, 3> lexicon_files(const Vocabulary& v) {
  return {builder::lexicon_file(v.topics, "\r\n"), builder::lexicon_file(v.factions),
          builder::lexicon_file(v.names)};
}

bool write_file(const std::string& path, const std::string& bytes) {
  platform::AtomicFile file;
  if (file.create(path) && file.write(bytes) && file.commit()) return true;
  std::cerr << "cannot write " << path << "\n";
  return false;
}

bool write_lexicons(const Vocabulary& vocabulary, const std::string& dir) {
  const auto files = lexicon_files(vocabulary);
  for (size_t i = 0; i < files.size(); ++i) {
    if (!write_file(dir + "/lexique_enfr" + kLexiconFiles[i].suffix, files[i])) return false;
  }
  return true;
}

}  // namespace quillaret::bench
