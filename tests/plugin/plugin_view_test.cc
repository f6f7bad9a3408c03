// The view that tools read plug-ins through: every record in file order
// with its ID and its subrecords' exact payloads, the masters with their
// recorded sizes. Opening by path, and the refusal of a damaged file, are
// pinned where quillaret-lexicon opens its plug-ins.
#include "plugin/plugin_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/plugin_builder.h"

namespace quillaret {
namespace {
using namespace builder;

// Each record as "TAG id: SUB=payload SUB=payload".
std::vector<std::string> describe(const PluginView& view) {
  std::vector<std::string> records;
  for (RecordCursor it = view.records(); it.valid(); it.next()) {
    const Record& r = it.record();
    std::string line = tag_text(r.tag);
    line.append(" ").append(r.id).append(":");
    for (const Subrecord& s : r.subrecords) line.append(" ").append(tag_text(s.tag)).append("=").append(s.text());
    records.push_back(line);
  }
  return records;
}

TEST(PluginView, ShowsRecordsInFileOrderWithTheirIds) {
  const std::string script_header = "Main" + std::string(28, '\0') + std::string(20, '\1');
  const std::string plugin =
      header({.version = 0,
              .masters = {{"Morrowind.esm", 79837557 + (uint64_t{1} << 32)}, {"Tribunal.esm", 4565686}}}) +
      record("WEAP", {subrecord("NAME", zstring("iron dagger")), subrecord("FNAM", zstring("Iron Dagger"))}) +
      record("INFO", {subrecord("INAM", zstring("1234")), subrecord("NAME", "Hello."),
                      subrecord("SCVR", condition("0BLX0", "Balmora"))}) +
      record("SCPT", {subrecord("SCHD", script_header), subrecord("SCTX", "begin Main")}) +
      record("CELL", {subrecord("NAME", zstring("Balmora")), subrecord("FRMR", u32(1)),
                      subrecord("NAME", zstring("door"))}) +
      record("STAT", {});
  PluginView view;
  std::string error;
  ASSERT_TRUE(view.open_bytes(plugin, "Mod.esp", &error)) << error;
  std::vector<std::string> records = describe(view);
  ASSERT_FALSE(records.empty());
  EXPECT_TRUE(records.front().starts_with("TES3 : HEDR= MAST=Morrowind.esm DATA="));
  records.erase(records.begin());
  EXPECT_EQ(records,
            (std::vector<std::string>{
                "WEAP iron dagger: NAME=iron dagger FNAM=Iron Dagger",
                "INFO 1234: INAM=1234 NAME=Hello. SCVR=0BLX0Balmora",  // a condition whole
                "SCPT Main: SCHD=Main SCTX=begin Main", "CELL Balmora: NAME=Balmora FRMR=\x01 NAME=door",
                "STAT :"}));
  std::vector<std::pair<std::string, uint64_t>> masters;
  for (const PluginView::Master& m : view.masters()) masters.emplace_back(m.name, m.size);
  EXPECT_EQ(masters, (decltype(masters){{"Morrowind.esm", 79837557 + (uint64_t{1} << 32)}, {"Tribunal.esm", 4565686}}));
}

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
    ++count;
  }
  EXPECT_EQ(count, 60000);
  EXPECT_TRUE(view.masters().empty());
}

}  // namespace
}  // namespace quillaret
