#pragma once
// The database file: no header, no count, no trailer; one record per element
// of both trees, in tree order, each a tag byte and a body whose size the tag
// fixes. References between elements are written as the 1-based number of
// the referenced element's record. Older builds wrote the panel, outputs and
// groups in shorter forms; the tag alone tells which.
//
// The codec works on byte buffers; DBConvertToFile and DBConvertFromFile are
// the thin wrappers that take a path.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/host.h"
#include "model/workspace.h"

namespace velkor {

// The writer's element table holds this many entries at most.
inline constexpr std::size_t kDcfTableCapacity = 547;
// The reader accepts at most this many records.
inline constexpr std::size_t kDcfMaxRecords = 546;
// The largest record is a user: tag byte and 685 body bytes.
inline constexpr std::size_t kDcfMaxFileSize = kDcfMaxRecords * (1 + 685);

// Record tags.
enum DcfTag : std::uint8_t {
  kTagPanelV0 = 0,
  kTagAdapter = 1,
  kTagZone = 2,
  kTagOutputV3 = 3,
  kTagSetInput = 4,
  kTagIDReader = 5,
  kTagUser = 6,
  kTagGroupV7 = 7,
  kTagPanelV10 = 10,
  kTagOutput = 13,
  kTagGroup = 17,
  kTagPanelV20 = 20,
  kTagPanel = 30,
};

// Body size of a tag the variant reads, 0 for a tag it does not.
std::size_t DcfBodySize(Variant variant, int tag);

// The tags the variant writes for the panel, outputs and groups (the other
// classes have one tag only).
struct DcfWriteTags {
  std::uint8_t panel;
  std::uint8_t output;
  std::uint8_t group;
};
DcfWriteTags DcfTagsWritten(Variant variant);

// The whole database as file bytes, moving the conversion window's bar from
// 0 to 100. False (and `out` unspecified) when the database holds more
// elements than the element table takes.
bool EncodeDcf(const Database& db, Host& host, std::vector<std::uint8_t>& out);

// Replaces the workspace's database by the one in `bytes`. On a malformed
// file: "Ошибка чтения файла", false, and no database at all. When the
// conversion window's "Отменить" is pressed: false, no database, no message.
// Shows the version warnings of older records, once per kind.
bool DecodeDcf(Workspace& ws, Host& host, std::span<const std::uint8_t> bytes);

// The name a chosen file is saved under: Latin capitals of the file name
// lower-cased, and ".dcf" appended unless the name's first ".dcf" ends it.
// The folders of the path are kept as given.
std::string DcfFileName(std::string_view chosen);

// Saves the database under DcfFileName(path), replacing an older file only
// once the new one is complete; the file is readable by its owner only.
// "Ошибка записи файла" on failure.
bool DBConvertToFile(Workspace& ws, Host& host, const std::string& path);

// Loads a database file into the workspace (see DecodeDcf); a file that
// cannot be read, or is larger than any valid one, fails like a malformed one.
// The caller runs ProcessDataBase and shows the cards afterwards.
bool DBConvertFromFile(Workspace& ws, Host& host, const std::string& path);

}  // namespace velkor
