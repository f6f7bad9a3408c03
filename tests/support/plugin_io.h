// The plainest way through the libraries, for tests and fuzzing: one read
// of the whole input, one pass, the writer into a string; and a lexicon's
// entries in the order in which its lookups see them. Every faster way of
// the programs must give the same.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/lexicon.h"
#include "plugin/reader.h"
#include "plugin/record_tree.h"
#include "plugin/writer.h"

namespace quillaret::testing {

// Keeps what is written; the `failing`-th write (from 1) fails, alone, so
// that a writer which goes on must still notice it.
struct StringSink : ByteSink {
  bool write(const char* data, size_t size) override {
    if (++calls == failing) return false;
    bytes.append(data, size);
    return true;
  }
  std::string bytes;
  int calls = 0, failing = 0;
};

// Reads the whole input into `tree`; false (with the reader's diagnostic in
// `*error`) when it is not a plug-in.
bool read_whole(std::string_view input, RecordTree* tree, std::string* error,
                const NodeFilter* filter = nullptr);

// The output the writer makes of `tree`.
std::string write_whole(std::string_view input, const RecordTree& tree);

// What a pass leaves: its status (-2 when the input does not read), its
// console lines, its log and its output.
struct PassResult {
  int status;
  std::string console, log, output;
  bool operator==(const PassResult&) const = default;
};

// One read of every node, one pass, the writer.
PassResult translate_in_memory(std::string_view input, const Lexicons& lexicons);

// The file-order indices of entries of these source lengths, in the order
// that the loader's exchange sort leaves them (by decreasing length).
std::vector<uint32_t> exchange_sort_order(const std::vector<size_t>& lengths);

// A lexicon's entries in that order: the order its lookups see them in.
std::vector<LexiconEntry> stored_entries(const Lexicon& lexicon);

}  // namespace quillaret::testing
