#include "core_ops.h"

#include "image/byte_labels.h"
#include "image/image_reader.h"

namespace velkor::editor {

// The operations below that come with the file and builder parts report,
// until then, that they did nothing.

bool BuildImageWithExports(Workspace&, Host&, const BuildRequest&) { return false; }
bool LoadDatabaseFile(Workspace&, Host&, const std::string&) { return false; }
bool SaveDatabaseFile(Workspace&, Host&, const std::string&) { return false; }
bool LoadRomFile(Workspace& ws, Host& host, const std::string& path) { return ReadRomDatabase(ws, host, path); }
bool LoadFromReadArray(Workspace& ws, Host& host) { return LoadDatabaseFromReadArray(ws, host); }
bool BuildTextImage(Workspace&, Host&) { return false; }
std::string ImageByteText(Variant variant, int offset) { return ImageByteLabel(variant, offset); }

}  // namespace velkor::editor
