#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/encoding.h"
#include "check/script_names.h"

namespace quillaret::check {
namespace {

std::string names_in(std::string_view script) {
  std::vector<ScriptName> names;
  find_script_names(script, &names);
  std::string text;
  for (const ScriptName& n : names) {
    text += std::string(n.command) + ":" + std::string(n.name) + ":" + "cpTJ"[static_cast<int>(n.kind)] + "|";
  }
  return text;
}

TEST(ScriptNames, ArgumentPositionsAndSyntax) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"PositionCell 1 2 3 0 \"A B\"", "PositionCell:A B:c|"},
      {"\"fargoth\"->positioncell,-1.5,2,3,0,Balmora", "positioncell:Balmora:c|"},
      {"PlaceItemCell \"key\" \"A B\" 1 2 3 0", "PlaceItemCell:A B:c|"},
      {"AIEscortCell \"x\" \"A\" 0 1 2 3\nAiFollowCell, x, B, 0, 1, 2, 3", "AIEscortCell:A:c|AiFollowCell:B:c|"},
      {"COC \"A\"\r\nCenterOnCell A", "COC:A:c|CenterOnCell:A:c|"},
      {"if (GetPCCell \"A\"==1)", "GetPCCell:A:p|"},
      {"AddTopic \"a;b\" ; AddTopic \"c\"", "AddTopic:a;b:T|"},
      {"Journal q 10\nif ( GetJournalIndex \"q\" >= 10 )\nSetJournalIndex, q, 5", "Journal:q:J|GetJournalIndex:q:J|SetJournalIndex:q:J|"},
      // A command without its argument, a quoted command name, an empty
      // argument, variables of a command's name.
      {"PositionCell 1 2 3 0\n\"COC\" \"A\"\nAddTopic \"\"\nshort journal\nset Journal to 1", ""},
  };
  for (const auto& [script, expected] : cases) EXPECT_EQ(names_in(script), expected) << script;

  std::vector<std::string_view> texts;
  find_quoted_texts("MessageBox \"a;b\" ; \"c\"\nSay \"open", &texts);
  EXPECT_EQ(texts, (std::vector<std::string_view>{"a;b", "open"}));
}

TEST(Encoding, MultiByteUtf8Only) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"\xc3\xa9t\xc3\xa9", true},          // été
      {"\xe2\x80\x99", true},               // a right quote
      {"\xf0\x9f\x98\x80", true},           // beyond the first plane
      {"plain", false},                     // nothing multi-byte
      {"\xe9t\xe9", false},                 // Windows-1252
      {"\xc3\xa9 \xe9", false},             // a stray high byte
      {"\xc0\xaf", false},                  // overlong
      {"\xed\xa0\x80", false},              // a surrogate
      {"\xc3", false},                      // cut short
  };
  for (const auto& [text, utf8] : cases) EXPECT_EQ(looks_like_utf8(text), utf8) << text;
}

}  // namespace
}  // namespace quillaret::check
