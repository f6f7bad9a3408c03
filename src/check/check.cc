#include "check/check.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

#include "check/facts.h"
#include "check/hints.h"
#include "platform/background.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace quillaret::check {
namespace {

// The bytes first: the view points into them.
struct OpenFile {
  platform::InputFile file;
  PluginView view;
};

enum class Opened { ok, missing, damaged };

Opened open_file(const std::string& path, OpenFile* open, std::string* error) {
  if (!open->file.read(path)) {
    *error = "cannot read " + path;
    return Opened::missing;
  }
  return open->view.open_bytes(open->file.bytes(), path, error) ? Opened::ok : Opened::damaged;
}

struct Master {
  std::string name;
  uint64_t recorded_size = 0;
  OpenFile open;
  Opened state = Opened::missing;
  std::string error;
  MasterFacts facts;
};

std::string quoted(std::string_view text) {
  std::string result(1, '"');
  result.append(text).push_back('"');
  return result;
}

// A text as a report line shows it: on one line, and cut short.
std::string shown(std::string_view text) {
  constexpr size_t kLongest = 80;
  std::string line(text.substr(0, kLongest));
  if (text.size() > kLongest) {
    // Not inside a UTF-8 sequence, should the text be one.
    while (!line.empty() && (static_cast<unsigned char>(line.back()) & 0xC0) == 0x80)
      line.pop_back();
    if (!line.empty() && static_cast<unsigned char>(line.back()) >= 0xC0) line.pop_back();
    line += "...";
  }
  for (char& c : line) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  return line;
}

std::string where(const Referrer& from) {
  std::string text = tag_text(from.tag) + " " + quoted(from.id);
  if (from.tag == make_tag("INFO")) text += " of " + quoted(from.topic);
  if (from.exterior) text += " at (" + std::to_string(from.x) + ", " + std::to_string(from.y) + ")";
  return text;
}

// What the plug-in and its masters that are there define.
struct Known {
  NameSet cells;  // cells, and regions, whose names unnamed exteriors take
  NameSet interiors;
  NameSet topics, journals;
  NameSet master_interiors, master_dialogues;
  NameMap<std::string_view> info_topics;  // the masters' INFO IDs that the plug-in asked about
  std::string missing;                    // the missing masters' names, or empty

  bool defines(NameKind kind, std::string_view name) const {
    switch (kind) {
      case NameKind::cell: return cells.contains(name);
      case NameKind::interior: return interiors.contains(name);
      case NameKind::cell_prefix: return cells.has_prefix(name);
      case NameKind::topic: return topics.contains(name);
      case NameKind::journal: return journals.contains(name);
    }
    return false;
  }
};

Known gather(const PluginFacts& plugin, const std::vector<Master>& masters) {
  Known known;
  std::vector<std::string_view> cells, interiors, topics, journals, master_interiors, master_dialogues;
  const auto add = [&](const Definitions& d, bool master) {
    cells.insert(cells.end(), d.cells.begin(), d.cells.end());
    cells.insert(cells.end(), d.regions.begin(), d.regions.end());
    interiors.insert(interiors.end(), d.interiors.begin(), d.interiors.end());
    topics.insert(topics.end(), d.topics.begin(), d.topics.end());
    journals.insert(journals.end(), d.journals.begin(), d.journals.end());
    if (!master) return;
    master_interiors.insert(master_interiors.end(), d.interiors.begin(), d.interiors.end());
    master_dialogues.insert(master_dialogues.end(), d.dialogues.begin(), d.dialogues.end());
  };
  add(plugin.defined, false);
  for (const Master& m : masters) {
    if (m.state != Opened::ok) {
      known.missing += (known.missing.empty() ? "" : ", ") + m.name;
      continue;
    }
    add(m.facts.defined, true);
    known.info_topics.insert(m.facts.info_topics.begin(), m.facts.info_topics.end());
  }
  known.cells = NameSet(std::move(cells));
  known.interiors = NameSet(std::move(interiors));
  known.topics = NameSet(std::move(topics));
  known.journals = NameSet(std::move(journals));
  known.master_interiors = NameSet(std::move(master_interiors));
  known.master_dialogues = NameSet(std::move(master_dialogues));
  return known;
}

// Builds the findings from what the files hold; detached topics before
// unreachable ones, which leave the detached out.
class Verdicts {
 public:
  Verdicts(const PluginFacts& plugin, const Known& known, const Lexicons* lexicons,
           std::vector<Finding>* findings)
      : plugin_(plugin), known_(known), lexicons_(lexicons), findings_(*findings) {}

  void masters(const std::string& plugin_name, const std::string& folder,
               const std::vector<Master>& masters) {
    const std::string where = "TES3 " + quoted(plugin_name);
    for (const Master& m : masters) {
      if (m.state != Opened::ok) {
        add(Kind::missing_master, where, m.name,
            "not in " + (folder.empty() ? std::string("the current folder") : folder) +
                "; the names that only it could define are not checked");
      } else if (m.open.view.bytes().size() != m.recorded_size) {
        add(Kind::master_size, where, m.name,
            "the header records " + std::to_string(m.recorded_size) + " bytes, the file has " +
                std::to_string(m.open.view.bytes().size()) +
                "; the game warns when it loads the plug-in (saving it again in the editor "
                "records the new size)");
      }
    }
  }

  void references() {
    for (const Reference& ref : plugin_.references) {
      if (known_.defines(ref.target, ref.name)) continue;
      const bool script = ref.kind == Kind::script;
      if (!known_.missing.empty()) {
        add(Kind::not_checked, where(ref.from), std::string(ref.name),
            (script ? std::string(ref.command) + " argument" : description(ref.kind)) + ", " +
                no_such(ref.target) + " in the files read; " + missing_may("define it"));
      } else {
        add(ref.kind, where(ref.from), std::string(ref.name),
            (script ? std::string(ref.command) + ": " : std::string()) + no_such(ref.target) +
                hint(ref.name, ref.target));
      }
    }
  }

  void texts() {
    for (const TextIssue& issue : plugin_.issues) {
      if (issue.kind == Kind::stale_script) {
        add(issue.kind, where(issue.from), shown(issue.text),
            "in the source, not in the compiled data" +
                (issue.more == 0 ? std::string()
                                 : " (nor " + std::to_string(issue.more) + " more)") +
                ": the game runs the old texts until the script is compiled again in the editor");
      } else {
        add(issue.kind, where(issue.from), shown(issue.text),
            tag_text(issue.field) +
                " is UTF-8, which the game shows as garbage; French texts "
                "must be Windows-1252 (save the lexicons so)");
      }
    }
  }

  void unreachable(const std::vector<std::string_view>& topics, std::vector<char> mentioned) {
    for (size_t i = 0; i < topics.size(); ++i) {
      // A detached topic has been reported for its cause already.
      if (mentioned[i] || known_.master_dialogues.contains(topics[i]) ||
          detached_.contains(topics[i]))
        continue;
      const std::string where = "DIAL " + quoted(topics[i]);
      if (known_.missing.empty()) {
        add(Kind::unreachable_topic, where, "", "no response mentions it and no AddTopic adds it");
      } else {
        add(Kind::not_checked, where, "",
            "no response of the files read mentions it nor AddTopic adds it; " +
                missing_may("make it known"));
      }
    }
  }

  // A topic of the plug-in that the masters lack, whose responses link to
  // theirs: the game files those responses under a topic of their own.
  void detached_topics() {
    const NameIndex own(plugin_.info_ids.begin(), plugin_.info_ids.end());
    for (const DialogueLinks& d : plugin_.dialogues) {
      if (d.ids.empty() || known_.master_dialogues.contains(d.dialogue.id)) continue;
      std::optional<std::pair<std::string_view, std::string_view>> linked;  // ID, master topic
      std::string_view foreign;  // an ID that no file read defines
      for (std::string_view id : d.ids) {
        const auto it = known_.info_topics.find(id);
        if (it != known_.info_topics.end()) {
          linked.emplace(id, it->second);
          break;
        }
        if (foreign.empty() && !own.contains(id)) foreign = id;
      }
      if (linked || (!foreign.empty() && !known_.missing.empty())) detached_.insert(d.dialogue.id);
      if (linked) {
        add(Kind::detached_topic, where(d.dialogue), "",
            "no master has this topic, yet its responses link into the master's topic " +
                quoted(linked->second) + " (INFO " + quoted(linked->first) +
                "): they land in a topic of their own" +
                repair(d.dialogue.id, linked->second, {kTopics, kNames}));
      } else if (!foreign.empty() && !known_.missing.empty()) {
        add(Kind::not_checked, where(d.dialogue), "",
            "its responses link to INFO " + quoted(foreign) + ", which no file read holds; " +
                missing_may("hold it under another name"));
      }
    }
  }

  // An interior cell of the plug-in that the masters lack, holding
  // references that a master's cell holds (same number, same object): the
  // game applies its changes to a new cell, not to that one.
  void detached_cells(const std::vector<Master>& masters) {
    for (const MasterReferences& c : plugin_.cells) {
      if (known_.master_interiors.contains(c.cell.id)) continue;
      const Master* absent = nullptr;
      std::vector<std::pair<std::string_view, size_t>> held;  // a master's cell, how many it holds
      for (const CellReference& ref : c.references) {
        const size_t index = ref.number >> 24;
        if (index > masters.size()) continue;  // no such master: nothing the game would tie
        const Master& m = masters[index - 1];
        if (m.state != Opened::ok) {
          if (absent == nullptr) absent = &m;
          continue;
        }
        const auto it = m.facts.reference_cells.find({ref.number & 0xFFFFFF, ref.object});
        if (it == m.facts.reference_cells.end()) continue;
        const auto cell = std::find_if(held.begin(), held.end(),
                                       [&](const auto& h) { return same_name(h.first, it->second); });
        if (cell == held.end()) {
          held.emplace_back(it->second, 1);
        } else {
          ++cell->second;
        }
      }
      // The cell that holds the most of them, the first on a tie.
      const auto best = std::max_element(held.begin(), held.end(),
                                         [](const auto& a, const auto& b) { return a.second < b.second; });
      if (best != held.end()) {
        add(Kind::detached_cell, where(c.cell), "",
            "no master has this cell, yet it changes " + std::to_string(best->second) +
                (best->second == 1 ? " reference" : " references") + " of the master's cell " +
                quoted(best->first) + ": the changes land in a cell of their own" +
                repair(c.cell.id, best->first, {kNames}));
      } else if (absent != nullptr) {
        add(Kind::not_checked, where(c.cell), "",
            "it holds references to objects of " + absent->name +
                ", which is missing; no master read has this cell");
      }
    }
  }

 private:
  void add(Kind kind, std::string where, std::string name, std::string detail) {
    findings_.push_back({kind, std::move(where), std::move(name), std::move(detail)});
  }

  static std::string description(Kind kind) {
    switch (kind) {
      case Kind::door: return "door destination";
      case Kind::travel: return "travel destination";
      case Kind::moved: return "moved reference's cell";
      case Kind::package: return "AI package's cell";
      case Kind::cell_filter: return "cell filter";
      case Kind::not_cell: return "Not Cell condition";
      default: return {};
    }
  }

  static std::string no_such(NameKind target) {
    switch (target) {
      case NameKind::cell: return "no such cell";
      case NameKind::interior: return "no such interior cell";
      case NameKind::cell_prefix: return "no cell's name begins so";
      case NameKind::topic: return "no such topic";
      case NameKind::journal: return "no such journal";
    }
    return {};
  }

  std::string missing_may(const char* what) const {
    const bool one = known_.missing.find(", ") == std::string::npos;
    return known_.missing + (one ? ", which is missing, may " : ", which are missing, may ") + what;
  }

  // The lexicon line to add or correct so that the translator, looking a
  // record's `name` up in `lexicons` in turn, writes the masters' `wanted`;
  // and the source that the lexicons already translate to `wanted`.
  std::string repair(std::string_view name, std::string_view wanted, std::initializer_list<size_t> lexicons) {
    if (lexicons_ == nullptr) return {};
    const LexiconIndex& index = lexicon_index();
    std::string given;
    for (size_t lexicon : lexicons) {
      if (const auto match = index.find_target(lexicon, wanted)) {
        given = "; " + quoted(wanted) + " is already the French of " + quoted(match->entry.source) + " in " +
                std::string(match->file);
        break;
      }
    }
    for (size_t lexicon : lexicons) {
      if (const auto match = index.find_source(lexicon, name)) {
        const std::string_view target = match->entry.target;
        if (same_name(target, wanted)) {
          return "; " + std::string(match->file) + " translates it to " + quoted(target) +
                 ": translate the plug-in again";
        }
        return "; " + std::string(match->file) + " translates it to " + quoted(target) +
               ": correct that line to " + quoted(wanted) + given;
      }
    }
    for (size_t lexicon : lexicons) {
      if (const auto match = index.find_target(lexicon, name)) {
        return "; " + std::string(match->file) + " translates " + quoted(match->entry.source) +
               " to it: correct that line to " + quoted(wanted) + given;
      }
    }
    return "; add " + quoted(name) + " with the French " + quoted(wanted) + " to " +
           index.file(*lexicons.begin()) + given;
  }

  const LexiconIndex& lexicon_index() {
    if (!index_) index_ = std::make_unique<LexiconIndex>(*lexicons_);
    return *index_;
  }

  // What the lexicons say of a name that points at nothing.
  std::string hint(std::string_view name, NameKind target) {
    if (lexicons_ == nullptr) return {};
    const std::optional<LexiconMatch> match = lexicon_index().find(name);
    if (!match) return "; in neither the lexicons nor the masters";
    const LexiconEntry& entry = match->entry;
    if (!match->as_source) {
      return "; it is the French of " + quoted(entry.source) + " in " + std::string(match->file) +
             ", but no file read has it";
    }
    const bool exists = known_.defines(target, entry.target);
    return "; " + std::string(match->file) + " translates " +
           (entry.source == name ? std::string("it") : quoted(entry.source)) + " to " +
           quoted(entry.target) + (exists ? ", which exists" : ", which does not exist either");
  }

  const PluginFacts& plugin_;
  const Known& known_;
  const Lexicons* lexicons_;
  std::vector<Finding>& findings_;
  std::unique_ptr<LexiconIndex> index_;  // built for the first hint
  NameIndex detached_;                   // the topics found detached
};

}  // namespace

bool check_plugin(const CheckRequest& request, std::vector<Finding>* findings, std::string* error) {
  OpenFile plugin;
  if (open_file(request.plugin, &plugin, error) != Opened::ok) return false;
  const PluginFacts facts = collect_plugin(plugin.view);

  // The plug-in's topics, once each, and what to ask the masters.
  std::vector<std::string_view> topics;
  NameIndex seen;
  for (std::string_view topic : facts.defined.topics) {
    if (seen.insert(topic).second) topics.push_back(topic);
  }
  MasterQuestions questions{TopicTrie(topics), {}, {}};
  for (const DialogueLinks& d : facts.dialogues)
    questions.info_ids.insert(d.ids.begin(), d.ids.end());
  const std::vector<PluginView::Master>& listed = plugin.view.masters();
  questions.references.resize(listed.size());
  for (const MasterReferences& c : facts.cells) {
    for (const CellReference& ref : c.references) {
      const size_t index = ref.number >> 24;
      if (index <= listed.size()) questions.references[index - 1].insert({ref.number & 0xFFFFFF, ref.object});
    }
  }

  std::vector<Master> masters(listed.size());
  {
    std::vector<std::future<void>> reads;
    for (size_t i = 0; i < listed.size(); ++i) {
      Master& m = masters[i];
      m.name = listed[i].name;
      m.recorded_size = listed[i].size;
      std::string path = platform::join_path(request.folder, m.name);
      reads.push_back(platform::in_background([&m, &questions, i, path = std::move(path)] {
        m.state = open_file(path, &m.open, &m.error);
        if (m.state == Opened::ok) m.facts = collect_master(m.open.view, questions, i);
      }));
    }
    for (std::future<void>& read : reads) read.get();
  }
  for (const Master& m : masters) {
    if (m.state == Opened::damaged) {
      *error = m.error;
      return false;
    }
  }

  const Known known = gather(facts, masters);
  std::vector<char> mentioned(topics.size(), 0);
  for (const Master& m : masters) {
    for (size_t i = 0; i < m.facts.mentioned.size(); ++i) mentioned[i] |= m.facts.mentioned[i];
  }
  for (std::string_view response : facts.responses)
    questions.topics.mark_mentions(response, mentioned);
  for (const Reference& ref : facts.references) {
    const int32_t topic = ref.target == NameKind::topic ? questions.topics.find(ref.name) : -1;
    if (topic >= 0) mentioned[static_cast<size_t>(topic)] = 1;
  }

  findings->clear();
  Verdicts verdicts(facts, known, request.lexicons, findings);
  verdicts.masters(std::string(platform::file_name(request.plugin)), request.folder, masters);
  verdicts.references();
  verdicts.detached_topics();
  verdicts.detached_cells(masters);
  verdicts.unreachable(topics, std::move(mentioned));
  verdicts.texts();
  return true;
}

}  // namespace quillaret::check
