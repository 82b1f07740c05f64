// Image commands: build, rom2dcf, texts, diff.

#include "commands.h"

namespace velkor::cli {

int CmdBuild(const Context& ctx) { return NotAvailable(ctx.command); }
int CmdRom2Dcf(const Context& ctx) { return NotAvailable(ctx.command); }
int CmdTexts(const Context& ctx) { return NotAvailable(ctx.command); }
int CmdDiff(const Context& ctx) { return NotAvailable(ctx.command); }

}  // namespace velkor::cli
