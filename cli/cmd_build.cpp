// The build command.

#include "commands.h"

namespace velkor::cli {

int CmdBuild(const Context& ctx) { return NotAvailable(ctx.command); }

}  // namespace velkor::cli
