#pragma once
// The panel's 8192-byte configuration image: ten (legacy: eleven) sections
// of fixed-size records, the check byte, and the .ROM file that holds the
// image's first 8064 bytes raw.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "host/host.h"
#include "model/variant.h"

namespace velkor {

inline constexpr std::size_t kImageSize = 8192;
inline constexpr std::size_t kRomSize = 8064;      // bytes 0..8063 are written and saved
inline constexpr std::size_t kCheckByte = 8063;
inline constexpr std::size_t kOldCheckByte = 7167;  // images of the older layout

using ImageArray = std::array<std::uint8_t, kImageSize>;

enum ImageSection : int {
  SectionPanel = 0,
  SectionZones = 1,
  SectionGroups = 2,
  SectionOutputs = 3,
  SectionAdapters = 4,
  SectionSetInputs = 5,
  SectionKeyboards = 6,
  SectionIDReaders = 7,
  SectionModules = 8,
  SectionUsers = 9,
  SectionAccess = 10,  // legacy only: users' access configurations
};

struct SectionLayout {
  int RecordSize = 0;
  int Base = 0;
  int Records = 0;
  std::string_view Label;  // the memory view's label word, e.g. "Zones["
};

// Layout of a section, or nullptr for a section the variant does not have.
const SectionLayout* SectionOf(Variant variant, int section);
inline int SectionCount(Variant variant) { return variant == Variant::Legacy ? 11 : 10; }

// Offset of byte `byte` of record `record` of `section`; -1 when any index is
// outside the section (bit 7 of the section number is ignored).
int ImageOffset(Variant variant, int section, int record, int byte);

// Stores one byte into the image being built. A bad index stores nothing,
// shows "Ошибка номера записи или размера структуры при записи FLASH" and
// returns false.
bool FlashStore(Host& host, ImageArray& store, Variant variant, int section, int record, int byte,
                std::uint8_t value);
// Reads one byte back from the image being built; a bad index shows its
// message and gives 0.
std::uint8_t FlashRead(Host& host, const ImageArray& store, Variant variant, int section, int record,
                       int byte);

// CRC-8/MAXIM (Dallas 1-Wire): init 0, reflected polynomial 0x8C, no final
// inversion. The frames on the line use it as well.
std::uint8_t Crc8(std::span<const std::uint8_t> bytes);
std::uint8_t Crc8Update(std::uint8_t crc, std::uint8_t byte);

// Sets byte 8063 to the CRC of bytes 0..8062, as before sending to a panel.
void SetImageCheckByte(ImageArray& image);
// A read image is good when bytes 0..8063, or else bytes 0..7167, check to 0.
bool ImageCheckOk(const ImageArray& image);

// Writes bytes 0..8063 as a .ROM file (mode 0600, replacing an older file
// only once the new one is complete); "Ошибка записи файла" on failure.
bool WriteRomFile(Host& host, const std::string& path, const ImageArray& image);
// Reads a .ROM file of exactly 8064 bytes into bytes 0..8063; any other file
// gives "Ошибка чтения файла" and leaves the image untouched.
bool ReadRomFile(Host& host, const std::string& path, ImageArray& image);

}  // namespace velkor
