#include "lexicon_builder/driver.h"

#include <array>

#include "lexicon/lexicon.h"
#include "lexicon_builder/choices.h"
#include "lexicon_builder/lexicon_update.h"
#include "lexicon_builder/pairing.h"
#include "lexicon_builder/plugin_texts.h"
#include "lexicon_builder/report.h"
#include "platform/background.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace quillaret {
namespace {

using namespace lexicon_builder;

constexpr int kSuccess = 0;
constexpr int kFailure = 1;

constexpr char kUsage[] =
    "usage: quillaret-lexicon ENGLISH FRENCH [FOLDER]\n"
    "Pairs the texts of an English plug-in with those of its French translation and\n"
    "adds them to lexique_enfr_dial.txt, lexique_enfr_fact.txt and lexique_enfr_name.txt\n"
    "in FOLDER (by default the current folder); details in lexique_enfr_report.txt.";
constexpr char kReportName[] = "lexique_enfr_report.txt";

int fail(Console& console, const std::string& message) {
  console.print(message + "\n");
  return kFailure;
}

// A plug-in and its texts, which point into it.
struct Input {
  PluginView view;
  PluginTexts texts;
  std::string error;  // empty when read
};

void read_input(const std::string& path, Input* input) {
  if (input->view.open(path, &input->error)) input->texts = extract_texts(input->view);
}

// A missing lexicon reads as empty; one that exists but cannot be read is
// an error, lest it be replaced.
bool read_existing(const std::string& path, std::string* bytes) {
  return platform::is_missing(path) || platform::read_file(path, bytes);
}

int run_stages(const std::vector<std::string>& args, Console& console) {
  if (args.size() < 3) return fail(console, kUsage);
  const std::string& english_path = args[1];
  const std::string& french_path = args[2];
  const std::string folder = args.size() > 3 ? args[3] : ".";
  console.print("English: " + english_path + "\nFrench: " + french_path + "\n");

  // Both plug-ins are read at once, each on a thread.
  Input english, french;
  {
    std::future<void> reading = platform::in_background([&] { read_input(english_path, &english); });
    read_input(french_path, &french);
    reading.get();
  }
  if (!english.error.empty()) return fail(console, english.error);
  if (!french.error.empty()) return fail(console, french.error);

  const Pairing pairing = pair_texts(english.texts, french.texts);
  if (pairing.shared_ids == 0) {
    return fail(console, english_path + " and " + french_path +
                             " share no record ID: they are not a plug-in and its translation");
  }
  const std::array<LexiconChoices, kLexiconCount> choices = choose_texts(pairing.observations);

  if (!platform::make_folder(folder)) {
    return fail(console, "cannot write in " + folder + ": not a folder that can be created");
  }
  std::string error;
  std::array<std::string, kLexiconCount> names, paths;
  std::array<LexiconUpdate, kLexiconCount> updates;
  for (int i = 0; i < kLexiconCount; ++i) {
    names[i] = std::string("lexique_enfr") + kLexiconFiles[i].suffix;
    paths[i] = platform::join_path(folder, names[i]);
    std::string existing;
    if (!read_existing(paths[i], &existing)) return fail(console, "cannot read " + paths[i]);
    if (!update_lexicon(existing, choices[i], &updates[i], &error)) {
      return fail(console, paths[i] + " " + error + ": correct it, then run again");
    }
  }

  ReportInput report{english_path, french_path, &english.texts, &pairing, {}};
  for (int i = 0; i < kLexiconCount; ++i) {
    report.lexicons[i] = {names[i], &choices[i], &updates[i]};
  }
  const std::string report_path = platform::join_path(folder, kReportName);
  const std::string report_text = format_report(report);

  // Every file is complete in its temporary before any replaces its
  // predecessor; the report goes first, so that a failure to replace it
  // leaves every lexicon as it was.
  std::array<platform::AtomicFile, kLexiconCount + 1> files;
  std::array<const std::string*, kLexiconCount + 1> targets = {&report_path, &paths[0], &paths[1], &paths[2]};
  std::array<std::string_view, kLexiconCount + 1> contents = {report_text, updates[0].bytes, updates[1].bytes,
                                                              updates[2].bytes};
  for (size_t i = 0; i < files.size(); ++i) {
    if (!files[i].create(*targets[i]) || !files[i].write(contents[i])) {
      return fail(console, "cannot write " + *targets[i] + "; the lexicons were left as they were");
    }
  }
  for (size_t i = 0; i < files.size(); ++i) {
    if (!files[i].commit()) {
      return fail(console,
                  "cannot write " + *targets[i] + (i == 0 ? "; the lexicons were left as they were" : ""));
    }
  }

  console.print("Unpaired cells and topics: " + std::to_string(pairing.unpaired.size()) + "\n");
  console.print("Report: " + report_path + "\n");
  for (const LexiconOutcome& outcome : report.lexicons) console.print(summary_line(outcome) + "\n");
  return kSuccess;
}

}  // namespace

int run_lexicon_builder(const std::vector<std::string>& args, Console& console) {
  const int status = run_stages(args, console);
  console.wait();
  return status;
}

}  // namespace quillaret
