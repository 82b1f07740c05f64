#pragma once
// The keyboard programming sheet: the key entries with which an installer
// puts a built image into the panel by hand. Every value comes back out of
// the image (FlashRead), so the sheet shows what the image holds.

#include <string>
#include <string_view>
#include <vector>

#include "host/host.h"
#include "image/image_map.h"
#include "model/variant.h"

namespace velkor {

struct PrgSheet {
  std::vector<std::string> Lines;  // Windows-1251
  int Step = 2;                    // number of the next step line of the block
  std::string Subheading;          // put before the next step line
  // Lines of an earlier sheet kept for their storage: a sheet rebuilt in
  // the same place allocates nothing once it has been built before.
  std::vector<std::string> Spare;
};

// Appends an empty line to the sheet and returns it.
std::string& NewPrgLine(PrgSheet& sheet);

// The block operations.
void VorsanPrgFileOpenBlock(PrgSheet& sheet, std::string_view title);
void VorsanPrgFileCreateLine(PrgSheet& sheet, std::string_view code, std::string_view element,
                             std::string_view parameter, std::string_view value, std::string_view description);
void VorsanPrgFileCreateLine(PrgSheet& sheet, int code, int element, int parameter, int value,
                             std::string_view description);
void VorsanPrgFileCloseBlock(PrgSheet& sheet);

// Empties the sheet and writes it from the built image `store`.
void BuildPrgSheet(PrgSheet& sheet, Host& host, const ImageArray& store, Variant variant);

}  // namespace velkor
