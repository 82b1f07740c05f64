#include "export/version_text.h"

#include <sys/stat.h>

#include <memory>
#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include "text/cp1251.h"

namespace velkor {

namespace {

std::string FormatWith(icu::DateFormat* format, std::time_t when) {
  if (!format) return {};
  icu::UnicodeString text;
  format->format(static_cast<UDate>(when) * 1000.0, text);
  // Recent locale data puts narrow no-break spaces before "AM"/"PM" and
  // similar marks; the code page has no such character.
  text.findAndReplace(icu::UnicodeString(static_cast<UChar32>(0x202F)), icu::UnicodeString(" "));
  text.findAndReplace(icu::UnicodeString(static_cast<UChar32>(0x2009)), icu::UnicodeString(" "));
  std::string utf8;
  text.toUTF8String(utf8);
  return Utf8ToCp1251Lossy(utf8);
}

}  // namespace

std::string LongDateText(std::time_t when) {
  std::unique_ptr<icu::DateFormat> f(icu::DateFormat::createDateInstance(icu::DateFormat::kLong));
  return FormatWith(f.get(), when);
}

std::string LongTimeText(std::time_t when) {
  // The medium style is hours, minutes and seconds without a zone name: the
  // long time of the desktop systems the listing's readers know.
  std::unique_ptr<icu::DateFormat> f(icu::DateFormat::createTimeInstance(icu::DateFormat::kMedium));
  return FormatWith(f.get(), when);
}

std::string ProgramVersionNumber() {
#ifdef VELKOR_VERSION
  const std::string full = VELKOR_VERSION;
  const auto first = full.find('.');
  if (first == std::string::npos) return kUndefinedVersion;
  const auto second = full.find('.', first + 1);
  return full.substr(0, second);
#else
  return kUndefinedVersion;
#endif
}

std::string ProgramVersionText() {
  const std::string number = ProgramVersionNumber();
  struct stat st {};
  if (number == kUndefinedVersion || ::stat("/proc/self/exe", &st) != 0) return kUndefinedVersion;
  return LongDateText(st.st_mtime) + ",  ver. " + number;
}

ListingStamp SystemListingStamp() {
  const std::time_t now = std::time(nullptr);
  return {LongDateText(now), LongTimeText(now), ProgramVersionText(), ProgramVersionNumber()};
}

}  // namespace velkor
