#include "image/build_command.h"

#include <unistd.h>

namespace velkor {

ExportFileNames ExportFileNamesFrom(const std::string& chosen) {
  const std::size_t slash = chosen.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = chosen.find('.', nameStart);
  const std::string base = chosen.substr(0, dot == std::string::npos ? chosen.size() : dot);
  return {base + ".rom", base + ".ini", base + ".log", base + ".prg"};
}

bool BuildImageWithExports(Workspace& ws, Host& host, BuildSettings settings, const ListingStamp& stamp,
                           const ExportFileNames& names) {
  settings.LogFileName = names.Log;
  settings.PrgFileName = names.Prg;
  IniFile ini;
  // Only a file this build created is removed after a failure: a name that
  // could not be created may belong to someone else.
  const bool iniCreated = settings.IniExport && ini.Create(names.Ini);
  bool ok = false;
  auto cleanUp = [&] {
    host.ConvertEnd();
    if (!ok) ExportLogClear(ws.exportLog);
    ini.Close();
    if (iniCreated && !ok) ::unlink(names.Ini.c_str());
  };
  host.ConvertBegin();
  try {
    ok = DBConvertToPPK(ws, host, settings, stamp, iniCreated ? &ini : nullptr);
  } catch (...) {
    cleanUp();
    throw;
  }
  cleanUp();
  return ok;
}

bool SaveRomWithExports(Workspace& ws, Host& host, const BuildSettings& settings, const ListingStamp& stamp,
                        const ExportFileNames& names) {
  const bool written =
      BuildImageWithExports(ws, host, settings, stamp, names) && WriteRomFile(host, names.Rom, ws.DBStoreArray);
  if (!written) ShowWarning(host, "База данных в файл не сохранена"_w);
  return written;
}

}  // namespace velkor
