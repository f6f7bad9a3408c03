// Builds plug-in and lexicon bytes: for the example and benchmark
// generators and for tests. Not part of the translator itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillaret::builder {

std::string u32(uint32_t value);

// tag, payload size, payload.
std::string subrecord(std::string_view tag, std::string_view payload);

// tag, size of the subrecords, 8 further header bytes, the subrecords.
std::string record(std::string_view tag, const std::vector<std::string>& subrecords,
                   std::string_view further = std::string_view("\0\0\0\0\0\0\0\0", 8));

// A name as stored in the file: its text and a NUL.
std::string zstring(std::string_view text);

// An SCVR payload: 5 prefix bytes then the name (no NUL).
std::string condition(std::string_view prefix5, std::string_view name);

// A lexicon file: one quoted string per line, source then target.
std::string lexicon_file(const std::vector<std::pair<std::string, std::string>>& pairs,
                         std::string_view line_end = "\n");

}  // namespace quillaret::builder
