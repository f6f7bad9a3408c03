#include "driver/driver.h"

#include <algorithm>
#include <iterator>

#include "driver/pipeline.h"
#include "lexicon/lexicon.h"
#include "platform/background.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace quillaret {
namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;

int fail(Console& console, const char* message) {
  console.print(message);
  return kFailure;
}

}  // namespace

std::optional<std::string> lexicon_directory(const std::string& argument0) {
  // A separator at index 0 alone does not count.
  for (size_t i = argument0.size(); i-- > 1;) {
    if (platform::is_separator(argument0[i])) return argument0.substr(0, i);
  }
  // Started through PATH: ask the system where the executable lies.
  const std::string executable = platform::executable_path();
  for (size_t i = executable.size(); i-- > 0;) {
    if (platform::is_separator(executable[i])) return executable.substr(0, i);
  }
  return std::nullopt;
}

namespace {

// Output names: Mod.esp gives Mod_fr.esp and Mod_fr.log, Mod.esm gives
// Mod_fr.esm and Mod_fr.log. Nothing when the name ends in neither .esp nor
// .esm (exact case).
struct OutputNames {
  std::string plugin;
  std::string log;
};

std::optional<OutputNames> output_names(const std::string& input) {
  const size_t length = input.size();
  if (length < 4) return std::nullopt;
  const std::string extension = input.substr(length - 4);
  if (extension != ".esm" && extension != ".esp") return std::nullopt;
  const std::string stem = input.substr(0, length - 4);
  return OutputNames{stem + "_fr.es" + extension.back(), stem + "_fr.log"};
}

class OutputSink final : public ByteSink {
 public:
  explicit OutputSink(platform::AtomicFile& file) : file_(file) {}
  bool write(const char* data, size_t size) override { return file_.write(data, size); }

 private:
  platform::AtomicFile& file_;
};

// Everything but the final wait, so that every file is closed and a
// temporary output removed before the program waits: a user who closes the
// console window instead of pressing a key must not leave one behind.
int run_stages(const std::vector<std::string>& args, Console& console) {
  console.print("Welcome in Quillaret v1.01\n\n");
  if (args.size() < 2) return fail(console, "missing ESP/ESM/ESS file!\n");

  const std::optional<std::string> directory = lexicon_directory(args[0]);
  if (!directory) return fail(console, "Bad path!\n");

  console.print("Reading lexicons\n");
  const std::string prefix = platform::join_path(*directory, "lexique_enfr");
  // The name lexicon, by far the largest, loads on a second thread while
  // this one opens the input and loads the other two. The input is opened
  // before its name is checked, so that a missing file is reported as such
  // whatever its name.
  Lexicons lexicons;
  bool loaded[std::size(kLexiconFiles)] = {};
  const auto load = [&](size_t i) {
    const LexiconFile& file = kLexiconFiles[i];
    return load_lexicon(prefix + file.suffix, file.phrases, &(lexicons.*file.lexicon));
  };
  constexpr size_t kNames = 2;
  static_assert(kLexiconFiles[kNames].lexicon == &Lexicons::names);
  std::future<bool> names = platform::in_background([&] { return load(kNames); });
  platform::InputFile input;
  const bool exists = input.open(args[1]);
  const std::optional<OutputNames> outputs = output_names(args[1]);
  const bool readable = exists && outputs && input.load();
  for (size_t i = 0; i < kNames; ++i) loaded[i] = load(i);
  loaded[kNames] = names.get();

  // The translation starts as soon as everything it needs is there, while
  // this thread reports and creates the output.
  const bool all_loaded = std::all_of(std::begin(loaded), std::end(loaded), [](bool b) { return b; });
  std::optional<TranslationPipeline> pipeline;
  if (all_loaded && readable) pipeline.emplace(input.bytes(), lexicons);

  for (size_t i = 0; i < std::size(kLexiconFiles); ++i) {
    if (loaded[i]) continue;
    console.print("file does not exist " + prefix + kLexiconFiles[i].suffix + "!\n");
    console.wait();
    return fail(console, "Missing lexicons!\n");
  }
  if (!exists) return fail(console, "file does not exist!\n");
  if (!outputs) return fail(console, "unsupported file format!\n");

  platform::AtomicFile output;
  if (!output.create(outputs->plugin)) return fail(console, "file does not exist!\n");
  // A translation is about as long as its input.
  output.reserve(static_cast<int64_t>(input.bytes().size()));
  // The trace log is optional: without it the translation still runs.
  platform::TextFile trace_log;
  trace_log.create(outputs->log);

  console.print("Parsing Mod file\n");
  if (!pipeline) return fail(console, "Error parsing file!\n");
  OutputSink sink(output);
  const PipelineResult result = pipeline->finish(sink);
  if (!result.read_ok) {
    console.print(result.read_error);
    return fail(console, "Error parsing file!\n");
  }

  console.print("Translating\n");
  console.print(result.messages);
  // The lines logged before a failure are kept too.
  trace_log.write(result.log);
  if (result.status != 0) return fail(console, "Error translating file!\n");
  console.print("done!\n");

  console.print("Saving file\n");
  console.print("saving...\n");
  if (!result.written || !output.commit()) return fail(console, "Error saving file!\n");
  console.print("done\n");

  if (trace_log.is_open()) {
    trace_log.close();
  } else {
    console.print("No traces!\n");
  }
  return kSuccess;
}

}  // namespace

int run(const std::vector<std::string>& args, Console& console) {
  const int status = run_stages(args, console);
  console.wait();
  return status;
}

}  // namespace quillaret
