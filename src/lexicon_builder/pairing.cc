#include "lexicon_builder/pairing.h"

#include <algorithm>
#include <unordered_map>

#include "plugin/names.h"

namespace quillaret::lexicon_builder {
namespace {

constexpr int32_t kNone = -1;
constexpr int32_t kSeveral = -2;

// A record's kind and ID (a cell's name, a grid's position), and how many
// records of that kind and ID come before it.
struct Key {
  Tag tag = 0;
  std::string_view id;
  uint64_t grid = 0;
  uint32_t rank = 0;
  bool operator==(const Key& o) const {
    return tag == o.tag && grid == o.grid && rank == o.rank && same_name(id, o.id);
  }
};
struct KeyHash {
  size_t operator()(const Key& k) const {
    return name_hash(k.id, k.grid * 31 + (uint64_t{k.tag} << 8) + k.rank);
  }
};

uint64_t grid_of(const TextRecord& r) {
  return uint64_t{static_cast<uint32_t>(r.x)} << 32 | static_cast<uint32_t>(r.y);
}

// One plug-in's records, found by what pairs them.
struct Index {
  std::unordered_map<Key, uint32_t, KeyHash> by_key;            // kinds paired by ID, exterior cells by grid
  ReferenceMap<int32_t> ref_owner;                              // an interior cell, or kSeveral
  std::unordered_map<Key, uint32_t, KeyHash> interior_by_name;  // the first cell of each name
  std::unordered_map<Key, uint32_t, KeyHash> grid_by_name;      // the first path grid of each interior
  std::unordered_map<uint64_t, std::vector<uint32_t>> outdoor_grids;  // the other path grids
  std::vector<char> has_info;                                         // per DIAL: whether an INFO follows it
};

bool paired_by_id(const TextRecord& r) {
  return r.tag != kCELL && r.tag != kPGRD && r.tag != kDIAL && !r.id.empty();
}

// The key of a record paired by ID or by grid; false for other records.
// `seen` counts the keys met so far.
bool key_of(const TextRecord& r, std::unordered_map<Key, uint32_t, KeyHash>& seen, Key* key) {
  if (paired_by_id(r)) {
    *key = {r.tag, r.id, 0, 0};
  } else if (r.tag == kCELL && !r.interior && r.has_grid) {
    *key = {kCELL, {}, grid_of(r), 0};
  } else {
    return false;
  }
  key->rank = seen[*key]++;
  return true;
}

Index build_index(const PluginTexts& texts) {
  Index index;
  const std::vector<TextRecord>& records = texts.records;
  index.has_info.resize(records.size());
  std::unordered_map<Key, uint32_t, KeyHash> seen;
  for (uint32_t i = 0; i < records.size(); ++i) {
    const TextRecord& r = records[i];
    Key key;
    if (key_of(r, seen, &key)) index.by_key.emplace(key, i);
    if (r.tag == kINFO && r.dial >= 0) index.has_info[static_cast<size_t>(r.dial)] = 1;
    if (r.tag != kCELL || !r.interior) continue;
    for (uint32_t k = r.refs_begin; k < r.refs_end; ++k) {
      const CellReference& ref = texts.references[k];
      auto [owner, added] = index.ref_owner.try_emplace(ref, static_cast<int32_t>(i));
      if (!added && owner->second != static_cast<int32_t>(i)) owner->second = kSeveral;
    }
    if (!r.id.empty()) index.interior_by_name.try_emplace({kCELL, r.id, 0, 0}, i);
  }
  // A path grid belongs to an interior when it is named after one.
  for (uint32_t i = 0; i < records.size(); ++i) {
    const TextRecord& r = records[i];
    if (r.tag != kPGRD) continue;
    if (index.interior_by_name.contains({kCELL, r.id, 0, 0})) {
      index.grid_by_name.try_emplace({kCELL, r.id, 0, 0}, i);
    } else if (r.has_grid) {
      index.outdoor_grids[grid_of(r)].push_back(i);
    }
  }
  return index;
}

// The French interior cell that `cell` pairs with, or kNone after adding
// the reason to `unpaired`.
int32_t interior_partner(const PluginTexts& english, const Index& en, uint32_t cell,
                         const PluginTexts& french, const Index& fr, std::vector<UnpairedRecord>* unpaired) {
  const TextRecord& r = english.records[cell];
  const auto fail = [&](Unpaired reason) {
    unpaired->push_back({cell, reason});
    return kNone;
  };
  if (r.refs_begin == r.refs_end) return fail(Unpaired::no_references);
  // The cells that hold a reference on either side, when it is one cell on
  // each: a reference that several cells hold tells nothing.
  const auto owners = [&](const CellReference& ref, int32_t* english_cell, int32_t* french_cell) {
    const auto mine = en.ref_owner.find(ref);
    const auto theirs = fr.ref_owner.find(ref);
    if (mine == en.ref_owner.end() || theirs == fr.ref_owner.end()) return false;
    *english_cell = mine->second;
    *french_cell = theirs->second;
    return mine->second != kSeveral && theirs->second != kSeveral;
  };
  int32_t found = kNone;
  int32_t mine = kNone, theirs = kNone;
  for (uint32_t k = r.refs_begin; k < r.refs_end; ++k) {
    if (!owners(english.references[k], &mine, &theirs)) continue;
    if (found != kNone && found != theirs) return fail(Unpaired::several_cells);
    found = theirs;
  }
  if (found == kNone) return fail(Unpaired::no_common_reference);
  const TextRecord& partner = french.records[static_cast<size_t>(found)];
  for (uint32_t k = partner.refs_begin; k < partner.refs_end; ++k) {
    if (owners(french.references[k], &mine, &theirs) && mine != static_cast<int32_t>(cell)) {
      return fail(Unpaired::shared_cell);
    }
  }
  return found;
}

bool same_place(const TextField& a, const TextField& b) {
  return a.tag == b.tag && a.index == b.index && a.in_reference == b.in_reference &&
         (!a.in_reference || SameReference()(a.reference, b.reference));
}

size_t count_shared(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b) {
  size_t shared = 0;
  for (auto i = a.begin(), j = b.begin(); i != a.end() && j != b.end();) {
    if (*i < *j) {
      ++i;
    } else if (*j < *i) {
      ++j;
    } else {
      ++shared, ++i, ++j;
    }
  }
  return shared;
}

}  // namespace

Pairing pair_texts(const PluginTexts& english, const PluginTexts& french) {
  Pairing result;
  result.shared_ids = count_shared(english.id_hashes, french.id_hashes);
  const Index en = build_index(english);
  const Index fr = build_index(french);
  const std::vector<TextRecord>& records = english.records;
  std::vector<int32_t> partner(records.size(), kNone);

  std::unordered_map<Key, uint32_t, KeyHash> seen;
  for (uint32_t i = 0; i < records.size(); ++i) {
    const TextRecord& r = records[i];
    Key key;
    if (key_of(r, seen, &key)) {
      const auto found = fr.by_key.find(key);
      if (found != fr.by_key.end()) partner[i] = static_cast<int32_t>(found->second);
    } else if (r.tag == kCELL && r.interior) {
      partner[i] = interior_partner(english, en, i, french, fr, &result.unpaired);
    }
  }
  // Path grids, once every cell has its partner.
  for (uint32_t i = 0; i < records.size(); ++i) {
    const TextRecord& r = records[i];
    if (r.tag != kPGRD) continue;
    if (const auto cell = en.interior_by_name.find({kCELL, r.id, 0, 0}); cell != en.interior_by_name.end()) {
      const int32_t french_cell = partner[cell->second];
      if (french_cell == kNone) continue;  // the cell is reported
      const auto grid =
          fr.grid_by_name.find({kCELL, french.records[static_cast<size_t>(french_cell)].id, 0, 0});
      if (grid != fr.grid_by_name.end()) partner[i] = static_cast<int32_t>(grid->second);
    } else if (r.has_grid) {
      const auto theirs = fr.outdoor_grids.find(grid_of(r));
      if (theirs == fr.outdoor_grids.end()) continue;
      if (theirs->second.size() == 1 && en.outdoor_grids.at(grid_of(r)).size() == 1) {
        partner[i] = static_cast<int32_t>(theirs->second.front());
      } else {
        result.unpaired.push_back({i, Unpaired::several_grids});
      }
    }
  }

  std::vector<char> voted(records.size());
  for (uint32_t i = 0; i < records.size(); ++i) {
    if (partner[i] == kNone) continue;
    const TextRecord& e = records[i];
    const TextRecord& f = french.records[static_cast<size_t>(partner[i])];
    for (uint32_t k = e.fields_begin; k < e.fields_end; ++k) {
      const TextField& source = english.fields[k];
      for (uint32_t m = f.fields_begin; m < f.fields_end; ++m) {
        const TextField& target = french.fields[m];
        if (!same_place(source, target)) continue;
        result.observations.push_back({source.lexicon, source.text, target.text, i});
        break;
      }
    }
    // An INFO votes for the French topic of its English one.
    if (e.tag == kINFO && e.dial >= 0 && f.dial >= 0) {
      const TextRecord& topic = records[static_cast<size_t>(e.dial)];
      const TextRecord& french_topic = french.records[static_cast<size_t>(f.dial)];
      if (topic.topic && french_topic.topic) {
        result.observations.push_back({kTopics, topic.id, french_topic.id, i});
        voted[static_cast<size_t>(e.dial)] = 1;
      }
    }
  }
  for (uint32_t i = 0; i < records.size(); ++i) {
    if (records[i].tag != kDIAL || !records[i].topic || voted[i]) continue;
    result.unpaired.push_back({i, en.has_info[i] ? Unpaired::no_common_response : Unpaired::no_responses});
  }
  std::sort(result.unpaired.begin(), result.unpaired.end(),
            [](const UnpairedRecord& a, const UnpairedRecord& b) { return a.record < b.record; });
  return result;
}

}  // namespace quillaret::lexicon_builder
