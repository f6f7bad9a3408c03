// The output plug-in. It is written into a temporary file in the output's
// folder and moved onto its final name only once complete, so that a failed
// run never leaves a half-written output nor destroys an earlier one.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"
#include "plugin/record_tree.h"

namespace quillaret {

class OutputFile : public ByteSink {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  // Removes the temporary file unless it was committed.
  ~OutputFile() override;

  // Creates the temporary file beside `final_path`.
  bool create(const std::string& final_path);

  bool write(const char* data, size_t size) override;

  // The output is expected to take about `bytes`: the system may set the
  // space aside at once, which makes the writes cheaper. What is not used
  // is given back by `commit`.
  void reserve(int64_t bytes);

  // Flushes and closes the temporary file and moves it onto the final name.
  bool commit();

 private:
  bool flush_buffer();

  platform::FilePtr file_;
  std::unique_ptr<char[]> buffer_;
  size_t buffered_ = 0;
  std::string final_path_;
  std::string temp_path_;
  bool ok_ = true;
};

}  // namespace quillaret
