// Arbitrary bytes through the whole pipeline in memory: reader, translation
// pass, writer, with a fixed lexicon set. Besides the sanitizers' own checks
// it asserts what a user relies on:
//  - nothing is written unless reading and translating both succeeded;
//  - a written output reads back as the same sequence of nodes, every node
//    with the size the translation gave it, and with the same tree when
//    every record's size matched its contents (a record that claims fewer
//    bytes than its subrecords hold may lose its last ones on a second
//    read once a later sibling shrinks: the shortfall is kept as it was);
//  - a record whose size matched its contents in the input still does;
//  - every node that no handler may touch comes out as the input's bytes,
//    and a replaced one as exactly its new text;
//  - when nothing was replaced, the output is the input less the 0 to 3
//    stray bytes that may follow the last record.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "driver/pipeline.h"
#include "fuzz_data.h"
#include "lexicon/lexicon.h"
#include "plugin/record_tree.h"
#include "support/plugin_io.h"
#include "translate/text_arena.h"
#include "translate/translate.h"

namespace {

using namespace quillaret;
using testing::StringSink;

const Lexicons& lexicons() {
  static const Lexicons* const loaded = [] {
    const fuzzing::LexiconFiles& files = fuzzing::pipeline_lexicons();
    auto* set = new Lexicons;
    set->topics = Lexicon(files.topics);
    set->factions = Lexicon(files.factions, false);
    set->names = Lexicon(files.names);
    return set;
  }();
  return *loaded;
}

// The subrecords that the translation may replace: those of the handler
// table, children of a top-level record.
bool handled(Tag record, Tag subrecord) {
  auto is = [](Tag tag, const char(&text)[5]) { return tag == make_tag(text); };
  if (is(subrecord, "FNAM")) {
    for (const char* kind : {"ARMO", "BSGN", "CLAS", "CLOT", "CONT", "CREA", "DOOR", "INGR",
                             "LIGH", "MISC", "RACE", "REGN", "SPEL", "WEAP", "NPC_", "FACT"}) {
      if (std::memcmp(&record, kind, 4) == 0) return true;
    }
    return false;
  }
  if (is(record, "NPC_")) return is(subrecord, "DNAM");
  if (is(record, "PGRD") || is(record, "DIAL")) return is(subrecord, "NAME");
  if (is(record, "CELL")) return is(subrecord, "NAME") || is(subrecord, "DNAM");
  if (is(record, "FACT")) return is(subrecord, "RNAM");
  if (is(record, "INFO")) {
    return is(subrecord, "ANAM") || is(subrecord, "NAME") || is(subrecord, "BNAM") ||
           is(subrecord, "SCVR");
  }
  if (is(record, "SCPT")) return is(subrecord, "SCTX");
  return false;
}

// Bytes a node takes in the file after its 8-byte header.
uint64_t body_size(const RecordNode& node) { return node.size + (node.is_record ? 8u : 0u); }

// For every record: whether its size equals what its children take.
std::vector<bool> sizes_match(const RecordTree& tree) {
  std::vector<bool> match(tree.nodes.size(), false);
  for (size_t i = 0; i < tree.nodes.size(); ++i) {
    const RecordNode& node = tree.nodes[i];
    if (!node.is_record) continue;
    uint64_t sum = 0;
    for (int32_t child = node.first_child; child >= 0;) {
      const RecordNode& subrecord = tree.nodes[static_cast<size_t>(child)];
      sum += 8 + body_size(subrecord);
      child = subrecord.next;
    }
    match[i] = sum == node.size;
  }
  return match;
}

// The bytes of a node's payload (a record's 8 further header bytes, an
// SCVR's prefix included) as the file holds them.
std::string_view payload_in_file(std::string_view file, const RecordNode& node) {
  const size_t prefix = node.has_prefix ? 5 : 0;
  FUZZ_CHECK(node.data_offset >= 0);
  const size_t begin = static_cast<size_t>(node.data_offset) - prefix;
  const size_t length = node.is_record ? 8 : node.size;
  FUZZ_CHECK(begin + length <= file.size());
  return file.substr(begin, length);
}

void check_output(std::string_view input, const RecordTree& before, const RecordTree& after,
                  const std::string& output) {
  std::string error;
  RecordTree reread;
  FUZZ_CHECK(testing::read_whole(output, &reread, &error));
  FUZZ_CHECK(reread.nodes.size() == after.nodes.size());

  // The translated tree keeps the input's links, so its sizes are those of
  // the output's records over their original subrecords.
  const std::vector<bool> matched_before = sizes_match(before);
  const std::vector<bool> matched_after = sizes_match(after);
  bool all_matched = true;
  for (size_t i = 0; i < before.nodes.size(); ++i) {
    if (before.nodes[i].is_record && !matched_before[i]) all_matched = false;
  }
  bool replaced_any = false;
  for (size_t i = 0; i < after.nodes.size(); ++i) {
    const RecordNode& original = before.nodes[i];
    const RecordNode& translated = after.nodes[i];
    const RecordNode& written = reread.nodes[i];
    FUZZ_CHECK(written.tag == original.tag);
    FUZZ_CHECK(written.is_record == original.is_record);
    FUZZ_CHECK(written.size == translated.size);
    if (all_matched) {
      FUZZ_CHECK(written.parent == original.parent && written.first_child == original.first_child &&
                 written.prev == original.prev && written.next == original.next);
    }
    if (matched_before[i]) FUZZ_CHECK(matched_after[i]);

    if (!translated.replaced) {
      FUZZ_CHECK(payload_in_file(output, written) == payload_in_file(input, original));
      continue;
    }
    replaced_any = true;
    FUZZ_CHECK(original.parent >= 0);
    const RecordNode& record = before.nodes[static_cast<size_t>(original.parent)];
    FUZZ_CHECK(record.parent == -1);
    FUZZ_CHECK(handled(record.tag, original.tag));
    const std::string_view text = payload_in_file(output, written);
    const size_t prefix = translated.has_prefix ? 5 : 0;
    // A condition keeps its 5 prefix bytes as read; only the name changes.
    FUZZ_CHECK(text.substr(0, prefix) == payload_in_file(input, original).substr(0, prefix));
    FUZZ_CHECK(text.substr(prefix) == std::string_view(translated.text, translated.size - prefix));
  }
  if (!replaced_any) {
    FUZZ_CHECK(input.substr(0, output.size()) == output);
    FUZZ_CHECK(input.size() - output.size() < 4);
  }
}

// The whole tree with what the translation changed in the tree it read
// through its filter: sizes, and replaced payloads.
RecordTree with_changes(const RecordTree& whole, const RecordTree& translated) {
  RecordTree merged = whole;
  size_t i = 0;
  for (const RecordNode& changed : translated.nodes) {
    while (i < merged.nodes.size() && merged.nodes[i].data_offset != changed.data_offset) ++i;
    FUZZ_CHECK(i < merged.nodes.size() && merged.nodes[i].tag == changed.tag);
    RecordNode& node = merged.nodes[i];
    node.size = changed.size;
    node.replaced = changed.replaced;
    node.text = changed.text;
    std::memcpy(node.scvr_prefix, changed.scvr_prefix, sizeof node.scvr_prefix);
  }
  return merged;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // Half of the inputs also go through the pipeline, read in parts of a
  // size taken from the input, on two threads: the same messages, log and
  // output, or the same diagnostic.
  const PipelineOptions options{size % 2 == 0 ? 2 : 1, 1 + uint64_t{size > 0 ? data[0] : 0u}};
  std::string error;
  RecordTree before, tree;
  if (!testing::read_whole(input, &before, &error)) {
    StringSink unused;
    const PipelineResult piped = TranslationPipeline(input, lexicons(), options).finish(unused);
    FUZZ_CHECK(!piped.read_ok && piped.read_error == error);
    return 0;
  }
  FUZZ_CHECK(testing::read_whole(input, &tree, &error, &translated_entries()));

  // The trace log is written, so that its lines are built.
  std::string log, messages;
  TextArena arena;
  Translation translation{input, tree, lexicons(), arena, &log, &messages};
  const int translated = translate_records(translation);
  if (size % 2 == 0) {
    StringSink piped_sink;
    const PipelineResult piped = TranslationPipeline(input, lexicons(), options).finish(piped_sink);
    FUZZ_CHECK(piped.read_ok && piped.status == translated);
    FUZZ_CHECK(piped.messages == messages && piped.log == log);
    if (translated == 0) {
      FUZZ_CHECK(piped.written && piped_sink.bytes == testing::write_whole(input, tree));
    }
  }
  if (translated != 0) return 0;
  check_output(input, before, with_changes(before, tree), testing::write_whole(input, tree));
  return 0;
}
