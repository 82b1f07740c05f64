#include "image/builder.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>

#include "export/listing.h"
#include "model/captions.h"
#include "model/catalogues.h"
#include "text/format.h"

namespace velkor {

namespace {

Dec N(long long value) { return Dec(value); }

// The value of a text made only of decimal digits; nullopt for any other
// text (empty, signs, blanks, letters) or a value beyond `max`.
std::optional<long> DecimalValue(std::string_view text, long max) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > max) return std::nullopt;
  return value;
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<dword> HexValue(std::string_view text) {
  dword value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else
      return std::nullopt;
    value = (value << 4) | static_cast<dword>(digit);
  }
  return value;
}

// The PIN that a user enters under duress: the last digit one higher, "9"
// wrapping to "0".
std::string DuressPin(std::string pin) {
  if (!pin.empty()) {
    char& last = pin.back();
    last = last == '9' ? '0' : static_cast<char>(last + 1);
  }
  return pin;
}

// The first two positions at which each text occurs: enough to find, for
// any position, the first other position with the same text.
class FirstTwo {
 public:
  void Add(std::string_view text, int position) {
    auto& [a, b] = at_.try_emplace(text, -1, -1).first->second;
    if (a < 0)
      a = position;
    else if (b < 0)
      b = position;
  }
  // The first position other than `self` holding `text`, or -1.
  int Other(std::string_view text, int self) const {
    auto it = at_.find(text);
    if (it == at_.end()) return -1;
    return it->second.first != self ? it->second.first : it->second.second;
  }

 private:
  std::unordered_map<std::string_view, std::pair<int, int>> at_;
};

template <class T>
std::vector<std::pair<Node*, T*>> ChildrenOf(const Node* parent) {
  std::vector<std::pair<Node*, T*>> out;
  if (!parent) return out;
  for (const auto& child : parent->Children)
    if (T* element = child->As<T>()) out.emplace_back(child.get(), element);
  return out;
}

// The child of a device node of class T that sits in slot `slot`.
template <class T>
Node* SlotChild(const Node* device, int slot) {
  for (const auto& child : device->Children) {
    const T* element = child->As<T>();
    if (!element) continue;
    if constexpr (std::is_same_v<T, TZone>) {
      if (element->NumberInAdapter == slot) return child.get();
    } else {
      if (element->Number == slot) return child.get();
    }
  }
  return nullptr;
}

// Channel-control period and mask by row of the channel-control list.
constexpr std::array<std::array<byte, 2>, 10> kControlCanal = {{
    {0, 0}, {4, 1}, {8, 1}, {56, 1}, {113, 1}, {225, 1}, {225, 2}, {225, 4}, {225, 8}, {168, 16},
}};

// The two leading digits of a bus device's serial number, by device type.
bool SerialPrefixOk(byte deviceType, std::string_view digits, bool& singleReader) {
  static constexpr std::array<std::string_view, 10> kPrefix = {"20", "21", "40", "41", "22",
                                                               "23", "24", "25", "26", "42"};
  singleReader = false;
  if (deviceType >= kPrefix.size()) return false;
  const std::string_view head = digits.substr(0, 2);
  if (deviceType == 7 && (head == "27" || head == "28")) {
    singleReader = true;
    return true;
  }
  return head == kPrefix[deviceType];
}

constexpr bool IsSecondModuleType(int sa) { return sa == 10 || sa == 11 || sa == 18; }
constexpr bool IsThirdModuleType(int sa) { return sa == 3 || sa == 14 || sa == 15; }

class Builder {
 public:
  Builder(Workspace& ws, Host& host, const BuildSettings& settings, const ListingStamp& stamp, IniSink* ini)
      : ws_(ws),
        db_(ws.db),
        host_(host),
        settings_(settings),
        stamp_(stamp),
        ini_(settings.IniExport ? ini : nullptr),
        log_(ws.exportLog),
        reg_(ws.registry) {}

  bool Run() {
    ExportLogClear(log_);
    ListingHeader(log_, stamp_);
    reg_.Clear();
    std::fill(ws_.DBStoreArray.begin(), ws_.DBStoreArray.begin() + kRomSize, std::uint8_t{0});
    marks_.fill(0);
    commonReader_ = false;

    host_.ConvertStep("Проверка конфигурации..."_w);
    if (!Checks()) return false;
    ListingProtocol(log_, settings_.ProtocolText);
    if (ini_) IniHeader();

    host_.ConvertStep("Создание структуры ППК..."_w);
    if (!PanelRecord()) return false;
    Ini("ProtocolType=", N(ppk_->Protocol));
    Ini("Location=", ppk_->Name.str());
    host_.ConvertPosition(9);
    if (!ModuleRecords()) return false;

    host_.ConvertPosition(18);
    host_.ConvertStep("Создание структур модулей..."_w);
    ModulesListing();

    host_.ConvertPosition(20);
    host_.ConvertStep("Создание структур адаптеров..."_w);
    if (!Adapters()) return false;

    host_.ConvertPosition(27);
    host_.ConvertStep("Создание структур пользователей..."_w);
    if (!Users()) return false;
    if (!WarnUnarmable([](byte mark) { return mark == 1; })) return false;

    host_.ConvertPosition(36);
    host_.ConvertStep("Создание структур клавиатур..."_w);
    if (!Keyboards()) return false;

    host_.ConvertPosition(45);
    host_.ConvertStep("Создание структур групп..."_w);
    if (!Groups()) return false;

    host_.ConvertPosition(54);
    host_.ConvertStep("Создание структур шлейфов..."_w);
    if (!Zones()) return false;

    host_.ConvertPosition(63);
    host_.ConvertStep("Создание структур входов SET..."_w);
    if (!SetInputs()) return false;

    host_.ConvertPosition(72);
    host_.ConvertStep("Создание структур ID считывателей..."_w);
    if (!Readers()) return false;
    if (!commonReader_ && !WarnUnarmable([](byte mark) { return mark != 0; })) return false;

    host_.ConvertPosition(81);
    host_.ConvertStep("Создание структур управляемых выходов..."_w);
    if (!Outputs()) return false;

    host_.ConvertPosition(90);
    host_.ConvertStep("Расстановка реакций..."_w);
    if (!Reactions()) return false;

    host_.ConvertPosition(95);
    host_.ConvertStep("");
    ListingEnd(log_);
    if (settings_.LogExport) WriteTextLines(settings_.LogFileName, log_.Lines);
    BuildPrgSheet(ws_.prgSheet, host_, ws_.DBStoreArray, ws_.variant);
    if (settings_.PrgExport) WriteTextLines(settings_.PrgFileName, ws_.prgSheet.Lines);

    host_.ConvertPosition(100);
    host_.Pause(100);
    return true;
  }

 private:
  // ---- helpers -------------------------------------------------------------

  bool Fail(std::string_view message) {
    ShowConversionError(host_, message);
    return false;
  }

  bool Store(int section, int record, int byte, unsigned value) {
    return FlashStore(host_, ws_.DBStoreArray, ws_.variant, section, record, byte,
                      static_cast<std::uint8_t>(value & 0xFF));
  }
  bool Store16(int section, int record, int byte, unsigned value) {
    return Store(section, record, byte, value) && Store(section, record, byte + 1, value >> 8);
  }
  bool Store32(int section, int record, int byte, dword value) {
    return Store16(section, record, byte, value & 0xFFFF) && Store16(section, record, byte + 2, value >> 16);
  }

  // One INI line made of its parts, in a buffer kept across lines.
  template <class... Parts>
  void Ini(const Parts&... parts) {
    if (!ini_) return;
    line_.clear();
    (line_.append(std::string_view(parts)), ...);
    ini_->WriteLine(line_);
  }

  // Shows the element just handled and lets the host cancel the run.
  bool Handled(int& ordinal) {
    line_.assign("элемент "_w).append(N(++ordinal));
    host_.ConvertElement(line_);
    return !host_.ConvertCancelled();
  }

  std::string Path(int kind, int number, const TAdapter* device) const {
    return FormatElementPath(db_, 0, kind, number, device);
  }

  static int GroupIndex(const TGroup* g) { return g->Number - 1; }
  byte* Mark(const TGroup* g) {
    const int index = GroupIndex(g);
    return index >= 0 && index < 128 ? &marks_[static_cast<std::size_t>(index)] : nullptr;
  }

  // ---- checks --------------------------------------------------------------

  bool Checks() {
    if (db_.Hardware.Empty() || db_.Rooms.Empty() || !db_.PanelNode || !db_.BaseModuleNode || !db_.Rs485Node ||
        !db_.RoomsNode || !db_.Panel() || !db_.BaseModule())
      return Fail("Неполная база данных, преобразование невозможно"_w);
    ppk_ = db_.Panel();
    base_ = db_.BaseModule();
    second_ = db_.KeyboardModuleNode ? db_.KeyboardModuleNode->As<TAdapter>() : nullptr;

    users_ = ChildrenOf<TUser>(db_.RoomsNode);
    groups_ = ChildrenOf<TGroup>(db_.RoomsNode);
    const TUser* admin = nullptr;
    for (const auto& [node, user] : users_)
      if (user->Number == 1) {
        admin = user;
        break;
      }
    if (!admin) return Fail("Неполная база данных, отсутствует администратор"_w);
    if (admin->PinCode.empty()) return Fail("Неполная база данных, отсутствует PIN-код администратора"_w);
    if (groups_.empty()) return Fail("Неполная база данных, отсутствуют группы"_w);

    for (const auto& [node, group] : groups_) {
      const Dec number = N(group->Number);
      if (group->Number > 128) return Fail(Cat("Группа "_w, number, " - неправильный номер группы"_w));
      if (node->Children.empty()) return Fail(Cat("Группа "_w, number, " пуста"_w));
      bool hasSet = false, hasReader = false;
      for (const auto& child : node->Children) {
        if (child->As<TSetInput>())
          hasSet = true;
        else if (child->As<TIDReader>())
          hasReader = true;
        else if (!child->As<TZone>())
          return Fail(Cat("Группа "_w, number, " содержит неподдерживаемый конвертером тип элемента"_w));
      }
      if (hasSet || hasReader) continue;
      const TAdapter* keyboard = nullptr;
      if (group->KeyboardAccess == 1) {
        for (const TAdapter* k : group->Keyboards)
          if (k) {
            keyboard = k;
            break;
          }
        if (keyboard && keyboard->IsKeyboard != 1)
          return Fail(Cat("Группа "_w, number, " содержит ошибку в ссылке на клавиатуру"_w));
      }
      if (!keyboard)
        if (byte* mark = Mark(group)) *mark |= 1;
    }

    const byte p = ppk_->Protocol;
    if (p == 9 || p == 13 || p > 14) return Fail("Неподдерживаемый конвертером режим работы ППК."_w);
    if (!PanelCardOk()) return Fail("Неполная база данных, неправильно или неполностью заполнена карточка ППК"_w);
    return true;
  }

  bool PanelCardOk() {
    TPPK& c = *ppk_;
    const byte p = c.Protocol;
    if (p == 2 || p == 7) {
      if (c.PcoDbNumber < 1 || c.PcoDbNumber > 1000) return false;
      if (c.NetNumber < 1 || c.NetNumber > 128) return false;
      if (c.RadioWaitTime < 2 || c.RadioWaitTime > 60000) return false;
    }
    if (p == 2 || p == 4 || p == 7 || p == 8 || p == 10 || p == 12)
      if (c.ConnectReasons > 0 && c.ConnectTimeOut < 5) return false;
    if (p == 8) {
      c.CardPinCode = TPPK(ws_.variant).CardPinCode;
      auto phone = [](std::string_view t) { return t.size() == 13 && t[0] == '+' && AllDigits(t.substr(1)); };
      if (!phone(c.PcnMobileNumber) || !phone(c.SmsCenterNumber)) return false;
    }
    if (p == 10 && (c.RadioAddressPco.empty() || c.RadioAddressPpk.empty())) return false;
    if (p == 11 && c.SrpNumber.size() != 14) return false;
    return true;
  }

  void IniHeader() {
    int zones = 0, devices = 0, users = 0, groups = 0;
    ForEachNode(db_.Hardware, [&](Node& n) {
      if (n.As<TZone>()) ++zones;
      if (n.As<TAdapter>()) ++devices;
    });
    ForEachNode(db_.Rooms, [&](Node& n) {
      if (n.As<TUser>()) ++users;
      if (n.As<TGroup>()) ++groups;
    });
    Ini("[PPK]");
    Ini("VersionNumber=", stamp_.VersionNumber);
    Ini("ZonesCount=", N(zones));
    Ini("UsersCount=", N(users));
    Ini("GroupsCount=", N(groups));
    Ini("DevicesCount=", N(devices));
  }

  // ---- panel and modules ---------------------------------------------------

  bool PanelRecord() {
    const TPPK& c = *ppk_;
    const byte p = c.Protocol;
    if (!Store(SectionPanel, 0, 2, p)) return false;
    auto at = [](std::string_view text, std::size_t i) -> unsigned {
      return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    };
    for (std::size_t i = 0; i < 14; ++i) {
      const int b = static_cast<int>(i);
      if (p == 8) {
        if (!Store(SectionPanel, 0, 17 + b, at(c.PcnMobileNumber, i)) ||
            !Store(SectionPanel, 0, 31 + b, at(c.SmsCenterNumber, i)))
          return false;
        if (i < 8 && !Store(SectionPanel, 0, 45 + b, at(c.CardPinCode, i))) return false;
      }
      if (p == 11 && !Store(SectionPanel, 0, 3 + b, at(c.SrpNumber, i))) return false;
    }
    if (p == 10) {
      auto pco = DecimalValue(c.RadioAddressPco, 256);
      if (!pco || *pco < 1) return Fail("Ошибка адреса ПЦО в карточке ППК"_w);
      if (!Store(SectionPanel, 0, 53, static_cast<unsigned>(*pco - 1))) return false;
      auto own = DecimalValue(c.RadioAddressPpk, 512);
      if (!own || *own < 1) return Fail("Ошибка адреса ППК в карточке ППК"_w);
      if (!Store16(SectionPanel, 0, 54, static_cast<unsigned>(*own - 1))) return false;
      if (c.ControlCanalTime > 0 && c.ControlCanalTime < kControlCanal.size()) {
        const auto& cc = kControlCanal[c.ControlCanalTime];
        if (!Store(SectionPanel, 0, 56, cc[0]) || !Store(SectionPanel, 0, 57, cc[1])) return false;
      }
      for (int k = 1; k <= 4; ++k) {
        const std::string_view first = c.RetranslationAddress[static_cast<std::size_t>(2 * k - 2)];
        const std::string_view second = c.RetranslationAddress[static_cast<std::size_t>(2 * k - 1)];
        if (first.empty() && second.empty()) continue;
        auto a = DecimalValue(first, 256), b = DecimalValue(second, 256);
        if (first == second || !a || *a < 1 || !b || *b < 1)
          return Fail(Cat("Ошибка адреса ретрансляции телеграммы "_w, N(k), " в карточке ППК"_w));
        if (!Store(SectionPanel, 0, 56 + 2 * k, static_cast<unsigned>(*a - 1)) ||
            !Store(SectionPanel, 0, 57 + 2 * k, static_cast<unsigned>(*b - 1)))
          return false;
      }
    }
    return Store16(SectionPanel, 0, 67, c.PcoDbNumber - 1u) && Store(SectionPanel, 0, 69, c.NetNumber - 1u) &&
           Store(SectionPanel, 0, 70, c.ConnectReasons) && Store(SectionPanel, 0, 71, c.ConnectTimeOut) &&
           Store16(SectionPanel, 0, 72, c.RadioWaitTime) && Store(SectionPanel, 0, 74, c.RadioNetNumber - 1u);
  }

  bool ModuleRecord(int record, int beType, const TAdapter& module, byte labelType) {
    if (module.SerialNumber == 0)
      return Fail(Cat("Ошибка серийного номера модуля "_w,
                      CatalogueLabel(CataloguesFor(ws_.variant).Modules, labelType)));
    return Store(SectionModules, record, 0, 1) && Store(SectionModules, record, 3, static_cast<unsigned>(beType)) &&
           Store32(SectionModules, record, 4, module.SerialNumber);
  }

  bool ModuleRecords() {
    if (!ModuleRecord(0, 1, *base_, 0)) return false;
    if (second_ && !ModuleRecord(1, 2, *second_, 1)) return false;
    for (const auto& [node, module] : ChildrenOf<TAdapter>(db_.PanelNode)) {
      if (module == base_ || module == second_) continue;
      hasThird_ = true;
      if (!ModuleRecord(2, module->DeviceType == 4 ? 3 : 4, *module, module->DeviceType)) return false;
    }
    return true;
  }

  void ModulesListing() {
    ListingCategory category(log_, kHeadingModules);
    for (const auto& [node, module] : ChildrenOf<TAdapter>(db_.PanelNode)) category.Add(Path(4, 0, module));
    category.Close();
  }

  // ---- adapters ------------------------------------------------------------

  bool SerialOk(TAdapter& a) {
    const std::string digits = Fmt5(a.SerialNumber & 0xFFFFu);
    bool singleReader = false;
    if (a.SerialNumber == 0 || !SerialPrefixOk(a.DeviceType, digits, singleReader) || digits.substr(2) == "000")
      return Fail(Cat("Ошибка серийного номера адаптера "_w, Fmt2(a.NetNumber), " > ", AdapterLabel(ws_.variant, a)));
    if (singleReader) a.ReadersTotal = 1;
    return true;
  }

  bool Adapters() {
    ListingCategory devices(log_, kHeadingDevices);
    Ini("[DEVICES]");
    const std::vector<Node*> nodes = NodesInIndexOrder(db_.Hardware);
    const int passes = hasThird_ ? 3 : second_ ? 2 : 1;
    int nextRecord = 0;
    int ordinal = 0;
    for (int pass = 0; pass < passes; ++pass) {
      for (Node* node : nodes) {
        TAdapter* a = node->As<TAdapter>();
        if (!a) continue;
        const int sa = SaTypeCode(*a, db_.Module16Zones);
        if (sa == 0) return Fail("Присутствует неподдерживаемый конвертером тип СА"_w);
        const int record = AdapterRecordInPass(pass, sa, nextRecord);
        if (record < 0) continue;

        if (!BEAttachAdapter(host_, ws_.DBStoreArray, pass, record)) return false;
        if (a->Placement == 1 && !SerialOk(*a)) return false;
        if (!Store(SectionAdapters, record, 0, 1) || !Store(SectionAdapters, record, 1, static_cast<unsigned>(pass)) ||
            !Store(SectionAdapters, record, 2, a->NetNumber) ||
            !Store(SectionAdapters, record, 15, a->ZonesControlTime) ||
            !Store(SectionAdapters, record, 16, static_cast<unsigned>(sa)))
          return false;
        if (sa == 3 && settings_.Controller && !Store(SectionAdapters, record, 15, 240)) return false;
        if (!Store32(SectionAdapters, record, 17, a->SerialNumber)) return false;
        if (a->Placement == 1) devices.Add(ListingDeviceLine(record, Path(4, 0, a), a->NetNumber, a->SerialNumber));
        if (!reg_.DBRegister(SectionAdapters, node, node->Data, record)) return false;
        const std::string key = Cat("Device_", N(record));
        Ini(key, "_Type=", N(sa));
        Ini(key, "_NetNumber=", N(a->NetNumber));
        Ini(key, "_Zones=", N(a->ZonesUsed));
        Ini(key, "_Location=", a->Location.str());
        if (!Handled(ordinal)) return false;
      }
    }
    devices.Close();
    return true;
  }

  // ---- users ---------------------------------------------------------------

  bool PinFormatOk(const TUser& u) const {
    const std::size_t low = u.Number == 1 ? 6 : 4;
    return u.PinCode.size() >= low && u.PinCode.size() <= 8 && AllDigits(u.PinCode);
  }

  bool Users() {
    ListingCategory category(log_, kHeadingUsers);
    Ini("[USERS]");
    // Every other user is compared in tree order; the tables give the first
    // one that matches without comparing every pair.
    std::vector<std::string> duressPins(users_.size());
    FirstTwo pins, duress, identifiers;
    for (std::size_t i = 0; i < users_.size(); ++i) {
      const TUser& u = *users_[i].second;
      const int at = static_cast<int>(i);
      if (!u.PinCode.empty()) {
        duressPins[i] = DuressPin(u.PinCode.str());
        pins.Add(u.PinCode, at);
        duress.Add(duressPins[i], at);
      }
      if (!u.Identifier.empty()) identifiers.Add(u.Identifier, at);
    }
    int ordinal = 0;
    for (std::size_t i = 0; i < users_.size(); ++i) {
      auto [node, user] = users_[i];
      const TUser& u = *user;
      const int self = static_cast<int>(i);
      const bool admin = u.Number == 1;
      if (!u.PinCode.empty() && !PinFormatOk(u))
        return Fail(admin ? std::string("Неправильно указан PIN-код администратора"_w)
                          : Cat("Неправильно указан PIN-код пользователя "_w, N(u.Number)));
      if (settings_.FullConvert) {
        const int same = pins.Other(u.PinCode, self);
        const int underDuress = duress.Other(u.PinCode, self);
        if (same >= 0 && (underDuress < 0 || same < underDuress))
          return Fail(Cat("PIN-код пользователя "_w, N(u.Number), "\r", "совпадает с PIN-кодом пользоватея "_w,
                          N(users_[static_cast<std::size_t>(same)].second->Number)));
        if (underDuress >= 0)
          return Fail(Cat("PIN-код пользователя "_w, N(u.Number), "\r",
                          "совпадает с PIN-кодом \"по принуждению\" пользоватея "_w,
                          N(users_[static_cast<std::size_t>(underDuress)].second->Number)));
      }

      const int record = u.Number - 1;
      if (!Store(SectionUsers, record, 0, 1)) return false;
      const std::string_view pin = u.PinCode;
      auto half = [&](std::size_t at) -> unsigned {
        return at < pin.size() ? static_cast<unsigned>(pin[at] - 48) & 0x0F : 0x0F;
      };
      for (int j = 0; j < 4; ++j) {
        const auto at = static_cast<std::size_t>(2 * j);
        if (!Store(SectionUsers, record, 1 + j, (half(at) << 4) | half(at + 1))) return false;
      }
      for (int b = 5; b <= 12; ++b)
        if (!Store(SectionUsers, record, b, 0xFF)) return false;

      if (!u.Identifier.empty()) {
        auto badIdentifier = [&] {
          return Fail(admin ? std::string("Неправильно указан код идентификатора администратора"_w)
                            : Cat("Неправильно указан код идентификатора пользователя "_w, N(u.Number)));
        };
        if (u.Identifier.size() != 16) return badIdentifier();
        if (settings_.FullConvert)
          if (const int other = identifiers.Other(u.Identifier, self); other >= 0)
            return Fail(Cat("Идентификатор пользователя "_w,
                            N(users_[static_cast<std::size_t>(other)].second->Number), " уже задействован"_w));
        const std::string_view id = u.Identifier;
        auto high = HexValue(id.substr(0, 8)), low = HexValue(id.substr(8, 8));
        if (!high || !low) return badIdentifier();
        if (!Store32(SectionUsers, record, 5, *low) || !Store32(SectionUsers, record, 9, *high)) return false;
      }

      std::array<byte, 16> rights{};
      for (const TGroup* g : u.Groups) {
        if (!g) continue;
        const int index = GroupIndex(g);
        if (index < 0 || index >= 128) continue;
        rights[static_cast<std::size_t>(index / 8)] |= static_cast<byte>(1u << (index % 8));
        if (!u.Identifier.empty())
          if (byte* mark = Mark(g); mark && *mark != 0) *mark |= 2;
      }
      for (int b = 0; b < 16; ++b)
        if (!Store(SectionUsers, record, 13 + b, rights[static_cast<std::size_t>(b)])) return false;

      category.Add(ListingUserLine(u));
      if (!reg_.DBRegister(SectionUsers, node, node->Data, record)) return false;
      const std::string key = Cat("User_", N(record));
      Ini(key, "_Name=", u.Fio.str());
      Ini(key, "_Post=", u.Post.str());
      std::string groups;
      for (const TGroup* g : u.Groups) {
        if (!g) continue;
        if (!groups.empty()) groups += ',';
        groups += std::string_view(N(GroupIndex(g)));
      }
      if (!groups.empty()) Ini(key, "_Rights=", groups);
      if (!Handled(ordinal)) return false;
    }
    category.Close();
    return true;
  }

  template <class Pred>
  bool WarnUnarmable(Pred warned) {
    for (int g = 0; g < 128; ++g) {
      if (!warned(marks_[static_cast<std::size_t>(g)])) continue;
      if (!host_.Ask(MessageIcon::Warning, "Предупреждение при конвертировании базы данных"_w,
                     Cat("Группа "_w, N(g + 1), " не содержит устройства взятия/снятия"_w, "\r",
                         "Продолжить конвертирование?"_w)))
        return false;
    }
    return true;
  }

  // ---- keyboards and groups ------------------------------------------------

  bool Keyboards() {
    ListingCategory category(log_, kHeadingKeyboards);
    int keyboard = 0;
    int ordinal = 0;
    const std::vector<RegistryEntry> adapters = reg_.Entries(SectionAdapters);
    for (const RegistryEntry& entry : adapters) {
      const TAdapter& a = std::get<TAdapter>(*entry.element);
      if (a.Placement == 0 && (a.DeviceType == 1 || a.DeviceType == 6)) keyboard = 31;
      if (a.IsKeyboard != 1) continue;
      if (!AdapterAttachKeyboard(host_, ws_.DBStoreArray, entry.number, keyboard)) return false;
      if (!Store(SectionKeyboards, keyboard, 0, 1) ||
          !Store(SectionKeyboards, keyboard, 1, static_cast<unsigned>(entry.number)) ||
          !Store(SectionKeyboards, keyboard, 2, static_cast<unsigned>(KeyboardTypeCode(a, db_.Module16Zones))))
        return false;
      category.Add(Cat(ListingElement(keyboard + 1), Path(4, 0, &a)));
      if (!reg_.DBRegister(SectionKeyboards, entry.node, entry.element, keyboard)) return false;
      ++keyboard;
      if (!Handled(ordinal)) return false;
    }
    category.Close();
    return true;
  }

  bool Groups() {
    ListingCategory category(log_, kHeadingGroups);
    Ini("[GROUPS]");
    FirstTwo rooms;
    for (std::size_t i = 0; i < groups_.size(); ++i) rooms.Add(groups_[i].second->RoomNumber, static_cast<int>(i));
    int ordinal = 0;
    for (std::size_t i = 0; i < groups_.size(); ++i) {
      auto [node, group] = groups_[i];
      const TGroup& g = *group;
      auto room = DecimalValue(g.RoomNumber, 65535);
      if (!room || *room < 1) return Fail(Cat("Неправильно указан номер помещения в группе "_w, N(g.Number)));
      if (settings_.FullConvert)
        if (const int other = rooms.Other(g.RoomNumber, static_cast<int>(i)); other >= 0)
          return Fail(Cat("Номер помещения, указанный в группе "_w,
                          N(groups_[static_cast<std::size_t>(other)].second->Number), " уже задействован"_w));

      unsigned flags = 0x81;
      for (const auto& child : node->Children) {
        if (child->As<TSetInput>()) flags |= 0x20;
        if (child->As<TIDReader>()) flags |= 0x08;
      }
      if (!(flags & 0x20) && g.KeyboardAccess == 1) flags |= 0x10;
      if ((flags & 0x08) && (flags & 0x30)) flags |= g.AndMode == 1 ? 0x04 : 0x02;
      dword keyboards = 0;
      for (const TAdapter* k : g.Keyboards) {
        if (!k || k->IsKeyboard != 1) continue;
        for (const RegistryEntry& e : reg_.Entries(SectionKeyboards))
          if (ElementObject(*e.element) == k) keyboards |= dword{1} << e.number;
      }
      const int record = GroupIndex(group);
      if (!Store(SectionGroups, record, 0, flags) || !Store(SectionGroups, record, 1, g.WaitToSet) ||
          !Store(SectionGroups, record, 2, g.WaitToOpen) || !Store32(SectionGroups, record, 7, keyboards) ||
          !Store16(SectionGroups, record, 11, static_cast<unsigned>(*room)))
        return false;

      category.Add(Cat(ListingElement(g.Number), "Группа "_w, N(g.Number), ", номер помещения "_w, g.RoomNumber.str()));
      if (!reg_.DBRegister(SectionGroups, node, node->Data, record)) return false;
      const std::string key = Cat("Group_", N(record));
      Ini(key, "_Number=", N(*room));
      Ini(key, "_Name=", g.Name.str());
      for (int day = 0; day < 7; ++day)
        Ini(key, "_Time", N(day + 1), "1=", g.GuardFrom[static_cast<std::size_t>(day)].str());
      for (int day = 0; day < 7; ++day)
        Ini(key, "_Time", N(day + 1), "2=", g.GuardTo[static_cast<std::size_t>(day)].str());
      for (int day = 0; day < 7; ++day)
        Ini(key, "_Day", N(day + 1), "=", N(g.DayOff[static_cast<std::size_t>(day)]));
      Ini(key, "_Long=", N(g.LongGuard));
      Ini(key, "_Lock=", N(g.GuardLock));
      Ini(key, "_Part=", N(g.PartialSet));
      Ini(key, "_Auto=", N(g.AutoAlarm));
      Ini(key, "_Text=", g.LongGuardNote.str());
      Ini(key, "_AlarmMin=", N(g.AlarmDelayMin));
      Ini(key, "_AlarmSec=", N(g.AlarmDelaySec));
      if (!Handled(ordinal)) return false;
    }
    category.Close();
    return true;
  }

  // ---- slots ---------------------------------------------------------------

  bool Zones() {
    ListingCategory category(log_, kHeadingZones);
    Ini("[ZONES]");
    int z = 0;
    int ordinal = 0;
    const std::vector<RegistryEntry> adapters = reg_.Entries(SectionAdapters);
    for (const RegistryEntry& entry : adapters) {
      const TAdapter& a = std::get<TAdapter>(*entry.element);
      for (int slot = 1; slot <= a.ZonesTotal; ++slot, ++z) {
        if (!AdapterAttachZone(host_, ws_.DBStoreArray, entry.number, z)) return false;
        if (!Store(SectionZones, z, 0, static_cast<unsigned>(entry.number))) return false;
        std::string line = Cat(ListingElement(z + 1), Path(1, slot, &a));
        Node* child = SlotChild<TZone>(entry.node, slot);
        const TZone* zone = child ? child->As<TZone>() : nullptr;
        if (zone && zone->Group) {
          const int gi = GroupIndex(zone->Group);
          if (!Store(SectionZones, z, 1, static_cast<unsigned>(gi)) ||
              !Store(SectionZones, z, 2, zone->NumberInGroup - 1u) || !Store(SectionZones, z, 3, zone->ZoneType))
            return false;
          if (!reg_.DBRegister(SectionZones, child, child->Data, z)) return false;
          line += Cat(", задействован, группа "_w, N(zone->Group->Number), ", индикатор "_w, N(zone->NumberInGroup));
          const std::string key = Cat("Zone_", N(z));
          Ini(key, "_Type=", N(zone->ZoneType));
          Ini(key, "_Device=", N(entry.number));
          Ini(key, "_InDevice=", N(zone->NumberInAdapter - 1));
          Ini(key, "_Group=", N(gi));
          Ini(key, "_InGroup=", N(zone->NumberInGroup - 1));
          Ini(key, "_Name=", zone->Name.str());
        }
        category.Add(std::move(line));
        if (!Handled(ordinal)) return false;
      }
    }
    category.Close();
    return true;
  }

  bool SetInputs() {
    ListingCategory category(log_, kHeadingSetInputs);
    int i = 0;
    int ordinal = 0;
    const std::vector<RegistryEntry> adapters = reg_.Entries(SectionAdapters);
    for (const RegistryEntry& entry : adapters) {
      const TAdapter& a = std::get<TAdapter>(*entry.element);
      for (int slot = 1; slot <= a.SetInputsTotal; ++slot, ++i) {
        if (!AdapterAttachSetInput(host_, ws_.DBStoreArray, entry.number, i)) return false;
        if (!Store(SectionSetInputs, i, 1, static_cast<unsigned>(entry.number))) return false;
        std::string line = Cat(ListingElement(i + 1), Path(5, slot, &a));
        Node* child = SlotChild<TSetInput>(entry.node, slot);
        const TSetInput* input = child ? child->As<TSetInput>() : nullptr;
        if (input && input->Group) {
          const int gi = GroupIndex(input->Group);
          if (!Store(SectionSetInputs, i, 0, 1) || !Store(SectionSetInputs, i, 2, static_cast<unsigned>(gi)) ||
              !Store(SectionGroups, gi, 3, static_cast<unsigned>(i)))
            return false;
          if (!reg_.DBRegister(SectionSetInputs, child, child->Data, i)) return false;
          line += Cat(", задействован, группа "_w, N(input->Group->Number));
        }
        category.Add(std::move(line));
        if (!Handled(ordinal)) return false;
      }
    }
    category.Close();
    return true;
  }

  bool Readers() {
    ListingCategory category(log_, kHeadingReaders);
    int t = 0;
    int ordinal = 0;
    const std::vector<RegistryEntry> adapters = reg_.Entries(SectionAdapters);
    for (const RegistryEntry& entry : adapters) {
      const TAdapter& a = std::get<TAdapter>(*entry.element);
      for (int slot = 1; slot <= a.ReadersTotal; ++slot, ++t) {
        if (!AdapterAttachIDReader(host_, ws_.DBStoreArray, entry.number, t)) return false;
        if (!Store(SectionIDReaders, t, 1, static_cast<unsigned>(entry.number))) return false;
        std::string line = Cat(ListingElement(t + 1), Path(7, slot, &a));
        Node* child = SlotChild<TIDReader>(entry.node, slot);
        if (const TIDReader* reader = child ? child->As<TIDReader>() : nullptr) {
          if (!Store(SectionIDReaders, t, 0, 1) || !Store(SectionIDReaders, t, 2, 255)) return false;
          if (reader->Group) {
            const int gi = GroupIndex(reader->Group);
            if (!Store(SectionIDReaders, t, 2, static_cast<unsigned>(gi)) ||
                !Store(SectionGroups, gi, 4, static_cast<unsigned>(t)))
              return false;
            line += Cat(", задействован, группа "_w, N(reader->Group->Number));
          } else {
            commonReader_ = true;
            line += ", задействован, общий"_w;
          }
          if (!reg_.DBRegister(SectionIDReaders, child, child->Data, t)) return false;
        }
        category.Add(std::move(line));
        if (!Handled(ordinal)) return false;
      }
    }
    category.Close();
    return true;
  }

  bool Outputs() {
    ListingCategory category(log_, kHeadingOutputs);
    Ini("[OUTPUTS]");
    int next = 1;
    int ordinal = 0;
    const std::vector<RegistryEntry> adapters = reg_.Entries(SectionAdapters);
    for (const RegistryEntry& entry : adapters) {
      const TAdapter& a = std::get<TAdapter>(*entry.element);
      for (int slot = 1; slot <= a.OutputsTotal; ++slot) {
        int n;
        if (&a == base_ && slot == 1) {
          n = 0;
        } else {
          n = next++;
          if (!AdapterAttachOutput(host_, ws_.DBStoreArray, entry.number, n)) return false;
        }
        if (!Store(SectionOutputs, n, 1, static_cast<unsigned>(entry.number))) return false;
        std::string line = Cat(ListingElement(n + 1), Path(3, slot, &a));
        Node* child = SlotChild<TOutput>(entry.node, slot);
        if (const TOutput* o = child ? child->As<TOutput>() : nullptr) {
          unsigned flags = 1;
          if (n == 0 && o->Inverse == 1) flags |= 0x02;
          if (o->AlarmToOpen) flags |= 0x20;
          if (o->AlarmToNorma) flags |= 0x40;
          if (o->ForGroups) flags |= 0x80;
          if (!Store(SectionOutputs, n, 0, flags) ||
              !Store(SectionOutputs, n, 2, (o->ReactionKind & 0x0Fu) | ((o->ReactionTime & 7u) * 16)) ||
              !Store(SectionOutputs, n, 3, o->ReactionWait))
            return false;
          if (!reg_.DBRegister(SectionOutputs, child, child->Data, n)) return false;
          line += ", задействован"_w;
          const std::string key = Cat("Output_", N(n));
          Ini(key, "_Device=", N(entry.number));
          Ini(key, "_InDevice=", N(o->Number - 1));
          Ini(key, "_Name=", o->Name.str());
          Ini(key, "_Location=", o->Location.str());
        }
        category.Add(std::move(line));
        if (!Handled(ordinal)) return false;
      }
    }
    category.Close();
    return true;
  }

  // ---- reactions -----------------------------------------------------------

  // Later outputs overwrite earlier ones, so where two references share a
  // byte the output with the higher record wins.
  bool Reactions() {
    for (const RegistryEntry& out : reg_.Entries(SectionOutputs)) {
      const void* o = ElementObject(*out.element);
      const unsigned value = static_cast<unsigned>(out.number) + 1;
      auto put = [&](const TOutput* ref, int section, int record, int byte) {
        return ref != o || Store(section, record, byte, value);
      };
      if (!put(ppk_->ReactionPower, SectionAdapters, 0, 21) || !put(ppk_->ReactionTamper, SectionPanel, 0, 0) ||
          !put(ppk_->Reaction220V, SectionPanel, 0, 1) || !put(ppk_->ReactionCapture, SectionPanel, 0, 66))
        return false;
      for (const RegistryEntry& e : reg_.Entries(SectionAdapters)) {
        const TAdapter& a = std::get<TAdapter>(*e.element);
        if (!put(a.ReactionTamper, SectionAdapters, e.number, 13) ||
            !put(a.ReactionConnect, SectionAdapters, e.number, 14) ||
            !put(a.ReactionPower, SectionAdapters, e.number, 21))
          return false;
      }
      for (const RegistryEntry& e : reg_.Entries(SectionGroups)) {
        const TGroup& g = std::get<TGroup>(*e.element);
        if (!put(g.ReactionSet, SectionGroups, e.number, 5) || !put(g.ReactionOpen, SectionGroups, e.number, 6))
          return false;
      }
      for (const RegistryEntry& e : reg_.Entries(SectionZones)) {
        const TZone& z = std::get<TZone>(*e.element);
        if (!put(z.Reaction1, SectionZones, e.number, 4) || !put(z.Reaction2, SectionZones, e.number, 5) ||
            !put(z.Reaction3, SectionZones, e.number, 6) || !put(z.Reaction4, SectionZones, e.number, 7))
          return false;
      }
      if (host_.ConvertCancelled()) return false;
    }
    return true;
  }

  Workspace& ws_;
  Database& db_;
  Host& host_;
  const BuildSettings& settings_;
  const ListingStamp& stamp_;
  IniSink* ini_;
  ExportLog& log_;
  ElementRegistry& reg_;

  TPPK* ppk_ = nullptr;
  const TAdapter* base_ = nullptr;
  const TAdapter* second_ = nullptr;
  bool hasThird_ = false;
  std::vector<std::pair<Node*, TUser*>> users_;
  std::vector<std::pair<Node*, TGroup*>> groups_;
  std::string line_;  // scratch for INI lines and element texts
  std::array<byte, 128> marks_{};  // bit 0: no arming device; bit 1: a user with an identifier
  bool commonReader_ = false;      // a TM input serves all groups
};

}  // namespace

int AdapterRecordInPass(int pass, int sa, int& nextBusRecord) {
  if (pass == 0 && !IsSecondModuleType(sa) && !IsThirdModuleType(sa)) return nextBusRecord++;
  if (pass == 1 && IsSecondModuleType(sa)) return 32;
  if (pass == 2 && IsThirdModuleType(sa)) return 33;
  return -1;
}

int SaTypeCode(const TAdapter& a, bool module16Zones) {
  if (a.Placement == 0) {
    switch (a.DeviceType) {
      case 0: return module16Zones ? 2 : 1;
      case 1: return module16Zones ? 11 : 10;
      case 2: return 14;
      case 3: return 15;
      case 4: return 3;
      case 6: return 18;
      default: return 0;
    }
  }
  if (a.Placement == 1) {
    static constexpr std::array<int, 10> kBus = {9, 4, 12, 8, 13, 6, 5, 7, 16, 17};
    return a.DeviceType < kBus.size() ? kBus[a.DeviceType] : 0;
  }
  return 0;
}

int KeyboardTypeCode(const TAdapter& a, bool module16Zones) {
  if (a.Placement == 0 && a.DeviceType == 1) return module16Zones ? 4 : 5;
  if (a.Placement == 0 && a.DeviceType == 6) return 7;
  if (a.Placement == 1 && a.DeviceType == 0) return 6;
  switch (a.DeviceType) {
    case 2: return 1;
    case 3: return 2;
    case 9: return 3;
    default: return 5;
  }
}

std::string SelectedProtocolText(const Workspace& ws) {
  const TPPK* ppk = ws.db.Panel();
  if (!ppk) return {};
  const Catalogues& c = CataloguesFor(ws.variant);
  const auto& list = ws.editor.ProtectionEnabled ? c.ProtocolsReduced : c.ProtocolsFull;
  const int row = ProtocolRowOf(list, ppk->Protocol);
  return row < 0 ? std::string() : std::string(list[static_cast<std::size_t>(row)].Label);
}

BuildSettings SettingsFromEditor(const Workspace& ws) {
  BuildSettings s;
  s.Controller = ws.editor.BitCheckBoxController;
  s.ProtocolText = SelectedProtocolText(ws);
  return s;
}

bool DBConvertToPPK(Workspace& ws, Host& host, const BuildSettings& settings, const ListingStamp& stamp,
                    IniSink* ini) {
  return Builder(ws, host, settings, stamp, ini).Run();
}

}  // namespace velkor
