// The English/French pairs of the data set. Proper names are built from
// syllables; common words come from small bilingual word lists, so that the
// French targets read like the real ones: longer than their sources, with
// Windows-1252 accented letters.
#include <algorithm>
#include <cctype>
#include <set>
#include <string_view>

#include "dataset.h"

namespace quillaret::bench {

uint64_t Random::next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

uint32_t Random::below(uint32_t bound) {
  return bound == 0 ? 0 : static_cast<uint32_t>(next() % bound);
}

uint32_t Random::between(uint32_t low, uint32_t high) { return low + below(high - low + 1); }

namespace {

struct Word {
  const char* en;
  const char* fr;
};

// \xE9 is e acute, \xE8 e grave, \xEA e circumflex, \xE2 a circumflex,
// \xE0 a grave, \xE7 c cedilla, \xC9 capital E acute, \xEE i circumflex.
// The word lists are laid out by hand, several pairs to a line.
// clang-format off
const std::vector<Word> kMaterials = {
    {"Iron", "de fer"}, {"Steel", "d'acier"}, {"Silver", "d'argent"}, {"Glass", "de verre"},
    {"Ebony", "d'\xE9" "b\xE8ne"}, {"Daedric", "daedrique"}, {"Dwarven", "dwemer"},
    {"Orcish", "orque"}, {"Chitin", "de chitine"}, {"Bonemold", "en os moul\xE9"},
    {"Netch Leather", "en cuir de netch"}, {"Imperial", "imp\xE9rial"}, {"Nordic", "nordique"},
    {"Elven", "elfique"}, {"Adamantium", "d'adamantium"}, {"Dreugh", "en dreugh"},
    {"Indoril", "indoril"}, {"Redoran", "redoran"}, {"Templar", "de templier"},
    {"Native", "indig\xE8ne"}, {"Wooden", "en bois"}, {"Golden", "dor\xE9"},
    {"Copper", "de cuivre"}, {"Bronze", "de bronze"}, {"Crystal", "de cristal"},
    {"Obsidian", "d'obsidienne"}, {"Ashen", "cendr\xE9"}, {"Stone", "de pierre"}, {"Bone", "en os"},
    {"Fur", "en fourrure"},
};

const std::vector<Word> kObjects = {
    {"Dagger", "Dague"}, {"Longsword", "\xC9p\xE9" "e longue"},
    {"Shortsword", "\xC9p\xE9" "e courte"}, {"Broadsword", "Glaive"}, {"Claymore", "Claymore"},
    {"Katana", "Katana"}, {"Tanto", "Tanto"}, {"Saber", "Sabre"}, {"Mace", "Masse"},
    {"Club", "Gourdin"}, {"War Axe", "Hache de guerre"}, {"Battle Axe", "Hache de bataille"},
    {"Warhammer", "Marteau de guerre"}, {"Spear", "Lance"}, {"Halberd", "Hallebarde"},
    {"Staff", "B\xE2ton"}, {"Bow", "Arc"}, {"Crossbow", "Arbal\xE8te"},
    {"Throwing Star", "\xC9toile de lancer"}, {"Dart", "Fl\xE9" "chette"},
    {"Arrow", "Fl\xE8" "che"}, {"Bolt", "Carreau"}, {"Helm", "Heaume"}, {"Cuirass", "Cuirasse"},
    {"Pauldron", "\xC9paul\xE8re"}, {"Gauntlet", "Gantelet"}, {"Bracer", "Brassard"},
    {"Greaves", "Jambi\xE8res"}, {"Boots", "Bottes"}, {"Shield", "Bouclier"},
    {"Tower Shield", "Pavois"}, {"Ring", "Anneau"}, {"Amulet", "Amulette"}, {"Belt", "Ceinture"},
    {"Shirt", "Chemise"}, {"Pants", "Pantalon"}, {"Robe", "Robe"}, {"Skirt", "Jupe"},
    {"Shoes", "Chaussures"}, {"Gloves", "Gants"}, {"Lockpick", "Crochet"}, {"Probe", "Sonde"},
    {"Hammer", "Marteau"}, {"Key", "Clef"}, {"Lantern", "Lanterne"}, {"Candle", "Bougie"},
    {"Torch", "Torche"}, {"Bottle", "Bouteille"}, {"Goblet", "Gobelet"}, {"Plate", "Assiette"},
    {"Bowl", "Bol"}, {"Cup", "Coupe"}, {"Pot", "Pot"}, {"Basket", "Panier"}, {"Chest", "Coffre"},
    {"Crate", "Caisse"}, {"Sack", "Sac"}, {"Barrel", "Tonneau"}, {"Urn", "Urne"},
    {"Scroll", "Parchemin"},
};

const std::vector<Word> kVirtues = {
    {"Flame", "de flamme"}, {"Frost", "de givre"}, {"Shock", "de foudre"}, {"Poison", "de poison"},
    {"Healing", "de gu\xE9rison"}, {"Light", "de lumi\xE8re"}, {"Shadow", "d'ombre"},
    {"the Wind", "du vent"}, {"Fortune", "de fortune"}, {"Might", "de puissance"},
    {"Agility", "d'agilit\xE9"}, {"the Archer", "de l'archer"}, {"the Mage", "du mage"},
    {"the Warrior", "du guerrier"}, {"Stealth", "de discr\xE9tion"},
    {"Protection", "de protection"}, {"Swiftness", "de c\xE9l\xE9rit\xE9"},
    {"Wisdom", "de sagesse"}, {"Doom", "du destin"}, {"Sorrow", "de chagrin"},
    {"Vigor", "de vigueur"}, {"Slaying", "de massacre"}, {"Banishing", "de bannissement"},
    {"Warding", "de garde"}, {"Rust", "de rouille"}, {"Ruin", "de ruine"}, {"Peace", "de paix"},
    {"Storms", "des temp\xEAtes"}, {"Ash", "de cendre"}, {"Dawn", "de l'aube"},
};

const std::vector<Word> kPlaces = {
    {"Guild of Mages", "Guilde des mages"}, {"Temple", "Temple"}, {"Tradehouse", "Comptoir"},
    {"Council Club", "Club du conseil"}, {"Manor", "Manoir"}, {"Tower", "Tour"},
    {"Cornerclub", "Club"}, {"Fighters Guild", "Guilde des guerriers"}, {"Lighthouse", "Phare"},
    {"Docks", "Quais"}, {"Market", "March\xE9"}, {"Prison", "Prison"}, {"Arena", "Ar\xE8ne"},
    {"Canton", "Canton"}, {"Plaza", "Place"}, {"Watchtower", "Tour de guet"}, {"Smithy", "Forge"},
    {"Alchemist", "Alchimiste"}, {"Pawnbroker", "Pr\xEAteur sur gages"}, {"Clothier", "Tailleur"},
    {"Bookseller", "Libraire"}, {"Tavern", "Taverne"}, {"Inn", "Auberge"}, {"Cellar", "Cave"},
    {"Sewers", "\xC9gouts"}, {"Shrine", "Autel"}, {"Library", "Biblioth\xE8que"},
    {"Barracks", "Caserne"}, {"Great Hall", "Grand-salle"}, {"Tomb", "Tombeau"}, {"Cave", "Grotte"},
    {"Mine", "Mine"}, {"Ruins", "Ruines"}, {"Stronghold", "Forteresse"}, {"Camp", "Camp"},
    {"Farm", "Ferme"}, {"Shack", "Cabane"}, {"Lair", "Repaire"}, {"Vault", "Caveau"},
    {"Hall of Justice", "Palais de justice"},
};

const std::vector<Word> kBeastTraits = {
    {"Diseased", "malade"}, {"Blighted", "corrompu"}, {"Ancient", "ancien"}, {"Young", "jeune"},
    {"Greater", "sup\xE9rieur"}, {"Lesser", "inf\xE9rieur"}, {"Feral", "sauvage"},
    {"Giant", "g\xE9" "ant"}, {"Frost", "du givre"}, {"Fire", "de feu"}, {"Storm", "de l'orage"},
    {"Shadow", "de l'ombre"}, {"Cave", "des cavernes"}, {"Swamp", "des marais"},
    {"Mountain", "des montagnes"}, {"Rabid", "enrag\xE9"}, {"Elder", "a\xEEn\xE9"},
    {"Horned", "cornu"}, {"Winged", "ail\xE9"}, {"Armored", "cuirass\xE9"},
};

const std::vector<Word> kBeasts = {
    {"Rat", "Rat"}, {"Kagouti", "Kagouti"}, {"Alit", "Alit"}, {"Nix-Hound", "Chien-nix"},
    {"Guar", "Guar"}, {"Cliff Racer", "Racleur des falaises"}, {"Mudcrab", "Crabe des vases"},
    {"Slaughterfish", "Poisson carnassier"}, {"Netch", "Netch"}, {"Scamp", "Scamp"},
    {"Clannfear", "Faucheclan"}, {"Daedroth", "Daedroth"}, {"Dremora", "Dr\xE9mora"},
    {"Atronach", "Atronach"}, {"Skeleton", "Squelette"}, {"Ghost", "Fant\xF4me"},
    {"Bonelord", "Seigneur d'os"}, {"Wolf", "Loup"}, {"Bear", "Ours"}, {"Spriggan", "Spriggan"},
    {"Centurion Sphere", "Sph\xE8re centurion"}, {"Ogrim", "Ogrim"},
    {"Golden Saint", "Sainte dor\xE9" "e"}, {"Ash Slave", "Esclave des cendres"},
    {"Ash Zombie", "Zombie des cendres"}, {"Kwama Forager", "Fourrageur kwama"}, {"Shalk", "Shalk"},
    {"Durzog", "Durzog"}, {"Goblin", "Gobelin"}, {"Boar", "Sanglier"}, {"Lich", "Liche"},
    {"Spider", "Araign\xE9" "e"}, {"Wraith", "Spectre"}, {"Troll", "Troll"},
};

const std::vector<Word> kSpellKinds = {
    {"Fire Bite", "Morsure de feu"}, {"Frostbite", "Engelure"}, {"Shockball", "Boule de foudre"},
    {"Heal", "Soins"}, {"Cure", "Gu\xE9rison"}, {"Shield", "Bouclier"},
    {"Levitate", "L\xE9vitation"}, {"Water Walking", "Marche sur l'eau"},
    {"Chameleon", "Cam\xE9l\xE9on"}, {"Charm", "Charme"}, {"Calm", "Apaisement"},
    {"Frenzy", "Fr\xE9n\xE9sie"}, {"Summon", "Invocation"}, {"Drain", "Absorption"},
    {"Fortify", "Renforcement"}, {"Resist", "R\xE9sistance"}, {"Silence", "Silence"},
    {"Paralyze", "Paralysie"}, {"Dispel", "Dissipation"}, {"Mark", "Marque"}, {"Recall", "Rappel"},
    {"Detect", "D\xE9tection"}, {"Telekinesis", "T\xE9l\xE9kin\xE9sie"},
    {"Night-Eye", "Nyctalopie"}, {"Sanctuary", "Sanctuaire"}, {"Reflect", "Renvoi"},
};

const std::vector<Word> kSpellGrades = {
    {"Minor", "mineur"}, {"Lesser", "inf\xE9rieur"}, {"Greater", "sup\xE9rieur"},
    {"Grand", "grand"}, {"Hearth", "du foyer"}, {"Battle", "de bataille"},
    {"Priest's", "du pr\xEAtre"}, {"Sorcerer's", "du sorcier"}, {"Wild", "sauvage"},
    {"Swift", "rapide"}, {"Strong", "fort"}, {"Weak", "faible"}, {"Blessed", "b\xE9ni"},
    {"Cursed", "maudit"}, {"Ancient", "ancien"}, {"Righteous", "juste"}, {"Hidden", "cach\xE9"},
    {"Second", "second"},
};

const std::vector<Word> kTopicTraits = {
    {"latest", "derni\xE8res"}, {"little", "petit"}, {"specific", "pr\xE9" "cis"},
    {"ancient", "anciens"}, {"secret", "secret"}, {"strange", "\xE9trange"}, {"local", "locale"},
    {"lost", "perdu"}, {"stolen", "vol\xE9"}, {"missing", "disparu"}, {"old", "vieux"},
    {"new", "nouveau"}, {"hidden", "cach\xE9"}, {"forbidden", "interdit"}, {"sacred", "sacr\xE9"},
    {"great", "grand"}, {"dark", "sombre"}, {"holy", "saint"}, {"foreign", "\xE9tranger"},
    {"imperial", "imp\xE9rial"}, {"noble", "noble"}, {"common", "commun"},
    {"dangerous", "dangereux"}, {"cursed", "maudit"}, {"blessed", "b\xE9ni"},
    {"broken", "bris\xE9"}, {"false", "faux"}, {"true", "vrai"}, {"first", "premier"},
    {"last", "dernier"}, {"northern", "du nord"}, {"southern", "du sud"}, {"eastern", "de l'est"},
    {"western", "de l'ouest"}, {"Dwemer", "dwemer"}, {"Daedric", "daedrique"},
    {"Telvanni", "telvanni"}, {"Hlaalu", "hlaalu"}, {"Redoran", "redoran"},
    {"Ashlander", "cendrais"}, {"Nerevarine", "nerevarine"}, {"Imperial", "imp\xE9rial"},
    {"Nord", "nordique"}, {"Argonian", "argonien"}, {"Khajiit", "khajiit"}, {"Dunmer", "dunmer"},
    {"Sixth House", "de la Sixi\xE8me Maison"}, {"Great House", "de Grande Maison"},
    {"Tribunal", "du Tribunal"}, {"Temple", "du Temple"}, {"guild", "de guilde"},
    {"smuggled", "de contrebande"}, {"poisoned", "empoisonn\xE9"}, {"burning", "en feu"},
    {"sunken", "englouti"}, {"abandoned", "abandonn\xE9"}, {"haunted", "hant\xE9"},
    {"wandering", "errant"}, {"fallen", "d\xE9" "chu"}, {"silent", "silencieux"},
};

const std::vector<Word> kTopicThings = {
    {"rumors", "rumeurs"}, {"advice", "conseil"}, {"place", "lieu"}, {"ruins", "ruines"},
    {"trade", "m\xE9tier"}, {"services", "services"}, {"orders", "ordres"}, {"duties", "devoirs"},
    {"quest", "qu\xEAte"}, {"artifact", "artefact"}, {"prophecy", "proph\xE9tie"},
    {"blight", "peste"}, {"disease", "maladie"}, {"corprus", "corprus"},
    {"smugglers", "contrebandiers"}, {"slaves", "esclaves"}, {"bandits", "bandits"},
    {"necromancers", "n\xE9" "cromanciens"}, {"vampires", "vampires"},
    {"werewolves", "loups-garous"}, {"shrine", "autel"}, {"tomb", "tombeau"},
    {"stronghold", "forteresse"}, {"mine", "mine"}, {"ebony", "\xE9" "b\xE8ne"}, {"glass", "verre"},
    {"eggs", "\x9c" "ufs"}, {"silt strider", "\xE9" "chassier"}, {"boat", "bateau"},
    {"guild guide", "guide de guilde"}, {"caravaner", "caravanier"}, {"council", "conseil"},
    {"councilor", "conseiller"}, {"Archmagister", "Archimagister"},
    {"Grandmaster", "Grand ma\xEEtre"}, {"Hortator", "Hortator"}, {"Incarnate", "Incarn\xE9"},
    {"Nerevar", "Nerevar"}, {"heart", "c\x9cur"}, {"tools", "outils"}, {"hammer", "marteau"},
    {"blade", "lame"}, {"ring", "anneau"}, {"amulet", "amulette"}, {"book", "livre"},
    {"letter", "lettre"}, {"note", "note"}, {"map", "carte"}, {"key", "clef"}, {"debt", "dette"},
    {"tax", "imp\xF4t"}, {"bounty", "prime"}, {"reward", "r\xE9" "compense"},
    {"contract", "contrat"}, {"writ", "mandat"}, {"duel", "duel"}, {"war", "guerre"},
    {"peace", "paix"}, {"alliance", "alliance"}, {"treaty", "trait\xE9"},
    {"heresy", "h\xE9r\xE9sie"}, {"heretics", "h\xE9r\xE9tiques"}, {"pilgrimage", "p\xE8lerinage"},
    {"pilgrims", "p\xE8lerins"}, {"priests", "pr\xEAtres"}, {"ordinators", "ordinateurs"},
    {"guards", "gardes"}, {"legion", "l\xE9gion"}, {"fort", "fort"}, {"garrison", "garnison"},
    {"dreams", "r\xEAves"}, {"visions", "visions"}, {"sleepers", "dormeurs"},
    {"ash storms", "temp\xEAtes de cendres"}, {"mountain", "montagne"}, {"island", "\xEEle"},
    {"coast", "c\xF4te"}, {"swamp", "marais"}, {"caves", "cavernes"}, {"tribes", "tribus"},
    {"camps", "camps"}, {"wise woman", "sage-femme"}, {"gulakhan", "gulakhan"},
    {"ashkhan", "ashkhan"}, {"daedra", "daedra"}, {"spirits", "esprits"},
    {"ancestors", "anc\xEAtres"}, {"bones", "ossements"}, {"relics", "reliques"},
    {"scrolls", "parchemins"}, {"potions", "potions"}, {"ingredients", "ingr\xE9" "dients"},
    {"spells", "sorts"}, {"training", "entra\xEEnement"}, {"skills", "comp\xE9tences"},
    {"armor", "armure"}, {"weapons", "armes"}, {"clothing", "v\xEAtements"},
    {"merchants", "marchands"}, {"prices", "prix"}, {"news", "nouvelles"}, {"history", "histoire"},
    {"legends", "l\xE9gendes"}, {"songs", "chansons"}, {"poems", "po\xE8mes"}, {"lore", "savoir"},
    {"customs", "coutumes"}, {"laws", "lois"}, {"crimes", "crimes"}, {"thieves", "voleurs"},
    {"assassins", "assassins"},
};

const std::vector<Word> kGroups = {
    {"Guild", "Guilde"}, {"Company", "Compagnie"}, {"House", "Maison"}, {"Legion", "L\xE9gion"},
    {"Order", "Ordre"}, {"Brotherhood", "Confr\xE9rie"}, {"Temple", "Temple"}, {"Cult", "Culte"},
    {"Clan", "Clan"}, {"Tong", "Tong"}, {"Syndicate", "Syndicat"}, {"Circle", "Cercle"},
    {"Council", "Conseil"}, {"Watch", "Guet"}, {"Society", "Soci\xE9t\xE9"}, {"League", "Ligue"},
    {"Covenant", "Pacte"}, {"Fellowship", "Fraternit\xE9"}, {"Band", "Bande"}, {"Tribe", "Tribu"},
    {"Sect", "Secte"}, {"Academy", "Acad\xE9mie"}, {"Chapter", "Chapitre"}, {"Lodge", "Loge"},
    {"Alliance", "Alliance"},
};

const std::vector<Word> kRanks = {
    {"Apprentice", "Apprenti"}, {"Journeyman", "Compagnon"}, {"Evoker", "\xC9vocateur"},
    {"Conjurer", "Conjurateur"}, {"Magician", "Magicien"}, {"Warlock", "Sorcier"},
    {"Wizard", "Mage"}, {"Master", "Ma\xEEtre"}, {"Arch-Mage", "Archimage"},
    {"Associate", "Associ\xE9"}, {"Recruit", "Recrue"}, {"Agent", "Agent"}, {"Novice", "Novice"},
    {"Initiate", "Initi\xE9"}, {"Acolyte", "Acolyte"}, {"Adept", "Adepte"}, {"Curate", "Cur\xE9"},
    {"Disciple", "Disciple"}, {"Diviner", "Devin"}, {"Patriarch", "Patriarche"},
    {"Hireling", "Mercenaire"}, {"Retainer", "Serviteur"}, {"Oathman", "Ass\xE9ment\xE9"},
    {"Lawman", "Homme de loi"}, {"Kinsman", "Parent"}, {"Councilman", "Conseiller"},
    {"Archmaster", "Archima\xEEtre"}, {"Footpad", "Voleur \xE0 la tire"}, {"Bandit", "Bandit"},
    {"Cutpurse", "Coupe-bourse"}, {"Thief", "Voleur"}, {"Captain", "Capitaine"},
    {"Knight", "Chevalier"}, {"Champion", "Champion"}, {"Spearman", "Lancier"},
    {"Trooper", "Soldat"}, {"Scout", "\xC9" "claireur"}, {"Warden", "Gardien"}, {"Elder", "Ancien"},
    {"Speaker", "Orateur"}, {"Herald", "H\xE9raut"}, {"Steward", "Intendant"},
};

const std::vector<Word> kRankGrades = {
    {"First", "premier"}, {"Second", "second"}, {"Third", "troisi\xE8me"}, {"Senior", "principal"},
    {"Junior", "subalterne"}, {"High", "grand"}, {"Chief", "en chef"}, {"Honored", "honor\xE9"},
    {"Sworn", "jur\xE9"}, {"Lesser", "mineur"}, {"Elder", "a\xEEn\xE9"},
    {"Trusted", "de confiance"},
};

const std::vector<Word> kClasses = {
    {"Warrior", "Guerrier"}, {"Mage", "Mage"}, {"Thief", "Voleur"}, {"Agent", "Agent"},
    {"Archer", "Archer"}, {"Assassin", "Assassin"}, {"Barbarian", "Barbare"}, {"Bard", "Barde"},
    {"Battlemage", "Mage de guerre"}, {"Crusader", "Crois\xE9"}, {"Healer", "Gu\xE9risseur"},
    {"Knight", "Chevalier"}, {"Monk", "Moine"}, {"Nightblade", "Lame de la nuit"},
    {"Pilgrim", "P\xE8lerin"}, {"Rogue", "Gredin"}, {"Scout", "\xC9" "claireur"},
    {"Sorcerer", "Sorcier"}, {"Spellsword", "Lame ensorcel\xE9" "e"},
    {"Witchhunter", "Chasseur de sorci\xE8res"}, {"Smith", "Forgeron"}, {"Trader", "Marchand"},
    {"Pawnbroker", "Pr\xEAteur sur gages"}, {"Publican", "Tavernier"}, {"Savant", "Savant"},
    {"Commoner", "Roturier"}, {"Guard", "Garde"}, {"Enchanter", "Enchanteur"},
    {"Alchemist", "Alchimiste"}, {"Apothecary", "Apothicaire"}, {"Caravaner", "Caravanier"},
    {"Shipmaster", "Capitaine"}, {"Priest", "Pr\xEAtre"}, {"Slave", "Esclave"},
};

const std::vector<Word> kRaces = {
    {"Dark Elf", "Elfe noir"}, {"High Elf", "Haut-elfe"}, {"Wood Elf", "Elfe des bois"},
    {"Nord", "Nordique"}, {"Imperial", "Imp\xE9rial"}, {"Breton", "Br\xE9ton"},
    {"Redguard", "R\xF4" "deur"}, {"Orc", "Orque"}, {"Khajiit", "Khajiit"},
    {"Argonian", "Argonien"},
};

const std::vector<Word> kSigns = {
    {"The Warrior", "Le Guerrier"}, {"The Mage", "Le Mage"}, {"The Thief", "Le Voleur"},
    {"The Serpent", "Le Serpent"}, {"The Lady", "La Dame"}, {"The Steed", "Le Destrier"},
    {"The Lord", "Le Seigneur"}, {"The Apprentice", "L'Apprenti"}, {"The Atronach", "L'Atronach"},
    {"The Ritual", "Le Rituel"}, {"The Lover", "L'Amant"}, {"The Shadow", "L'Ombre"},
    {"The Tower", "La Tour"},
};

const char* const kSyllables[] = {
    "al", "ba", "dra", "vel", "oth", "ri", "mor", "sa", "ne", "dar", "ur", "go", "ra", "the", "si",
    "lo", "ka", "zu", "en", "fa", "mi", "ro", "na", "hla", "vu", "ser", "dun", "gi", "bel", "ar",
    "is", "tel", "va", "mo", "ane", "el", "ith", "ul", "dre", "nil", "sed", "ya", "bri", "tor",
    "ven", "aly", "gal", "rin", "dos", "ek", "tho", "ma", "nus", "sul", "vi", "mer", "hal", "ken",
    "ath", "ori", "jo", "dil", "fen",
};
// clang-format on

std::string syllables(Random& rng, uint32_t low, uint32_t high) {
  std::string word;
  for (uint32_t i = rng.between(low, high); i > 0; --i) {
    word += kSyllables[rng.below(std::size(kSyllables))];
  }
  word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
  return word;
}

// French spelling of a proper name: most stay as they are, some take an
// accent, as translators do with names that read awkwardly in French.
std::string frenchify(const std::string& name, Random& rng) {
  std::string french = name;
  if (rng.percent(20)) {
    const size_t e = french.find('e', 1);
    if (e != std::string::npos) french[e] = '\xE9';
  }
  return french;
}

// Draws distinct sources until there are `count` of them (or the attempts
// run out) and appends them, in draw order, to `entries` and `sources`.
template <class Make>
void draw_distinct(size_t count, std::set<std::string>& taken, std::vector<Entry>& entries,
                   std::vector<std::string>* sources, Make make) {
  size_t added = 0;
  for (size_t attempt = 0; added < count && attempt < count * 50; ++attempt) {
    Entry entry = make();
    if (!taken.insert(entry.source).second) continue;
    if (sources != nullptr) sources->push_back(entry.source);
    entries.push_back(std::move(entry));
    ++added;
  }
}

}  // namespace

Vocabulary make_vocabulary(uint64_t seed, const LexiconSizes& sizes) {
  Random rng(seed ^ 0x5155494C4C415245ull);
  Vocabulary v;

  // Topics: single things, proper nouns, then "trait thing" pairs and
  // "thing of Town"; short topics are prefixes of longer ones ("ruins",
  // "ruins of Balmora", "Dwemer", "Dwemer ruins").
  std::set<std::string> taken;
  for (const Word& thing : kTopicThings) {
    if (v.topics.size() < sizes.topics && taken.insert(thing.en).second) {
      v.topics.push_back({thing.en, thing.fr});
    }
  }
  for (const Word& trait : kTopicTraits) {
    if (std::isupper(static_cast<unsigned char>(trait.en[0])) && v.topics.size() < sizes.topics &&
        taken.insert(trait.en).second) {
      std::string french = trait.fr;
      french[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(french[0])));
      v.topics.push_back({trait.en, french});
    }
  }
  std::vector<std::string> topic_towns;
  draw_distinct(std::min<size_t>(300, sizes.topics - v.topics.size()), taken, v.topics,
                &topic_towns, [&] {
                  std::string town = syllables(rng, 2, 3);
                  return Entry{town, frenchify(town, rng)};
                });
  draw_distinct(sizes.topics - v.topics.size(), taken, v.topics, nullptr, [&] {
    const Word& thing = rng.pick(kTopicThings);
    if (rng.percent(60)) {
      const Word& trait = rng.pick(kTopicTraits);
      return Entry{std::string(trait.en) + " " + thing.en, std::string(thing.fr) + " " + trait.fr};
    }
    const std::string& town = rng.pick(topic_towns);
    return Entry{std::string(thing.en) + " of " + town, std::string(thing.fr) + " de " + town};
  });
  for (const Entry& topic : v.topics) v.topic_words.push_back(topic.source);

  // Faction texts: faction names, then rank titles.
  taken.clear();
  const size_t rank_count =
      std::min<size_t>(sizes.factions / 8, kRanks.size() * (kRankGrades.size() + 1));
  draw_distinct(sizes.factions - rank_count, taken, v.factions, &v.faction_names, [&] {
    const Word& group = rng.pick(kGroups);
    const std::string proper = syllables(rng, 2, 3);
    if (rng.percent(50)) {
      return Entry{proper + " " + group.en, std::string(group.fr) + " " + proper};
    }
    return Entry{std::string(group.en) + " of " + proper,
                 std::string(group.fr) + " de " + frenchify(proper, rng)};
  });
  for (const Word& rank : kRanks) {
    if (v.factions.size() < sizes.factions && taken.insert(rank.en).second) {
      v.factions.push_back({rank.en, rank.fr});
      v.ranks.push_back(rank.en);
    }
  }
  draw_distinct(sizes.factions - v.factions.size(), taken, v.factions, &v.ranks, [&] {
    const Word& grade = rng.pick(kRankGrades);
    const Word& rank = rng.pick(kRanks);
    return Entry{std::string(grade.en) + " " + rank.en, std::string(rank.fr) + " " + grade.fr};
  });

  // Names, by kind. Towns come first so that places can be built from them.
  taken.clear();
  std::vector<Entry>& names = v.names;
  auto budget = [&](size_t wanted) { return std::min(wanted, sizes.names - names.size()); };
  auto add_words = [&](const std::vector<Word>& words, std::vector<std::string>& kind) {
    for (const Word& word : words) {
      if (names.size() < sizes.names && taken.insert(word.en).second) {
        names.push_back({word.en, word.fr});
        kind.push_back(word.en);
      }
    }
  };
  add_words(kClasses, v.classes);
  add_words(kRaces, v.races);
  add_words(kSigns, v.signs);
  // Some towns are topics too, as in real games, where they are both.
  for (const std::string& town : topic_towns) {
    if (names.size() < sizes.names && taken.insert(town).second) {
      names.push_back({town, town});
      v.towns.push_back(town);
    }
  }
  draw_distinct(budget(300), taken, names, &v.towns, [&] {
    std::string town = syllables(rng, 2, 3);
    if (rng.percent(10)) town.append(1, '-').append(syllables(rng, 1, 1));
    return Entry{town, frenchify(town, rng)};
  });
  draw_distinct(budget(40), taken, names, &v.regions, [&] {
    const std::string proper = syllables(rng, 2, 3);
    return Entry{proper + " Region", "R\xE9gion de " + proper};
  });
  draw_distinct(budget(6000), taken, names, &v.places, [&] {
    const std::string& town = rng.pick(v.towns);
    const Word& place = rng.pick(kPlaces);
    return Entry{town + ", " + place.en, town + ", " + place.fr};
  });
  draw_distinct(budget(1000), taken, names, &v.people, [&] {
    const std::string given = syllables(rng, 2, 3);
    return Entry{given, frenchify(given, rng)};
  });
  draw_distinct(budget(8000), taken, names, &v.people, [&] {
    const std::string person = syllables(rng, 2, 3) + " " + syllables(rng, 2, 4);
    return Entry{person, frenchify(person, rng)};
  });
  draw_distinct(budget(1300), taken, names, &v.creatures, [&] {
    const Word& trait = rng.pick(kBeastTraits);
    const Word& beast = rng.pick(kBeasts);
    if (rng.percent(15)) return Entry{beast.en, beast.fr};
    return Entry{std::string(trait.en) + " " + beast.en, std::string(beast.fr) + " " + trait.fr};
  });
  draw_distinct(budget(2000), taken, names, &v.spells, [&] {
    const Word& grade = rng.pick(kSpellGrades);
    const Word& kind = rng.pick(kSpellKinds);
    return Entry{std::string(grade.en) + " " + kind.en, std::string(kind.fr) + " " + grade.fr};
  });
  // Every material alone is a name too ("Iron"), a prefix of many others.
  add_words(kMaterials, v.items);
  draw_distinct(budget(sizes.names), taken, names, &v.items, [&] {
    const Word& material = rng.pick(kMaterials);
    const Word& object = rng.pick(kObjects);
    Entry entry{std::string(material.en) + " " + object.en,
                std::string(object.fr) + " " + material.fr};
    if (rng.percent(70)) {
      const Word& virtue = rng.pick(kVirtues);
      entry.source += std::string(" of ") + virtue.en;
      entry.target += std::string(" ") + virtue.fr;
    }
    return entry;
  });
  // A few sources twice with different targets, as hand-merged lexicons
  // have: the loader's order decides which one wins.
  for (size_t i = 0; i < 16 && names.size() > 40; ++i) {
    const Entry& original = names[names.size() - 1 - i * 2];
    names[names.size() - 2 - i * 2] = {original.source, original.target + " (variante)"};
  }
  return v;
}

Vocabulary with_names(const Vocabulary& vocabulary, size_t count) {
  Vocabulary copy = vocabulary;
  if (count >= vocabulary.names.size()) return copy;
  // Evenly spread, so that every kind of name keeps its share.
  copy.names.clear();
  for (size_t i = 0; i < count; ++i) {
    copy.names.push_back(vocabulary.names[i * vocabulary.names.size() / count]);
  }
  return copy;
}

LexiconFiles lexicon_files(const Vocabulary& vocabulary) {
  auto file = [](const std::vector<Entry>& entries, std::string_view line_end) {
    std::string text;
    for (const Entry& entry : entries) {
      for (const std::string* s : {&entry.source, &entry.target}) {
        text.append(1, '"').append(*s).append(1, '"').append(line_end);
      }
    }
    return text;
  };
  return {file(vocabulary.topics, "\r\n"), file(vocabulary.factions, "\n"),
          file(vocabulary.names, "\n")};
}

}  // namespace quillaret::bench
