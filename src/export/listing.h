#pragma once
// Lines of the structure listing that the image builder writes as it numbers
// the elements: the header, the categories with their element lines, the
// end, and the .LOG file.

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_log.h"
#include "export/version_text.h"
#include "model/elements.h"
#include "text/cp1251.h"

namespace velkor {

inline constexpr std::string_view kHeadingModules = "Категория \"МОДУЛИ\" (всего 3 максимум):"_w;
inline constexpr std::string_view kHeadingDevices =
    "Категория \"ФУНКЦИОНАЛЬНЫЕ УСТРОЙСТВА 485\" (всего 31 максимум):"_w;
inline constexpr std::string_view kHeadingUsers = "Категория \"ПОЛЬЗОВАТЕЛИ\" (всего 128 максимум):"_w;
inline constexpr std::string_view kHeadingKeyboards =
    "Категория \"УСТРОЙСТВА УПРАВЛЕНИЯ\" (всего 32 максимум):"_w;
inline constexpr std::string_view kHeadingGroups = "Категория \"ГРУППЫ\" (всего 128 максимум):"_w;
inline constexpr std::string_view kHeadingZones = "Категория \"ШЛЕЙФЫ\" (всего 128 максимум):"_w;
inline constexpr std::string_view kHeadingSetInputs = "Категория \"ВХОДЫ SET\" (всего 32 максимум):"_w;
inline constexpr std::string_view kHeadingReaders = "Категория \"ТМ СЧИТЫВАТЕЛИ\" (всего 32 максимум):"_w;
inline constexpr std::string_view kHeadingOutputs =
    "Категория \"УПРАВЛЯЕМЫЕ ВЫХОДЫ\" (реакции, всего 64 максимум):"_w;

// Date, time, version and the title lines, each group closed by a blank.
void ListingHeader(ExportLog& log, const ListingStamp& stamp);
// "Протокол связи:  " and the protocol's label, then a blank line.
void ListingProtocol(ExportLog& log, std::string_view protocolText);
// The closing rule and "Конец структуры".
void ListingEnd(ExportLog& log);

// One category: its heading at construction, then element lines; Close adds
// the "none" line when no element came, and the blank line.
class ListingCategory {
 public:
  ListingCategory(ExportLog& log, std::string_view heading);
  void Add(std::string line);
  void Close();

 private:
  ExportLog& log_;
  int lines_ = 0;
};

// A number in decimal without leading zeros, as a text that Cat takes
// without building a string of its own.
class Dec {
 public:
  explicit Dec(long long value) {
    auto [end, ec] = std::to_chars(buffer_, buffer_ + sizeof buffer_, value);
    (void)ec;
    size_ = static_cast<std::size_t>(end - buffer_);
  }
  operator std::string_view() const { return {buffer_, size_}; }  // NOLINT: implicit by design

 private:
  char buffer_[24];
  std::size_t size_ = 0;
};

// Joins texts (strings, views, literals) into one string.
template <class... Parts>
std::string Cat(const Parts&... parts) {
  std::string out;
  out.reserve((std::string_view(parts).size() + ...));
  (out.append(std::string_view(parts)), ...);
  return out;
}

// "ЭЛЕМЕНТ %3.3d: " with the number.
std::string ListingElement(int number);
// The line of an RS-485 device, columns padded to 26 and 44 characters.
std::string ListingDeviceLine(int record, std::string_view path, int netNumber, dword serialNumber);
// The line of a user with its access to groups.
std::string ListingUserLine(const TUser& user);

// Blanks appended until the text is `width` bytes long.
void PadRight(std::string& text, std::size_t width);

// Writes lines, each followed by CR LF, replacing the file; false when the
// file cannot be written (callers skip it without a message).
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace velkor
