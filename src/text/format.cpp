#include "text/format.h"

namespace velkor {

std::string PadNumber(long long value, int digits) {
  const bool negative = value < 0;
  unsigned long long magnitude =
      negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  std::string body = std::to_string(magnitude);
  if (static_cast<int>(body.size()) < digits)
    body.insert(0, static_cast<std::size_t>(digits) - body.size(), '0');
  return negative ? "-" + body : body;
}

}  // namespace velkor
