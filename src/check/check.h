// Checks a translated plug-in against the masters its header names: every
// reference that points at nothing, as findings.
#pragma once

#include <string>
#include <vector>

#include "check/findings.h"
#include "lexicon/lexicon.h"

namespace quillaret::check {

struct CheckRequest {
  std::string plugin;  // its path
  std::string folder;  // where its masters lie; empty: the current folder
  // Where to look up the names at fault, for the hints; none when null.
  const Lexicons* lexicons = nullptr;
};

// Fills `*findings`. False, with `*error` ("cannot read <path>", or "<path>
// is damaged" and the reader's diagnostic), when the plug-in cannot be read
// or it or a master that is there is damaged. Every file is opened
// read-only; the masters are read side by side.
bool check_plugin(const CheckRequest& request, std::vector<Finding>* findings, std::string* error);

}  // namespace quillaret::check
