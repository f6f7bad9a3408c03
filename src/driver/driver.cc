#include "driver/driver.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>
#include <memory>

#include "driver/output_file.h"
#include "driver/pipeline.h"
#include "lexicon/lexicon.h"
#include "platform/console.h"
#include "platform/platform.h"

namespace quillaret {
namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;

// Reads the rest of an open file; null when the read fails.
std::unique_ptr<char[]> read_contents(std::FILE* file, int64_t size) {
  auto bytes = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(size) + 1);
  const size_t wanted = static_cast<size_t>(size);
  if (std::fread(bytes.get(), 1, wanted, file) != wanted || std::ferror(file)) return nullptr;
  return bytes;
}

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

std::optional<OutputNames> output_names(const std::string& input) {
  const size_t length = input.size();
  if (length < 4) return std::nullopt;
  const std::string extension = input.substr(length - 4);
  if (extension != ".esm" && extension != ".esp") return std::nullopt;
  const std::string stem = input.substr(0, length - 4);
  return OutputNames{stem + "_fr.es" + extension.back(), stem + "_fr.log"};
}

namespace {

// The input as opened and mapped while the lexicons load. Opening and
// mapping it changes nothing on disk and prints nothing.
struct Input {
  platform::FilePtr file;  // null when it does not exist
  std::optional<OutputNames> names;
  platform::MappedFile mapped;
  std::unique_ptr<char[]> bytes;  // when it could not be mapped
  bool readable = false;
  std::string_view view;
};

// The input is opened before its name is checked, so that a missing file
// is reported as such whatever its name.
void open_input(const std::string& path, Input* input) {
  input->file = platform::open_for_reading(path);
  if (!input->file) return;
  input->names = output_names(path);
  if (!input->names) return;
  const int64_t size = platform::file_size(input->file.get());
  if (size < 0) return;
  // Mapped, the input is neither copied nor held twice in memory; read
  // when the system cannot map it.
  input->mapped = platform::map_file(input->file.get(), size);
  if (!input->mapped) {
    input->bytes = read_contents(input->file.get(), size);
    if (!input->bytes) return;
  }
  input->readable = true;
  input->view = std::string_view(input->mapped ? input->mapped.get() : input->bytes.get(),
                                 static_cast<size_t>(size));
}

// Everything but the final wait, so that every file is closed and a
// temporary output removed before the program waits: a user who closes the
// console window instead of pressing a key must not leave one behind.
int run_stages(const std::vector<std::string>& args, Console& console) {
  console.print("Welcome in Quillaret v1.01\n\n");
  if (args.size() < 2) return fail(console, "missing ESP/ESM/ESS file!\n");

  const std::optional<std::string> directory = lexicon_directory(args[0]);
  if (!directory) return fail(console, "Bad path!\n");

  console.print("Reading lexicons\n");
  const std::string prefix = *directory + platform::native_separator() + "lexique_enfr";
  Lexicons lexicons;
  struct Load {
    DeferredConsole messages;
    int status = -1;
  } loads[std::size(kLexiconFiles)];
  Input input;
  OutputFile output;
  TranslationPipeline pipeline(lexicons, output);
  // Opening the input and loading each lexicon depend on nothing of one
  // another, and on a large master each takes milliseconds to tens of
  // milliseconds: they are shared between this thread, which opens the
  // input first, and a second one, which loads the names (the longest)
  // first; then each takes the next lexicon left. The second thread then
  // stays in the pipeline, and reads and translates as soon as the
  // lexicons are ready, while this one reports and creates the output. The
  // lexicons' messages, and waits, come afterwards in their usual order, up
  // to the first lexicon that failed.
  constexpr size_t kLoadOrder[] = {2, 0, 1};  // in kLexiconFiles: names, topics, factions
  std::atomic<size_t> next_load{0};
  std::atomic<size_t> loading{std::size(kLoadOrder)};
  const auto load_lexicons_left = [&] {
    for (size_t k; (k = next_load.fetch_add(1)) < std::size(kLoadOrder);) {
      const size_t i = kLoadOrder[k];
      const LexiconFile& file = kLexiconFiles[i];
      loads[i].status = load_lexicon(prefix + file.suffix, &(lexicons.*file.lexicon),
                                     loads[i].messages, file.phrases);
      loading.fetch_sub(1, std::memory_order_release);
    }
  };
  platform::Thread helper([&] {
    load_lexicons_left();
    pipeline.help();
  });
  // However this function returns, the helper is told to stop before it
  // is joined. (Where no thread can be started, this thread does it all.)
  struct StopOnReturn {
    TranslationPipeline& pipeline;
    ~StopOnReturn() { pipeline.stop(); }
  } stop_on_return{pipeline};

  open_input(args[1], &input);
  if (input.readable) pipeline.set_input(input.view);
  load_lexicons_left();
  while (loading.load(std::memory_order_acquire) > 0) platform::yield();
  const bool loaded = std::all_of(std::begin(loads), std::end(loads),
                                  [](const Load& l) { return l.status == 0; });
  if (loaded && input.readable) pipeline.start();
  for (const Load& l : loads) {
    l.messages.replay(console);
    if (l.status != 0) return fail(console, "Missing lexicons!\n");
  }

  if (!input.file) return fail(console, "file does not exist!\n");
  if (!input.names) return fail(console, "unsupported file format!\n");

  if (!output.create(input.names->plugin)) return fail(console, "file does not exist!\n");
  // A translation is about as long as its input.
  if (input.readable) output.reserve(static_cast<int64_t>(input.view.size()));
  // The trace log is optional: without it the translation still runs.
  platform::FilePtr trace_log = platform::create_text_file(input.names->log);

  console.print("Parsing Mod file\n");
  if (!input.readable) return fail(console, "Error parsing file!\n");
  // The rest of the input is read as it is translated, and the output
  // written as it is; a part that is not a plug-in fails the whole read.
  pipeline.run(1);
  if (pipeline.read_status() != 0) {
    console.print(pipeline.read_messages());
    return fail(console, "Error parsing file!\n");
  }

  console.print("Translating\n");
  std::string log_lines;
  const int translated = pipeline.report(console, trace_log ? &log_lines : nullptr);
  // The lines logged before a failure are kept too.
  if (trace_log) std::fwrite(log_lines.data(), 1, log_lines.size(), trace_log.get());
  if (translated != 0) return fail(console, "Error translating file!\n");

  console.print("Saving file\n");
  if (pipeline.save(console) != 0 || !output.commit()) {
    return fail(console, "Error saving file!\n");
  }
  console.print("done\n");

  if (trace_log) {
    trace_log.reset();
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
