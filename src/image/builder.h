#pragma once
// The image builder: checks the database, numbers its elements per image
// section, fills DBStoreArray and writes the structure listing, the INI
// description and the keyboard programming sheet as it goes.

#include <string>

#include "export/ini_export.h"
#include "export/version_text.h"
#include "host/host.h"
#include "model/workspace.h"

namespace velkor {

// What the builder reads from the settings tab and the cards.
struct BuildSettings {
  bool FullConvert = true;   // "Преобразование в \"ROM\"-формат с полной проверкой базы"
  bool IniExport = false;    // the INI lines go to the sink handed to the build
  bool LogExport = false;    // the listing is saved as LogFileName
  bool PrgExport = false;    // the sheet is saved as PrgFileName
  bool Controller = false;   // the module card's "Фильтрация извещений снятых групп"
  std::string ProtocolText;  // the protocol combo's selected label (Windows-1251)
  std::string LogFileName;
  std::string PrgFileName;
};

// The label that the panel card's protocol combo shows for the panel's
// protocol in the list in force (the full list while the service mode is
// on); empty when that list has no such code.
std::string SelectedProtocolText(const Workspace& ws);
// Settings taken from the editor state, with every export off.
BuildSettings SettingsFromEditor(const Workspace& ws);

// The adapter's SA type code (byte 16 of its record), 0 when it has none.
int SaTypeCode(const TAdapter& adapter, bool module16Zones);
// The adapter record of an adapter of SA type `sa` in module pass `pass`
// (0 the base module and the bus, 1 the second module, 2 the third), or -1
// when that pass leaves it out. Pass 0 hands out nextBusRecord and counts it on.
int AdapterRecordInPass(int pass, int sa, int& nextBusRecord);
// The keyboard type code of a keyboard's record.
int KeyboardTypeCode(const TAdapter& adapter, bool module16Zones);

// Builds ws.DBStoreArray, ws.registry, ws.exportLog and ws.prgSheet from
// ws.db. False when a check failed (its message shown), a question was
// answered No, the host asked to cancel, or a numbering table was full.
// `ini` receives the INI lines when settings.IniExport is on; it may be
// null when the caller could not create the file.
bool DBConvertToPPK(Workspace& ws, Host& host, const BuildSettings& settings, const ListingStamp& stamp,
                    IniSink* ini);

}  // namespace velkor
