// What the check finds, as data, and the report that a person acts on:
// one line per finding, grouped by kind, then a line counting them by kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillaret::check {

// In the order in which the report groups them.
enum class Kind : uint8_t {
  missing_master,     // a master of the header is not in the folder
  master_size,        // a master's size differs from the header's figure
  door,               // a door's destination cell (CELL DNAM)
  travel,             // a travel destination cell (NPC_ or CREA DNAM)
  moved,              // a moved reference's cell (CELL MVRF, CNAM)
  package,            // the cell of an escort or follow package (AI_E or AI_F, CNDT)
  cell_filter,        // an INFO's cell filter (ANAM), a prefix
  not_cell,           // a Not Cell condition (SCVR "BLX"), a prefix
  script,             // a cell, topic or journal that a script command names
  detached_topic,     // a topic linked to the masters' responses under a name they lack
  detached_cell,      // a cell holding the masters' references under a name they lack
  unreachable_topic,  // a new topic that nothing mentions nor adds
  stale_script,       // a script whose compiled data lacks a text of its source
  encoding,           // a text that reads as UTF-8
  not_checked,        // a name that only a missing master could define
};
inline constexpr size_t kKindCount = static_cast<size_t>(Kind::not_checked) + 1;

// The kind as the report names it.
std::string_view kind_label(Kind kind);

struct Finding {
  Kind kind;
  std::string where;   // the referring record: its tag and quoted ID
  std::string name;    // the name at fault, quoted in the report; none when empty
  std::string detail;  // what is wrong, and what would help
};

// The report: `<kind>  <where> -> "<name>": <detail>` (without ` -> ...`
// when the name is empty), one line each, grouped in the order of Kind and
// in the given order within a kind; then `<n> findings: <kind> <count>, ...`.
std::string format_report(const std::vector<Finding>& findings);

}  // namespace quillaret::check
