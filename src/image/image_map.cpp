#include "image/image_map.h"

#include <algorithm>

#include "files/file_io.h"
#include "text/cp1251.h"

namespace velkor {

namespace {

constexpr std::array<SectionLayout, 10> kCurrentSections = {{
    {128, 0, 1, "PPK"},
    {8, 128, 128, "Zones["},
    {13, 1152, 128, "Groups["},
    {4, 2816, 64, "Outputs["},
    {22, 3072, 34, "Adapters["},
    {3, 3820, 32, "SetInputs["},
    {3, 3916, 32, "Keyboards["},
    {3, 4012, 32, "IDReaders["},
    {8, 4108, 3, "BEs["},
    {29, 4132, 128, "Users["},
}};

constexpr SectionLayout kLegacyUsers{13, 4132, 128, "Users["};
constexpr SectionLayout kLegacyAccess{16, 5796, 128, "User Rigths["};

constexpr std::array<std::uint8_t, 256> MakeCrcTable() {
  std::array<std::uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) {
    auto crc = static_cast<std::uint8_t>(i);
    for (int bit = 0; bit < 8; ++bit)
      crc = static_cast<std::uint8_t>((crc & 1) ? (crc >> 1) ^ 0x8C : crc >> 1);
    table[static_cast<std::size_t>(i)] = crc;
  }
  return table;
}

constexpr std::array<std::uint8_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

const SectionLayout* SectionOf(Variant variant, int section) {
  if (section < 0) return nullptr;
  if (variant == Variant::Legacy) {
    if (section == SectionUsers) return &kLegacyUsers;
    if (section == SectionAccess) return &kLegacyAccess;
  }
  if (section >= static_cast<int>(kCurrentSections.size())) return nullptr;
  return &kCurrentSections[static_cast<std::size_t>(section)];
}

int ImageOffset(Variant variant, int section, int record, int byte) {
  const SectionLayout* s = SectionOf(variant, section & 0x7F);
  if (!s || record < 0 || record >= s->Records || byte < 0 || byte >= s->RecordSize) return -1;
  return s->Base + record * s->RecordSize + byte;
}

bool FlashStore(Host& host, ImageArray& store, Variant variant, int section, int record, int byte,
                std::uint8_t value) {
  int at = ImageOffset(variant, section, record, byte);
  if (at < 0) {
    ShowConversionError(host, "Ошибка номера записи или размера структуры при записи FLASH"_w);
    return false;
  }
  store[static_cast<std::size_t>(at)] = value;
  return true;
}

std::uint8_t FlashRead(Host& host, const ImageArray& store, Variant variant, int section, int record,
                       int byte) {
  int at = ImageOffset(variant, section, record, byte);
  if (at < 0) {
    ShowConversionError(host, "Ошибка номера записи или размера структуры при чтении FLASH"_w);
    return 0;
  }
  return store[static_cast<std::size_t>(at)];
}

std::uint8_t Crc8Update(std::uint8_t crc, std::uint8_t byte) { return kCrcTable[crc ^ byte]; }

std::uint8_t Crc8(std::span<const std::uint8_t> bytes) {
  std::uint8_t crc = 0;
  for (std::uint8_t b : bytes) crc = kCrcTable[crc ^ b];
  return crc;
}

void SetImageCheckByte(ImageArray& image) {
  image[kCheckByte] = Crc8(std::span(image.data(), kCheckByte));
}

bool ImageCheckOk(const ImageArray& image) {
  return Crc8(std::span(image.data(), kCheckByte + 1)) == 0 ||
         Crc8(std::span(image.data(), kOldCheckByte + 1)) == 0;
}

bool WriteRomFile(Host& host, const std::string& path, const ImageArray& image) {
  if (!WriteFileAtomically(path, std::span(image.data(), kRomSize))) {
    ShowError(host, "Ошибка записи файла"_w);
    return false;
  }
  return true;
}

bool ReadRomFile(Host& host, const std::string& path, ImageArray& image) {
  auto bytes = ReadWholeFile(path, kRomSize + 1);
  if (!bytes || bytes->size() != kRomSize) {
    ShowError(host, "Ошибка чтения файла"_w);
    return false;
  }
  std::copy(bytes->begin(), bytes->end(), image.begin());
  return true;
}

}  // namespace velkor
