#include "driver/pipeline.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <vector>

#include "platform/console.h"
#include "platform/platform.h"
#include "translate/text_arena.h"
#include "translate/translate.h"

namespace quillaret {
namespace {

// Parts are never smaller than this unless the input is: a small plug-in
// is one part.
constexpr uint64_t kMinPartBytes = uint64_t{64} << 10;

// One part of the input and what its translation left.
struct Part {
  uint64_t begin = 0;
  RecordTree tree;
  TextArena arena;  // its rewritten texts
  StringConsole console;
  std::string log;
  int status = 0;
  std::atomic<bool> translated{false};
};

}  // namespace

struct TranslationPipeline::State {
  const Lexicons& lexicons;
  ByteSink& sink;
  std::string_view input;
  std::optional<RecordReader> reader;
  uint64_t part_bytes = 0;
  std::unique_ptr<Part[]> parts;

  // One thread at a time reads the next part; `read_count` parts are read
  // and may be taken.
  std::atomic<bool> reading{false};
  std::atomic<size_t> read_count{0};
  std::atomic<bool> read_done{false};  // the end was reached, or a read failed
  int read_status = 0;
  StringConsole read_console;

  // Set once the lexicons are ready (help may read and translate), and to
  // make help return.
  std::atomic<bool> started{false};
  std::atomic<bool> stopped{false};

  std::atomic<size_t> next_translation{0};
  std::atomic<bool> translation_failed{false};

  // The trees and arenas of the parts written, for the parts to come: a
  // part's tree and texts take hundreds of kilobytes, and memory used
  // again costs nothing, where fresh memory costs the system a page fault
  // every 4 KiB. Taken and given back under a spin lock held for a move.
  std::atomic_flag pool_lock = ATOMIC_FLAG_INIT;
  std::vector<RecordTree> spare_trees;
  std::vector<TextArena> spare_arenas;
  template <class T>
  void take_spare(std::vector<T>& spares, T* into) {
    while (pool_lock.test_and_set(std::memory_order_acquire)) platform::yield();
    if (!spares.empty()) {
      *into = std::move(spares.back());
      spares.pop_back();
    }
    pool_lock.clear(std::memory_order_release);
  }
  template <class T>
  void give_spare(std::vector<T>& spares, T* from) {
    while (pool_lock.test_and_set(std::memory_order_acquire)) platform::yield();
    spares.push_back(std::move(*from));
    pool_lock.clear(std::memory_order_release);
  }

  size_t written = 0;  // parts written, by the calling thread only
  bool write_ok = true;

  State(const Lexicons& l, ByteSink& s) : lexicons(l), sink(s) {}

  bool read_failed() const { return read_done.load(std::memory_order_acquire) && read_status != 0; }

  // Reads the next part, if this thread is the one to; false when another
  // thread is reading or nothing is left.
  bool try_read() {
    if (read_done.load(std::memory_order_acquire)) return false;
    bool expected = false;
    if (!reading.compare_exchange_strong(expected, true, std::memory_order_acquire)) return false;
    if (!read_done.load(std::memory_order_relaxed)) {
      const size_t index = read_count.load(std::memory_order_relaxed);
      Part& part = parts[index];
      part.begin = reader->position();
      take_spare(spare_trees, &part.tree);
      // Parts shrink toward the end, down to the smallest size, so that
      // the two threads finish close together: the last part is
      // translated by one while the other has nothing left.
      const uint64_t left = input.size() - part.begin;
      const uint64_t bytes = std::min(part_bytes, std::max(left / 4, kMinPartBytes));
      if (reader->read_part(bytes, &part.tree, read_console) != 0) {
        read_status = -1;
        read_done.store(true, std::memory_order_release);
      } else {
        read_count.store(index + 1, std::memory_order_release);
        if (reader->done()) read_done.store(true, std::memory_order_release);
      }
    }
    reading.store(false, std::memory_order_release);
    return true;
  }

  // Takes and translates the next part read, if there is one.
  bool try_translate() {
    if (translation_failed.load(std::memory_order_acquire)) return false;
    size_t index = next_translation.load(std::memory_order_relaxed);
    if (index >= read_count.load(std::memory_order_acquire)) return false;
    if (!next_translation.compare_exchange_strong(index, index + 1)) return true;
    Part& part = parts[index];
    take_spare(spare_arenas, &part.arena);
    Translation t{input, part.tree, lexicons, part.arena, &part.log, part.console};
    part.status = translate_range(t, part.tree.nodes.empty() ? -1 : 0, -1);
    if (part.status != 0) translation_failed.store(true, std::memory_order_release);
    part.translated.store(true, std::memory_order_release);
    return true;
  }

  // Reads and translates until nothing is left for this thread; on the
  // calling thread, also writes every part that is ready. Reading comes
  // first while fewer than two parts wait, so that neither thread waits
  // for one; and it goes on to the end after a translation failed, since a
  // part that is not a plug-in fails the whole read.
  void work(int thread) {
    while (!read_failed()) {
      if (thread == 0) write_ready();
      const size_t waiting = read_count.load(std::memory_order_acquire) -
                             next_translation.load(std::memory_order_relaxed);
      if (waiting < 2 && try_read()) continue;
      if (try_translate()) continue;
      if (try_read()) continue;
      if (read_done.load(std::memory_order_acquire)) {
        if (translation_failed.load(std::memory_order_acquire) ||
            next_translation.load() >= read_count.load(std::memory_order_acquire)) {
          return;
        }
      } else {
        platform::yield();  // the other thread reads the part this one needs
      }
    }
  }

  // Writes the parts that are translated, in order, up to the first that
  // is not or that failed. Once written, a part's tree and arena serve
  // the parts to come.
  void write_ready() {
    while (written < read_count.load(std::memory_order_acquire) &&
           parts[written].translated.load(std::memory_order_acquire) &&
           parts[written].status == 0) {
      Part& part = parts[written];
      if (write_ok) {
        PluginWriter writer(input, part.tree, sink, part.begin);
        write_ok = writer.write_until(part.tree.end);
      }
      part.tree.nodes.clear();
      part.arena.reset();
      give_spare(spare_trees, &part.tree);
      give_spare(spare_arenas, &part.arena);
      ++written;
    }
  }
};

TranslationPipeline::TranslationPipeline(const Lexicons& lexicons, ByteSink& sink)
    : state_(std::make_unique<State>(lexicons, sink)) {}

TranslationPipeline::~TranslationPipeline() = default;

void TranslationPipeline::set_input(std::string_view input, uint64_t part_bytes) {
  State& s = *state_;
  s.input = input;
  s.reader.emplace(input, &translated_entries());
  s.part_bytes = part_bytes > 0 ? part_bytes
                                : std::max<uint64_t>(input.size() / (2 * kPartsPerThread), kMinPartBytes);
  // Every part but the last spans at least part_bytes, or the smallest
  // size if that is less.
  s.parts = std::make_unique<Part[]>(input.size() / std::min(s.part_bytes, kMinPartBytes) + 2);
}

void TranslationPipeline::help() {
  State& s = *state_;
  while (!s.stopped.load(std::memory_order_acquire)) {
    if (s.started.load(std::memory_order_acquire)) {
      s.work(1);
      return;
    }
    platform::yield();
  }
}

void TranslationPipeline::start() { state_->started.store(true, std::memory_order_release); }

void TranslationPipeline::stop() { state_->stopped.store(true, std::memory_order_release); }

void TranslationPipeline::run(int threads) {
  State& s = *state_;
  s.started.store(true, std::memory_order_release);
  std::optional<platform::Thread> helper;
  if (threads > 1) helper.emplace([&s] { s.work(1); });
  s.work(0);
  // Writes the parts that the other thread finishes, as it finishes them,
  // and waits for every part taken: their messages are reported next.
  for (size_t checked = 0;;) {
    s.write_ready();
    const size_t taken = s.next_translation.load(std::memory_order_acquire);
    while (checked < taken && s.parts[checked].translated.load(std::memory_order_acquire)) {
      ++checked;
    }
    if (checked == taken) break;
    platform::yield();
  }
}

int TranslationPipeline::read_status() const { return state_->read_status; }

const std::string& TranslationPipeline::read_messages() const {
  return state_->read_console.output;
}

int TranslationPipeline::report(Console& console, std::string* trace_log) {
  State& s = *state_;
  // The parts after the first that failed may not all have been translated.
  for (size_t i = 0; i < s.read_count.load(); ++i) {
    const Part& part = s.parts[i];
    console.print(part.console.output);
    if (trace_log != nullptr) *trace_log += part.log;
    if (part.status != 0) return -1;
  }
  console.print("done!\n");
  return 0;
}

int TranslationPipeline::save(Console& console) {
  console.print("saving...\n");
  State& s = *state_;
  s.write_ready();
  return s.write_ok && s.written == s.read_count.load() ? 0 : -1;
}

}  // namespace quillaret
