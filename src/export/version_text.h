#pragma once
// The texts that date a structure listing and name the program that wrote
// it. Computed once per build by the caller and handed in, so that a build
// is a pure function of the database and these texts.

#include <ctime>
#include <string>

namespace velkor {

inline constexpr const char* kUndefinedVersion = "Undefined version";

struct ListingStamp {
  std::string Date;           // long date format of the system locale
  std::string Time;           // long time format of the system locale
  std::string Version;        // the About window's version text
  std::string VersionNumber;  // "major.minor" for the INI file
};

// "3.20" from the compiled-in version, or "Undefined version".
std::string ProgramVersionNumber();
// The executable's file date in the long date format, ",  ver. " and the
// version number; "Undefined version" when the file date cannot be read.
std::string ProgramVersionText();

// Date and time in the long formats of the system locale (Windows-1251;
// characters the code page lacks become '?', narrow blanks plain blanks).
std::string LongDateText(std::time_t when);
std::string LongTimeText(std::time_t when);

// The stamp of a build started now by this executable.
ListingStamp SystemListingStamp();

}  // namespace velkor
