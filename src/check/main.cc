#include "check/check_driver.h"
#include "platform/console.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  quillaret::StdConsole console;
  return quillaret::run_check(quillaret::platform::command_line(argc, argv), console);
}
