// Database commands: new, show, convert.

#include <cstdio>

#include "args.h"
#include "cli_host.h"
#include "commands.h"
#include "model/captions.h"

namespace velkor::cli {

namespace {

// The database as the editor shows it right after "Создать новую".
bool MakeNewDatabase(Workspace& ws, Host& host) {
  if (!EraceDB(ws, host) || !CreateNewDB(ws, host)) return false;
  ProcessDataBase(ws.db);
  RefreshModuleCaptions(ws.db);
  return true;
}

}  // namespace

int CmdNew(const Context& ctx) { return NotAvailable(ctx.command); }

int CmdShow(const Context& ctx) {
  ParsedArgs args = ParseArgs(ctx.words, {}, {"--new"});
  if (!args.error.empty()) return UsageError(ctx.command, args.error);
  if (args.has("--new")) {
    if (!args.positional.empty()) return UsageError(ctx.command, "--new takes no file");
    CliHost host(false);
    Workspace ws(ctx.variant);
    if (!MakeNewDatabase(ws, host)) return 1;
    std::fputs(FormatTrees(ws.db).c_str(), stdout);
    return 0;
  }
  if (args.positional.size() != 1) return UsageError(ctx.command, "one database file expected");
  return NotAvailable(ctx.command);
}

int CmdConvert(const Context& ctx) { return NotAvailable(ctx.command); }

}  // namespace velkor::cli
