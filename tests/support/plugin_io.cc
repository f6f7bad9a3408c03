#include "support/plugin_io.h"

#include <functional>
#include <limits>
#include <map>

#include "lexicon/lexicon_order.h"
#include "translate/text_arena.h"
#include "translate/translate.h"

namespace quillaret::testing {

bool read_whole(std::string_view input, RecordTree* tree, std::string* error,
                const NodeFilter* filter) {
  RecordReader reader(input, filter);
  return reader.read_part(std::numeric_limits<uint64_t>::max(), tree, error);
}

std::string write_whole(std::string_view input, const RecordTree& tree) {
  StringSink sink;
  PluginWriter(input, tree, sink).write_until(tree.end);
  return sink.bytes;
}

PassResult translate_in_memory(std::string_view input, const Lexicons& lexicons) {
  RecordTree tree;
  std::string error;
  if (!read_whole(input, &tree, &error)) return {-2, error, "", ""};
  TextArena arena;
  PassResult result{0, "", "", ""};
  Translation translation{input, tree, lexicons, arena, &result.log, &result.console};
  result.status = translate_records(translation);
  if (result.status == 0) result.output = write_whole(input, tree);
  return result;
}

std::vector<uint32_t> exchange_sort_order(const std::vector<size_t>& lengths) {
  std::map<size_t, std::vector<uint32_t>, std::greater<>> by_length;
  for (uint32_t i = 0; i < lengths.size(); ++i) by_length[lengths[i]].push_back(i);
  std::vector<uint32_t> result;
  for (auto& [length, all] : by_length) {
    const std::vector<uint32_t> order = exchange_sort_among(lengths, length, std::move(all));
    result.insert(result.end(), order.begin(), order.end());
  }
  return result;
}

std::vector<LexiconEntry> stored_entries(const Lexicon& lexicon) {
  std::vector<size_t> lengths;
  for (const LexiconEntry& entry : lexicon.file_entries()) lengths.push_back(entry.source.size());
  std::vector<LexiconEntry> sorted;
  for (uint32_t i : exchange_sort_order(lengths)) sorted.push_back(lexicon.file_entries()[i]);
  return sorted;
}

}  // namespace quillaret::testing
