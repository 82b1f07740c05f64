#pragma once
// Zero-padded decimal numbers, the "%2.2d", "%3.3d" and "%5.5d" of captions,
// listings and serial numbers.

#include <string>

namespace velkor {

// printf's "%W.Wd": at least `digits` digits, a minus sign in front of them.
std::string PadNumber(long long value, int digits);

inline std::string Fmt2(long long value) { return PadNumber(value, 2); }
inline std::string Fmt3(long long value) { return PadNumber(value, 3); }
inline std::string Fmt5(long long value) { return PadNumber(value, 5); }

}  // namespace velkor
