#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/scripted_host.h"
#include "image/image_reader.h"
#include "text/cp1251.h"

namespace velkor {
namespace {

std::vector<std::string> ChildCaptions(const Node& node) {
  std::vector<std::string> out;
  for (const auto& c : node.Children) out.push_back(Cp1251ToUtf8(c->Caption));
  return out;
}

const Node* ChildCaptioned(const Node& parent, const std::string& utf8) {
  for (const auto& c : parent.Children)
    if (Cp1251ToUtf8(c->Caption) == utf8) return c.get();
  return nullptr;
}

// Images put together byte by byte, as a panel would hold them, and read
// into a fresh workspace the way the commands do.
class ImageReader : public ::testing::Test {
 protected:
  // Protocol 0 of an all-zero image is not in the list shown normally.
  void SetUp() override { PutPanel(2, 4); }
  void Put(int section, int record, int byte, int value) {
    const int at = ImageOffset(Variant::Current, section, record, byte);
    ASSERT_GE(at, 0);
    ws.DBReadArray[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
  }
  void PutPanel(int byte, int value) { Put(SectionPanel, 0, byte, value); }
  void PutPanelRun(int first, int size, int value) {
    for (int i = 0; i < size; ++i) PutPanel(first + i, value);
  }
  // An adapter record with its first zone, output, SET input and TM input.
  void Adapter(int record, int saType, int net = 0, int firstZone = 0, int firstOutput = 0, int firstSet = 0,
               int firstReader = 0) {
    Put(SectionAdapters, record, 0, 1);
    Put(SectionAdapters, record, 2, net);
    Put(SectionAdapters, record, 3, firstZone);
    Put(SectionAdapters, record, 5, firstOutput);
    Put(SectionAdapters, record, 7, firstSet);
    Put(SectionAdapters, record, 11, firstReader);
    Put(SectionAdapters, record, 16, saType);
  }
  void Group(int record, int flags = 0x81) { Put(SectionGroups, record, 0, flags); }
  void Zone(int record, int adapter, int group, int inGroup, int type = 1) {
    Put(SectionZones, record, 0, adapter);
    Put(SectionZones, record, 1, group);
    Put(SectionZones, record, 2, inGroup);
    Put(SectionZones, record, 3, type);
  }
  void Output(int record, int adapter, int flags = 1, int reactionType = 0, int wait = 0) {
    Put(SectionOutputs, record, 0, flags);
    Put(SectionOutputs, record, 1, adapter);
    Put(SectionOutputs, record, 2, reactionType);
    Put(SectionOutputs, record, 3, wait);
  }
  void Input(int section, int record, int adapter, int group) {
    Put(section, record, 0, 1);
    Put(section, record, 1, adapter);
    Put(section, record, 2, group);
  }
  void User(int record, std::array<int, 4> pin, std::array<int, 8> id = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) {
    Put(SectionUsers, record, 0, 1);
    for (int i = 0; i < 4; ++i) Put(SectionUsers, record, 1 + i, pin[static_cast<std::size_t>(i)]);
    for (int i = 0; i < 8; ++i) Put(SectionUsers, record, 5 + i, id[static_cast<std::size_t>(i)]);
  }
  // The base module (8 zones) with group 1 holding its zone 1: the least an
  // image needs so that group 1 survives.
  void BaseWithGroupOne() {
    Adapter(0, 1);
    Group(0);
    Zone(0, 0, 0, 0);
  }

  bool Load() { return LoadDatabaseFromReadArray(ws, host); }
  Database& db() { return ws.db; }
  TPPK& panel() { return *db().Panel(); }
  const Node& group(int number) {
    const Node* n = ChildCaptioned(*db().RoomsNode, "Группа " + std::string(number < 10 ? "00" : number < 100 ? "0" : "") +
                                                         std::to_string(number));
    if (!n) throw std::runtime_error("no group " + std::to_string(number));
    return *n;
  }
  std::vector<HostEvent> warnings() const { return host.messages(); }

  Workspace ws;
  ScriptedHost host;
};

TEST_F(ImageReader, ZeroTextsOfABuiltImageAndErasedTextsOfAPanel) {
  ASSERT_TRUE(Load());
  EXPECT_EQ(panel().Protocol, 4);
  EXPECT_EQ(panel().SrpNumber.str(), std::string(14, '\0'));
  EXPECT_EQ(panel().PcnMobileNumber.str(), std::string(14, '\0'));
  EXPECT_EQ(panel().SmsCenterNumber.str(), std::string(14, '\0'));
  EXPECT_EQ(panel().CardPinCode.str(), std::string(8, '\0'));
  EXPECT_EQ(panel().RadioAddressPco, "1");
  EXPECT_EQ(panel().RadioAddressPpk, "1");
  EXPECT_TRUE(warnings().empty());

  PutPanelRun(3, 50, 0xFF);
  PutPanel(45, '4');  // one byte that is not 0xFF keeps the whole field
  ASSERT_TRUE(Load());
  EXPECT_TRUE(panel().SrpNumber.empty());
  EXPECT_TRUE(panel().PcnMobileNumber.empty());
  EXPECT_TRUE(panel().SmsCenterNumber.empty());
  EXPECT_EQ(panel().CardPinCode.str(), "4\xFF\xFF\xFF\xFF\xFF\xFF\xFF");
}

TEST_F(ImageReader, PanelNumbersAndRadioFields) {
  PutPanel(2, 10);
  PutPanel(53, 255);
  PutPanel(54, 0x1F);  // 0x011F + 1 = 288
  PutPanel(55, 0x01);
  PutPanel(56, 225);  // "4 часа"
  PutPanel(57, 2);
  PutPanel(58, 4);  // pair 1: 5 and 10
  PutPanel(59, 9);
  PutPanel(60, 7);  // pair 2: equal bytes mean no pair
  PutPanel(61, 7);
  PutPanel(67, 0xE7);  // 999 + 1
  PutPanel(68, 0x03);
  PutPanel(69, 127);
  PutPanel(70, 0);
  PutPanel(71, 4);  // below 5: the default 20
  PutPanel(72, 1);  // below 2: 2
  PutPanel(74, 255);
  ASSERT_TRUE(Load());
  const TPPK& p = panel();
  EXPECT_EQ(p.Protocol, 10);
  EXPECT_EQ(p.RadioAddressPco, "256");
  EXPECT_EQ(p.RadioAddressPpk, "288");
  EXPECT_EQ(p.ControlCanalTime, 6);
  EXPECT_EQ(p.RetranslationAddress[0], "5");
  EXPECT_EQ(p.RetranslationAddress[1], "10");
  for (std::size_t i = 2; i < 8; ++i) EXPECT_TRUE(p.RetranslationAddress[i].empty()) << i;
  EXPECT_EQ(p.PcoDbNumber, 1000);
  EXPECT_EQ(p.NetNumber, 128);
  EXPECT_EQ(p.ConnectReasons, 0);
  EXPECT_EQ(p.ConnectTimeOut, 20);
  EXPECT_EQ(p.RadioWaitTime, 2);
  EXPECT_EQ(p.RadioNetNumber, 0);

  PutPanel(56, 225);  // a pair that is not in the table
  PutPanel(57, 3);
  PutPanel(71, 5);
  PutPanel(72, 2);
  ASSERT_TRUE(Load());
  EXPECT_EQ(panel().ControlCanalTime, 0);
  EXPECT_EQ(panel().ConnectTimeOut, 5);
  EXPECT_EQ(panel().RadioWaitTime, 2);
}

TEST_F(ImageReader, ProtocolsOutsideTheListInForceBecomePhoneLine) {
  struct Case {
    int code;
    int protection;
    bool accepted;
  };
  const Case cases[] = {{1, 1, true}, {14, 1, true}, {0, 1, false}, {3, 1, false}, {0, 0, true},
                        {3, 0, true}, {9, 0, false}, {13, 1, false}, {255, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    host.events.clear();
    ws.editor.ProtectionEnabled = c.protection;
    PutPanel(2, c.code);
    ASSERT_TRUE(Load());
    EXPECT_EQ(panel().Protocol, c.accepted ? c.code : 4);
    if (c.accepted) {
      EXPECT_TRUE(warnings().empty());
    } else {
      ASSERT_EQ(warnings().size(), 1u);
      EXPECT_EQ(warnings()[0].icon, MessageIcon::Warning);
      EXPECT_EQ(Cp1251ToUtf8(warnings()[0].title), "Предупреждение");
      EXPECT_EQ(Cp1251ToUtf8(warnings()[0].text),
                "В структуре указан неподдерживаемый конвертером протокол связи ППК.\r"
                "При конвертации использован протокол \"Ворсан - телефонная линия\"");
    }
  }
}

TEST_F(ImageReader, AdaptersBySaType) {
  Adapter(0, 2, 0, 0, 0, 0, 0);
  Put(SectionAdapters, 0, 15, 3);
  Adapter(1, 9, 7);  // "Ворсан - ШВ3" at address 7
  Put(SectionAdapters, 1, 15, 2);
  Put(SectionAdapters, 1, 17, 0x39);  // serial 00001--12345
  Put(SectionAdapters, 1, 18, 0x30);
  Put(SectionAdapters, 1, 19, 0x01);
  Adapter(2, 12, 3);  // "Ворсан - ПУ8"
  Put(SectionAdapters, 2, 15, 2);  // zone reaction time only for device types 0 and 1
  Adapter(3, 16, 12);  // "Ворсан - ЧТ"
  Adapter(4, 7, 0);    // flags not in use
  Put(SectionAdapters, 4, 0, 0);
  Adapter(32, 18);  // "Ворсан - ПУСП"
  Adapter(33, 3);   // "Ворсан - ПУП" with the filter on
  Put(SectionAdapters, 33, 15, 240);
  ASSERT_TRUE(Load());
  EXPECT_TRUE(warnings().empty());
  EXPECT_EQ(ChildCaptions(*db().PanelNode),
            (std::vector<std::string>{"Ворсан - БМ16", "Ворсан - ПУП", "Ворсан - ПУСП", "Интерфейс 485"}));
  EXPECT_EQ(ChildCaptions(*db().Rs485Node),
            (std::vector<std::string>{"03 > Ворсан - ПУ8", "07 > Ворсан - ШВ3", "12 > Ворсан - ЧТ"}));
  EXPECT_EQ(db().BaseModule()->ZonesTotal, 16);
  EXPECT_EQ(db().BaseModule()->ZonesControlTime, 3);
  ASSERT_NE(db().KeyboardModuleNode, nullptr);
  EXPECT_EQ(db().KeyboardModuleNode->As<TAdapter>()->DeviceType, 6);
  EXPECT_TRUE(ws.editor.BitCheckBoxController);

  const TAdapter& shv3 = *db().Rs485Node->Children[1]->As<TAdapter>();
  EXPECT_EQ(shv3.Placement, 1);
  EXPECT_EQ(shv3.DeviceType, 0);
  EXPECT_EQ(shv3.NetNumber, 7);
  EXPECT_EQ(shv3.SerialNumber, 0x00013039u);
  EXPECT_EQ(shv3.ZonesControlTime, 2);
  EXPECT_EQ(shv3.ZonesTotal, 3);
  EXPECT_EQ(db().Rs485Node->Children[0]->As<TAdapter>()->ZonesControlTime, 0);
}

TEST_F(ImageReader, OneThirdModuleAndOneWarningForUnknownTypes) {
  BaseWithGroupOne();
  Adapter(32, 14, 0, 0, 1);
  Adapter(33, 15, 0, 0, 3);
  Output(1, 32);
  Output(3, 33);  // the second third module is not registered: its output goes
  Adapter(5, 0);  // not in use: SA type 0 is no adapter
  Put(SectionAdapters, 5, 0, 1);
  Adapter(6, 19);
  Adapter(7, 200);
  ASSERT_TRUE(Load());
  EXPECT_EQ(ChildCaptions(*db().PanelNode),
            (std::vector<std::string>{"Ворсан - БМ8", "Ворсан - ИВ21", "Интерфейс 485"}));
  EXPECT_EQ(db().KeyboardModuleNode, nullptr);
  EXPECT_EQ(ChildCaptions(*db().PanelNode->Children[1]), (std::vector<std::string>{"01 > Реле"}));
  ASSERT_EQ(warnings().size(), 1u);
  EXPECT_EQ(Cp1251ToUtf8(warnings()[0].title), "Предупреждение");
  EXPECT_EQ(Cp1251ToUtf8(warnings()[0].text), "В структуре имеется неизвестный СА");
}

TEST_F(ImageReader, ZonesNeedTheirAdapterGroupAndAFreeSlot) {
  Adapter(0, 1);
  Adapter(1, 9, 4, 8);  // ШВ3: zones 8..10
  Group(0);
  Group(1, 0x01);  // bit 7 missing: not a group
  Group(2);
  Zone(0, 0, 0, 0, 11);  // base module zone 1, group 1 indicator 1
  Zone(1, 0, 1, 1);      // group record not in use: dropped
  Put(SectionZones, 1, 4, 1);
  Zone(2, 0, 0, 0);    // indicator 1 of group 1 again: dropped
  Zone(3, 0, 2, 128);  // indicator beyond 128: dropped
  Zone(8, 1, 2, 5);    // ШВ3 slot 0
  Zone(10, 1, 2, 6);   // ШВ3 slot 2
  Zone(11, 1, 2, 7);   // ШВ3 slot 3: beyond its 3 zones
  Zone(12, 3, 2, 8);   // adapter record without an adapter
  Zone(13, 0, 2, 9, 0);  // zone type 0: an empty slot
  Output(0, 0);
  ASSERT_TRUE(Load());
  ProcessDataBase(db());

  const Node& base = *db().BaseModuleNode;
  EXPECT_EQ(ChildCaptions(base), (std::vector<std::string>{"01 > Шлейф", "Выход UK"}));
  EXPECT_EQ(base.Children[0]->As<TZone>()->ZoneType, 11);
  EXPECT_EQ(base.Children[0]->As<TZone>()->Reaction1, nullptr);
  EXPECT_EQ(ChildCaptions(*db().Rs485Node->Children[0]), (std::vector<std::string>{"01 > Шлейф", "03 > Шлейф"}));
  EXPECT_EQ(ChildCaptions(group(1)), (std::vector<std::string>{"001 > Шлейф"}));
  EXPECT_EQ(ChildCaptions(group(3)), (std::vector<std::string>{"006 > Шлейф", "007 > Шлейф"}));
  EXPECT_EQ(ChildCaptions(*db().RoomsNode), (std::vector<std::string>{"Группа 001", "Группа 003"}));
  // Both trees show one object.
  EXPECT_EQ(group(1).Children[0]->Data, base.Children[0]->Data);
  EXPECT_EQ(base.Children[0]->As<TZone>()->Group, group(1).As<TGroup>());
  EXPECT_EQ(db().BaseModule()->ZonesUsed, 1);
}

TEST_F(ImageReader, EmptyGroupsGoEvenWithUserRights) {
  BaseWithGroupOne();
  Group(1);  // no zone or input: deleted
  Group(2, 0x81 | 0x10 | 0x04);
  Put(SectionGroups, 2, 1, 30);
  Put(SectionGroups, 2, 2, 45);
  Put(SectionGroups, 2, 11, 0x39);
  Put(SectionGroups, 2, 12, 0x30);
  Input(SectionSetInputs, 0, 0, 2);
  User(0, {0x12, 0x34, 0xFF, 0xFF});
  Put(SectionUsers, 0, 13, 0b111);  // groups 1, 2, 3
  ASSERT_TRUE(Load());
  EXPECT_EQ(ChildCaptions(*db().RoomsNode),
            (std::vector<std::string>{"001 > Администратор", "Группа 001", "Группа 003"}));
  const TGroup& g3 = *group(3).As<TGroup>();
  EXPECT_EQ(g3.Number, 3);
  EXPECT_EQ(g3.WaitToSet, 30);
  EXPECT_EQ(g3.WaitToOpen, 45);
  EXPECT_EQ(g3.RoomNumber, "12345");
  EXPECT_EQ(g3.KeyboardAccess, 1);
  EXPECT_EQ(g3.AndMode, 1);
  EXPECT_EQ(group(1).As<TGroup>()->RoomNumber, "0");
  EXPECT_EQ(ChildCaptions(group(3)), (std::vector<std::string>{"Устройство SET"}));
  // Rights sit at the group's place in the numbering; the deleted group's
  // entry is cleared, not closed up.
  const TUser& admin = *db().RoomsNode->Children[0]->As<TUser>();
  EXPECT_EQ(admin.Groups[0], group(1).As<TGroup>());
  EXPECT_EQ(admin.Groups[1], nullptr);
  EXPECT_EQ(admin.Groups[2], &g3);
}

TEST_F(ImageReader, PinsAndIdentifiers) {
  struct Case {
    std::array<int, 4> pin;
    std::array<int, 8> id;
    const char* pinText;
    const char* idText;
  };
  const std::array<int, 8> none = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  const Case cases[] = {
      {{0x12, 0x3F, 0xFF, 0xFF}, none, "123", ""},
      {{0x12, 0x34, 0x56, 0x78}, {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE}, "12345678", "FEDCBA9876543210"},
      {{0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0xFF}, "", "FF00FFFFFFFFFFFF"},
      {{0xA1, 0xB2, 0xFF, 0xF3}, {0, 0, 0, 0, 0, 0, 0, 0}, "123", "0000000000000000"},
      {{0x00, 0xFF, 0xFF, 0xFE}, none, "00", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pinText);
    User(5, c.pin, c.id);
    ASSERT_TRUE(Load());
    const Node* node = ChildCaptioned(*db().RoomsNode, "006 > Пользователь");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->As<TUser>()->Number, 6);
    EXPECT_EQ(node->As<TUser>()->PinCode, c.pinText);
    EXPECT_EQ(node->As<TUser>()->Identifier, c.idText);
  }
}

TEST_F(ImageReader, TmInputsWithAndWithoutGroups) {
  BaseWithGroupOne();
  Adapter(1, 7, 2, 0, 0, 0, 4);  // "ТМ |ЧТР|ЧТБ", TM inputs 4..6
  Adapter(2, 16, 9, 0, 0, 0, 7);  // "Ворсан - ЧТ", TM input 7
  Input(SectionIDReaders, 4, 1, 255);  // common
  Input(SectionIDReaders, 5, 1, 77);   // a group that does not exist: common too
  Input(SectionIDReaders, 6, 1, 0);
  Input(SectionIDReaders, 7, 2, 0);  // second TM input of group 1: dropped
  Input(SectionIDReaders, 8, 2, 255);  // slot 1 of a one-input device: dropped
  ASSERT_TRUE(Load());
  EXPECT_EQ(ChildCaptions(*db().Rs485Node->Children[0]),
            (std::vector<std::string>{"01 > ТМ вход", "02 > ТМ вход", "03 > ТМ вход"}));
  EXPECT_TRUE(db().Rs485Node->Children[1]->Children.empty());
  EXPECT_EQ(db().Rs485Node->Children[0]->Children[0]->As<TIDReader>()->Group, nullptr);
  EXPECT_EQ(db().Rs485Node->Children[0]->Children[1]->As<TIDReader>()->Group, nullptr);
  EXPECT_EQ(ChildCaptions(group(1)), (std::vector<std::string>{"001 > Шлейф", "ТМ считыватель"}));
}

TEST_F(ImageReader, SetInputsOnePerGroupAndSlot) {
  BaseWithGroupOne();
  Group(1);
  Adapter(1, 5, 6, 0, 0, 1);  // "Ворсан - ИР4", SET inputs 1..4
  Input(SectionSetInputs, 0, 0, 0);  // base module's SET input, group 1
  Input(SectionSetInputs, 1, 1, 0);  // group 1 again: dropped
  Input(SectionSetInputs, 2, 1, 1);
  Input(SectionSetInputs, 5, 1, 1);  // slot 4 of a four-input device: dropped
  Input(SectionSetInputs, 6, 1, 9);  // group not restored: dropped
  ASSERT_TRUE(Load());
  EXPECT_EQ(ChildCaptions(*db().BaseModuleNode), (std::vector<std::string>{"01 > Шлейф", "Вход SET"}));
  EXPECT_EQ(ChildCaptions(*db().Rs485Node->Children[0]), (std::vector<std::string>{"02 > Вход SET"}));
  EXPECT_EQ(ChildCaptions(group(2)), (std::vector<std::string>{"Устройство SET"}));
}

TEST_F(ImageReader, OutputsAndTheirFlags) {
  BaseWithGroupOne();
  Adapter(1, 6, 5, 0, 1);  // "Ворсан - ИВ4", outputs 1..4
  Output(0, 0, 0x03, 0x3F, 9);  // UK output: inverse, kind 15, time 3
  Output(1, 1, 0x01 | 0x20 | 0x40);
  Output(2, 1, 0x01 | 0x80 | 0x40);  // ForGroups clears AlarmToNorma
  Output(3, 1, 0x00);                // not in use
  Output(4, 1);
  Output(5, 1);  // slot 4: beyond four outputs
  ASSERT_TRUE(Load());
  EXPECT_EQ(ChildCaptions(*db().Rs485Node->Children[0]),
            (std::vector<std::string>{"01 > Реле", "02 > Реле", "04 > Реле"}));
  const TOutput& uk = *db().BaseModuleNode->Children[1]->As<TOutput>();
  EXPECT_EQ(Cp1251ToUtf8(db().BaseModuleNode->Children[1]->Caption), "Выход UK");
  EXPECT_EQ(uk.Inverse, 1);
  EXPECT_EQ(uk.ReactionKind, 15);
  EXPECT_EQ(uk.ReactionTime, 3);
  EXPECT_EQ(uk.ReactionWait, 9);
  const TOutput& o1 = *db().Rs485Node->Children[0]->Children[0]->As<TOutput>();
  EXPECT_EQ(o1.AlarmToOpen, 1);
  EXPECT_EQ(o1.AlarmToNorma, 1);
  EXPECT_EQ(o1.ForGroups, 0);
  const TOutput& o2 = *db().Rs485Node->Children[0]->Children[1]->As<TOutput>();
  EXPECT_EQ(o2.ForGroups, 1);
  EXPECT_EQ(o2.AlarmToNorma, 0);
}

TEST_F(ImageReader, ReactionsFollowTheOutputKind) {
  BaseWithGroupOne();
  Adapter(1, 6, 5, 0, 1);  // "Ворсан - ИВ4", outputs 1..4
  Adapter(2, 8, 6);        // "Ворсан - ПУ16": no power reaction
  Output(0, 0);
  Output(1, 1);
  Output(2, 1, 0x81);      // for groups
  Output(3, 1, 0x01, 0x18);  // 4 s on, 60 s off, one minute: fire reset
  Output(4, 1, 0x01, 0x18);  // the same pattern, unused by zones
  PutPanel(0, 1);   // tamper -> output record 0
  PutPanel(1, 2);
  PutPanel(66, 2);
  Put(SectionAdapters, 0, 21, 2);  // the panel's power reaction
  Put(SectionAdapters, 1, 13, 1);
  Put(SectionAdapters, 1, 14, 2);
  Put(SectionAdapters, 1, 21, 1);
  Put(SectionAdapters, 2, 21, 2);
  Put(SectionAdapters, 2, 13, 2);
  Put(SectionZones, 0, 4, 3);  // a group output named as zone reaction I: ignored
  Put(SectionZones, 0, 5, 2);
  Put(SectionZones, 0, 6, 2);  // only the first matching byte counts
  Put(SectionZones, 0, 7, 4);
  Put(SectionGroups, 0, 5, 3);
  Put(SectionGroups, 0, 6, 3);
  ASSERT_TRUE(Load());
  const TOutput* uk = db().BaseModuleNode->Children[1]->As<TOutput>();
  const Node& relays = *db().Rs485Node->Children[0];
  const TOutput* r1 = relays.Children[0]->As<TOutput>();
  const TOutput* r2 = relays.Children[1]->As<TOutput>();
  const TOutput* r3 = relays.Children[2]->As<TOutput>();
  const TOutput* r4 = relays.Children[3]->As<TOutput>();
  EXPECT_EQ(panel().ReactionTamper, uk);
  EXPECT_EQ(panel().Reaction220V, r1);
  EXPECT_EQ(panel().ReactionCapture, r1);
  EXPECT_EQ(panel().ReactionPower, r1);
  const TAdapter& iv4 = *relays.As<TAdapter>();
  EXPECT_EQ(iv4.ReactionTamper, uk);
  EXPECT_EQ(iv4.ReactionConnect, r1);
  EXPECT_EQ(iv4.ReactionPower, uk);
  const TAdapter& keyboard = *db().Rs485Node->Children[1]->As<TAdapter>();
  EXPECT_EQ(keyboard.ReactionTamper, r1);
  EXPECT_EQ(keyboard.ReactionPower, nullptr);
  const TZone& zone = *db().BaseModuleNode->Children[0]->As<TZone>();
  EXPECT_EQ(zone.Reaction1, nullptr);
  EXPECT_EQ(zone.Reaction2, r1);
  EXPECT_EQ(zone.Reaction3, nullptr);
  EXPECT_EQ(zone.Reaction4, r3);
  const TGroup& g = *group(1).As<TGroup>();
  EXPECT_EQ(g.ReactionSet, r2);
  EXPECT_EQ(g.ReactionOpen, r2);
  EXPECT_EQ(r3->ForFire, 1);
  EXPECT_EQ(r4->ForFire, 1);
  EXPECT_EQ(r1->ForFire, 0);
  EXPECT_EQ(r2->ForFire, 0);
}

TEST_F(ImageReader, AnOutputUsedElsewhereIsNoFireReset) {
  BaseWithGroupOne();
  Output(0, 0, 0x01, 0x18);
  PutPanel(0, 1);
  Put(SectionZones, 0, 7, 1);
  ASSERT_TRUE(Load());
  const TOutput* uk = db().BaseModuleNode->Children[1]->As<TOutput>();
  EXPECT_EQ(uk->ForFire, 0);
  EXPECT_EQ(db().BaseModuleNode->Children[0]->As<TZone>()->Reaction4, nullptr);
  EXPECT_EQ(panel().ReactionTamper, uk);
}

TEST_F(ImageReader, GroupKeyboards) {
  BaseWithGroupOne();
  Adapter(1, 12, 3);  // "Ворсан - ПУ8"
  Adapter(2, 6, 4);   // "Ворсан - ИВ4": no keyboard
  Adapter(32, 10);    // "Ворсан - ПУС"
  Input(SectionKeyboards, 0, 2, 0);
  Input(SectionKeyboards, 3, 1, 0);
  Input(SectionKeyboards, 5, 1, 0);
  Put(SectionKeyboards, 5, 0, 0);  // not in use
  Input(SectionKeyboards, 31, 32, 0);
  Put(SectionGroups, 0, 7, 0b101001);  // keyboard records 0, 3, 5
  Put(SectionGroups, 0, 10, 0x80);     // and 31
  ASSERT_TRUE(Load());
  const TGroup& g = *group(1).As<TGroup>();
  EXPECT_EQ(g.Keyboards[0], db().Rs485Node->Children[0]->As<TAdapter>());
  EXPECT_EQ(g.Keyboards[1], db().KeyboardModuleNode->As<TAdapter>());
  EXPECT_EQ(g.Keyboards[2], nullptr);
}

TEST_F(ImageReader, ProgressCancelAndFullTables) {
  BaseWithGroupOne();
  ASSERT_TRUE(Load());
  ASSERT_FALSE(host.positions.empty());
  EXPECT_EQ(host.positions.back(), 100);
  EXPECT_EQ(host.pauses, (std::vector<int>{100}));
  EXPECT_FALSE(host.convertOpen);
  EXPECT_TRUE(ws.editor.DBChanged);
  EXPECT_TRUE(ws.editor.ViewCardEnabled);

  for (int poll : {1, 2, 40, 300}) {
    SCOPED_TRACE(poll);
    host.polls = 0;
    host.cancelAtPoll = poll;
    host.events.clear();
    EXPECT_FALSE(Load());
    EXPECT_TRUE(host.events.empty());
    EXPECT_FALSE(db().Exists());
    EXPECT_FALSE(host.convertOpen);
  }
}

TEST_F(ImageReader, ReadRomDatabaseRefusesOtherSizes) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("velkor_reader_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(dir);
  const std::string bad = (dir / "short.rom").string();
  std::ofstream(bad, std::ios::binary) << std::string(8063, '\0');
  ASSERT_TRUE(CreateNewDB(ws, host));
  EXPECT_FALSE(ReadRomDatabase(ws, host, bad));
  ASSERT_EQ(host.messages().size(), 2u);
  EXPECT_EQ(Cp1251ToUtf8(host.messages()[0].text), "Ошибка чтения файла");
  EXPECT_EQ(Cp1251ToUtf8(host.messages()[1].title), "Внимание");
  EXPECT_EQ(Cp1251ToUtf8(host.messages()[1].text), "База данных из файла не загружена");
  EXPECT_NE(db().KeyboardModuleNode, nullptr);  // the database was not touched

  const std::string good = (dir / "good.rom").string();
  std::string bytes(8064, '\0');
  bytes[2] = 4;
  bytes[3072] = 1;  // adapter 0: base module, 16 zones
  bytes[3072 + 16] = 2;
  std::ofstream(good, std::ios::binary) << bytes;
  host.events.clear();
  EXPECT_TRUE(ReadRomDatabase(ws, host, good));
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(db().KeyboardModuleNode, nullptr);
  EXPECT_TRUE(db().Module16Zones);
  EXPECT_EQ(Cp1251ToUtf8(db().BaseModuleNode->Caption), "Ворсан - БМ16");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velkor

namespace velkor {
namespace {

TEST(LegacyImageReader, UsersRightsPanelAndTypes) {
  Workspace ws(Variant::Legacy);
  ScriptedHost host;
  auto put = [&](int section, int record, int byte, int value) {
    const int at = ImageOffset(Variant::Legacy, section, record, byte);
    ASSERT_GE(at, 0);
    ws.DBReadArray[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
  };
  put(SectionPanel, 0, 2, 10);
  put(SectionPanel, 0, 17, '+');  // mobile number written, the others left zero
  put(SectionPanel, 0, 56, 225);  // "4 часа" of the older list
  put(SectionPanel, 0, 57, 2);
  put(SectionPanel, 0, 66, 1);  // no capture reaction in the older panels
  put(SectionPanel, 0, 71, 7);
  put(SectionAdapters, 0, 0, 1);
  put(SectionAdapters, 0, 16, 1);
  put(SectionAdapters, 1, 0, 1);
  put(SectionAdapters, 1, 16, 17);  // no such type in the older panels
  put(SectionOutputs, 0, 0, 1);
  for (int g : {0, 1}) {
    put(SectionGroups, g, 0, 0x81);
    put(SectionZones, g, 1, g);
    put(SectionZones, g, 2, 0);
    put(SectionZones, g, 3, 1);
  }
  put(SectionUsers, 0, 0, 0x80 | 1);  // rights in access configuration 1
  put(SectionUsers, 1, 0, 0x01);      // bit 0 alone: not in use
  put(SectionAccess, 1, 0, 0b10);     // group 2 only
  put(SectionAccess, 0, 0, 0b01);

  ASSERT_TRUE(LoadDatabaseFromReadArray(ws, host));
  const TPPK& p = *ws.db.Panel();
  EXPECT_EQ(p.Protocol, 10);
  EXPECT_TRUE(p.SrpNumber.empty());
  EXPECT_EQ(p.PcnMobileNumber.str(), "+" + std::string(13, '\0'));
  EXPECT_EQ(p.ControlCanalTime, 5);
  EXPECT_EQ(p.ReactionCapture, nullptr);
  EXPECT_EQ(p.ConnectTimeOut, 20);  // the constructor's value: byte 71 means nothing here
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(Cp1251ToUtf8(host.messages()[0].text), "В структуре имеется неизвестный СА");
  EXPECT_TRUE(ws.db.Rs485Node->Children.empty());

  ASSERT_EQ(ChildCaptions(*ws.db.RoomsNode),
            (std::vector<std::string>{"001 > Администратор", "Группа 001", "Группа 002"}));
  const TUser& admin = *ws.db.RoomsNode->Children[0]->As<TUser>();
  EXPECT_EQ(admin.Groups[0], nullptr);
  EXPECT_EQ(admin.Groups[1], ws.db.RoomsNode->Children[2]->As<TGroup>());
}

}  // namespace
}  // namespace velkor
