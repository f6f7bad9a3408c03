#include "check/check_driver.h"

#include <iterator>
#include <optional>

#include "check/check.h"
#include "driver/driver.h"
#include "lexicon/lexicon.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace quillaret {
namespace {

constexpr int kNothingFound = 0;
constexpr int kFound = 1;
constexpr int kCouldNotRun = 2;

// The three lexicons beside the program, when they are all there.
bool load_lexicons(const std::string& argument0, Lexicons* lexicons) {
  const std::optional<std::string> directory = lexicon_directory(argument0);
  if (!directory) return false;
  const std::string prefix = platform::join_path(*directory, "lexique_enfr");
  for (const LexiconFile& file : kLexiconFiles) {
    if (!load_lexicon(prefix + file.suffix, false, &(lexicons->*file.lexicon))) return false;
  }
  return true;
}

// Everything but the final wait, so that every file is closed before it.
int run_stages(const std::vector<std::string>& args, Console& console) {
  console.print("Quillaret check v1.01\n\n");
  if (args.size() < 2) {
    console.print("usage: quillaret-check PLUGIN [FOLDER]\n");
    return kCouldNotRun;
  }
  Lexicons lexicons;
  const bool hints = load_lexicons(args[0], &lexicons);
  if (!hints) console.print("No lexicons beside the program: the report gives no lexicon hints.\n");

  check::CheckRequest request{args[1], args.size() > 2 ? args[2] : platform::folder_of(args[1]),
                              hints ? &lexicons : nullptr};
  console.print("Checking " + args[1] + "\n");
  std::vector<check::Finding> findings;
  std::string error;
  if (!check::check_plugin(request, &findings, &error)) {
    console.print(error + "\n");
    return kCouldNotRun;
  }

  const std::string report = check::format_report(findings);
  console.print(report);
  const std::string path = report_path(args[1]);
  platform::TextFile file;
  if (file.create(path) && file.write(report) && file.close()) {
    console.print("Report: " + path + "\n");
  } else {
    console.print("cannot write " + path + "\n");
  }
  return findings.empty() ? kNothingFound : kFound;
}

}  // namespace

std::string report_path(const std::string& plugin) {
  size_t dot = plugin.size();
  for (size_t i = plugin.size(); i-- > 0 && !platform::is_separator(plugin[i]);) {
    if (plugin[i] == '.') {
      dot = i;
      break;
    }
  }
  return plugin.substr(0, dot) + ".check.txt";
}

int run_check(const std::vector<std::string>& args, Console& console) {
  const int status = run_stages(args, console);
  console.wait();
  return status;
}

}  // namespace quillaret
