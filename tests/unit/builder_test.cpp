#include <gtest/gtest.h>

#include <functional>

#include "build_fixture.h"
#include "model/captions.h"
#include "model/catalogues.h"

namespace velkor::testing {
namespace {

using Bytes_ = std::vector<int>;

TEST_F(BuildFixture, SmallestDatabaseFillsEveryRecordKind) {
  ASSERT_TRUE(Build()) << LastMessage();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(host.positions, (std::vector<int>{9, 18, 20, 27, 36, 45, 54, 63, 72, 81, 90, 95, 100}));
  EXPECT_EQ(host.pauses, std::vector<int>{100});
  ASSERT_EQ(host.steps.size(), 13u);
  EXPECT_EQ(U(host.steps.front()), "Проверка конфигурации...");
  EXPECT_EQ(U(host.steps[11]), "Расстановка реакций...");
  EXPECT_EQ(host.steps.back(), "");

  // Modules: the base module carries adapter record 0, the keyboard module record 32.
  EXPECT_EQ(Bytes(SectionModules, 0, 0, 8), (Bytes_{1, 0, 1, 1, 1, 0, 0, 0}));
  EXPECT_EQ(Bytes(SectionModules, 1, 0, 8), (Bytes_{1, 32, 1, 2, 2, 0, 0, 0}));
  EXPECT_EQ(Bytes(SectionModules, 2, 0, 8), (Bytes_{0, 0, 0, 0, 0, 0, 0, 0}));
  // Base module: 8 zone slots, the UK output not counted, one SET slot, SA type 1.
  EXPECT_EQ(Bytes(SectionAdapters, 0, 0, 22),
            (Bytes_{1, 0, 0, 0, 8, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(SectionAdapters, 32, 0, 22),
            (Bytes_{1, 1, 0, 0, 0, 0, 0, 0, 0, 31, 1, 0, 0, 0, 0, 0, 10, 2, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(SectionKeyboards, 31, 0, 3), (Bytes_{1, 32, 5}));
  EXPECT_EQ(Bytes(SectionZones, 0, 0, 8), (Bytes_{0, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(SectionGroups, 0, 0, 13), (Bytes_{0x81, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
  EXPECT_EQ(Bytes(SectionUsers, 0, 0, 13),
            (Bytes_{1, 0x12, 0x34, 0x56, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(At(SectionPanel, 0, 2), 4);
  EXPECT_EQ(At(SectionPanel, 0, 74), 255);

  // Empty slots have only their adapter byte; nothing beyond the slots is set.
  ImageArray expected = ws.DBStoreArray;
  int used = 0;
  for (std::size_t i = 0; i < kImageSize; ++i) used += expected[i] != 0;
  EXPECT_EQ(used, 44);  // every non-zero byte is one of those checked above
  EXPECT_EQ(ws.registry.Entries(SectionAdapters).size(), 2u);
  EXPECT_EQ(ws.registry.Entries(SectionZones).size(), 1u);
  EXPECT_EQ(ws.registry.Entries(SectionOutputs).size(), 0u);
}

TEST_F(BuildFixture, ArmingDeviceQuestions) {
  const std::string question =
      "Группа 1 не содержит устройства взятия/снятия\rПродолжить конвертирование?";
  // No arming device and no identifier: asked after the users and again after the TM inputs.
  ASSERT_TRUE(Build());
  ASSERT_EQ(Questions(), 2);
  EXPECT_EQ(U(host.events[0].title), "Предупреждение при конвертировании базы данных");
  EXPECT_EQ(U(host.events[0].text), question);
  EXPECT_EQ(host.events[0].icon, MessageIcon::Warning);

  // No ends the run at once, without a message.
  host = ScriptedHost{};
  host.answers = {false};
  EXPECT_FALSE(Build());
  EXPECT_EQ(Questions(), 1);
  EXPECT_TRUE(Messages().empty());

  // A user with an identifier and rights to the group spares the first question only.
  host = ScriptedHost{};
  Node& user = AddUserNode(db(), 2);
  user.As<TUser>()->Identifier = "0000000000ABCDEF";
  user.As<TUser>()->Groups[0] = &group(group1);
  ASSERT_TRUE(Build());
  EXPECT_EQ(Questions(), 1);
  EXPECT_EQ(host.positions[host.positions.size() - 1], 100);

  // A TM input serving all groups spares the second.
  host = ScriptedHost{};
  user.As<TUser>()->Identifier = "";
  Node& reader = Device(8, 3);
  AddIDReaderNode(db(), reader, 1, nullptr);
  ASSERT_TRUE(Build());
  EXPECT_EQ(Questions(), 1);

  // An arming device of its own: no question at all.
  host = ScriptedHost{};
  AddSetInputNode(db(), *db().BaseModuleNode, 1, *group1);
  ASSERT_TRUE(Build());
  EXPECT_EQ(Questions(), 0);
}

TEST_F(BuildFixture, CancelEndsWithoutMessage) {
  host.cancelAtPoll = 1;
  EXPECT_FALSE(Build());
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(host.pauses.size(), 0u);
}

TEST_F(BuildFixture, PanelRecordByProtocol) {
  TPPK& p = ppk();
  p.SrpNumber = "12345678901234";
  p.PcnMobileNumber = "+380501234567";
  p.SmsCenterNumber = "+380509999999";
  p.CardPinCode = "1111";
  p.RadioAddressPco = "256";
  p.RadioAddressPpk = "512";
  p.RetranslationAddress[0] = "1";
  p.RetranslationAddress[1] = "2";
  p.RetranslationAddress[6] = "256";
  p.RetranslationAddress[7] = "7";
  p.ControlCanalTime = 6;
  p.PcoDbNumber = 1000;
  p.NetNumber = 5;
  p.ConnectReasons = 3;
  p.RadioWaitTime = 0x1234;

  // Protocol 4 writes none of the texts, whatever they hold.
  ASSERT_TRUE(Build()) << LastMessage();
  for (int b = 3; b <= 65; ++b) EXPECT_EQ(At(SectionPanel, 0, b), 0) << b;
  EXPECT_EQ(Bytes(SectionPanel, 0, 66, 9), (Bytes_{0, 0xE7, 0x03, 4, 3, 20, 0x34, 0x12, 255}));
  for (int b = 75; b < 128; ++b) EXPECT_EQ(At(SectionPanel, 0, b), 0) << b;

  p.Protocol = 11;
  ASSERT_TRUE(Build()) << LastMessage();
  EXPECT_EQ(Bytes(SectionPanel, 0, 2, 3), (Bytes_{11, '1', '2'}));
  EXPECT_EQ(At(SectionPanel, 0, 16), '4');
  EXPECT_EQ(At(SectionPanel, 0, 17), 0);

  p.Protocol = 8;
  ASSERT_TRUE(Build()) << LastMessage();
  EXPECT_EQ(p.CardPinCode, "4807");  // put back to its default by the build
  EXPECT_EQ(At(SectionPanel, 0, 3), 0);
  EXPECT_EQ(Bytes(SectionPanel, 0, 17, 2), (Bytes_{'+', '3'}));
  EXPECT_EQ(Bytes(SectionPanel, 0, 29, 4), (Bytes_{'7', 0, '+', '3'}));
  EXPECT_EQ(Bytes(SectionPanel, 0, 43, 10), (Bytes_{'9', 0, '4', '8', '0', '7', 0, 0, 0, 0}));

  p.Protocol = 10;
  ASSERT_TRUE(Build()) << LastMessage();
  EXPECT_EQ(At(SectionPanel, 0, 17), 0);
  EXPECT_EQ(Bytes(SectionPanel, 0, 53, 13), (Bytes_{255, 0xFF, 0x01, 225, 2, 0, 1, 0, 0, 0, 0, 255, 6}));
  p.ControlCanalTime = 9;
  ASSERT_TRUE(Build());
  EXPECT_EQ(Bytes(SectionPanel, 0, 56, 2), (Bytes_{168, 16}));
  p.ControlCanalTime = 0;
  ASSERT_TRUE(Build());
  EXPECT_EQ(Bytes(SectionPanel, 0, 56, 2), (Bytes_{0, 0}));
}

TEST_F(BuildFixture, GroupFlagsInputsAndKeyboards) {
  // Group 1: SET input and TM input, AND mode, no keyboard access.
  group(group1).AndMode = 1;
  AddSetInputNode(db(), *db().BaseModuleNode, 1, *group1);
  Node& readers = Device(7, 4);
  AddIDReaderNode(db(), readers, 3, group1);
  // Group 2: no input, keyboards on (the keyboard module, listed twice).
  Node* group2 = &GroupNode(db(), 2);
  group(group2).RoomNumber = "65535";
  group(group2).KeyboardAccess = 1;
  group(group2).Keyboards[0] = db().KeyboardModuleNode->As<TAdapter>();
  group(group2).Keyboards[5] = db().KeyboardModuleNode->As<TAdapter>();
  AddZoneNode(db(), *db().BaseModuleNode, 2, *group2, 1);
  // Group 3: a TM input and keyboards, OR mode.
  Node* group3 = &GroupNode(db(), 3);
  group(group3).RoomNumber = "7";
  group(group3).KeyboardAccess = 1;
  group(group3).WaitToSet = 30;
  group(group3).WaitToOpen = 45;
  Node& kbd = Device(2, 9);
  group(group3).Keyboards[1] = kbd.As<TAdapter>();
  AddIDReaderNode(db(), readers, 1, group3);

  ASSERT_TRUE(Build()) << LastMessage();
  EXPECT_EQ(Bytes(SectionGroups, 0, 0, 5), (Bytes_{0xAD, 0, 0, 0, 2}));
  EXPECT_EQ(Bytes(SectionGroups, 1, 0, 13), (Bytes_{0x91, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}));
  EXPECT_EQ(Bytes(SectionGroups, 2, 0, 13), (Bytes_{0x9B, 30, 45, 0, 0, 0, 0, 1, 0, 0, 0, 7, 0}));
  // Bus devices in tree order: the reader at address 4 is adapter 1, the keyboard at 9 adapter 2.
  // TM inputs: slot 1 of group 3, slot 2 empty, slot 3 of group 1.
  EXPECT_EQ(Bytes(SectionIDReaders, 0, 0, 9), (Bytes_{1, 1, 2, 0, 1, 0, 1, 1, 0}));
  EXPECT_EQ(Bytes(SectionSetInputs, 0, 0, 3), (Bytes_{1, 0, 0}));
  EXPECT_EQ(Bytes(SectionKeyboards, 0, 0, 3), (Bytes_{1, 2, 1}));
  EXPECT_EQ(Bytes(SectionAdapters, 2, 9, 4), (Bytes_{0, 1, 0, 0}));  // the keyboard's record 0
  EXPECT_EQ(Bytes(SectionAdapters, 1, 11, 2), (Bytes_{0, 3}));      // readers 0..2
}

TEST_F(BuildFixture, UserPinIdentifierAndRights) {
  admin->PinCode = "12345678";
  admin->Identifier = "0123456789ABCDEF";
  Node* group9 = &GroupNode(db(), 9);
  group(group9).RoomNumber = "9";
  AddZoneNode(db(), *db().BaseModuleNode, 3, *group9, 1);
  admin->Groups[3] = &group(group9);
  admin->Groups[0] = &group(group1);
  TUser& user = *AddUserNode(db(), 128).As<TUser>();
  user.PinCode = "98765";
  user.Identifier = "fedcba9876543210";
  TUser& nopin = *AddUserNode(db(), 3).As<TUser>();

  ASSERT_TRUE(Build()) << LastMessage();
  EXPECT_EQ(Bytes(SectionUsers, 0, 0, 13),
            (Bytes_{1, 0x12, 0x34, 0x56, 0x78, 0xEF, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0x01}));
  EXPECT_EQ(Bytes(SectionUsers, 0, 13, 3), (Bytes_{0x01, 0x01, 0}));  // groups 1 and 9
  EXPECT_EQ(Bytes(SectionUsers, 127, 0, 13),
            (Bytes_{1, 0x98, 0x76, 0x5F, 0xFF, 0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE}));
  EXPECT_EQ(Bytes(SectionUsers, 2, 0, 6), (Bytes_{1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(nopin.Number, 3);
  EXPECT_EQ(Bytes(SectionUsers, 1, 0, 29), Bytes_(29, 0));
}

TEST_F(BuildFixture, OutputRecordsAndReactions) {
  Node& uk = AddOutputNode(db(), *db().BaseModuleNode, 1);
  Node& relays = Device(5, 2);
  std::vector<TOutput*> out{uk.As<TOutput>()};
  for (byte n = 1; n <= 4; ++n) out.push_back(AddOutputNode(db(), relays, n).As<TOutput>());
  // An output outside every slot is never registered.
  Node& stray = AddOutputNode(db(), relays, 9);

  TOutput& o0 = *out[0];
  o0.Inverse = 1;
  o0.ReactionKind = 15;
  o0.ReactionTime = 7;
  o0.ReactionWait = 200;
  out[2]->Inverse = 1;  // only record 0 carries the inverse bit
  out[2]->AlarmToOpen = 1;
  out[2]->AlarmToNorma = 1;
  out[3]->ForGroups = 1;
  out[3]->ReactionKind = 0x1F;  // only the low four bits count
  out[3]->ReactionTime = 9;

  TZone& z = *zone1->As<TZone>();
  z.Reaction1 = out[2];
  z.Reaction2 = out[2];
  z.Reaction4 = stray.As<TOutput>();
  ppk().ReactionTamper = out[1];
  ppk().Reaction220V = out[4];
  ppk().ReactionCapture = out[1];
  ppk().ReactionPower = out[3];  // shares a byte with the base module's own
  base().ReactionPower = out[0];
  relays.As<TAdapter>()->ReactionTamper = out[4];
  relays.As<TAdapter>()->ReactionConnect = out[1];
  group(group1).ReactionSet = out[3];

  ASSERT_TRUE(Build()) << LastMessage();
  EXPECT_EQ(Bytes(SectionOutputs, 0, 0, 4), (Bytes_{0x03, 0, 0x7F, 200}));
  EXPECT_EQ(Bytes(SectionOutputs, 1, 0, 4), (Bytes_{0x01, 1, 0, 0}));
  EXPECT_EQ(Bytes(SectionOutputs, 2, 0, 4), (Bytes_{0x61, 1, 0, 0}));
  EXPECT_EQ(Bytes(SectionOutputs, 3, 0, 4), (Bytes_{0x81, 1, 0x1F, 0}));
  EXPECT_EQ(Bytes(SectionAdapters, 1, 5, 2), (Bytes_{1, 4}));
  EXPECT_EQ(Bytes(SectionAdapters, 0, 5, 2), (Bytes_{0, 0}));

  EXPECT_EQ(Bytes(SectionZones, 0, 4, 4), (Bytes_{3, 3, 0, 0}));
  EXPECT_EQ(Bytes(SectionPanel, 0, 0, 2), (Bytes_{2, 5}));
  EXPECT_EQ(At(SectionPanel, 0, 66), 2);
  EXPECT_EQ(At(SectionAdapters, 0, 21), 4);  // record 3 beats record 0
  EXPECT_EQ(Bytes(SectionAdapters, 1, 13, 2), (Bytes_{5, 2}));
  EXPECT_EQ(At(SectionGroups, 0, 5), 4);

  // The other way round the higher record still wins.
  ppk().ReactionPower = out[0];
  base().ReactionPower = out[3];
  ASSERT_TRUE(Build());
  EXPECT_EQ(At(SectionAdapters, 0, 21), 4);
}

// ---- the check table and the numbering messages ----------------------------

class BuildFailures;
struct FailureCase {
  const char* name;
  std::function<void(BuildFailures&)> change;
  const char* message;  // UTF-8
};

class BuildFailures : public BuildFixture {
 public:
  void Expect(const FailureCase& c) {
    SCOPED_TRACE(c.name);
    TearDown();
    ws = Workspace{};
    host = ScriptedHost{};
    settings = BuildSettings{};
    settings.IniExport = true;
    SetUp();
    c.change(*this);
    EXPECT_FALSE(Build());
    auto messages = Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], c.message);
    EXPECT_EQ(U(host.messages()[0].title), "Ошибка конвертирования базы данных");
    EXPECT_EQ(host.messages()[0].icon, MessageIcon::Error);
  }

  Node& Group(byte number, const char* room) {
    Node& g = GroupNode(db(), number);
    g.As<TGroup>()->RoomNumber = room;
    AddZoneNode(db(), *db().BaseModuleNode, static_cast<byte>(number % 8 + 1), g, 1);
    return g;
  }
  TUser& User(byte number, const char* pin) {
    TUser& u = *AddUserNode(db(), number).As<TUser>();
    u.PinCode = pin;
    return u;
  }
};

TEST_F(BuildFailures, CheckTable) {
  const char* card = "Неполная база данных, неправильно или неполностью заполнена карточка ППК";
  const FailureCase cases[] = {
      {"no RS-485 node", [](BuildFailures& f) { f.ws.db.Rs485Node = nullptr; },
       "Неполная база данных, преобразование невозможно"},
      {"no administrator", [](BuildFailures& f) { f.admin->Number = 2; },
       "Неполная база данных, отсутствует администратор"},
      {"administrator without PIN, before any group",
       [](BuildFailures& f) {
         f.admin->PinCode = "";
         GroupNode(f.ws.db, 200);
       },
       "Неполная база данных, отсутствует PIN-код администратора"},
      {"no group",
       [](BuildFailures& f) {
         DetachNode(f.ws.db.Hardware, *f.zone1);
         DetachNode(f.ws.db.Rooms, *f.group1);
       },
       "Неполная база данных, отсутствуют группы"},
      {"group number", [](BuildFailures& f) { f.Group(129, "5"); },
       "Группа 129 - неправильный номер группы"},
      {"empty group", [](BuildFailures& f) { GroupNode(f.ws.db, 2); }, "Группа 2 пуста"},
      {"foreign child",
       [](BuildFailures& f) {
         Node& o = AddOutputNode(f.ws.db, *f.ws.db.BaseModuleNode, 1);
         AddMirrorNode(f.ws.db.Rooms, f.group1, "x", o.Data);
       },
       "Группа 1 содержит неподдерживаемый конвертером тип элемента"},
      {"keyboard reference",
       [](BuildFailures& f) {
         f.group(f.group1).KeyboardAccess = 1;
         f.group(f.group1).Keyboards[3] = &f.base();
         f.group(f.group1).Keyboards[4] = f.ws.db.KeyboardModuleNode->As<TAdapter>();
       },
       "Группа 1 содержит ошибку в ссылке на клавиатуру"},
      {"protocol 9", [](BuildFailures& f) { f.ppk().Protocol = 9; }, "Неподдерживаемый конвертером режим работы ППК."},
      {"protocol 13", [](BuildFailures& f) { f.ppk().Protocol = 13; }, "Неподдерживаемый конвертером режим работы ППК."},
      {"protocol 15", [](BuildFailures& f) { f.ppk().Protocol = 15; }, "Неподдерживаемый конвертером режим работы ППК."},
      {"protocol 2 database number",
       [](BuildFailures& f) {
         f.ppk().Protocol = 2;
         f.ppk().PcoDbNumber = 1001;
       },
       card},
      {"protocol 7 net number",
       [](BuildFailures& f) {
         f.ppk().Protocol = 7;
         f.ppk().NetNumber = 129;
       },
       card},
      {"protocol 2 radio wait",
       [](BuildFailures& f) {
         f.ppk().Protocol = 2;
         f.ppk().RadioWaitTime = 60001;
       },
       card},
      {"protocol 12 time-out",
       [](BuildFailures& f) {
         f.ppk().Protocol = 12;
         f.ppk().ConnectTimeOut = 4;
       },
       card},
      {"protocol 8 phone length",
       [](BuildFailures& f) {
         f.ppk().Protocol = 8;
         f.ppk().PcnMobileNumber = "+38050123456";
         f.ppk().SmsCenterNumber = "+380501234567";
       },
       card},
      {"protocol 8 SMS centre letter",
       [](BuildFailures& f) {
         f.ppk().Protocol = 8;
         f.ppk().PcnMobileNumber = "+380501234567";
         f.ppk().SmsCenterNumber = "+38050123456x";
       },
       card},
      {"protocol 10 address missing",
       [](BuildFailures& f) {
         f.ppk().Protocol = 10;
         f.ppk().RadioAddressPco = "1";
       },
       card},
      {"protocol 11 SRP length",
       [](BuildFailures& f) {
         f.ppk().Protocol = 11;
         f.ppk().SrpNumber = "1234567890123";
       },
       card},
      {"centre address 0",
       [](BuildFailures& f) {
         f.ppk().Protocol = 10;
         f.ppk().RadioAddressPco = "0";
         f.ppk().RadioAddressPpk = "1";
       },
       "Ошибка адреса ПЦО в карточке ППК"},
      {"centre address not a number",
       [](BuildFailures& f) {
         f.ppk().Protocol = 10;
         f.ppk().RadioAddressPco = "+5";
         f.ppk().RadioAddressPpk = "1";
       },
       "Ошибка адреса ПЦО в карточке ППК"},
      {"panel address 513",
       [](BuildFailures& f) {
         f.ppk().Protocol = 10;
         f.ppk().RadioAddressPco = "256";
         f.ppk().RadioAddressPpk = "513";
       },
       "Ошибка адреса ППК в карточке ППК"},
      {"retranslation pair equal",
       [](BuildFailures& f) {
         f.ppk().Protocol = 10;
         f.ppk().RadioAddressPco = "1";
         f.ppk().RadioAddressPpk = "1";
         f.ppk().RetranslationAddress[2] = "5";
         f.ppk().RetranslationAddress[3] = "5";
       },
       "Ошибка адреса ретрансляции телеграммы 2 в карточке ППК"},
      {"retranslation pair half empty",
       [](BuildFailures& f) {
         f.ppk().Protocol = 10;
         f.ppk().RadioAddressPco = "1";
         f.ppk().RadioAddressPpk = "1";
         f.ppk().RetranslationAddress[5] = "3";
       },
       "Ошибка адреса ретрансляции телеграммы 3 в карточке ППК"},
      {"base module serial", [](BuildFailures& f) { f.base().SerialNumber = 0; },
       "Ошибка серийного номера модуля Ворсан - БМ"},
      {"second module serial, named as type 1 even for type 6",
       [](BuildFailures& f) {
         DetachNode(f.ws.db.Hardware, *f.ws.db.KeyboardModuleNode);
         AddModuleNode(f.ws.db, 6).As<TAdapter>()->SerialNumber = 0;
       },
       "Ошибка серийного номера модуля Ворсан - ПУС"},
      {"third module serial", [](BuildFailures& f) { AddModuleNode(f.ws.db, 2).As<TAdapter>()->SerialNumber = 0; },
       "Ошибка серийного номера модуля Ворсан - ИВ21"},
      {"unknown device type",
       [](BuildFailures& f) {
         AddNode(f.ws.db.Hardware, f.ws.db.Rs485Node, "x", MakeElement<TAdapter>(1, 12));
       },
       "Присутствует неподдерживаемый конвертером тип СА"},
      {"two third modules",
       [](BuildFailures& f) {
         AddModuleNode(f.ws.db, 2);
         AddModuleNode(f.ws.db, 4);
       },
       "Ошибка добавления адаптера к шинному расширителю"},
      {"administrator PIN of 5 digits", [](BuildFailures& f) { f.admin->PinCode = "12345"; },
       "Неправильно указан PIN-код администратора"},
      {"administrator PIN with a letter", [](BuildFailures& f) { f.admin->PinCode = "12a456"; },
       "Неправильно указан PIN-код администратора"},
      {"user PIN of 3 digits", [](BuildFailures& f) { f.User(2, "123"); },
       "Неправильно указан PIN-код пользователя 2"},
      {"same PIN", [](BuildFailures& f) { f.User(2, "123456"); },
       "PIN-код пользователя 1\rсовпадает с PIN-кодом пользоватея 2"},
      {"duress PIN", [](BuildFailures& f) { f.User(2, "123455"); },
       "PIN-код пользователя 1\rсовпадает с PIN-кодом \"по принуждению\" пользоватея 2"},
      {"duress PIN wraps 9 to 0",
       [](BuildFailures& f) {
         f.admin->PinCode = "123450";
         f.User(2, "123459");
       },
       "PIN-код пользователя 1\rсовпадает с PIN-кодом \"по принуждению\" пользоватея 2"},
      {"administrator identifier length", [](BuildFailures& f) { f.admin->Identifier = "0123"; },
       "Неправильно указан код идентификатора администратора"},
      {"user identifier not hexadecimal",
       [](BuildFailures& f) { f.User(2, "").Identifier = "000000000000000G"; },
       "Неправильно указан код идентификатора пользователя 2"},
      {"same identifier",
       [](BuildFailures& f) {
         f.admin->Identifier = "00000000000000AB";
         f.User(7, "").Identifier = "00000000000000AB";
       },
       "Идентификатор пользователя 7 уже задействован"},
      {"user number 129", [](BuildFailures& f) { f.User(129, ""); },
       "Ошибка номера записи или размера структуры при записи FLASH"},
      {"room number 0", [](BuildFailures& f) { f.group(f.group1).RoomNumber = "0"; },
       "Неправильно указан номер помещения в группе 1"},
      {"room number 65536", [](BuildFailures& f) { f.group(f.group1).RoomNumber = "65536"; },
       "Неправильно указан номер помещения в группе 1"},
      {"room number empty", [](BuildFailures& f) { f.group(f.group1).RoomNumber = ""; },
       "Неправильно указан номер помещения в группе 1"},
      {"same room number", [](BuildFailures& f) { f.Group(3, "1"); },
       "Номер помещения, указанный в группе 3 уже задействован"},
  };
  for (const auto& c : cases) Expect(c);
}

TEST_F(BuildFailures, FullCheckOffAcceptsSharedPinsIdentifiersAndRooms) {
  settings.FullConvert = false;
  User(2, "123456").Identifier = "00000000000000AB";
  User(3, "123455").Identifier = "00000000000000AB";
  Group(2, "1");
  EXPECT_TRUE(Build()) << LastMessage();
}

TEST_F(BuildFailures, BusDeviceSerialNumbers) {
  struct Case {
    byte type;
    dword low;
    bool ok;
  };
  const Case cases[] = {
      {1, 21001, true},  {1, 21000, false}, {1, 22001, false}, {1, 0, false},    {0, 20999, true},
      {2, 40010, true},  {3, 41100, true},  {4, 22001, true},  {5, 23001, true}, {6, 24001, true},
      {7, 25001, true},  {7, 27001, true},  {7, 28001, true},  {7, 26001, false}, {8, 26001, true},
      {9, 42001, true},  {9, 4201, false},  {5, 6001, false},
  };
  for (const Case& c : cases) {
    const std::string label = U(CatalogueLabel(CataloguesFor(Variant::Current).Devices, c.type));
    const std::string name = label + " " + std::to_string(c.low);
    auto change = [&c](BuildFailures& f) {
      Node& d = AddBusDeviceNode(f.ws.db, c.type, 5);
      d.As<TAdapter>()->SerialNumber = (3u << 16) | c.low;
    };
    if (c.ok) {
      SCOPED_TRACE(name);
      TearDown();
      ws = Workspace{};
      host = ScriptedHost{};
      SetUp();
      change(*this);
      EXPECT_TRUE(Build()) << LastMessage();
    } else {
      const std::string message = "Ошибка серийного номера адаптера 05 > " + label;
      Expect({name.c_str(), change, message.c_str()});
    }
  }
}

TEST_F(BuildFixture, TmReaderSerial27HasOneInput) {
  Node& d = Device(7, 6);
  d.As<TAdapter>()->SerialNumber = 27001;
  AddIDReaderNode(db(), d, 1, nullptr);
  ASSERT_TRUE(Build()) << LastMessage();
  EXPECT_EQ(d.As<TAdapter>()->ReadersTotal, 1);
  EXPECT_EQ(Bytes(SectionAdapters, 1, 11, 2), (Bytes_{0, 1}));
  EXPECT_EQ(Bytes(SectionIDReaders, 0, 0, 3), (Bytes_{1, 1, 255}));
  EXPECT_EQ(At(SectionIDReaders, 1, 1), 0);
}

TEST_F(BuildFailures, ZoneSlotsBeyond128) {
  Expect({"136 zone slots",
          [](BuildFailures& f) {
            f.base().ZonesTotal = 16;
            for (byte n = 1; n <= 15; ++n) f.Device(1, n);
          },
          "Ошибка добавления шлейфа к адаптеру"});
  // Slots 121..128 went to the 14th device; the 15th got none.
  EXPECT_EQ(Bytes(SectionAdapters, 14, 3, 2), (Bytes_{120, 8}));
  EXPECT_EQ(Bytes(SectionAdapters, 15, 3, 2), (Bytes_{0, 0}));
}

TEST_F(BuildFailures, SlotLimits) {
  const FailureCase cases[] = {
      {"65 output slots",
       [](BuildFailures& f) {
         AddModuleNode(f.ws.db, 3);
         for (byte n = 1; n <= 15; ++n) f.Device(5, n);
       },
       "Ошибка добавления управляемого выхода к адаптеру"},
      {"33 SET input slots",
       [](BuildFailures& f) {
         for (byte n = 1; n <= 8; ++n) f.Device(6, n);
       },
       "Ошибка добавления входа SET к адаптеру"},
      {"33 TM input slots",
       [](BuildFailures& f) {
         for (byte n = 1; n <= 11; ++n) f.Device(7, n);
       },
       "Ошибка добавления ТМ считывателя к адаптеру"},
      {"a keyboard after the keyboard module's record 31",
       [](BuildFailures& f) { AddModuleNode(f.ws.db, 4).As<TAdapter>()->IsKeyboard = 1; },
       "Ошибка добавления клавиатуры к адаптеру"},
  };
  for (const auto& c : cases) Expect(c);
}

TEST_F(BuildFixture, ThirtyOneDevicesFillAdapterRecords) {
  for (byte n = 1; n <= 31; ++n) Device(2, n);
  AddModuleNode(db(), 4);
  settings.Controller = true;
  ASSERT_TRUE(Build()) << LastMessage();
  EXPECT_EQ(Bytes(SectionModules, 0, 0, 3), (Bytes_{1, 0, 32}));
  EXPECT_EQ(Bytes(SectionModules, 2, 0, 5), (Bytes_{1, 33, 1, 3, 3}));
  for (int r = 1; r <= 31; ++r) {
    EXPECT_EQ(Bytes(SectionAdapters, r, 0, 3), (Bytes_{1, 0, r})) << r;
    EXPECT_EQ(Bytes(SectionAdapters, r, 9, 2), (Bytes_{r - 1, 1})) << r;
    EXPECT_EQ(Bytes(SectionKeyboards, r - 1, 0, 3), (Bytes_{1, r, 1})) << r;
  }
  EXPECT_EQ(Bytes(SectionAdapters, 33, 0, 3), (Bytes_{1, 2, 0}));
  EXPECT_EQ(Bytes(SectionAdapters, 33, 15, 2), (Bytes_{240, 3}));  // the filter check box
  EXPECT_EQ(Bytes(SectionAdapters, 32, 9, 2), (Bytes_{31, 1}));

  host = ScriptedHost{};
  Device(2, 32);
  EXPECT_FALSE(Build());
  EXPECT_EQ(LastMessage(), "Ошибка добавления адаптера к шинному расширителю");
}

TEST_F(BuildFixture, SaAndKeyboardTypeCodes) {
  struct Case {
    byte placement, type;
    int sa8, sa16, keyboard8, keyboard16;
  };
  const Case cases[] = {
      {0, 0, 1, 2, 5, 5},   {0, 1, 10, 11, 5, 4}, {0, 2, 14, 14, 1, 1}, {0, 3, 15, 15, 2, 2},
      {0, 4, 3, 3, 5, 5},   {0, 5, 0, 0, 5, 5},   {0, 6, 18, 18, 7, 7}, {1, 0, 9, 9, 6, 6},
      {1, 1, 4, 4, 5, 5},   {1, 2, 12, 12, 1, 1}, {1, 3, 8, 8, 2, 2},   {1, 4, 13, 13, 5, 5},
      {1, 5, 6, 6, 5, 5},   {1, 6, 5, 5, 5, 5},   {1, 7, 7, 7, 5, 5},   {1, 8, 16, 16, 5, 5},
      {1, 9, 17, 17, 3, 3}, {1, 10, 0, 0, 5, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << int(c.placement) << "/" << int(c.type));
    const TAdapter a(c.placement, c.type);
    EXPECT_EQ(SaTypeCode(a, false), c.sa8);
    EXPECT_EQ(SaTypeCode(a, true), c.sa16);
    EXPECT_EQ(KeyboardTypeCode(a, false), c.keyboard8);
    EXPECT_EQ(KeyboardTypeCode(a, true), c.keyboard16);
  }
}

}  // namespace
}  // namespace velkor::testing
