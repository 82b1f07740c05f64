// The build command: a database file in, the panel image and the chosen
// exports out, as "Сохранить в  \" .ROM \"  файл" makes them.

#include "args.h"
#include "cli_host.h"
#include "commands.h"
#include "files/dcf.h"
#include "image/build_command.h"
#include "model/captions.h"

namespace velkor::cli {

int CmdBuild(const Context& ctx) {
  ParsedArgs args = ParseArgs(ctx.words, {"-o", "--log", "--ini", "--prg"}, {"--no-full-check", "--yes"});
  if (!args.error.empty()) return UsageError(ctx.command, args.error);
  if (args.positional.size() != 1) return UsageError(ctx.command, "one database file expected");
  const std::optional<std::string> rom = args.value("-o");
  if (!rom) return UsageError(ctx.command, "-o IMAGE.rom is required");

  CliHost host(args.has("--yes"));
  Workspace ws(ctx.variant);
  if (!LoadDatabaseFile(ws, host, args.positional.front())) return 1;

  BuildSettings settings = SettingsFromEditor(ws);
  settings.FullConvert = !args.has("--no-full-check");
  ExportFileNames names;
  names.Rom = *rom;
  auto option = [&](const char* name, bool& on, std::string& file) {
    if (auto v = args.value(name)) {
      on = true;
      file = *v;
    }
  };
  option("--ini", settings.IniExport, names.Ini);
  option("--log", settings.LogExport, names.Log);
  option("--prg", settings.PrgExport, names.Prg);
  return SaveRomWithExports(ws, host, settings, SystemListingStamp(), names) ? 0 : 1;
}

}  // namespace velkor::cli
