#include "model/registry.h"

#include <string_view>

#include "text/cp1251.h"

namespace velkor {

int ElementRegistry::Capacity(int section) {
  switch (section) {
    case 1: return 128;
    case 2: return 128;
    case 3: return 64;
    case 4: return 34;
    case 5: return 32;
    case 6: return 32;
    case 7: return 32;
    case 9: return 128;
    default: return 0;
  }
}

bool ElementRegistry::DBRegister(int section, Node* node, Element* element, int number) {
  section %= 128;
  const int capacity = Capacity(section);
  if (capacity == 0) return false;
  auto& table = tables_[static_cast<std::size_t>(section)];
  if (static_cast<int>(table.size()) >= capacity) return false;
  table.push_back({node, element, number});
  return true;
}

void ElementRegistry::Clear() {
  for (auto& t : tables_) t.clear();
}

const std::vector<RegistryEntry>& ElementRegistry::Entries(int section) const {
  static const std::vector<RegistryEntry> kNone;
  section %= 128;
  if (Capacity(section) == 0) return kNone;
  return tables_[static_cast<std::size_t>(section)];
}

const RegistryEntry* ElementRegistry::FindByObject(int section, const void* object) const {
  if (!object) return nullptr;
  for (const auto& e : Entries(section))
    if (e.element && ElementObject(*e.element) == object) return &e;
  return nullptr;
}

const RegistryEntry* ElementRegistry::FindByNumber(int section, int number) const {
  for (const auto& e : Entries(section))
    if (e.number == number) return &e;
  return nullptr;
}

namespace {

constexpr int kAdapterRecords = 34;

// Keeps the (first, count) pair at image[at], image[at + 1].
bool AttachConsecutive(ImageArray& store, int at, int number) {
  std::uint8_t& first = store[static_cast<std::size_t>(at)];
  std::uint8_t& count = store[static_cast<std::size_t>(at) + 1];
  if (count == 0) {
    first = static_cast<std::uint8_t>(number);
    count = 1;
    return true;
  }
  if (number != first + count) return false;
  ++count;
  return true;
}

bool AttachToDevice(Host& host, ImageArray& store, int adapter, int number, int limit, int pairByte,
                    bool single, std::string_view message) {
  bool ok = adapter >= 0 && adapter < kAdapterRecords && number >= 0 && number < limit;
  if (ok) {
    const int at = ImageOffset(Variant::Current, SectionAdapters, adapter, pairByte);
    if (single && store[static_cast<std::size_t>(at) + 1] != 0)
      ok = false;
    else
      ok = AttachConsecutive(store, at, number);
  }
  if (!ok) ShowConversionError(host, message);
  return ok;
}

}  // namespace

bool BEAttachAdapter(Host& host, ImageArray& store, int Module, int Adapter) {
  bool ok = Module >= 0 && Module <= 2 && Adapter >= 0 && Adapter < kAdapterRecords;
  if (ok) {
    const int at = ImageOffset(Variant::Current, SectionModules, Module, 1);
    const std::uint8_t count = store[static_cast<std::size_t>(at) + 1];
    const int limit = Module == 0 ? 32 : 1;
    ok = count < limit && AttachConsecutive(store, at, Adapter);
  }
  if (!ok) ShowConversionError(host, "Ошибка добавления адаптера к шинному расширителю"_w);
  return ok;
}

bool AdapterAttachZone(Host& host, ImageArray& store, int Adapter, int Zone) {
  return AttachToDevice(host, store, Adapter, Zone, 128, 3, false, "Ошибка добавления шлейфа к адаптеру"_w);
}

bool AdapterAttachOutput(Host& host, ImageArray& store, int Adapter, int Output) {
  return AttachToDevice(host, store, Adapter, Output, 64, 5, false,
                        "Ошибка добавления управляемого выхода к адаптеру"_w);
}

bool AdapterAttachSetInput(Host& host, ImageArray& store, int Adapter, int SetInput) {
  return AttachToDevice(host, store, Adapter, SetInput, 32, 7, false,
                        "Ошибка добавления входа SET к адаптеру"_w);
}

bool AdapterAttachKeyboard(Host& host, ImageArray& store, int Adapter, int Keyboard) {
  return AttachToDevice(host, store, Adapter, Keyboard, 32, 9, true,
                        "Ошибка добавления клавиатуры к адаптеру"_w);
}

bool AdapterAttachIDReader(Host& host, ImageArray& store, int Adapter, int Reader) {
  return AttachToDevice(host, store, Adapter, Reader, 32, 11, false,
                        "Ошибка добавления ТМ считывателя к адаптеру"_w);
}

}  // namespace velkor
