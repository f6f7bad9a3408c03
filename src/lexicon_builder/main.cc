#include "lexicon_builder/driver.h"
#include "platform/console.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  quillaret::StdConsole console;
  return quillaret::run_lexicon_builder(quillaret::platform::command_line(argc, argv), console);
}
