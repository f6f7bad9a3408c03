// What each file of a check defines and, for the plug-in, refers to, gathered
// in one walk as views into the file's bytes (valid while its view lives).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "check/findings.h"
#include "check/names.h"
#include "check/script_names.h"
#include "check/topic_trie.h"
#include "plugin/plugin_view.h"

namespace quillaret::check {

struct Definitions {
  std::vector<std::string_view> cells;      // CELL NAMEs, interior and exterior
  std::vector<std::string_view> interiors;  // the interior ones among them
  std::vector<std::string_view> regions;    // REGN FNAMs: the names of unnamed exteriors
  std::vector<std::string_view> topics;     // DIAL of type 0
  std::vector<std::string_view> journals;   // DIAL of type 4
  std::vector<std::string_view> dialogues;  // every DIAL
};

// The record a reference or a text belongs to.
struct Referrer {
  Tag tag = 0;
  std::string_view id;
  std::string_view topic;  // an INFO's topic
  bool exterior = false;   // a CELL's grid, when it is an exterior
  int32_t x = 0, y = 0;
};

struct Reference {
  Kind kind;        // door, travel, moved, package, cell_filter, not_cell or script
  NameKind target;  // what the name must match
  Referrer from;
  std::string_view command;  // a script's command, as written
  std::string_view name;
};

// A text that the plug-in alone shows to be at fault.
struct TextIssue {
  Kind kind;  // stale_script or encoding
  Referrer from;
  Tag field;
  std::string_view text;  // the first quoted text missing, or the UTF-8 text
  size_t more = 0;        // further quoted texts missing
};

// A DIAL of the plug-in and the INFO IDs its responses carry (INAM, PNAM
// and NNAM): those of the masters tie it to their topic of the same name.
struct DialogueLinks {
  Referrer dialogue;
  std::vector<std::string_view> ids;
};

// An interior CELL of the plug-in and its references to the masters'
// objects: those whose FRMR number's top byte is a 1-based index in the
// header's list of masters.
struct MasterReferences {
  Referrer cell;
  std::vector<CellReference> references;
};

struct PluginFacts {
  Definitions defined;
  std::vector<Reference> references;
  std::vector<TextIssue> issues;
  std::vector<std::string_view> responses;  // INFO NAMEs, for topic mentions
  std::vector<std::string_view> info_ids;   // INAMs
  std::vector<DialogueLinks> dialogues;
  std::vector<MasterReferences> cells;
};

PluginFacts collect_plugin(const PluginView& view);

// What the check asks every master, built from the plug-in's facts.
struct MasterQuestions {
  TopicTrie topics;    // which of these does a response mention or AddTopic add?
  NameIndex info_ids;  // under which topic does each of these INFO IDs lie?
  // Per master, in the header's order: in which interior cell does each of
  // these references (numbered without the index byte) lie?
  std::vector<ReferenceSet> references;
};

struct MasterFacts {
  Definitions defined;
  std::vector<char> mentioned;  // per topic of MasterQuestions::topics
  NameMap<std::string_view> info_topics;
  ReferenceMap<std::string_view> reference_cells;
};

// `index`: the master's place in the plug-in's header, from 0.
MasterFacts collect_master(const PluginView& view, const MasterQuestions& questions, size_t index);

}  // namespace quillaret::check
