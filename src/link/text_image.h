#pragma once
// The panel's display texts: the names of users, groups, zones and RS-485
// devices as a 12450-byte image of 415 records of 30 bytes, numbered as the
// configuration image numbers the same elements.

#include <string>
#include <string_view>

#include "export/version_text.h"
#include "host/host.h"
#include "link/transfers.h"
#include "model/workspace.h"

namespace velkor {

inline constexpr std::size_t kTextRecordSize = 30;
inline constexpr std::size_t kTextNameSize = 26;

struct TextCategory {
  int Code;     // byte 0 of each record
  int Offset;   // of its first record in the image
  int Records;
};
inline constexpr TextCategory kTextUsers{1, 0, 128};
inline constexpr TextCategory kTextGroups{2, 3840, 128};
inline constexpr TextCategory kTextZones{3, 7680, 128};
inline constexpr TextCategory kTextDevices{4, 11520, 31};

// A name as the panel's displays show it: upper case, Cyrillic without
// ё/і/ї/є distinctions they cannot draw (Windows-1251 in and out).
std::string PanelText(std::string_view name);

// Builds TextImage and the structure listing (ws.exportLog) from ws.db,
// numbering through ws.registry and storing the numbered records' bytes
// into ws.DBStoreArray. Reports in the conversion window; false after an
// error box, a cancel, or a full numbering table. `fullConvert` is the
// settings tab's full-check box (duplicate room numbers).
bool DBConvertText(Workspace& ws, Host& host, TextImageArray& TextImage, bool fullConvert,
                   const ListingStamp& stamp);

}  // namespace velkor
