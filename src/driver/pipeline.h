// The reading, translation and writing of a plug-in in parts, on two
// threads, with exactly the result of one read, one pass and the writer.
//
// Parts are read one after the other; both threads translate the parts read
// so far; each part is written once it and all before it are translated.
// Messages and log lines come in file order up to the first failure, and a
// read failure anywhere wins over whatever the translation did.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "lexicon/lexicon.h"
#include "plugin/writer.h"

namespace quillaret {

struct PipelineOptions {
  int threads = 2;  // 1: everything on the thread that calls `finish`
  // Parts span at least this many bytes; 0 for a share of the input.
  uint64_t part_bytes = 0;
};

struct PipelineResult {
  bool read_ok = true;
  std::string read_error;  // the reader's diagnostic line, when !read_ok
  int status = 0;          // of the pass: 0, or -1 when a payload was too large
  std::string messages;    // the pass's console lines, up to its failure
  std::string log;         // the trace log's lines, likewise
  bool written = false;    // the whole output reached the sink
};

class TranslationPipeline {
 public:
  // Starts reading and translating at once, on a thread of its own. The
  // input and the lexicons must outlive the pipeline.
  TranslationPipeline(std::string_view input, const Lexicons& lexicons,
                      const PipelineOptions& options = {});
  // Stops the work at the next part and waits for the thread.
  ~TranslationPipeline();
  TranslationPipeline(const TranslationPipeline&) = delete;
  TranslationPipeline& operator=(const TranslationPipeline&) = delete;

  // Takes part in the work, writes the output to `sink` as it goes, and
  // returns once everything is done. Call it once.
  PipelineResult finish(ByteSink& sink);

 private:
  class Work;
  std::unique_ptr<Work> work_;
};

}  // namespace quillaret
