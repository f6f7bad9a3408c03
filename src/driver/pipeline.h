// The translation pass and the writing of the output, run together on two
// threads. The top-level records are cut into runs of about equal work,
// which both threads translate, taking the next run in turn; the calling
// thread also writes each run as soon as it and all before it are
// translated, so that most of the output is written while the rest is
// being translated. Whatever the threads do, the console, the log and the
// output come out exactly as from translate_records then save_records.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "lexicon/lexicon.h"
#include "plugin/record_tree.h"

namespace quillaret {

class Console;

class TranslationPipeline {
 public:
  // Below this much work (about a unit per payload byte) everything runs on
  // the calling thread.
  static constexpr uint64_t kMinParallelWork = uint64_t{1} << 20;

  // Everything given must outlive the pipeline.
  TranslationPipeline(std::string_view input, RecordTree& tree, const Lexicons& lexicons,
                      ByteSink& sink, uint64_t min_parallel_work = kMinParallelWork);
  ~TranslationPipeline();

  // Translates every record, writing the output as far as it can. Then
  // prints the messages of the pass in file order, up to its first
  // failure, and adds its log lines to `trace_log` (unless null). Returns
  // 0 (after printing "done!"), or -1 when a payload is too large.
  int translate(Console& console, std::string* trace_log);

  // Prints "saving..." and writes the rest of the output. Returns 0, or -1
  // when a write failed, now or during the translation.
  int save(Console& console);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace quillaret
