#include "support/plugin_builder.h"

namespace quillaret::builder {

std::string u32(uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
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
