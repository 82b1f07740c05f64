#pragma once
// Node captions of both trees (Windows-1251).

#include <string>

#include "model/database.h"
#include "text/cp1251.h"

namespace velkor {

inline constexpr std::string_view kPanelCaption = "ППК Ворсан"_w;
inline constexpr std::string_view kRoomsCaption = "Помещения"_w;

// Label of a module or bus device type from its catalogue; empty for a code
// the catalogue lacks.
std::string_view AdapterLabel(Variant variant, const TAdapter& adapter);

// Caption of an element's node in the hardware tree.
std::string HardwareCaption(Variant variant, const Element& element);
// Caption of an element's node in the rooms tree.
std::string RoomsCaption(const Element& element);

// Keeps the base module's caption (and, in the legacy program, the keyboard
// module's) in step with Module16Zones: the label followed by "8" or "16".
void RefreshModuleCaptions(Database& db);

}  // namespace velkor
