#include "driver/pipeline.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "plugin/reader.h"
#include "translate/text_arena.h"
#include "translate/translate.h"

namespace quillaret {
namespace {

// Parts are never smaller than this unless the input is: a small plug-in
// is one part.
constexpr uint64_t kMinPartBytes = uint64_t{64} << 10;

// About this many parts per thread: enough for the two threads to finish
// close together and for the writing to follow the translation closely.
constexpr uint64_t kPartsPerThread = 24;

// One part of the input and what its translation left.
struct Part {
  uint64_t begin = 0;
  RecordTree tree;
  TextArena arena;  // its rewritten texts
  std::string messages;
  std::string log;
  int status = 0;
  bool translated = false;
};

}  // namespace

// Each thread takes the next task under the lock, does it without the lock,
// and records what it did under the lock again; a thread with nothing to do
// waits until another records something.
class TranslationPipeline::Work {
 public:
  Work(std::string_view input, const Lexicons& lexicons, const PipelineOptions& options)
      : input_(input),
        lexicons_(lexicons),
        reader_(input, &translated_entries()),
        part_bytes_(options.part_bytes > 0
                        ? options.part_bytes
                        : std::max(input.size() / (2 * kPartsPerThread), kMinPartBytes)) {
    if (options.threads < 2) return;
    try {
      helper_ = std::thread([this] { run(false); });
    } catch (const std::system_error&) {
      // No second thread: the caller of `finish` does all the work.
    }
  }

  ~Work() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopped_ = true;
    }
    changed_.notify_all();
    if (helper_.joinable()) helper_.join();
  }

  PipelineResult finish(ByteSink& sink) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      sink_ = &sink;
    }
    changed_.notify_all();
    run(true);
    if (helper_.joinable()) helper_.join();

    PipelineResult result;
    if (read_failed_) {
      result.read_ok = false;
      result.read_error = read_error_;
      return result;
    }
    for (const Part& part : parts_) {
      result.messages += part.messages;
      result.log += part.log;
      if (part.status != 0) {
        result.status = -1;
        return result;
      }
    }
    result.written = !write_failed_ && written_ == parts_.size();
    return result;
  }

 private:
  // The thread that calls `finish` (the writer) stays until every part is
  // translated and written; the helper leaves when nothing is left to read
  // or translate.
  void run(bool writer) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!finished(writer)) {
      if (can_write()) {
        write_next(lock);
      } else if (can_read()) {
        read_next(lock);
      } else if (can_translate()) {
        translate_next(lock);
      } else {
        changed_.wait(lock);
      }
    }
  }

  bool failed() const { return translation_failed_ || write_failed_; }

  bool finished(bool writer) const {
    // A read failure ends everything: the input is not a plug-in, whatever
    // the translation did.
    if (stopped_ || read_failed_) return true;
    if (!read_done_ || reading_) return false;
    if (!failed() && taken_ < parts_.size()) return false;
    if (!writer) return true;
    return translating_ == 0 && !writing_ && (failed() || written_ == parts_.size());
  }

  bool can_write() const {
    return sink_ != nullptr && !writing_ && !failed() && written_ < parts_.size() &&
           parts_[written_].translated;
  }

  // Reads ahead while fewer than two parts wait, so that neither thread
  // waits for one. After a failure the rest is still read, not translated,
  // since a part that is not a plug-in fails the whole run.
  bool can_read() const {
    return !reading_ && !read_done_ && (failed() || parts_.size() - taken_ < 2);
  }

  bool can_translate() const { return !failed() && taken_ < parts_.size(); }

  void read_next(std::unique_lock<std::mutex>& lock) {
    reading_ = true;
    Part part;
    part.begin = reader_.position();
    take_spare(spare_trees_, &part.tree);
    lock.unlock();
    // Parts shrink toward the end, so that the two threads finish close
    // together: the last part is translated by one while the other has
    // nothing left.
    const uint64_t left = input_.size() - part.begin;
    const uint64_t bytes = std::min(part_bytes_, std::max(left / 4, kMinPartBytes));
    std::string error;
    const bool ok = reader_.read_part(bytes, &part.tree, &error);
    lock.lock();
    reading_ = false;
    if (!ok) {
      read_failed_ = true;
      read_error_ = std::move(error);
    } else {
      if (!failed()) parts_.push_back(std::move(part));
      read_done_ = reader_.done();
    }
    changed_.notify_all();
  }

  void translate_next(std::unique_lock<std::mutex>& lock) {
    Part& part = parts_[taken_++];
    ++translating_;
    take_spare(spare_arenas_, &part.arena);
    lock.unlock();
    Translation t{input_, part.tree, lexicons_, part.arena, &part.log, &part.messages};
    const int status = translate_records(t);
    lock.lock();
    --translating_;
    part.status = status;
    part.translated = true;
    if (status != 0) translation_failed_ = true;
    changed_.notify_all();
  }

  // Writes the next part; once written, its tree and arena serve the parts
  // to come, whose memory is then touched again rather than new.
  void write_next(std::unique_lock<std::mutex>& lock) {
    writing_ = true;
    Part& part = parts_[written_];
    ByteSink& sink = *sink_;
    lock.unlock();
    PluginWriter writer(input_, part.tree, sink, part.begin);
    const bool ok = writer.write_until(part.tree.end);
    part.tree.nodes.clear();
    part.arena.reset();
    lock.lock();
    writing_ = false;
    ++written_;
    if (!ok) write_failed_ = true;
    spare_trees_.push_back(std::move(part.tree));
    spare_arenas_.push_back(std::move(part.arena));
    changed_.notify_all();
  }

  template <class T>
  static void take_spare(std::vector<T>& spares, T* into) {
    if (spares.empty()) return;
    *into = std::move(spares.back());
    spares.pop_back();
  }

  const std::string_view input_;
  const Lexicons& lexicons_;
  RecordReader reader_;  // used by the one thread that is reading
  const uint64_t part_bytes_;
  std::thread helper_;

  std::mutex mutex_;
  std::condition_variable changed_;
  // Guarded by mutex_. A deque, so that a part stays in place while the
  // parts after it are read.
  std::deque<Part> parts_;
  size_t taken_ = 0;        // parts handed out for translation
  size_t translating_ = 0;  // of those, the ones not yet done
  size_t written_ = 0;
  bool reading_ = false;
  bool writing_ = false;
  bool read_done_ = false;
  bool read_failed_ = false;
  std::string read_error_;
  bool translation_failed_ = false;
  bool write_failed_ = false;
  bool stopped_ = false;
  ByteSink* sink_ = nullptr;
  std::vector<RecordTree> spare_trees_;
  std::vector<TextArena> spare_arenas_;
};

TranslationPipeline::TranslationPipeline(std::string_view input, const Lexicons& lexicons,
                                         const PipelineOptions& options)
    : work_(std::make_unique<Work>(input, lexicons, options)) {}

TranslationPipeline::~TranslationPipeline() = default;

PipelineResult TranslationPipeline::finish(ByteSink& sink) { return work_->finish(sink); }

}  // namespace quillaret
