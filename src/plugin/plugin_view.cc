#include "plugin/plugin_view.h"

#include <algorithm>
#include <limits>

#include "platform/files.h"
#include "plugin/little_endian.h"
#include "plugin/reader.h"

namespace quillaret {
namespace {

// The cursor reads the plug-in this much at a time: its memory stays small
// whatever the size of the file.
constexpr uint64_t kPartBytes = uint64_t{1} << 20;

// Checks every entry and keeps none: the whole file is checked before any
// record is shown.
class KeepsNothing final : public NodeFilter {
 public:
  bool keeps_top_level(Tag) const override { return false; }
  bool keeps_child(Tag, Tag, int32_t) const override { return false; }
  ChildTags child_tags(Tag) const override { return {}; }
};

}  // namespace

const Subrecord* Record::find(Tag wanted) const {
  for (const Subrecord& s : subrecords) {
    if (s.tag == wanted) return &s;
  }
  return nullptr;
}

std::string_view Record::text(Tag wanted) const {
  const Subrecord* s = find(wanted);
  return s == nullptr ? std::string_view() : s->text();
}

std::optional<std::string_view> not_cell_name(std::string_view condition) {
  if (condition.size() < 5 || condition.substr(1, 3) != "BLX") return std::nullopt;
  const std::string_view name = condition.substr(5);
  return name.substr(0, name.find('\0'));
}

CellData cell_data(const Record& cell) {
  CellData data;
  const Subrecord* found = cell.find(make_tag("DATA"));
  const std::string_view bytes = found == nullptr ? std::string_view() : found->payload;
  if (bytes.size() < 4) return data;
  data.interior = (read_u32(bytes.data()) & 1) != 0;
  if (!data.interior && bytes.size() >= 12) {
    data.has_grid = true;
    data.x = read_i32(bytes.data() + 4);
    data.y = read_i32(bytes.data() + 8);
  }
  return data;
}

int dialogue_type(const Record& dialogue) {
  const Subrecord* data = dialogue.find(make_tag("DATA"));
  return data == nullptr || data->payload.empty() ? -1 : static_cast<uint8_t>(data->payload[0]);
}

ReferenceWalk::Step ReferenceWalk::next(const Subrecord& s) {
  if (s.tag == make_tag("FRMR") && s.payload.size() >= 4) {
    current_ = {read_u32(s.payload.data()), {}};
    inside_ = awaiting_object_ = true;
    return started;
  }
  if (s.tag == make_tag("NAME") && awaiting_object_) {
    current_.object = s.text();
    awaiting_object_ = false;
    return named;
  }
  return other;
}

struct RecordCursor::Parts {
  explicit Parts(std::string_view bytes) : input(bytes), reader(bytes, nullptr) {}
  std::string_view input;
  RecordReader reader;
  RecordTree tree;
  int32_t node = -1;  // the current top-level node in `tree`
};

RecordCursor::RecordCursor(std::string_view bytes) : parts_(std::make_unique<Parts>(bytes)) {
  next();
}
RecordCursor::RecordCursor(RecordCursor&&) noexcept = default;
RecordCursor& RecordCursor::operator=(RecordCursor&&) noexcept = default;
RecordCursor::~RecordCursor() = default;

void RecordCursor::next() {
  Parts& p = *parts_;
  const std::vector<RecordNode>& nodes = p.tree.nodes;
  p.node = p.node < 0 ? -1 : nodes[static_cast<size_t>(p.node)].next;
  while (p.node < 0) {
    std::string error;
    // The file was checked whole when it was opened: reading it again
    // cannot fail.
    if (p.reader.done() || !p.reader.read_part(kPartBytes, &p.tree, &error) || nodes.empty()) {
      valid_ = false;
      return;
    }
    p.node = 0;
  }
  const RecordNode& top = nodes[static_cast<size_t>(p.node)];
  record_.tag = top.tag;
  record_.offset = header_offset(top);
  record_.subrecords.clear();
  for (int32_t c = top.first_child; c >= 0; c = nodes[static_cast<size_t>(c)].next) {
    const RecordNode& child = nodes[static_cast<size_t>(c)];
    size_t begin = static_cast<size_t>(child.data_offset) - (child.has_prefix ? 5 : 0);
    if (child.is_record) begin += 8;  // past its further header bytes
    begin = std::min(begin, p.input.size());
    record_.subrecords.push_back({child.tag, p.input.substr(begin, child.size)});
  }
  if (top.tag == make_tag("INFO")) {
    record_.id = record_.text(make_tag("INAM"));
  } else if (top.tag == make_tag("SCPT")) {
    // The script's name fills the first 32 bytes of its header.
    const Subrecord* header = record_.find(make_tag("SCHD"));
    const std::string_view name = header == nullptr ? std::string_view() : header->payload.substr(0, 32);
    record_.id = name.substr(0, name.find('\0'));
  } else {
    record_.id = record_.text(make_tag("NAME"));
  }
  valid_ = true;
}

struct PluginView::Storage {
  platform::InputFile file;
};

PluginView::PluginView() = default;
PluginView::~PluginView() = default;

bool PluginView::open(const std::string& path, std::string* error) {
  storage_ = std::make_unique<Storage>();
  if (!storage_->file.read(path)) {
    *error = "cannot read " + path;
    return false;
  }
  return open_bytes(storage_->file.bytes(), path, error);
}

bool PluginView::open_bytes(std::string_view bytes, const std::string& name, std::string* error) {
  bytes_ = bytes;
  masters_.clear();
  static const KeepsNothing kKeepsNothing;
  RecordReader checker(bytes, &kKeepsNothing);
  RecordTree unused;
  std::string diagnostic;
  if (!checker.read_part(std::numeric_limits<uint64_t>::max(), &unused, &diagnostic)) {
    *error = name + " is damaged";
    if (!diagnostic.empty()) {
      diagnostic.erase(0, diagnostic.find_first_not_of(' '));
      if (!diagnostic.empty() && diagnostic.back() == '\n') diagnostic.pop_back();
      *error += "\n" + diagnostic;
    }
    bytes_ = {};
    return false;
  }
  RecordCursor first = records();
  if (first.valid() && first.record().tag == make_tag("TES3")) {
    for (const Subrecord& s : first.record().subrecords) {
      if (s.tag == make_tag("MAST")) {
        masters_.push_back({std::string(s.text()), 0});
      } else if (s.tag == make_tag("DATA") && !masters_.empty() && s.payload.size() >= 8) {
        masters_.back().size = uint64_t{read_u32(s.payload.data())} |
                               uint64_t{read_u32(s.payload.data() + 4)} << 32;
      }
    }
  }
  return true;
}

}  // namespace quillaret
