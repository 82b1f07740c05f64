#include "core_ops.h"

namespace velkor::editor {

// The operations below come with the file, builder and reader parts; until
// then each reports that it did nothing.

bool BuildImageWithExports(Workspace&, Host&, const BuildRequest&) { return false; }
bool LoadDatabaseFile(Workspace&, Host&, const std::string&) { return false; }
bool SaveDatabaseFile(Workspace&, Host&, const std::string&) { return false; }
bool LoadRomFile(Workspace&, Host& host, const std::string&) {
  ShowWarning(host, "База данных из файла не загружена"_w);
  return false;
}
bool LoadFromReadArray(Workspace&, Host&) { return false; }
bool BuildTextImage(Workspace&, Host&) { return false; }
std::string ImageByteText(Variant, int) { return "???"; }

}  // namespace velkor::editor
