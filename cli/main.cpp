// velkor-cli: every conversion and transfer of the configurator without a
// window, for scripting, batch work and tests.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "commands.h"

namespace {

using velkor::cli::Context;

struct Command {
  const char* name;
  int (*run)(const Context&);
};

constexpr Command kCommands[] = {
    {"new", velkor::cli::CmdNew},         {"show", velkor::cli::CmdShow},
    {"convert", velkor::cli::CmdConvert}, {"build", velkor::cli::CmdBuild},
    {"rom2dcf", velkor::cli::CmdRom2Dcf}, {"texts", velkor::cli::CmdTexts},
    {"panel", velkor::cli::CmdPanel},     {"read-id", velkor::cli::CmdReadId},
    {"diff", velkor::cli::CmdDiff},
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  Context ctx;
  bool legacy = false;
  std::size_t i = 0;
  for (; i < words.size() && words[i].rfind("--", 0) == 0; ++i) {
    if (words[i] == "--legacy") {
      legacy = true;
    } else if (words[i] == "--help" || words[i] == "-h") {
      return velkor::cli::PrintHelp("");
    } else {
      return velkor::cli::UsageError("", "unknown option " + words[i]);
    }
  }
  if (i >= words.size()) return velkor::cli::UsageError("", "no command given");
  ctx.command = words[i];
  ctx.words.assign(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, words.end());
  for (const auto& w : ctx.words)
    if (w == "--help" || w == "-h") return velkor::cli::PrintHelp(ctx.command);
  if (legacy) return velkor::cli::UsageError(ctx.command, "--legacy is not available yet");
  for (const Command& c : kCommands)
    if (ctx.command == c.name) return c.run(ctx);
  return velkor::cli::UsageError("", "unknown command " + ctx.command);
}
