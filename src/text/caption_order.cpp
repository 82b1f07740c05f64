#include "text/caption_order.h"

#include <memory>
#include <stdexcept>

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include "text/cp1251.h"

namespace velkor {

namespace {

// ICU's root collation at tertiary strength is the closest public match for
// the desktop word sort; a national tailoring would move Latin after
// Cyrillic, and numeric mode would change the order of padded numbers.
const icu::Collator& RootCollator() {
  static const std::unique_ptr<icu::Collator> collator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !c) throw std::runtime_error("ICU collator unavailable");
    c->setStrength(icu::Collator::TERTIARY);
    return c;
  }();
  return *collator;
}

icu::UnicodeString ToUnicode(std::string_view cp1251, bool dropWordPunctuation) {
  icu::UnicodeString out;
  for (char ch : cp1251) {
    auto b = static_cast<unsigned char>(ch);
    if (dropWordPunctuation && (b == '-' || b == '\'')) continue;
    out.append(static_cast<UChar32>(b < 0x80 ? char32_t{b} : kCp1251High[b - 0x80]));
  }
  return out;
}

}  // namespace

int CaptionCompare(std::string_view a, std::string_view b) {
  const icu::Collator& coll = RootCollator();
  UErrorCode status = U_ZERO_ERROR;
  UCollationResult r = coll.compare(ToUnicode(a, true), ToUnicode(b, true), status);
  if (r == UCOL_EQUAL) r = coll.compare(ToUnicode(a, false), ToUnicode(b, false), status);
  if (r == UCOL_EQUAL) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
  return r == UCOL_LESS ? -1 : 1;
}

}  // namespace velkor
