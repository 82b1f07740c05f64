#pragma once
// Building an image with its exports, as every front end does it: the
// "save as .ROM" and "write to the panel" commands of the editor, and the
// command line.

#include <string>

#include "image/builder.h"

namespace velkor {

struct ExportFileNames {
  std::string Rom, Ini, Log, Prg;
};

// The four names from one chosen file: its name (without the folder) cut
// before its first ".", the folder put back, and ".rom", ".ini", ".log",
// ".prg" appended.
ExportFileNames ExportFileNamesFrom(const std::string& chosen);

// Runs the builder inside the conversion window. With INI export on, the
// INI file is created before and deleted after a failed build; a failed
// build also empties the listing. The LOG and PRG names are taken from
// `names`, whatever `settings` holds.
bool BuildImageWithExports(Workspace& ws, Host& host, BuildSettings settings, const ListingStamp& stamp,
                           const ExportFileNames& names);

// Builds with exports and saves bytes 0..8063 of the image as names.Rom.
// When no file was written: "База данных в файл не сохранена".
bool SaveRomWithExports(Workspace& ws, Host& host, const BuildSettings& settings, const ListingStamp& stamp,
                        const ExportFileNames& names);

}  // namespace velkor
