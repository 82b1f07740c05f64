// Image commands: rom2dcf, diff.

#include <cstdio>

#include "args.h"
#include "cli_host.h"
#include "commands.h"
#include "files/dcf.h"
#include "image/byte_labels.h"
#include "image/image_map.h"
#include "image/image_reader.h"

namespace velkor::cli {

// "Прочитать  \" .ROM \"  файл" followed by "Сохранить полную базу".
int CmdRom2Dcf(const Context& ctx) {
  ParsedArgs args = ParseArgs(ctx.words, {"-o"}, {});
  if (!args.error.empty()) return UsageError(ctx.command, args.error);
  if (args.positional.size() != 1) return UsageError(ctx.command, "one .ROM file expected");
  std::optional<std::string> out = args.value("-o");
  if (!out) return UsageError(ctx.command, "-o DB.dcf is required");
  CliHost host(false);
  Workspace ws(ctx.variant);
  if (!ReadRomDatabase(ws, host, args.positional.front())) return 1;
  host.ConvertBegin();
  const bool saved = DBConvertToFile(ws, host, *out);
  host.ConvertEnd();
  if (!saved) {
    ShowWarning(host, "База данных в файл не сохранена"_w);
    return 1;
  }
  return 0;
}

// One line per differing byte of two .ROM files: offset in hexadecimal and
// decimal, the byte of each file, and what the byte means. Like cmp and
// diff: 0 equal, 1 different, 2 when a file cannot be compared.
int CmdDiff(const Context& ctx) {
  ParsedArgs args = ParseArgs(ctx.words, {}, {});
  if (!args.error.empty()) return UsageError(ctx.command, args.error);
  if (args.positional.size() != 2) return UsageError(ctx.command, "two .ROM files expected");
  CliHost host(false);
  ImageArray a{};
  ImageArray b{};
  for (auto [path, image] : {std::pair{&args.positional[0], &a}, std::pair{&args.positional[1], &b}}) {
    if (!ReadRomFile(host, *path, *image)) {
      std::fprintf(stderr, "velkor-cli: %s: not a .ROM image of %zu bytes\n", path->c_str(), kRomSize);
      return 2;
    }
  }
  int differing = 0;
  for (std::size_t at = 0; at < kRomSize; ++at) {
    if (a[at] == b[at]) continue;
    ++differing;
    const int offset = static_cast<int>(at);
    std::printf("%04Xh %5d  %02X %02X  %s\n", static_cast<unsigned>(offset), offset, a[at], b[at],
                ImageByteLabel(ctx.variant, offset).c_str());
  }
  return differing == 0 ? 0 : 1;
}

}  // namespace velkor::cli
