// Texts in the wrong encoding: the game reads French texts as Windows-1252,
// and shows a text saved as UTF-8 (by a lexicon saved so) as garbage.
#pragma once

#include <string_view>

namespace quillaret::check {

// Whether `text` reads as UTF-8 holding at least one multi-byte sequence:
// every byte above 0x7F is part of a well-formed sequence (no overlong
// form, no surrogate, nothing beyond U+10FFFF). A Windows-1252 accent
// followed by plain letters is never one.
bool looks_like_utf8(std::string_view text);

}  // namespace quillaret::check
