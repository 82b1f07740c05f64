// Database commands: new, show, convert.

#include <cstdio>

#include "args.h"
#include "cli_host.h"
#include "commands.h"
#include "files/dcf.h"
#include "model/captions.h"

namespace velkor::cli {

namespace {

// What the editor does after every change or load: derived values and the
// base module's caption.
void Refresh(Workspace& ws) {
  ProcessDataBase(ws.db);
  RefreshModuleCaptions(ws.db);
}

// The database as the editor shows it right after "Создать новую".
bool MakeNewDatabase(Workspace& ws, Host& host) {
  if (!EraceDB(ws, host) || !CreateNewDB(ws, host)) return false;
  Refresh(ws);
  return true;
}

// "Сохранить полную базу".
bool SaveDatabase(Workspace& ws, Host& host, const std::string& path) {
  host.ConvertBegin();
  const bool ok = DBConvertToFile(ws, host, path);
  host.ConvertEnd();
  if (!ok) ShowWarning(host, "База данных в файл не сохранена"_w);
  return ok;
}

}  // namespace

int CmdNew(const Context& ctx) {
  ParsedArgs args = ParseArgs(ctx.words, {"-o"}, {});
  if (!args.error.empty()) return UsageError(ctx.command, args.error);
  if (!args.positional.empty()) return UsageError(ctx.command, "unexpected " + args.positional.front());
  std::optional<std::string> out = args.value("-o");
  if (!out) return UsageError(ctx.command, "-o DB.dcf is required");
  CliHost host(false);
  Workspace ws(ctx.variant);
  if (!MakeNewDatabase(ws, host)) return 1;
  return SaveDatabase(ws, host, *out) ? 0 : 1;
}

int CmdShow(const Context& ctx) {
  ParsedArgs args = ParseArgs(ctx.words, {}, {"--new"});
  if (!args.error.empty()) return UsageError(ctx.command, args.error);
  CliHost host(false);
  Workspace ws(ctx.variant);
  if (args.has("--new")) {
    if (!args.positional.empty()) return UsageError(ctx.command, "--new takes no file");
    if (!MakeNewDatabase(ws, host)) return 1;
  } else {
    if (args.positional.size() != 1) return UsageError(ctx.command, "one database file expected");
    if (!LoadDatabaseFile(ws, host, args.positional.front())) return 1;
  }
  std::fputs(FormatTrees(ws.db).c_str(), stdout);
  return 0;
}

int CmdConvert(const Context& ctx) {
  ParsedArgs args = ParseArgs(ctx.words, {"-o"}, {});
  if (!args.error.empty()) return UsageError(ctx.command, args.error);
  if (args.positional.size() != 1) return UsageError(ctx.command, "one database file expected");
  std::optional<std::string> out = args.value("-o");
  if (!out) return UsageError(ctx.command, "-o OUT.dcf is required");
  CliHost host(false);
  Workspace ws(ctx.variant);
  if (!LoadDatabaseFile(ws, host, args.positional.front())) return 1;
  return SaveDatabase(ws, host, *out) ? 0 : 1;
}

}  // namespace velkor::cli
