#include "image/image_reader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>
#include <vector>

#include "model/captions.h"
#include "model/catalogues.h"
#include "text/cp1251.h"

namespace velkor {

namespace {

constexpr std::string_view kWarningTitle = "Предупреждение"_w;

// Channel-control period of each row of the channel-control list as the
// panel stores it: (period byte, mask byte).
using ControlCanalPair = std::array<std::uint8_t, 2>;
constexpr std::array<ControlCanalPair, 10> kControlCanal = {{
    {0, 0}, {4, 1}, {8, 1}, {56, 1}, {113, 1}, {225, 1}, {225, 2}, {225, 4}, {225, 8}, {168, 16},
}};
// The older list has no "2 часа".
constexpr std::array<ControlCanalPair, 9> kLegacyControlCanal = {{
    {0, 0}, {4, 1}, {8, 1}, {56, 1}, {113, 1}, {225, 2}, {225, 4}, {225, 8}, {168, 16},
}};

// Device type of each SA type code of a device on the RS-485 bus; -1 for a
// code that is not a bus device.
constexpr int BusDeviceTypeOf(Variant variant, int saType) {
  // The older panels know no SA type above 15.
  if (variant == Variant::Legacy && saType > 15) return -1;
  switch (saType) {
    case 4: return 1;
    case 5: return 6;
    case 6: return 5;
    case 7: return 7;
    case 8: return 3;
    case 9: return 0;
    case 12: return 2;
    case 13: return 4;
    case 16: return 8;
    case 17: return 9;
    default: return -1;
  }
}

class ImageReader {
 public:
  ImageReader(Workspace& ws, Host& host) : ws_(ws), db_(ws.db), reg_(ws.registry), host_(host) {}

  bool Run() {
    reg_.Clear();
    if (!db_.Panel() || !db_.BaseModule() || !db_.Rs485Node || !db_.RoomsNode) return false;
    if (host_.ConvertCancelled()) return false;
    ReadPanel();
    host_.ConvertPosition(8);
    if (!ReadAdapters()) return false;
    host_.ConvertPosition(16);
    if (!ReadGroups()) return false;
    host_.ConvertPosition(24);
    if (!ReadUsers()) return false;
    host_.ConvertPosition(32);
    if (!ReadZones()) return false;
    host_.ConvertPosition(40);
    if (!ReadSetInputs()) return false;
    host_.ConvertPosition(48);
    if (!ReadIDReaders()) return false;
    host_.ConvertPosition(56);
    if (!ReadOutputs()) return false;
    host_.ConvertPosition(64);
    if (!ReadUserRights()) return false;
    host_.ConvertPosition(72);
    if (!ReadGroupKeyboards()) return false;
    host_.ConvertPosition(80);
    if (!ReadReactions()) return false;
    DeleteEmptyGroups();
    host_.ConvertPosition(88);
    SortTree(db_.Hardware);
    SortTree(db_.Rooms);
    // The tables served only this run; the entries of deleted groups would
    // point at freed elements.
    reg_.Clear();
    host_.ConvertPosition(100);
    host_.Pause(100);
    return true;
  }

 private:
  std::uint8_t Byte(int section, int record, int byte) const {
    const int at = ImageOffset(ws_.variant, section, record, byte);
    return at < 0 ? 0 : ws_.DBReadArray[static_cast<std::size_t>(at)];
  }
  unsigned Word(int section, int record, int byte) const {
    return Byte(section, record, byte) | (Byte(section, record, byte + 1) << 8);
  }
  std::uint32_t Dword(int section, int record, int byte) const {
    return Word(section, record, byte) | (static_cast<std::uint32_t>(Word(section, record, byte + 2)) << 16);
  }
  std::uint8_t Panel(int byte) const { return Byte(SectionPanel, 0, byte); }
  bool legacy() const { return ws_.variant == Variant::Legacy; }

  // A text field of the panel record: empty when every byte is 0xFF (a panel
  // that never had it written; the older panels leave zeros), otherwise
  // every byte, zeros included.
  std::string PanelText(int first, int size) const {
    const std::uint8_t unwritten = legacy() ? 0x00 : 0xFF;
    std::string out;
    bool erased = true;
    for (int i = 0; i < size; ++i) {
      const std::uint8_t b = Panel(first + i);
      if (b != unwritten) erased = false;
      out.push_back(static_cast<char>(b));
    }
    return erased ? std::string() : out;
  }

  bool Register(int section, Node& node, int record) {
    return reg_.DBRegister(section, &node, node.Data, record);
  }

  void ReadPanel() {
    TPPK& p = *db_.Panel();
    const Catalogues& cat = CataloguesFor(ws_.variant);
    const auto& protocols = ws_.editor.ProtectionEnabled ? cat.ProtocolsReduced : cat.ProtocolsFull;
    if (ProtocolRowOf(protocols, Panel(2)) >= 0) {
      p.Protocol = Panel(2);
    } else {
      p.Protocol = 4;
      host_.Message(MessageIcon::Warning, kWarningTitle,
                    std::string("В структуре указан неподдерживаемый конвертером протокол связи ППК.\r"
                                "При конвертации использован протокол \"Ворсан - телефонная линия\""_w));
    }
    p.SrpNumber = PanelText(3, 14);
    p.PcnMobileNumber = PanelText(17, 14);
    p.SmsCenterNumber = PanelText(31, 14);
    p.CardPinCode = PanelText(45, 8);
    p.RadioAddressPco = std::to_string(Panel(53) + 1);
    p.RadioAddressPpk = std::to_string(Word(SectionPanel, 0, 54) + 1);
    const std::span<const ControlCanalPair> canal =
        legacy() ? std::span<const ControlCanalPair>(kLegacyControlCanal) : std::span<const ControlCanalPair>(kControlCanal);
    p.ControlCanalTime = 0;
    for (std::size_t row = 0; row < canal.size(); ++row)
      if (canal[row][0] == Panel(56) && canal[row][1] == Panel(57)) p.ControlCanalTime = static_cast<byte>(row);
    for (int k = 1; k <= 4; ++k) {
      const std::uint8_t first = Panel(56 + 2 * k);
      const std::uint8_t second = Panel(57 + 2 * k);
      auto& pair1 = p.RetranslationAddress[static_cast<std::size_t>(2 * k - 2)];
      auto& pair2 = p.RetranslationAddress[static_cast<std::size_t>(2 * k - 1)];
      if (first != second) {
        pair1 = std::to_string(first + 1);
        pair2 = std::to_string(second + 1);
      } else {
        pair1 = std::string_view();
        pair2 = std::string_view();
      }
    }
    if (legacy()) return;  // bytes 66..74 are unused there
    p.PcoDbNumber = static_cast<word>(Word(SectionPanel, 0, 67) + 1);
    p.NetNumber = static_cast<byte>(Panel(69) + 1);
    p.ConnectReasons = Panel(70);
    p.ConnectTimeOut = Panel(71) < 5 ? 20 : Panel(71);
    const unsigned wait = Word(SectionPanel, 0, 72);
    p.RadioWaitTime = static_cast<word>(wait < 2 ? 2 : wait);
    p.RadioNetNumber = static_cast<byte>(Panel(74) + 1);
  }

  Node& AddModule(byte type) {
    auto element = MakeElement<TAdapter>(0, type, ws_.variant);
    std::string caption = HardwareCaption(ws_.variant, *element);
    return AddNode(db_.Hardware, db_.PanelNode, std::move(caption), std::move(element));
  }

  bool ReadAdapters() {
    bool thirdModuleMade = false;
    bool unknownWarned = false;
    const int records = SectionOf(ws_.variant, SectionAdapters)->Records;
    for (int r = 0; r < records; ++r) {
      if (host_.ConvertCancelled()) return false;
      const std::uint8_t saType = Byte(SectionAdapters, r, 16);
      if (!(Byte(SectionAdapters, r, 0) & 1) || saType == 0) continue;
      Node* node = nullptr;
      if (saType == 1 || saType == 2) {
        TAdapter& base = *db_.BaseModule();
        base.ZonesTotal = saType == 1 ? 8 : 16;
        base.ZonesControlTime = Byte(SectionAdapters, r, 15);
        node = db_.BaseModuleNode;
      } else if (saType == 3 || saType == 14 || saType == 15) {
        if (thirdModuleMade) continue;
        thirdModuleMade = true;
        node = &AddModule(saType == 3 ? 4 : saType == 14 ? 2 : 3);
        if (saType == 3) ws_.editor.BitCheckBoxController = Byte(SectionAdapters, r, 15) == 240;
      } else if (saType == 10 || saType == 11 || (saType == 18 && !legacy())) {
        node = &AddModule(saType == 18 ? 6 : 1);
        db_.KeyboardModuleNode = node;
      } else if (const int type = BusDeviceTypeOf(ws_.variant, saType); type >= 0) {
        auto element = MakeElement<TAdapter>(1, static_cast<byte>(type), ws_.variant);
        auto& a = std::get<TAdapter>(*element);
        a.NetNumber = Byte(SectionAdapters, r, 2);
        a.SerialNumber = Dword(SectionAdapters, r, 17);
        if (type == 0 || type == 1) a.ZonesControlTime = Byte(SectionAdapters, r, 15);
        std::string caption = HardwareCaption(ws_.variant, *element);
        node = &AddNode(db_.Hardware, db_.Rs485Node, std::move(caption), std::move(element));
      } else {
        if (!unknownWarned)
          host_.Message(MessageIcon::Warning, kWarningTitle, "В структуре имеется неизвестный СА"_w);
        unknownWarned = true;
        continue;
      }
      if (!Register(SectionAdapters, *node, r)) return false;
    }
    return true;
  }

  bool ReadGroups() {
    for (int r = 0; r < 128; ++r) {
      if (host_.ConvertCancelled()) return false;
      const std::uint8_t flags = Byte(SectionGroups, r, 0);
      if ((flags & 0x81) != 0x81) continue;
      auto element = MakeElement<TGroup>();
      auto& g = std::get<TGroup>(*element);
      g.Number = static_cast<byte>(r + 1);
      g.RoomNumber = std::to_string(Word(SectionGroups, r, 11));
      g.WaitToSet = Byte(SectionGroups, r, 1);
      g.WaitToOpen = Byte(SectionGroups, r, 2);
      g.KeyboardAccess = (flags >> 4) & 1;
      g.AndMode = (flags >> 2) & 1;
      std::string caption = RoomsCaption(*element);
      Node& node = AddNode(db_.Rooms, db_.RoomsNode, std::move(caption), std::move(element));
      if (!Register(SectionGroups, node, r)) return false;
    }
    return true;
  }

  std::string PinCode(int r) const {
    bool erased = true;
    for (int i = 1; i <= 4; ++i)
      if (Byte(SectionUsers, r, i) != 0xFF) erased = false;
    std::string pin;
    if (erased) return pin;
    for (int i = 1; i <= 4; ++i) {
      const std::uint8_t b = Byte(SectionUsers, r, i);
      for (int half : {b >> 4, b & 0x0F})
        if (half < 10) pin.push_back(static_cast<char>('0' + half));
    }
    return pin;
  }

  std::string Identifier(int r) const {
    bool erased = true;
    for (int i = 5; i <= 12; ++i)
      if (Byte(SectionUsers, r, i) != 0xFF) erased = false;
    std::string id;
    if (erased) return id;
    for (int i = 12; i >= 5; --i) {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02X", Byte(SectionUsers, r, i));
      id += hex;
    }
    return id;
  }

  bool ReadUsers() {
    for (int r = 0; r < 128; ++r) {
      if (host_.ConvertCancelled()) return false;
      if (!(Byte(SectionUsers, r, 0) & (legacy() ? 0x80 : 0x01))) continue;
      auto element = MakeElement<TUser>();
      auto& u = std::get<TUser>(*element);
      u.Number = static_cast<byte>(r + 1);
      u.PinCode = PinCode(r);
      u.Identifier = Identifier(r);
      std::string caption = RoomsCaption(*element);
      Node& node = AddNode(db_.Rooms, db_.RoomsNode, std::move(caption), std::move(element));
      if (!Register(SectionUsers, node, r)) return false;
    }
    return true;
  }

  const RegistryEntry* AdapterOfRecord(int record) const { return reg_.FindByNumber(SectionAdapters, record); }
  const RegistryEntry* GroupOfRecord(int record) const { return reg_.FindByNumber(SectionGroups, record); }
  static TAdapter& AdapterOf(const RegistryEntry& e) { return std::get<TAdapter>(*e.element); }
  static TGroup& GroupOf(const RegistryEntry& e) { return std::get<TGroup>(*e.element); }

  // The slot of a record on its device: how far the record lies past the
  // device's first record of that kind.
  int SlotOf(int record, const RegistryEntry& adapter, int firstByte) const {
    return record - Byte(SectionAdapters, adapter.number, firstByte);
  }

  // Puts an element under its device, and under its group when it has one.
  Node& Place(std::unique_ptr<Element> element, const RegistryEntry& adapter, const RegistryEntry* group) {
    std::string caption = HardwareCaption(ws_.variant, *element);
    Node& node = AddNode(db_.Hardware, adapter.node, std::move(caption), std::move(element));
    if (group) AddMirrorNode(db_.Rooms, group->node, RoomsCaption(*node.Data), node.Data);
    return node;
  }

  bool ReadZones() {
    std::vector<const TZone*> restored;
    for (int r = 0; r < 128; ++r) {
      if (host_.ConvertCancelled()) return false;
      const std::uint8_t type = Byte(SectionZones, r, 3);
      if (type == 0) continue;
      const RegistryEntry* ae = AdapterOfRecord(Byte(SectionZones, r, 0));
      const RegistryEntry* ge = GroupOfRecord(Byte(SectionZones, r, 1));
      const std::uint8_t inGroup = Byte(SectionZones, r, 2);
      if (!ae || !ge || inGroup >= 128) continue;
      TAdapter& a = AdapterOf(*ae);
      TGroup& g = GroupOf(*ge);
      const int s = SlotOf(r, *ae, 3);
      if (s < 0 || s >= a.ZonesTotal) continue;
      const bool taken = std::any_of(restored.begin(), restored.end(), [&](const TZone* z) {
        return (z->Adapter == &a && z->NumberInAdapter == s + 1) ||
               (z->Group == &g && z->NumberInGroup == inGroup + 1);
      });
      if (taken) continue;
      auto element = MakeElement<TZone>();
      auto& z = std::get<TZone>(*element);
      z.Adapter = &a;
      z.Group = &g;
      z.ZoneType = type;
      z.NumberInAdapter = static_cast<byte>(s + 1);
      z.NumberInGroup = static_cast<byte>(inGroup + 1);
      restored.push_back(&z);
      Node& node = Place(std::move(element), *ae, ge);
      if (!Register(SectionZones, node, r)) return false;
    }
    return true;
  }

  bool ReadSetInputs() {
    std::vector<const TSetInput*> restored;
    for (int r = 0; r < 32; ++r) {
      if (host_.ConvertCancelled()) return false;
      if (!(Byte(SectionSetInputs, r, 0) & 1)) continue;
      const RegistryEntry* ae = AdapterOfRecord(Byte(SectionSetInputs, r, 1));
      const RegistryEntry* ge = GroupOfRecord(Byte(SectionSetInputs, r, 2));
      if (!ae || !ge) continue;
      TAdapter& a = AdapterOf(*ae);
      TGroup& g = GroupOf(*ge);
      const int s = SlotOf(r, *ae, 7);
      if (s < 0 || s >= a.SetInputsTotal) continue;
      const bool taken = std::any_of(restored.begin(), restored.end(), [&](const TSetInput* i) {
        return (i->Adapter == &a && i->Number == s + 1) || i->Group == &g;
      });
      if (taken) continue;
      auto element = MakeElement<TSetInput>();
      auto& input = std::get<TSetInput>(*element);
      input.Adapter = &a;
      input.Group = &g;
      input.Number = static_cast<byte>(s + 1);
      restored.push_back(&input);
      Node& node = Place(std::move(element), *ae, ge);
      if (!Register(SectionSetInputs, node, r)) return false;
    }
    return true;
  }

  bool ReadIDReaders() {
    std::vector<const TIDReader*> restored;
    for (int r = 0; r < 32; ++r) {
      if (host_.ConvertCancelled()) return false;
      if (!(Byte(SectionIDReaders, r, 0) & 1)) continue;
      const RegistryEntry* ae = AdapterOfRecord(Byte(SectionIDReaders, r, 1));
      if (!ae) continue;
      // 255 serves all groups; so does a group that was not restored.
      const std::uint8_t groupRecord = Byte(SectionIDReaders, r, 2);
      const RegistryEntry* ge = groupRecord == 255 ? nullptr : GroupOfRecord(groupRecord);
      TAdapter& a = AdapterOf(*ae);
      TGroup* g = ge ? &GroupOf(*ge) : nullptr;
      const int s = SlotOf(r, *ae, 11);
      if (s < 0 || s >= a.ReadersTotal) continue;
      const bool taken = std::any_of(restored.begin(), restored.end(), [&](const TIDReader* i) {
        return (i->Adapter == &a && i->Number == s + 1) || (g && i->Group == g);
      });
      if (taken) continue;
      auto element = MakeElement<TIDReader>();
      auto& input = std::get<TIDReader>(*element);
      input.Adapter = &a;
      input.Group = g;
      input.Number = static_cast<byte>(s + 1);
      restored.push_back(&input);
      Node& node = Place(std::move(element), *ae, ge);
      if (!Register(SectionIDReaders, node, r)) return false;
    }
    return true;
  }

  bool ReadOutputs() {
    std::vector<const TOutput*> restored;
    for (int r = 0; r < 64; ++r) {
      if (host_.ConvertCancelled()) return false;
      const std::uint8_t flags = Byte(SectionOutputs, r, 0);
      if (!(flags & 1)) continue;
      const RegistryEntry* ae = AdapterOfRecord(Byte(SectionOutputs, r, 1));
      if (!ae) continue;
      TAdapter& a = AdapterOf(*ae);
      const int s = SlotOf(r, *ae, 5);
      if (s < 0 || s >= a.OutputsTotal) continue;
      const bool taken = std::any_of(restored.begin(), restored.end(),
                                     [&](const TOutput* o) { return o->Adapter == &a && o->Number == s + 1; });
      if (taken) continue;
      auto element = MakeElement<TOutput>();
      auto& o = std::get<TOutput>(*element);
      o.Adapter = &a;
      o.Number = static_cast<byte>(s + 1);
      const std::uint8_t reaction = Byte(SectionOutputs, r, 2);
      o.ReactionKind = reaction & 0x0F;
      o.ReactionTime = (reaction >> 4) & 7;
      o.ReactionWait = Byte(SectionOutputs, r, 3);
      o.Inverse = (flags >> 1) & 1;
      o.AlarmToOpen = (flags >> 5) & 1;
      o.AlarmToNorma = (flags >> 6) & 1;
      if (flags & 0x80) {
        o.ForGroups = 1;
        o.AlarmToNorma = 0;
      }
      restored.push_back(&o);
      Node& node = Place(std::move(element), *ae, nullptr);
      if (!Register(SectionOutputs, node, r)) return false;
    }
    return true;
  }

  bool ReadUserRights() {
    const auto& groups = reg_.Entries(SectionGroups);
    for (const RegistryEntry& ue : reg_.Entries(SectionUsers)) {
      if (host_.ConvertCancelled()) return false;
      TUser& u = std::get<TUser>(*ue.element);
      // The older panels keep each distinct mask once, in section 10, and
      // name it in bits 0..6 of the user's flags.
      const int section = legacy() ? SectionAccess : SectionUsers;
      const int record = legacy() ? Byte(SectionUsers, ue.number, 0) & 0x7F : ue.number;
      const int first = legacy() ? 0 : 13;
      for (std::size_t j = 0; j < groups.size() && j < u.Groups.size(); ++j) {
        const int g = groups[j].number;
        if (Byte(section, record, first + g / 8) & (1 << (g % 8))) u.Groups[j] = &GroupOf(groups[j]);
      }
    }
    return true;
  }

  bool ReadGroupKeyboards() {
    for (const RegistryEntry& ge : reg_.Entries(SectionGroups)) {
      if (host_.ConvertCancelled()) return false;
      TGroup& g = GroupOf(ge);
      const std::uint32_t mask = Dword(SectionGroups, ge.number, 7);
      std::size_t next = 0;
      for (int i = 0; i < 32; ++i) {
        if (!((mask >> i) & 1) || !(Byte(SectionKeyboards, i, 0) & 1)) continue;
        const int device = Byte(SectionKeyboards, i, 1);
        for (const RegistryEntry& ae : reg_.Entries(SectionAdapters)) {
          TAdapter& a = AdapterOf(ae);
          if (ae.number == device && a.IsKeyboard == 1 && next < g.Keyboards.size()) g.Keyboards[next++] = &a;
        }
      }
    }
    return true;
  }

  bool ReadReactions() {
    TPPK& panel = *db_.Panel();
    const auto& outputs = reg_.Entries(SectionOutputs);
    std::vector<bool> used(outputs.size(), false);
    for (std::size_t k = 0; k < outputs.size(); ++k) {
      if (host_.ConvertCancelled()) return false;
      TOutput& o = std::get<TOutput>(*outputs[k].element);
      const int match = outputs[k].number + 1;
      auto take = [&](TOutput*& field) {
        field = &o;
        used[k] = true;
      };
      if (o.ForGroups) {
        for (const RegistryEntry& ge : reg_.Entries(SectionGroups)) {
          if (Byte(SectionGroups, ge.number, 5) == match) take(GroupOf(ge).ReactionSet);
          if (Byte(SectionGroups, ge.number, 6) == match) take(GroupOf(ge).ReactionOpen);
        }
        continue;
      }
      if (Panel(0) == match) take(panel.ReactionTamper);
      if (Panel(1) == match) take(panel.Reaction220V);
      if (ws_.variant != Variant::Legacy && Panel(66) == match) take(panel.ReactionCapture);
      for (const RegistryEntry& ae : reg_.Entries(SectionAdapters)) {
        TAdapter& a = AdapterOf(ae);
        const int rec = ae.number;
        if (a.Placement == 0) {
          if (Byte(SectionAdapters, rec, 21) == match) take(panel.ReactionPower);
        } else if (a.Placement == 1) {
          if (Byte(SectionAdapters, rec, 13) == match) take(a.ReactionTamper);
          if (Byte(SectionAdapters, rec, 14) == match) take(a.ReactionConnect);
          const bool keyboardOnly = a.DeviceType == 2 || a.DeviceType == 3 || a.DeviceType == 9;
          if (Byte(SectionAdapters, rec, 21) == match && !keyboardOnly) take(a.ReactionPower);
        }
      }
      for (const RegistryEntry& ze : reg_.Entries(SectionZones)) {
        TZone& z = std::get<TZone>(*ze.element);
        if (Byte(SectionZones, ze.number, 4) == match)
          take(z.Reaction1);
        else if (Byte(SectionZones, ze.number, 5) == match)
          take(z.Reaction2);
        else if (Byte(SectionZones, ze.number, 6) == match)
          take(z.Reaction3);
      }
    }
    // A fire detector reset is an otherwise unused output with the one
    // pattern the builder gives it: 4 s on, 60 s off, for one minute.
    for (std::size_t k = 0; k < outputs.size(); ++k) {
      TOutput& o = std::get<TOutput>(*outputs[k].element);
      if (used[k] || o.ForGroups || o.ReactionKind != 8 || o.ReactionTime != 1 || o.ReactionWait != 0 ||
          o.AlarmToOpen || o.AlarmToNorma)
        continue;
      o.ForFire = 1;
      const int match = outputs[k].number + 1;
      for (const RegistryEntry& ze : reg_.Entries(SectionZones))
        if (Byte(SectionZones, ze.number, 7) == match) std::get<TZone>(*ze.element).Reaction4 = &o;
    }
    return true;
  }

  // A group without zones or inputs cannot exist in a panel; the image may
  // still name it in users' rights.
  void DeleteEmptyGroups() {
    bool deleted = true;
    while (deleted) {
      deleted = false;
      for (const auto& child : db_.RoomsNode->Children) {
        const TGroup* g = child->As<TGroup>();
        if (!g || !child->Children.empty()) continue;
        for (const auto& other : db_.RoomsNode->Children)
          if (TUser* u = other->As<TUser>())
            for (TGroup*& right : u->Groups)
              if (right == g) right = nullptr;
        DetachNode(db_.Rooms, *child);
        deleted = true;
        break;
      }
    }
  }

  Workspace& ws_;
  Database& db_;
  ElementRegistry& reg_;
  Host& host_;
};

}  // namespace

bool DBConvertFromPPK(Workspace& ws, Host& host) { return ImageReader(ws, host).Run(); }

bool LoadDatabaseFromReadArray(Workspace& ws, Host& host) {
  ws.editor.ViewCardEnabled = false;
  host.ConvertBegin();
  bool ok = EraceDB(ws, host) && CreateNewDB(ws, host);
  if (ok && ws.db.KeyboardModuleNode) {
    // The image tells whether the panel has a keyboard module.
    DetachNode(ws.db.Hardware, *ws.db.KeyboardModuleNode);
    ws.db.KeyboardModuleNode = nullptr;
  }
  ok = ok && DBConvertFromPPK(ws, host);
  host.ConvertEnd();
  if (!ok) {
    EraceDB(ws, host);
    return false;
  }
  ws.editor.ViewCardEnabled = true;
  ws.editor.DBChanged = true;
  ProcessDataBase(ws.db);
  RefreshModuleCaptions(ws.db);
  return true;
}

bool ReadRomDatabase(Workspace& ws, Host& host, const std::string& path) {
  if (!ReadRomFile(host, path, ws.DBReadArray) || !LoadDatabaseFromReadArray(ws, host)) {
    ShowWarning(host, "База данных из файла не загружена"_w);
    return false;
  }
  return true;
}

}  // namespace velkor
