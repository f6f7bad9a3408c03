#include "lexicon_builder/report.h"

namespace quillaret::lexicon_builder {
namespace {

constexpr std::string_view kEol = "\r\n";

std::string quoted(std::string_view text) {
  std::string q(1, '"');
  q.append(text).append(1, '"');
  return q;
}

const char* skip_reason(SkipReason reason) {
  switch (reason) {
    case SkipReason::empty_english:
      return "the English text is empty";
    case SkipReason::empty_french:
      return "the French text is empty";
    case SkipReason::quote:
      return "a double quote, which a lexicon cannot hold";
    case SkipReason::line_break:
      return "a line break, which a lexicon cannot hold";
  }
  return "";
}

const char* unpaired_reason(Unpaired reason) {
  switch (reason) {
    case Unpaired::no_references:
      return "holds no reference to pair it by";
    case Unpaired::no_common_reference:
      return "none of its references singles out a cell of the French file";
    case Unpaired::several_cells:
      return "its references lie in several cells of the French file";
    case Unpaired::shared_cell:
      return "its French cell also holds references of other cells";
    case Unpaired::several_grids:
      return "other path grids share its grid";
    case Unpaired::no_responses:
      return "a topic without responses, through which topics pair";
    case Unpaired::no_common_response:
      return "none of its responses is in the French file";
  }
  return "";
}

std::string records_list(const PluginTexts& texts, const std::vector<uint32_t>& records) {
  std::string list;
  for (uint32_t record : records) {
    if (!list.empty()) list += ", ";
    list += describe_record(texts, record);
  }
  return list;
}

// Per choice, the lexicon's own text when it disagrees; null otherwise.
std::vector<const std::string*> lexicon_texts(const LexiconOutcome& outcome) {
  std::vector<const std::string*> texts(outcome.choices->choices.size());
  for (const LexiconUpdate::Disagreement& d : outcome.update->disagreements) texts[d.choice] = &d.existing;
  return texts;
}

void add_conflicts(const PluginTexts& texts, const LexiconOutcome& outcome, std::string& out) {
  const std::vector<Choice>& choices = outcome.choices->choices;
  const std::vector<const std::string*> kept_texts = lexicon_texts(outcome);
  bool any = false;
  for (size_t i = 0; i < choices.size(); ++i) {
    const Choice& choice = choices[i];
    const std::string* kept = kept_texts[i];
    if (kept == nullptr && choice.candidates.size() < 2) continue;
    if (!any) out.append(outcome.file_name).append(", conflicts:").append(kEol);
    any = true;
    out += "  " + quoted(choice.source) + ": ";
    if (kept != nullptr) {
      out.append("kept " + quoted(*kept) + " from the lexicon").append(kEol);
      for (const Candidate& c : choice.candidates) {
        out.append("    the files give " + quoted(c.target) + ": " + records_list(texts, c.records))
            .append(kEol);
      }
      continue;
    }
    const Candidate& chosen = choice.candidates[choice.chosen];
    const size_t count = chosen.records.size();
    out.append("wrote " + quoted(chosen.target) + " (" + std::to_string(count) +
               (count == 1 ? " record)" : " records)"))
        .append(kEol);
    for (size_t c = 0; c < choice.candidates.size(); ++c) {
      if (c == choice.chosen) continue;
      const Candidate& other = choice.candidates[c];
      out.append("    also " + quoted(other.target) + ": " + records_list(texts, other.records)).append(kEol);
    }
  }
}

void add_skips(const PluginTexts& texts, const LexiconOutcome& outcome, std::string& out) {
  const std::vector<Skip>& skips = outcome.choices->skips;
  if (skips.empty()) return;
  out.append(outcome.file_name).append(", skipped:").append(kEol);
  for (const Skip& skip : skips) {
    out.append("  " + quoted(skip.source) + " / " + quoted(skip.target) + ": " + skip_reason(skip.reason))
        .append(kEol);
    out.append("    " + records_list(texts, skip.records)).append(kEol);
  }
}

}  // namespace

std::string summary_line(const LexiconOutcome& outcome) {
  const std::vector<Choice>& choices = outcome.choices->choices;
  const std::vector<const std::string*> kept_texts = lexicon_texts(outcome);
  size_t conflicting = 0;
  for (size_t i = 0; i < choices.size(); ++i) {
    if (choices[i].candidates.size() > 1 || kept_texts[i] != nullptr) ++conflicting;
  }
  return std::string(outcome.file_name) + ": " + std::to_string(outcome.update->added) + " added, " +
         std::to_string(outcome.update->kept) + " kept, " + std::to_string(conflicting) + " conflicting, " +
         std::to_string(outcome.choices->skips.size()) + " skipped";
}

std::string describe_record(const PluginTexts& texts, uint32_t record) {
  const TextRecord& r = texts.records[record];
  std::string text = tag_text(r.tag);
  if (!r.id.empty() || !r.has_grid) text.append(" ").append(quoted(r.id));
  if (r.has_grid) {
    text.append(" (").append(std::to_string(r.x)).append(", ").append(std::to_string(r.y)).append(")");
  }
  if (r.dial >= 0) text.append(" in ").append(quoted(texts.records[static_cast<size_t>(r.dial)].id));
  return text;
}

std::string format_report(const ReportInput& input) {
  std::string out;
  out.append("Lexicons built from an English plug-in and its French translation").append(kEol);
  out.append("English: ").append(input.english_path).append(kEol);
  out.append("French: ").append(input.french_path).append(kEol).append(kEol);
  for (const LexiconOutcome& outcome : input.lexicons) out.append(summary_line(outcome)).append(kEol);
  const std::vector<UnpairedRecord>& unpaired = input.pairing->unpaired;
  out.append("Unpaired cells and topics: " + std::to_string(unpaired.size())).append(kEol);
  for (const LexiconOutcome& outcome : input.lexicons) {
    std::string section;
    add_conflicts(*input.english, outcome, section);
    add_skips(*input.english, outcome, section);
    if (!section.empty()) out.append(kEol).append(section);
  }
  if (!unpaired.empty()) {
    out.append(kEol).append("Unpaired cells and topics:").append(kEol);
    for (const UnpairedRecord& u : unpaired) {
      out.append("  " + describe_record(*input.english, u.record) + ": " + unpaired_reason(u.reason))
          .append(kEol);
    }
  }
  return out;
}

}  // namespace quillaret::lexicon_builder
