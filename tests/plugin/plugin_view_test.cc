// The view that tools read plug-ins through walks a file larger than the
// part it reads at once. Records' IDs and exact payloads, the masters and
// their recorded sizes, opening by path and the refusal of a damaged file
// are pinned through quillaret-check and quillaret-lexicon, which read
// every plug-in through it.
#include "plugin/plugin_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/plugin_builder.h"

namespace quillaret {
namespace {
using namespace builder;

TEST(PluginView, WalksAFileLargerThanItReadsAtOnce) {
  std::string plugin;
  for (int i = 0; i < 60000; ++i) {
    plugin += record("MISC", {subrecord("NAME", zstring("item" + std::to_string(i))), subrecord("DATA", "12345678")});
  }
  ASSERT_GT(plugin.size(), 2u << 20);
  PluginView view;
  std::string error;
  ASSERT_TRUE(view.open_bytes(plugin, "Big.esm", &error));
  int count = 0;
  for (RecordCursor it = view.records(); it.valid(); it.next()) {
    ASSERT_EQ(it.record().id, "item" + std::to_string(count));
    ASSERT_EQ(it.record().subrecords.size(), 2u);
    ASSERT_EQ(it.record().subrecords[1].payload, "12345678");
    ++count;
  }
  EXPECT_EQ(count, 60000);
  EXPECT_TRUE(view.masters().empty());
}

}  // namespace
}  // namespace quillaret
