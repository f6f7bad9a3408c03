// The reading, translation and writing of a plug-in, run together on two
// threads. The input is read a part at a time (see RecordReader), one part
// after the other; both threads translate the parts read so far, taking the
// next one in turn; the calling thread also writes each part as soon as it
// and all before it are translated. Whatever the threads do, the messages,
// the log and the output come out exactly as from parse_records,
// translate_records and save_records in turn: nothing is printed until the
// end, and a part that is not a plug-in fails the whole read, whatever the
// translation did.
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
  // About this many parts per thread: enough for the two threads to
  // finish close together and for the writing to follow the translation
  // closely, few enough that taking a part costs nothing.
  static constexpr uint64_t kPartsPerThread = 24;

  // The lexicons and the sink must outlive the pipeline; the lexicons are
  // read, and the sink written, only from `run` on.
  TranslationPipeline(const Lexicons& lexicons, ByteSink& sink);
  ~TranslationPipeline();

  // The input, which must outlive the pipeline, read in parts of at least
  // `part_bytes` (by default a share of its size). Call once, first, or
  // `stop` instead when there is no input to read.
  void set_input(std::string_view input, uint64_t part_bytes = 0);

  // For a second thread, started before the input is even open: from
  // `start` (or `run`) on, reads and translates parts. Returns when all is
  // done, or on `stop`. A thread that waits here rather than being started
  // by `run` is at work at once: starting one can take milliseconds.
  void help();

  // The lexicons are ready: after `set_input`, a thread in `help` may set
  // to work while the calling thread does something else before `run`.
  void start();

  // Makes `help` return as soon as it can; for a run that ends before
  // `run`, or without it.
  void stop();

  // Reads the rest, translates every part and writes the output as far as
  // it can, on the calling thread, with a thread in `help` if there is
  // one, and with a helper of its own if `threads` is 2. Prints nothing.
  void run(int threads);

  // After `run`: 0, or -1 when the input is not a plug-in; `read_messages`
  // then holds the reader's diagnostic.
  int read_status() const;
  const std::string& read_messages() const;

  // After a successful read: prints the messages of the pass in file
  // order, up to its first failure, and adds its log lines to `trace_log`
  // (unless null). Returns 0 (after printing "done!"), or -1 when a payload
  // is too large.
  int report(Console& console, std::string* trace_log);

  // Prints "saving..." and writes the rest of the output. Returns 0, or -1
  // when a write failed, now or during the run.
  int save(Console& console);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace quillaret
