#include "support/run_program.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "driver/driver.h"
#include "support/string_console.h"

namespace quillaret::testing {
namespace {

std::string shell_quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                      const std::string& cwd, bool unprivileged) {
  // `exec -a` sets argument 0 independently of the program's path.
  std::string command = "exec -a " + shell_quote(args.empty() ? program : args[0]) + " " + shell_quote(program);
  for (size_t i = 1; i < args.size(); ++i) command.append(" ").append(shell_quote(args[i]));
  command.append(" </dev/null");
  if (unprivileged && ::geteuid() == 0) {
    command = std::string("exec setpriv --reuid=65534 --regid=65534 --clear-groups bash -c ")
                  .append(shell_quote(command));
  }
  command = std::string("cd ").append(shell_quote(cwd)).append(" && ").append(command);
  RunResult result;
  std::FILE* pipe = ::popen(std::string("bash -c ").append(shell_quote(command)).c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, count);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

Installation::Installation(std::string_view topics, std::string_view factions,
                           std::string_view names) {
  std::filesystem::copy_file(QUILLARET_EXECUTABLE, executable());
  dir_.write("lexique_enfr_dial.txt", topics);
  dir_.write("lexique_enfr_fact.txt", factions);
  dir_.write("lexique_enfr_name.txt", names);
}

RunResult Installation::translate(const std::string& plugin) const {
  StringConsole console;
  const int status = run({executable(), (dir_.path() / plugin).string()}, console);
  return {status, console.output};
}

}  // namespace quillaret::testing
