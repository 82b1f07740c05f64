#include "link/text_image.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "export/listing.h"
#include "image/builder.h"
#include "model/catalogues.h"
#include "model/database.h"

namespace velkor {

std::string PanelText(std::string_view name) {
  std::string out(name);
  for (char& ch : out) {
    auto c = static_cast<unsigned char>(ch);
    if (c >= 0x61 && c <= 0x7A) c &= 0xDF;
    if (c >= 0xE0) c &= 0xDF;
    if (c == 0xB8 || c == 0xA8) c = 0xC5;
    if (c == 0xB3 || c == 0xB2) c = 0x49;
    if (c == 0xBF) c = 0xAF;
    if (c == 0xBA) c = 0xAA;
    ch = static_cast<char>(c);
  }
  return out;
}

namespace {

std::string N(long long v) { return std::to_string(v); }

template <class T>
std::vector<std::pair<Node*, T*>> ChildrenOf(const Node* parent) {
  std::vector<std::pair<Node*, T*>> out;
  if (parent == nullptr) return out;
  for (const auto& child : parent->Children)
    if (T* element = child->As<T>()) out.emplace_back(child.get(), element);
  return out;
}

// "Номер помещения" as the panel takes it: decimal digits only, 1..65535.
std::optional<long> RoomNumberOf(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v < 1 || v > 65535) return std::nullopt;
  return v;
}

class TextBuilder {
 public:
  TextBuilder(Workspace& ws, Host& host, TextImageArray& image, bool fullConvert, const ListingStamp& stamp)
      : ws_(ws), db_(ws.db), host_(host), image_(image), fullConvert_(fullConvert), stamp_(stamp) {}

  bool Run() {
    Header();
    ws_.registry.Clear();
    std::fill(ws_.DBStoreArray.begin(), ws_.DBStoreArray.begin() + static_cast<long>(kRomSize), 0);
    BlankImage();
    host_.ConvertStep("Проверка конфигурации..."_w);
    if (Cancelled() || !Checks() || !ModuleRecords()) return false;
    if (!Devices() || !Users() || !Groups() || !Zones()) return false;
    host_.ConvertPosition(90);
    host_.ConvertStep("");
    host_.ConvertElement("");
    ListingEnd(ws_.exportLog);
    host_.ConvertPosition(100);
    host_.Pause(100);
    return true;
  }

 private:
  bool Cancelled() { return host_.ConvertCancelled(); }
  bool Fail(std::string_view text) {
    ShowConversionError(host_, text);
    return false;
  }
  bool Store(int section, int record, int b, unsigned value) {
    return FlashStore(host_, ws_.DBStoreArray, ws_.variant, section, record, b, static_cast<std::uint8_t>(value));
  }

  void Header() {
    ExportLog& log = ws_.exportLog;
    ExportLogClear(log);
    ExportLogAddLine(log, std::string("Дата:  "_w) + stamp_.Date);
    ExportLogAddLine(log, std::string("Время:  "_w) + stamp_.Time);
    ExportLogAddLine(log, std::string("Версия программы:  "_w) + stamp_.Version);
    ExportLogAddLine(log, "");
    ExportLogAddLine(log, "Запись текстовой информации из базы данных ППК по категориям элементов"_w);
    ExportLogAddLine(log, std::string(110, '-'));
    ExportLogAddLine(log, "");
  }

  void BlankImage() {
    image_.fill(0);
    for (const TextCategory& c : {kTextUsers, kTextGroups, kTextZones, kTextDevices})
      for (int r = 0; r < c.Records; ++r) {
        std::uint8_t* rec = Record(c, r);
        rec[0] = static_cast<std::uint8_t>(c.Code);
        rec[1] = static_cast<std::uint8_t>(r);
        std::fill(rec + 4, rec + kTextRecordSize, 0x20);
      }
  }

  std::uint8_t* Record(const TextCategory& c, int index) {
    return image_.data() + c.Offset + static_cast<long>(index) * static_cast<long>(kTextRecordSize);
  }

  // Fills a record; an index outside the category (a database the editor
  // would not let one make) writes nothing.
  void Fill(const TextCategory& c, int index, unsigned first, unsigned second, std::string_view converted) {
    if (index < 0 || index >= c.Records) return;
    std::uint8_t* rec = Record(c, index);
    rec[2] = static_cast<std::uint8_t>(first);
    rec[3] = static_cast<std::uint8_t>(second);
    const std::size_t n = std::min(converted.size(), kTextNameSize);
    std::copy(converted.begin(), converted.begin() + static_cast<long>(n), rec + 4);
  }

  bool Checks() {
    if (db_.Hardware.Empty() || db_.Rooms.Empty() || db_.Panel() == nullptr || db_.BaseModule() == nullptr ||
        db_.Rs485Node == nullptr || db_.RoomsNode == nullptr ||
        (db_.KeyboardModuleNode != nullptr && db_.KeyboardModuleNode->As<TAdapter>() == nullptr))
      return Fail("Неполная база данных, преобразование невозможно"_w);
    users_ = ChildrenOf<TUser>(db_.RoomsNode);
    groups_ = ChildrenOf<TGroup>(db_.RoomsNode);
    const TUser* admin = nullptr;
    for (const auto& [node, user] : users_)
      if (user->Number == 1) {
        admin = user;
        break;
      }
    if (admin == nullptr) return Fail("Неполная база данных, отсутствует администратор"_w);
    if (admin->PinCode.empty()) return Fail("Неполная база данных, отсутствует PIN-код администратора"_w);
    if (groups_.empty()) return Fail("Неполная база данных, отсутствуют группы"_w);

    for (const auto& [node, group] : groups_) {
      const std::string number = N(group->Number);
      if (group->Number > 128) return Fail(Cat("Группа "_w, number, " - неправильный номер группы"_w));
      if (node->Children.empty()) return Fail(Cat("Группа "_w, number, " пуста"_w));
      bool inputs = false;
      for (const auto& child : node->Children) {
        if (child->As<TSetInput>() != nullptr || child->As<TIDReader>() != nullptr)
          inputs = true;
        else if (child->As<TZone>() == nullptr)
          return Fail(Cat("Группа "_w, number, " содержит неподдерживаемый конвертером тип элемента"_w));
      }
      if (inputs || group->KeyboardAccess == 0) continue;
      auto first = std::find_if(group->Keyboards.begin(), group->Keyboards.end(),
                                [](const TAdapter* k) { return k != nullptr; });
      if (first != group->Keyboards.end() && (*first)->IsKeyboard == 0)
        return Fail(Cat("Группа "_w, number, " содержит ошибку в ссылке на клавиатуру"_w));
    }

    TPPK& c = *db_.Panel();
    const int p = c.Protocol;
    if (p > 8 && p != 10 && p != 11 && p != 12 && p != 14)
      return Fail("Неподдерживаемый конвертером режим работы ППК."_w);
    if (!PanelCardOk(c)) return Fail("Неполная база данных, неправильно или неполностью заполнена карточка ППК"_w);
    return true;
  }

  bool PanelCardOk(TPPK& c) {
    const int p = c.Protocol;
    if (p == 2 || p == 7) {
      if (c.PcoDbNumber < 1 || c.PcoDbNumber > 1000) return false;
      if (c.NetNumber < 1 || c.NetNumber > 128) return false;
      if (c.RadioWaitTime < 2 || c.RadioWaitTime > 60000) return false;
    }
    if ((p == 2 || p == 4 || p == 7 || p == 8 || p == 10 || p == 12) && c.ConnectReasons != 0 && c.ConnectTimeOut < 5)
      return false;
    if (p == 8) {
      c.CardPinCode = TPPK(ws_.variant).CardPinCode;
      auto phone = [](std::string_view t) {
        return t.size() == 13 && t[0] == '+' &&
               std::all_of(t.begin() + 1, t.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
      };
      if (!phone(c.PcnMobileNumber) || !phone(c.SmsCenterNumber)) return false;
    }
    if (p == 10 && (c.RadioAddressPco.empty() || c.RadioAddressPpk.empty())) return false;
    if (p == 11 && c.SrpNumber.size() != 14) return false;
    return true;
  }

  bool ModuleRecord(int record, int beType, const TAdapter& module) {
    if (module.SerialNumber == 0)
      return Fail(Cat("Ошибка серийного номера модуля "_w,
                      CatalogueLabel(CataloguesFor(ws_.variant).Modules, module.DeviceType)));
    if (!Store(SectionModules, record, 0, 1) || !Store(SectionModules, record, 3, static_cast<unsigned>(beType)))
      return false;
    for (int i = 0; i < 4; ++i)
      if (!Store(SectionModules, record, 4 + i, (module.SerialNumber >> (8 * i)) & 0xFFu)) return false;
    return true;
  }

  bool ModuleRecords() {
    const TAdapter* base = db_.BaseModule();
    const TAdapter* second = db_.KeyboardModuleNode ? db_.KeyboardModuleNode->As<TAdapter>() : nullptr;
    if (!ModuleRecord(0, 1, *base)) return false;
    if (second != nullptr && !ModuleRecord(1, 2, *second)) return false;
    for (const auto& [node, module] : ChildrenOf<TAdapter>(db_.PanelNode)) {
      if (module == base || module == second) continue;
      hasThird_ = true;
      if (!ModuleRecord(2, module->DeviceType == 4 ? 3 : 4, *module)) return false;
    }
    return true;
  }

  bool Devices() {
    host_.ConvertPosition(20);
    host_.ConvertStep("Создание структур адаптеров..."_w);
    ListingCategory category(ws_.exportLog, kHeadingDevices);
    const std::vector<Node*> nodes = NodesInIndexOrder(db_.Hardware);
    int next = 0;
    for (int walk = 0; walk < (hasThird_ ? 3 : 2); ++walk) {
      for (Node* node : nodes) {
        TAdapter* a = node->As<TAdapter>();
        if (a == nullptr) continue;
        if (Cancelled()) return false;
        const int sa = SaTypeCode(*a, db_.Module16Zones);
        if (sa == 0) return Fail("Присутствует неподдерживаемый конвертером тип СА"_w);
        const int number = AdapterRecordInPass(walk, sa, next);
        if (number < 0) continue;
        if (!ws_.registry.DBRegister(SectionAdapters, node, node->Data, number)) return false;
        if (a->Placement == 1) {
          const std::string location = PanelText(a->Location);
          Fill(kTextDevices, a->NetNumber - 1, a->NetNumber - 1u, static_cast<unsigned>(sa), location);
          category.Add(Cat("Сетевой адрес "_w, FormatElementPath(db_, 1, 4, 0, a), " - ", location));
        }
        host_.ConvertElement(Cat("элемент "_w, N(number + 1)));
      }
    }
    category.Close();
    return true;
  }

  bool Users() {
    host_.ConvertPosition(40);
    host_.ConvertStep("Создание структур пользователей..."_w);
    ListingCategory category(ws_.exportLog, kHeadingUsers);
    for (const auto& [node, user] : users_) {
      if (Cancelled()) return false;
      const int record = user->Number - 1;
      const std::string fio = PanelText(user->Fio);
      Fill(kTextUsers, record, 0, 0, fio);
      std::string line = Cat("Пользователь "_w, N(user->Number), " - ");
      if (!fio.empty()) line += Cat(" ", fio);
      if (user->Number == 1) line += " (администратор)"_w;
      category.Add(std::move(line));
      // A user's rights are not part of the texts: zero, as in a fresh image.
      for (int b = 13; b <= 28; ++b)
        if (!Store(SectionUsers, record, b, 0)) return false;
      if (!ws_.registry.DBRegister(SectionUsers, node, node->Data, record)) return false;
      host_.ConvertElement(Cat("элемент "_w, N(user->Number)));
    }
    category.Close();
    return true;
  }

  bool Groups() {
    host_.ConvertPosition(60);
    host_.ConvertStep("Создание структур групп..."_w);
    ListingCategory category(ws_.exportLog, kHeadingGroups);
    for (const auto& [node, group] : groups_) {
      if (Cancelled()) return false;
      const std::string number = N(group->Number);
      const std::optional<long> room = RoomNumberOf(group->RoomNumber);
      if (!room) return Fail(Cat("Неправильно указан номер помещения в группе "_w, number));
      if (fullConvert_)
        for (const auto& [otherNode, other] : groups_)
          if (other != group && std::string_view(other->RoomNumber) == std::string_view(group->RoomNumber))
            return Fail(Cat("Номер помещения, указанный в группе "_w, number, " уже задействован"_w));
      const int record = group->Number - 1;
      const std::string name = PanelText(group->Name);
      Fill(kTextGroups, record, static_cast<unsigned>(*room) & 0xFFu, static_cast<unsigned>(*room) >> 8, name);
      std::string line = Cat("Группа "_w, number, ", номер помещения "_w, N(*room), " - ");
      if (!name.empty()) line += Cat(" ", name);
      category.Add(std::move(line));
      if (!GroupRecord(*node, *group, record, static_cast<unsigned>(*room))) return false;
      if (!ws_.registry.DBRegister(SectionGroups, node, node->Data, record)) return false;
      host_.ConvertElement(Cat("элемент "_w, number));
    }
    category.Close();
    return true;
  }

  // The group's record in the configuration image as far as the text build
  // knows it; keyboards are not numbered here, so their mask stays zero.
  bool GroupRecord(const Node& node, const TGroup& g, int record, unsigned room) {
    bool set = false, reader = false;
    for (const auto& child : node.Children) {
      set = set || child->As<TSetInput>() != nullptr;
      reader = reader || child->As<TIDReader>() != nullptr;
    }
    unsigned flags = 0x81;
    if (reader) flags |= 0x08;
    if (g.KeyboardAccess) flags |= 0x10;
    if (set) flags |= 0x20;
    if (reader && (set || g.KeyboardAccess)) flags |= g.AndMode ? 0x04 : 0x02;
    return Store(SectionGroups, record, 0, flags) && Store(SectionGroups, record, 1, g.WaitToSet) &&
           Store(SectionGroups, record, 2, g.WaitToOpen) && Store(SectionGroups, record, 11, room & 0xFFu) &&
           Store(SectionGroups, record, 12, room >> 8);
  }

  bool Zones() {
    host_.ConvertPosition(80);
    host_.ConvertStep("Создание структур шлейфов..."_w);
    ListingCategory category(ws_.exportLog, kHeadingZones);
    int slot = 0;
    const std::vector<RegistryEntry> devices = ws_.registry.Entries(SectionAdapters);
    for (const RegistryEntry& entry : devices) {
      const TAdapter* device = entry.node->As<TAdapter>();
      if (device == nullptr) continue;
      for (int k = 1; k <= device->ZonesTotal; ++k) {
        if (Cancelled()) return false;
        std::string line = Cat(ListingElement(slot + 1), FormatElementPath(db_, 1, 1, k, device));
        if (!AdapterAttachZone(host_, ws_.DBStoreArray, entry.number, slot)) return false;
        if (!Store(SectionZones, slot, 0, static_cast<unsigned>(entry.number))) return false;
        for (const auto& [zoneNode, zone] : ChildrenOf<TZone>(entry.node)) {
          if (zone->NumberInAdapter != k || zone->Group == nullptr) continue;
          const std::string name = PanelText(zone->Name);
          Fill(kTextZones, slot, zone->Group->Number - 1u, zone->NumberInGroup - 1u, name);
          line += Cat(", группа "_w, N(zone->Group->Number), ", индикатор "_w, N(zone->NumberInGroup), " - ");
          if (!name.empty()) line += Cat(" ", name);
          if (!Store(SectionZones, slot, 1, zone->Group->Number - 1u) ||
              !Store(SectionZones, slot, 2, zone->NumberInGroup - 1u) ||
              !Store(SectionZones, slot, 3, zone->ZoneType))
            return false;
          if (!ws_.registry.DBRegister(SectionZones, zoneNode, zoneNode->Data, slot)) return false;
          break;
        }
        category.Add(std::move(line));
        ++slot;
        host_.ConvertElement(Cat("элемент "_w, N(slot)));
      }
    }
    category.Close();
    return true;
  }

  Workspace& ws_;
  Database& db_;
  Host& host_;
  TextImageArray& image_;
  bool fullConvert_;
  const ListingStamp& stamp_;
  std::vector<std::pair<Node*, TUser*>> users_;
  std::vector<std::pair<Node*, TGroup*>> groups_;
  bool hasThird_ = false;
};

}  // namespace

bool DBConvertText(Workspace& ws, Host& host, TextImageArray& TextImage, bool fullConvert,
                   const ListingStamp& stamp) {
  return TextBuilder(ws, host, TextImage, fullConvert, stamp).Run();
}

}  // namespace velkor
