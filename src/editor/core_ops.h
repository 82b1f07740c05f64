#pragma once
// The core operations the editor's commands call, in the shape the commands
// need them (paths already in the system's encoding).

#include <string>

#include "host/host.h"
#include "link/transfers.h"
#include "model/workspace.h"

namespace velkor::editor {

// What the image builder reads from the settings tab, and the export names.
struct BuildRequest {
  bool FullConvert = true;
  bool LogExport = false;
  bool IniExport = false;
  bool PrgExport = false;
  std::string LogFileName, IniFileName, PrgFileName;
};

// Steps 2 and 3 of building an image with exports, without the window work:
// the INI file created, DBConvertToPPK, and the clean-up of a failed build
// (listing emptied, INI file deleted). The conversion window is shown
// around the build.
bool RunImageBuild(Workspace& ws, Host& host, const BuildRequest& request);

// Loads a .DCF file (the database is replaced).
bool LoadDatabaseFile(Workspace& ws, Host& host, const std::string& path);
// Saves the database as a .DCF file.
bool SaveDatabaseFile(Workspace& ws, Host& host, const std::string& path);
// Loads a .ROM file; false has already said "База данных из файла не загружена".
bool LoadRomFile(Workspace& ws, Host& host, const std::string& path);
// After a panel read: the database from DBReadArray; false leaves it erased.
bool LoadFromReadArray(Workspace& ws, Host& host);
// The text image for "Запись текстов в ППК"; false when it failed.
bool BuildTextImage(Workspace& ws, Host& host, TextImageArray& image, bool fullConvert);
// The meaning of an image byte, for the memory view.
std::string ImageByteText(Variant variant, int offset);

}  // namespace velkor::editor
