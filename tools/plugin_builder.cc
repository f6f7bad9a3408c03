#include "tools/plugin_builder.h"

#include <bit>

namespace quillaret::builder {

std::string u32(uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

std::string u64(uint64_t value) {
  return u32(static_cast<uint32_t>(value)) + u32(static_cast<uint32_t>(value >> 32));
}

std::string f32(float value) { return u32(std::bit_cast<uint32_t>(value)); }

std::string fixed(std::string_view text, size_t size) {
  std::string field(text.substr(0, size));
  field.resize(size, '\0');
  return field;
}

std::string subrecord(std::string_view tag, std::string_view payload) {
  return std::string(tag) + u32(static_cast<uint32_t>(payload.size())) + std::string(payload);
}

std::string record(std::string_view tag, const std::vector<std::string>& subrecords,
                   std::string_view further) {
  std::string body;
  for (const std::string& s : subrecords) body += s;
  return std::string(tag) + u32(static_cast<uint32_t>(body.size())) + std::string(further) + body;
}

std::string zstring(std::string_view text) { return std::string(text) + '\0'; }

std::string condition(std::string_view prefix5, std::string_view name) {
  return std::string(prefix5) + std::string(name);
}

std::string header(const Header& header) {
  std::vector<std::string> subrecords{
      subrecord("HEDR", f32(header.version) + u32(header.flags) + fixed(header.author, 32) +
                            fixed(header.description, 256) + u32(header.record_count))};
  for (const Master& master : header.masters) {
    subrecords.push_back(subrecord("MAST", zstring(master.name)));
    subrecords.push_back(subrecord("DATA", u64(master.size)));
  }
  return record("TES3", subrecords);
}

std::string plugin(Header h, const std::vector<std::string>& records) {
  h.record_count = static_cast<uint32_t>(records.size());
  std::string bytes = header(h);
  for (const std::string& r : records) bytes += r;
  return bytes;
}

std::string named(std::string_view tag, std::string_view id, std::string_view name,
                  const std::vector<std::string>& rest) {
  std::vector<std::string> subrecords{subrecord("NAME", zstring(id)),
                                      subrecord("FNAM", zstring(name))};
  subrecords.insert(subrecords.end(), rest.begin(), rest.end());
  return record(tag, subrecords);
}

std::string faction(std::string_view id, std::string_view name,
                    const std::vector<std::string>& ranks, const std::vector<std::string>& rest) {
  std::vector<std::string> subrecords;
  for (const std::string& rank : ranks) subrecords.push_back(subrecord("RNAM", fixed(rank, 32)));
  subrecords.insert(subrecords.end(), rest.begin(), rest.end());
  return named("FACT", id, name, subrecords);
}

std::string topic(std::string_view name, DialogueType type) {
  return record("DIAL", {subrecord("NAME", zstring(name)),
                         subrecord("DATA", std::string(1, static_cast<char>(type)))});
}

std::string info(const Info& entry) {
  std::vector<std::string> subrecords{
      subrecord("INAM", zstring(entry.id)), subrecord("PNAM", zstring(entry.previous)),
      subrecord("NNAM", zstring(entry.next)), subrecord("DATA", entry.data)};
  subrecords.insert(subrecords.end(), entry.filters.begin(), entry.filters.end());
  if (entry.response) subrecords.push_back(subrecord("NAME", *entry.response));
  subrecords.insert(subrecords.end(), entry.after.begin(), entry.after.end());
  return record("INFO", subrecords);
}

std::string info(std::string_view id, std::string_view response,
                 const std::vector<std::string>& after) {
  return info(Info{.id = std::string(id), .response = std::string(response), .after = after});
}

std::string script(std::string_view name, std::string_view source, std::string_view compiled,
                   const std::vector<std::string>& variables) {
  std::string names;
  for (const std::string& variable : variables) names += zstring(variable);
  std::vector<std::string> subrecords{
      subrecord("SCHD", fixed(name, 32) + u32(static_cast<uint32_t>(variables.size())) + u32(0) +
                            u32(0) + u32(static_cast<uint32_t>(compiled.size())) +
                            u32(static_cast<uint32_t>(names.size())))};
  if (!names.empty()) subrecords.push_back(subrecord("SCVR", names));
  if (!compiled.empty()) subrecords.push_back(subrecord("SCDT", compiled));
  subrecords.push_back(subrecord("SCTX", source));
  return record("SCPT", subrecords);
}

std::string lexicon_file(const std::vector<std::pair<std::string, std::string>>& pairs,
                         std::string_view line_end) {
  std::string text;
  for (const auto& [source, target] : pairs) {
    for (const std::string* s : {&source, &target}) {
      text.append(1, '"').append(*s).append(1, '"').append(line_end);
    }
  }
  return text;
}

}  // namespace quillaret::builder
