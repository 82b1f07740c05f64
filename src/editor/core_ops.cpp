#include "core_ops.h"

#include "export/version_text.h"
#include "files/dcf.h"
#include "image/build_command.h"
#include "image/byte_labels.h"
#include "link/text_image.h"
#include "image/image_reader.h"

namespace velkor::editor {

bool RunImageBuild(Workspace& ws, Host& host, const BuildRequest& request) {
  BuildSettings settings = SettingsFromEditor(ws);
  settings.FullConvert = request.FullConvert;
  settings.LogExport = request.LogExport;
  settings.IniExport = request.IniExport;
  settings.PrgExport = request.PrgExport;
  ExportFileNames names;
  names.Log = request.LogFileName;
  names.Ini = request.IniFileName;
  names.Prg = request.PrgFileName;
  return velkor::BuildImageWithExports(ws, host, settings, SystemListingStamp(), names);
}
bool LoadDatabaseFile(Workspace& ws, Host& host, const std::string& path) { return DBConvertFromFile(ws, host, path); }
bool SaveDatabaseFile(Workspace& ws, Host& host, const std::string& path) { return DBConvertToFile(ws, host, path); }
bool LoadRomFile(Workspace& ws, Host& host, const std::string& path) { return ReadRomDatabase(ws, host, path); }
bool LoadFromReadArray(Workspace& ws, Host& host) { return LoadDatabaseFromReadArray(ws, host); }
bool BuildTextImage(Workspace& ws, Host& host, TextImageArray& image, bool fullConvert) {
  return DBConvertText(ws, host, image, fullConvert, SystemListingStamp());
}
std::string ImageByteText(Variant variant, int offset) { return ImageByteLabel(variant, offset); }

}  // namespace velkor::editor
