#pragma once
// The order in which tree nodes are sorted by caption. Captions are compared
// as the desktop's word sort does: locale-aware, case-sensitive (lower case
// before upper), digits before letters, Latin before Cyrillic, with hyphens
// and apostrophes ignored unless they are the only difference.

#include <string_view>

namespace velkor {

// < 0, 0 or > 0 as caption a (Windows-1251) sorts before, with or after b.
int CaptionCompare(std::string_view a, std::string_view b);

inline bool CaptionLess(std::string_view a, std::string_view b) { return CaptionCompare(a, b) < 0; }

}  // namespace velkor
