#include "support/plugin_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/little_endian.h"
#include "plugin/plugin_view.h"

namespace quillaret {
namespace {
using namespace builder;

// What the generators build must be what the translator's own reader takes,
// with every field where the game expects it.
TEST(PluginBuilder, BuiltPluginReadsBackFieldByField) {
  const std::string bytes = plugin(
      {.flags = 1, .author = std::string(40, 'a'), .masters = {{"Big.esm", 0x123456789ull}}},
      {named("WEAP", "iron", "Iron Dagger"),
       faction("guild", "Guild", {"Apprentice", std::string(40, 'r')}),
       topic("Old Bridge", kJournal),
       info({.id = "7", .filters = {subrecord("ANAM", zstring("Balmora"))}, .response = "Hi"}),
       script("test", "begin test", "\x01\x02\x03", {"a", "bc"})});
  PluginView view;
  std::string error;
  ASSERT_TRUE(view.open_bytes(bytes, "built.esm", &error)) << error;
  ASSERT_EQ(view.masters().size(), 1u);
  EXPECT_EQ(view.masters()[0].size, 0x123456789ull);

  // Each record as "TAG id: its subrecords' tags".
  std::vector<std::string> seen;
  std::vector<Record> records;
  for (RecordCursor it = view.records(); it.valid(); it.next()) {
    records.push_back(it.record());
    std::string line =
        std::string(tag_text(it.record().tag)) + " " + std::string(it.record().id) + ":";
    for (const Subrecord& sub : it.record().subrecords) line.append(" ").append(tag_text(sub.tag));
    seen.push_back(line);
  }
  ASSERT_EQ(seen, (std::vector<std::string>{
                      "TES3 : HEDR MAST DATA", "WEAP iron: NAME FNAM",
                      "FACT guild: NAME FNAM RNAM RNAM", "DIAL Old Bridge: NAME DATA",
                      "INFO 7: INAM PNAM NNAM DATA ANAM NAME", "SCPT test: SCHD SCVR SCDT SCTX"}));

  const std::string_view hedr = records[0].find(make_tag("HEDR"))->payload;
  ASSERT_EQ(hedr.size(), 300u);
  EXPECT_EQ(read_u32(hedr.data()), 0x3FA66666u);  // 1.3
  EXPECT_EQ(read_u32(hedr.data() + 4), 1u);
  EXPECT_EQ(hedr.substr(8, 33), std::string(32, 'a') + '\0');  // the author, cut; the description
  EXPECT_EQ(read_u32(hedr.data() + 296), 5u);
  EXPECT_EQ(records[2].subrecords[2].payload, fixed("Apprentice", 32));
  EXPECT_EQ(records[2].subrecords[3].payload, std::string(32, 'r'));
  EXPECT_EQ(records[3].find(make_tag("DATA"))->payload, "\x04");
  const std::string_view schd = records[5].find(make_tag("SCHD"))->payload;
  ASSERT_EQ(schd.size(), 52u);
  EXPECT_EQ(read_u32(schd.data() + 32), 2u);  // variables
  EXPECT_EQ(read_u32(schd.data() + 44), 3u);  // compiled bytes
  EXPECT_EQ(read_u32(schd.data() + 48), 5u);  // "a\0bc\0"
}

}  // namespace
}  // namespace quillaret
