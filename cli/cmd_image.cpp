// Image commands: rom2dcf, diff.

#include "commands.h"

namespace velkor::cli {

int CmdRom2Dcf(const Context& ctx) { return NotAvailable(ctx.command); }
int CmdDiff(const Context& ctx) { return NotAvailable(ctx.command); }

}  // namespace velkor::cli
