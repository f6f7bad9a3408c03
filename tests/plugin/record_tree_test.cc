#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "plugin/reader.h"
#include "plugin/record_tree.h"
#include "plugin/writer.h"
#include "tools/plugin_builder.h"
#include "support/plugin_io.h"

namespace quillaret {
namespace {
using namespace builder;

// A header, a condition, nested records at depths 2 and 3, nested records as
// last children (the last one closing three levels at once), non-zero
// further header bytes.
std::string nested_plugin() {
  const std::string flags("\1\2\3\4\5\6\7\x08", 8);
  return record("TES3", {subrecord("HEDR", std::string(300, 'h')), subrecord("MAST", zstring("Morrowind.esm"))}) +
         record("WEAP", {subrecord("NAME", zstring("iron")), subrecord("FNAM", zstring("Iron Dagger"))}, flags) +
         record("CELL", {subrecord("NAME", zstring("Balmora")),
                         record("INFO", {subrecord("SCVR", "01BLXFargoth"), record("SCPT", {subrecord("SCTX", "begin")})}),
                         subrecord("DATA", "abcd"), record("INFO", {record("SCPT", {subrecord("SCTX", "end")}, flags)})}) +
         record("STAT", {subrecord("NAME", zstring("rock"))});
}

// Keeps weapons and cells, and in them a first NAME and every DATA.
struct SomeEntries : NodeFilter {
  bool keeps_top_level(Tag tag) const override { return tag == make_tag("WEAP") || tag == make_tag("CELL"); }
  bool keeps_child(Tag, Tag tag, int32_t kept_before) const override {
    return (tag == make_tag("NAME") && kept_before == 0) || tag == make_tag("DATA");
  }
  ChildTags child_tags(Tag) const override { return {{make_tag("NAME"), make_tag("DATA")}}; }
};
const SomeEntries kSomeEntries;
// Whatever a filter keeps, the input reads and writes back alike.
const std::vector<const NodeFilter*> kFilters = {nullptr, &kSomeEntries};

// Reads `input` and writes it back untouched, a part of at least
// `part_bytes` at a time (by default all at once); on a failed read, "parse
// failed" and whatever the reader printed.
std::string round_trip(std::string_view input, const NodeFilter* filter = nullptr,
                       uint64_t part_bytes = UINT64_MAX) {
  RecordTree tree;
  std::string error;
  testing::StringSink sink;
  RecordReader reader(input, filter);
  while (!reader.done()) {
    const uint64_t begin = reader.position();
    if (!reader.read_part(part_bytes, &tree, &error)) return "parse failed" + error;
    if (tree.end <= begin && !reader.done()) return "no progress";
    if (!PluginWriter(input, tree, sink, begin).write_until(tree.end)) return "save failed";
  }
  return sink.bytes;
}
// Whole, and in parts of one entry or a few at a time.
const std::vector<uint64_t> kPartBytes = {UINT64_MAX, 1, 40};

TEST(Reader, BuildsTheTreeInFileOrder) {
  struct Case {
    std::string file;
    std::vector<std::string> nodes;  // tag parent first_child prev next
    const NodeFilter* filter = nullptr;
  };
  const std::vector<Case> cases = {
      {nested_plugin(),
       {"TES3 -1 1 -1 3", "HEDR 0 -1 -1 2", "MAST 0 -1 1 -1", "WEAP -1 4 0 6", "NAME 3 -1 -1 5", "FNAM 3 -1 4 -1",
        "CELL -1 7 3 16", "NAME 6 -1 -1 8", "INFO 6 9 7 12", "SCVR 8 -1 -1 10", "SCPT 8 11 9 -1", "SCTX 10 -1 -1 -1",
        "DATA 6 -1 8 13", "INFO 6 14 12 -1", "SCPT 13 15 -1 -1", "SCTX 14 -1 -1 -1", "STAT -1 17 6 -1",
        "NAME 16 -1 -1 -1"}},
      // A record too small for a subrecord must not take the next entry as
      // its child: its few bytes stay its own.
      {"STAT" + u32(3) + std::string(8, '\0') + "abc" + record("WEAP", {subrecord("FNAM", "x")}),
       {"STAT -1 -1 -1 1", "WEAP -1 2 0 -1", "FNAM 1 -1 -1 -1"}},
      {record("CELL", {subrecord("NAME", "x"), record("INFO", {})}) + record("STAT", {}),
       {"CELL -1 1 -1 3", "NAME 0 -1 -1 2", "INFO 0 -1 1 -1", "STAT -1 -1 0 -1"}},
      {subrecord("DATA", "abcd") + record("STAT", {}), {"DATA -1 -1 -1 1", "STAT -1 -1 0 -1"}},
      // Through a filter: only the kept entries, linked among themselves.
      {nested_plugin(), {"WEAP -1 1 -1 2", "NAME 0 -1 -1 -1", "CELL -1 3 0 -1", "NAME 2 -1 -1 4", "DATA 2 -1 3 -1"}, &kSomeEntries},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nodes.front());
    RecordTree tree;
    std::string error;
    ASSERT_TRUE(testing::read_whole(c.file, &tree, &error, c.filter));
    std::vector<std::string> nodes;
    for (const RecordNode& n : tree.nodes) {
      nodes.push_back(tag_text(n.tag) + " " + std::to_string(n.parent) + " " + std::to_string(n.first_child) + " " +
                      std::to_string(n.prev) + " " + std::to_string(n.next));
      // Every node points just past its own header.
      const size_t header = static_cast<size_t>(n.data_offset) - (n.is_record ? 8 : 8 + (n.has_prefix ? 5 : 0));
      EXPECT_EQ(c.file.substr(header, 8), c.file.substr(header, 4) + u32(n.size)) << nodes.back();
    }
    EXPECT_EQ(nodes, c.nodes);
    for (const NodeFilter* filter : kFilters) EXPECT_EQ(round_trip(c.file, filter), c.file);
  }
}

TEST(Reader, UnknownTagStopsWithADiagnosticLine) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {record("TES3", {subrecord("HEDR", "abcd")}) + subrecord("XXXX", "abc"),
       "XXXX(2), size=3, prev=0, next=-1, parent=-1, left=8\n"},
      {record("WEAP", {subrecord("NAME", "a"), "XXXX" + u32(100)}),
       "  XXXX(2), size=100, prev=1, next=-1, parent=0, left=-100\n"},
      {record("CELL", {record("INFO", {subrecord("BAD!", "")})}),
       "    BAD!(2), size=0, prev=-1, next=-1, parent=1, left=0\n"},
      {subrecord("weap", ""), "weap(0), size=0, prev=-1, next=-1, parent=-1, left=0\n"},
      {std::string(16, '\0'), "(0), size=0, prev=-1, next=-1, parent=-1, left=8\n"},
      {"ZZZZ" + u32(4000000000u), "ZZZZ(0), size=4000000000, prev=-1, next=-1, parent=-1, left=-4000000000\n"},
  };
  // The line numbers the entries as if all were kept, whatever the filter
  // and however the input is cut into parts.
  for (const NodeFilter* filter : kFilters) {
    for (uint64_t part : kPartBytes) {
      for (const auto& [file, line] : cases) {
        EXPECT_EQ(round_trip(file, filter, part), "parse failed" + line);
        // After the entries of another plug-in, read in parts of their own.
        const std::string after = nested_plugin() + file;
        EXPECT_EQ(round_trip(after, filter, part), round_trip(after, filter));
      }
    }
  }
}

TEST(Reader, TruncationFailsAnywhereButBetweenTopLevelRecords) {
  const std::string plugin = nested_plugin();
  RecordTree tree;
  std::string error;
  ASSERT_TRUE(testing::read_whole(plugin, &tree, &error));
  std::vector<size_t> boundaries;  // where each top-level record starts, and the end
  for (const RecordNode& n : tree.nodes) {
    if (n.parent < 0) boundaries.push_back(static_cast<size_t>(n.data_offset) - 8);
  }
  boundaries.push_back(plugin.size());
  // Then a tag and 3 bytes of a size field.
  const std::string whole = plugin + std::string("TES3\1\2\3", 7);
  for (size_t length = 0; length <= whole.size(); ++length) {
    const size_t complete = *std::prev(std::upper_bound(boundaries.begin(), boundaries.end(), length));
    // Up to three stray bytes after the last complete record are ignored.
    const std::string expected = length - complete <= 3 ? whole.substr(0, complete) : "parse failed";
    // A view into the whole file: a reader that overruns the end sees real records.
    for (const NodeFilter* filter : kFilters) {
      for (uint64_t part : kPartBytes) {
        EXPECT_EQ(round_trip(std::string_view(whole).substr(0, length), filter, part), expected)
            << "cut at " << length << ", parts of " << part;
      }
    }
  }
}

}  // namespace
}  // namespace quillaret
