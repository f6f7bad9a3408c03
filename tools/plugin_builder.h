// Builds plug-in and lexicon bytes: for the tests and for the example,
// Windows-case, fuzz-seed and benchmark generators. Not part of any program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillaret::builder {

std::string u32(uint32_t value);
std::string u64(uint64_t value);
std::string f32(float value);

// `text` cut or padded with NULs to `size` bytes: a fixed-size field.
std::string fixed(std::string_view text, size_t size);

// tag, payload size, payload.
std::string subrecord(std::string_view tag, std::string_view payload);

// tag, size of the subrecords, 8 further header bytes, the subrecords.
std::string record(std::string_view tag, const std::vector<std::string>& subrecords,
                   std::string_view further = std::string_view("\0\0\0\0\0\0\0\0", 8));

// A name as stored in the file: its text and a NUL.
std::string zstring(std::string_view text);

// An SCVR payload: 5 prefix bytes then the name (no NUL).
std::string condition(std::string_view prefix5, std::string_view name);

// A master of the plug-in and the file size recorded for it.
struct Master {
  std::string name{};
  uint64_t size = 0;
};

struct Header {
  float version = 1.3f;
  uint32_t flags = 0;         // 1: a master file
  std::string author{};       // cut to 32 bytes
  std::string description{};  // cut to 256 bytes
  uint32_t record_count = 0;
  std::vector<Master> masters{};
};

// The TES3 record: HEDR, then MAST and DATA for each master.
std::string header(const Header& header);

// The header, its record count set to that of `records`, then the records.
std::string plugin(Header header, const std::vector<std::string>& records);

// NAME (the ID), FNAM (the name shown in the game), then `rest`.
std::string named(std::string_view tag, std::string_view id, std::string_view name,
                  const std::vector<std::string>& rest = {});

// FACT: NAME, FNAM, one 32-byte RNAM per rank, then `rest`.
std::string faction(std::string_view id, std::string_view name,
                    const std::vector<std::string>& ranks,
                    const std::vector<std::string>& rest = {});

enum DialogueType : uint8_t {
  kTopic = 0,
  kVoice = 1,
  kGreeting = 2,
  kPersuasion = 3,
  kJournal = 4
};

// DIAL: NAME, then DATA of one byte, the type.
std::string topic(std::string_view name, DialogueType type = kTopic);

struct Info {
  std::string id{};                // INAM
  std::string previous{}, next{};  // PNAM, NNAM
  std::string data = std::string(12, '\0');
  std::vector<std::string> filters{};     // between DATA and NAME: ONAM, ANAM...
  std::optional<std::string> response{};  // NAME, without NUL
  std::vector<std::string> after{};       // conditions, result script...
};

// INFO: INAM, PNAM, NNAM, DATA, the filters, NAME, the rest.
std::string info(const Info& entry);
std::string info(std::string_view id, std::string_view response,
                 const std::vector<std::string>& after = {});

// SCPT: SCHD (the name in 32 bytes, the variables counted as shorts, the
// sizes of the compiled data and of the variable names), SCVR with the
// variables' names when there are any, SCDT when `compiled` is not empty,
// SCTX.
std::string script(std::string_view name, std::string_view source, std::string_view compiled = {},
                   const std::vector<std::string>& variables = {});

// A lexicon file: one quoted string per line, source then target.
std::string lexicon_file(const std::vector<std::pair<std::string, std::string>>& pairs,
                         std::string_view line_end = "\n");

}  // namespace quillaret::builder
