// The database file reader on arbitrary bytes: it must reject or accept
// without undefined behaviour, and whatever it accepts must save and load
// again to the same bytes.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "files/dcf.h"
#include "host/scripted_host.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > velkor::kDcfMaxFileSize) return 0;
  for (velkor::Variant variant : {velkor::Variant::Current, velkor::Variant::Legacy}) {
    velkor::Workspace ws(variant);
    velkor::ScriptedHost host;
    if (!velkor::DecodeDcf(ws, host, std::span<const std::uint8_t>(data, size))) continue;
    velkor::ProcessDataBase(ws.db);

    std::vector<std::uint8_t> first;
    if (!velkor::EncodeDcf(ws.db, host, first)) std::abort();
    velkor::Workspace again(variant);
    velkor::ScriptedHost quiet;
    if (!velkor::DecodeDcf(again, quiet, first)) std::abort();
    std::vector<std::uint8_t> second;
    if (!velkor::EncodeDcf(again.db, quiet, second) || second != first) std::abort();
  }
  return 0;
}
