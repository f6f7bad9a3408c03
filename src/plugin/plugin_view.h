// A read-only view of a plug-in for tools: its masters, and its top-level
// records in file order, each with its tag, its ID and its subrecords.
//
//   PluginView view;
//   std::string error;
//   if (!view.open(path, &error)) ...;                 // not read, or not a plug-in
//   for (RecordCursor it = view.records(); it.valid(); it.next()) {
//     const Record& r = it.record();                   // valid until next()
//     if (r.tag == make_tag("WEAP")) use(r.id, r.text(make_tag("FNAM")));
//   }
//
// Every view the cursor hands out points into the plug-in's bytes, which
// the PluginView keeps (mapped, or read) until it is destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "plugin/names.h"
#include "plugin/record_tree.h"

namespace quillaret {

struct Subrecord {
  Tag tag = 0;
  // The whole payload (a condition's 5 code bytes included). A record nested
  // in a record, which real plug-ins do not hold, shows as a subrecord
  // whose payload is its subrecords' bytes.
  std::string_view payload;

  // The payload up to its first NUL: how names are stored.
  std::string_view text() const { return payload.substr(0, payload.find('\0')); }
};

struct Record {
  Tag tag = 0;
  // What identifies the record: the INAM of an INFO, the script name of a
  // SCPT's header, the first NAME of any other kind (a cell's name); empty
  // when there is none. Up to its first NUL.
  std::string_view id;
  std::vector<Subrecord> subrecords;  // in file order
  uint64_t offset = 0;                // of the record's header in the file

  // The first subrecord of this kind, or null.
  const Subrecord* find(Tag tag) const;
  // The text of the first subrecord of this kind; empty when there is none.
  std::string_view text(Tag tag) const;
};

// What the fields that name cells and topics say, read as the game reads
// them, for the tools that follow those names.

// The name that a Not Cell condition tests (an SCVR payload whose bytes 1 to
// 3 read "BLX"), up to its first NUL; nothing for any other condition.
std::optional<std::string_view> not_cell_name(std::string_view condition);

// A CELL's DATA: bit 0 of its flags marks an interior, and an exterior's
// grid follows them. A DATA too short for the flags (or for the grid)
// says nothing of them.
struct CellData {
  bool interior = false;
  bool has_grid = false;  // an exterior with its grid
  int32_t x = 0, y = 0;
};
CellData cell_data(const Record& cell);

// A DIAL's type (DATA byte 0: 0 topic, 1 voice, 2 greeting, 3 persuasion,
// 4 journal), or -1 when it has none.
int dialogue_type(const Record& dialogue);

// A reference that a CELL places: its FRMR number (in a plug-in, a top byte
// of 0 for the plug-in's own references, else a 1-based index in its
// header's masters) and the ID of the object placed, the NAME after FRMR.
struct CellReference {
  uint32_t number = 0;
  std::string_view object;
};
// One reference as the game tells them apart: the same number, and objects
// of the same name.
struct SameReference {
  bool operator()(const CellReference& a, const CellReference& b) const {
    return a.number == b.number && same_name(a.object, b.object);
  }
};
struct ReferenceHash {
  size_t operator()(const CellReference& r) const { return static_cast<size_t>(name_hash(r.object, r.number)); }
};
using ReferenceSet = std::unordered_set<CellReference, ReferenceHash, SameReference>;
template <class Value>
using ReferenceMap = std::unordered_map<CellReference, Value, ReferenceHash, SameReference>;

// Follows a CELL's references as its subrecords go by, in file order.
class ReferenceWalk {
 public:
  enum Step { other, started, named };
  // Takes the cell's next subrecord: `started` at a reference's FRMR, `named`
  // at the NAME after it, which completes current().
  Step next(const Subrecord& s);
  bool inside() const { return inside_; }  // past a FRMR: in a reference
  const CellReference& current() const { return current_; }

 private:
  bool inside_ = false, awaiting_object_ = false;
  CellReference current_;
};

// Walks the records of an open view; see PluginView::records.
class RecordCursor {
 public:
  bool valid() const { return valid_; }
  void next();
  const Record& record() const { return record_; }

  RecordCursor(RecordCursor&&) noexcept;
  RecordCursor& operator=(RecordCursor&&) noexcept;
  ~RecordCursor();

 private:
  friend class PluginView;
  struct Parts;
  explicit RecordCursor(std::string_view bytes);

  std::unique_ptr<Parts> parts_;
  Record record_;
  bool valid_ = false;
};

class PluginView {
 public:
  PluginView();
  ~PluginView();
  PluginView(const PluginView&) = delete;
  PluginView& operator=(const PluginView&) = delete;

  // Opens the plug-in at `path` and checks it whole. False when it cannot
  // be read (`*error`: "cannot read <path>") or is not a plug-in (`*error`:
  // "<path> is damaged", then a line feed and the reader's diagnostic line
  // when it has one).
  bool open(const std::string& path, std::string* error);
  // The same over bytes in memory, which must outlive the view; `name`
  // stands for the path in the messages.
  bool open_bytes(std::string_view bytes, const std::string& name, std::string* error);

  // The masters named in the TES3 header, in load order, with the size
  // recorded beside each (its DATA; 0 when absent).
  struct Master {
    std::string name;
    uint64_t size = 0;
  };
  const std::vector<Master>& masters() const { return masters_; }

  std::string_view bytes() const { return bytes_; }

  // The records from the first, in file order.
  RecordCursor records() const { return RecordCursor(bytes_); }

 private:
  struct Storage;
  std::unique_ptr<Storage> storage_;
  std::string_view bytes_;
  std::vector<Master> masters_;
};

}  // namespace quillaret
