// A mod of the translated master, as a translation leaves one: it edits
// the master's interior cells and adds responses to its topics, one time in
// three under a name that the master lacks.
#include <string>

#include "dataset.h"
#include "plugin/plugin_view.h"
#include "tools/plugin_builder.h"

namespace quillaret::bench {

std::string make_mod(std::string_view master, const std::string& master_name) {
  using namespace builder;
  PluginView view;
  std::string error;
  if (!view.open_bytes(master, master_name, &error)) return {};
  std::vector<std::string> records;
  size_t edits = 0, topics = 0;
  const auto name = [&](std::string_view id) {
    return ++edits % 3 == 0 ? std::string(id) + " (en)" : std::string(id);
  };
  std::string_view topic;  // a topic whose first response is still to link to
  for (RecordCursor it = view.records(); it.valid(); it.next()) {
    const Record& r = it.record();
    if (r.tag == make_tag("CELL") && cell_data(r).interior) {
      // The references that the game numbers as the master's own.
      std::vector<std::string> subs;
      ReferenceWalk walk;
      for (const Subrecord& s : r.subrecords) {
        if (walk.next(s) != ReferenceWalk::named || walk.current().number >> 24 != 0) continue;
        subs.push_back(subrecord("FRMR", u32(1u << 24 | walk.current().number)));
        subs.push_back(subrecord("NAME", zstring(walk.current().object)));
      }
      if (subs.empty()) continue;
      subs.insert(subs.begin(), {subrecord("NAME", zstring(name(r.id))),
                                 subrecord("DATA", r.find(make_tag("DATA"))->payload)});
      records.push_back(record("CELL", subs));
    } else if (r.tag == make_tag("DIAL")) {
      const bool chosen = dialogue_type(r) == kTopic && topics++ % 10 == 0;
      topic = chosen ? r.id : std::string_view();
    } else if (r.tag == make_tag("INFO") && !topic.empty()) {
      records.push_back(builder::topic(name(topic)));
      records.push_back(info({.id = "mod" + std::string(r.id), .previous = std::string(r.id),
                              .response = "A new rumour."}));
      topic = {};
    }
  }
  return plugin({.masters = {{master_name, master.size()}}}, records);
}

}  // namespace quillaret::bench
