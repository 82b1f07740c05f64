#pragma once
// What each byte of a configuration image means, in the words the memory
// view uses: "PPK - Control canal time", "Groups[3] - Accessed keyboards",
// "Users[127] - Rights", "???" past the last section.

#include <string>

#include "model/variant.h"

namespace velkor {

// Label of the image byte at `offset` (ASCII). Offsets outside the sections
// (7844 and above, or negative) give "???".
std::string ImageByteLabel(Variant variant, int offset);

}  // namespace velkor
