#include "check/facts.h"

#include <cstring>

#include "check/encoding.h"
#include "translate/fields.h"

namespace quillaret::check {
namespace {

constexpr Tag kCELL = make_tag("CELL"), kDIAL = make_tag("DIAL"), kINFO = make_tag("INFO"),
              kSCPT = make_tag("SCPT"), kREGN = make_tag("REGN"), kNPC_ = make_tag("NPC_"),
              kCREA = make_tag("CREA");
constexpr Tag kNAME = make_tag("NAME"), kDNAM = make_tag("DNAM"),
              kFNAM = make_tag("FNAM"), kMVRF = make_tag("MVRF"),
              kCNAM = make_tag("CNAM"), kCNDT = make_tag("CNDT"), kAI_E = make_tag("AI_E"),
              kAI_F = make_tag("AI_F"), kANAM = make_tag("ANAM"), kSCVR = make_tag("SCVR"),
              kBNAM = make_tag("BNAM"), kINAM = make_tag("INAM"), kPNAM = make_tag("PNAM"),
              kNNAM = make_tag("NNAM"), kSCTX = make_tag("SCTX"), kSCDT = make_tag("SCDT");

constexpr uint8_t kTopic = 0, kJournal = 4;

void add_definitions(const Record& r, Definitions* defined) {
  if (r.tag == kCELL) {
    if (r.id.empty()) return;
    defined->cells.push_back(r.id);
    if (cell_data(r).interior) defined->interiors.push_back(r.id);
  } else if (r.tag == kREGN) {
    const std::string_view name = r.text(kFNAM);
    if (!name.empty()) defined->regions.push_back(name);
  } else if (r.tag == kDIAL && !r.id.empty()) {
    defined->dialogues.push_back(r.id);
    const int type = dialogue_type(r);
    if (type == kTopic) defined->topics.push_back(r.id);
    if (type == kJournal) defined->journals.push_back(r.id);
  }
}

Referrer referrer_of(const Record& r, std::string_view topic) {
  Referrer from{r.tag, r.id, r.tag == kINFO ? topic : std::string_view()};
  if (r.tag == kCELL) {
    const CellData data = cell_data(r);
    from.exterior = data.has_grid;
    from.x = data.x;
    from.y = data.y;
  }
  return from;
}

// Every field that the translator writes, in the encoding it was written.
void check_encoding(const Record& r, const Referrer& from, std::vector<TextIssue>* issues) {
  if (translated_fields(r.tag).empty()) return;
  for (const Subrecord& s : r.subrecords) {
    if (translated_field(r.tag, s.tag) == nullptr) continue;
    std::string_view text = s.text();
    if (s.tag == kSCVR) text = s.payload.size() < 5 ? std::string_view() : s.payload.substr(5);
    if (looks_like_utf8(text)) issues->push_back({Kind::encoding, from, s.tag, text});
  }
}

void add_script(std::string_view script, const Referrer& from, std::vector<Reference>* references) {
  std::vector<ScriptName> names;
  find_script_names(script, &names);
  for (const ScriptName& n : names)
    references->push_back({Kind::script, n.kind, from, n.command, n.name});
}

// The game runs the compiled data: a quoted text of the source that it
// lacks was changed after the script was last compiled. Compilers may
// store IDs in another case, and a translation changes words, not case:
// the comparison folds case, so that an up-to-date script is never taken
// for a stale one.
void check_compiled(const Record& r, const Referrer& from, std::vector<TextIssue>* issues) {
  const Subrecord* compiled = r.find(kSCDT);
  if (compiled == nullptr || compiled->payload.empty()) return;  // nothing runs
  std::vector<std::string_view> texts;
  find_quoted_texts(r.text(kSCTX), &texts);
  TextIssue issue{Kind::stale_script, from, kSCTX, {}};
  bool stale = false;
  for (std::string_view text : texts) {
    if (name_contains(compiled->payload, text)) continue;
    if (stale) {
      ++issue.more;
    } else {
      issue.text = text;
      stale = true;
    }
  }
  if (stale) issues->push_back(issue);
}

void collect_cell(const Record& r, const Referrer& from, PluginFacts* facts) {
  MasterReferences masters{from, {}};
  ReferenceWalk references;
  Tag previous = 0;
  for (const Subrecord& s : r.subrecords) {
    if (references.next(s) == ReferenceWalk::named) {
      const CellReference& ref = references.current();
      if (ref.number >> 24 != 0 && !from.exterior) masters.references.push_back(ref);
    } else if (s.tag == kDNAM) {
      // A door's DNAM names an interior: an exterior destination has none.
      facts->references.push_back({Kind::door, NameKind::interior, from, {}, s.text()});
    } else if (s.tag == kCNAM && previous == kMVRF) {
      facts->references.push_back({Kind::moved, NameKind::interior, from, {}, s.text()});
    }
    previous = s.tag;
  }
  if (!masters.references.empty()) facts->cells.push_back(std::move(masters));
}

void collect_actor(const Record& r, const Referrer& from, PluginFacts* facts) {
  Tag previous = 0;
  for (const Subrecord& s : r.subrecords) {
    if (s.tag == kDNAM) {
      facts->references.push_back({Kind::travel, NameKind::interior, from, {}, s.text()});
    } else if (s.tag == kCNDT && (previous == kAI_E || previous == kAI_F)) {
      facts->references.push_back({Kind::package, NameKind::cell, from, {}, s.text()});
    }
    previous = s.tag;
  }
}

void collect_info(const Record& r, const Referrer& from, PluginFacts* facts) {
  facts->info_ids.push_back(r.id);
  for (const Subrecord& s : r.subrecords) {
    if (s.tag == kANAM) {
      facts->references.push_back({Kind::cell_filter, NameKind::cell_prefix, from, {}, s.text()});
    } else if (const auto name = s.tag == kSCVR ? not_cell_name(s.payload) : std::nullopt) {
      facts->references.push_back({Kind::not_cell, NameKind::cell_prefix, from, {}, *name});
    } else if (s.tag == kNAME) {
      facts->responses.push_back(s.payload);
    } else if (s.tag == kBNAM) {
      add_script(s.payload, from, &facts->references);
    } else if ((s.tag == kINAM || s.tag == kPNAM || s.tag == kNNAM) && !facts->dialogues.empty() &&
               !s.text().empty()) {
      facts->dialogues.back().ids.push_back(s.text());
    }
  }
}

}  // namespace

PluginFacts collect_plugin(const PluginView& view) {
  PluginFacts facts;
  std::string_view topic;  // the DIAL that the INFOs met belong to
  for (RecordCursor it = view.records(); it.valid(); it.next()) {
    const Record& r = it.record();
    add_definitions(r, &facts.defined);
    const Referrer from = referrer_of(r, topic);
    check_encoding(r, from, &facts.issues);
    if (r.tag == kCELL) {
      collect_cell(r, from, &facts);
    } else if (r.tag == kNPC_ || r.tag == kCREA) {
      collect_actor(r, from, &facts);
    } else if (r.tag == kDIAL) {
      topic = r.id;
      facts.dialogues.push_back({from, {}});
    } else if (r.tag == kINFO) {
      collect_info(r, from, &facts);
    } else if (r.tag == kSCPT) {
      add_script(r.text(kSCTX), from, &facts.references);
      check_compiled(r, from, &facts.issues);
    }
  }
  // Nothing to match: an empty name stands for no reference.
  std::erase_if(facts.references, [](const Reference& ref) { return ref.name.empty(); });
  return facts;
}

MasterFacts collect_master(const PluginView& view, const MasterQuestions& questions, size_t index) {
  MasterFacts facts;
  facts.mentioned.assign(questions.topics.size(), 0);
  const ReferenceSet* references =
      index < questions.references.size() && !questions.references[index].empty()
          ? &questions.references[index]
          : nullptr;
  const bool topics = !questions.topics.empty();
  std::vector<ScriptName> names;
  const auto mark_added = [&](std::string_view script) {
    names.clear();
    find_script_names(script, &names);
    for (const ScriptName& n : names) {
      const int32_t topic = n.kind == NameKind::topic ? questions.topics.find(n.name) : -1;
      if (topic >= 0) facts.mentioned[static_cast<size_t>(topic)] = 1;
    }
  };
  std::string_view dialogue;
  for (RecordCursor it = view.records(); it.valid(); it.next()) {
    const Record& r = it.record();
    add_definitions(r, &facts.defined);
    if (r.tag == kDIAL) {
      dialogue = r.id;
    } else if (r.tag == kINFO) {
      if (!questions.info_ids.empty() && questions.info_ids.contains(r.id)) {
        facts.info_topics.emplace(r.id, dialogue);
      }
      if (!topics) continue;
      questions.topics.mark_mentions(r.text(kNAME), facts.mentioned);
      if (const Subrecord* result = r.find(kBNAM)) mark_added(result->payload);
    } else if (r.tag == kSCPT && topics) {
      mark_added(r.text(kSCTX));
    } else if (r.tag == kCELL && references != nullptr && cell_data(r).interior) {
      // The master's own references carry 0 in their top byte.
      ReferenceWalk walk;
      for (const Subrecord& s : r.subrecords) {
        if (walk.next(s) == ReferenceWalk::named && references->contains(walk.current())) {
          facts.reference_cells.emplace(walk.current(), r.id);
        }
      }
    }
  }
  return facts;
}

}  // namespace quillaret::check
