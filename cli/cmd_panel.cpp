// Panel commands: panel read/write/texts, read-id, and the text image.

#include "commands.h"

namespace velkor::cli {

int CmdPanel(const Context& ctx) { return NotAvailable(ctx.command); }
int CmdReadId(const Context& ctx) { return NotAvailable(ctx.command); }
int CmdTexts(const Context& ctx) { return NotAvailable(ctx.command); }

}  // namespace velkor::cli
