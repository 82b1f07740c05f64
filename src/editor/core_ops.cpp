#include "core_ops.h"

#include "files/dcf.h"
#include "image/byte_labels.h"
#include "image/image_reader.h"

namespace velkor::editor {

// The builder's operations report, until they come, that they did nothing.

bool BuildImageWithExports(Workspace&, Host&, const BuildRequest&) { return false; }
bool LoadDatabaseFile(Workspace& ws, Host& host, const std::string& path) { return DBConvertFromFile(ws, host, path); }
bool SaveDatabaseFile(Workspace& ws, Host& host, const std::string& path) { return DBConvertToFile(ws, host, path); }
bool LoadRomFile(Workspace& ws, Host& host, const std::string& path) { return ReadRomDatabase(ws, host, path); }
bool LoadFromReadArray(Workspace& ws, Host& host) { return LoadDatabaseFromReadArray(ws, host); }
bool BuildTextImage(Workspace&, Host&) { return false; }
std::string ImageByteText(Variant variant, int offset) { return ImageByteLabel(variant, offset); }

}  // namespace velkor::editor
