#include <gtest/gtest.h>

#include <functional>

#include "host/scripted_host.h"
#include "model/captions.h"
#include "model/compose.h"
#include "model/workspace.h"
#include "text/cp1251.h"

namespace velkor {
namespace {

std::vector<std::string> ChildCaptions(const Node& node) {
  std::vector<std::string> out;
  for (const auto& c : node.Children) out.push_back(Cp1251ToUtf8(c->Caption));
  return out;
}

class NewDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateNewDB(ws, host));
    ProcessDataBase(db());
  }
  Database& db() { return ws.db; }

  Workspace ws;
  ScriptedHost host;
};

TEST_F(NewDatabase, HasTheFixedNodesInOrder) {
  RefreshModuleCaptions(db());
  ASSERT_EQ(db().Hardware.Roots.size(), 1u);
  EXPECT_EQ(Cp1251ToUtf8(db().PanelNode->Caption), "ППК Ворсан");
  EXPECT_EQ(ChildCaptions(*db().PanelNode),
            (std::vector<std::string>{"Ворсан - БМ8", "Ворсан - ПУС", "Интерфейс 485"}));
  ASSERT_EQ(db().Rooms.Roots.size(), 1u);
  EXPECT_EQ(Cp1251ToUtf8(db().RoomsNode->Caption), "Помещения");
  EXPECT_TRUE(db().RoomsNode->Children.empty());
  EXPECT_EQ(db().Rs485Node->Data, nullptr);
  EXPECT_NE(db().KeyboardModuleNode->As<TAdapter>(), nullptr);
  EXPECT_TRUE(db().PanelNode->Expanded);
  EXPECT_EQ(db().Rooms.Selected, db().RoomsNode);

  EXPECT_FALSE(ws.editor.MenuDBNew);
  EXPECT_TRUE(ws.editor.MenuDBStore && ws.editor.MenuDBErace && ws.editor.MenuDBWrite);
  EXPECT_EQ(db().TotalZones, 8);
  EXPECT_EQ(db().KeyboardCount, 1);
  EXPECT_EQ(db().BusDeviceCount, 0);
  ASSERT_EQ(db().ReactionList.size(), 1u);  // only "Нет реакции": no output exists yet
  EXPECT_EQ(db().ReactionList[0].Item, nullptr);
}

TEST_F(NewDatabase, EraceEmptiesEverything) {
  ws.exportLog.Lines.push_back("x");
  ASSERT_TRUE(EraceDB(ws, host));
  EXPECT_TRUE(db().Hardware.Empty());
  EXPECT_TRUE(db().Rooms.Empty());
  EXPECT_EQ(db().PanelNode, nullptr);
  EXPECT_EQ(db().RoomsNode, nullptr);
  EXPECT_TRUE(ws.exportLog.Lines.empty());
  EXPECT_TRUE(ws.editor.MenuDBNew && ws.editor.MenuDBLoad && ws.editor.MenuDBRead);
  EXPECT_FALSE(ws.editor.MenuDBStore || ws.editor.MenuTXTStore || ws.editor.MenuDBWrite || ws.editor.MenuDBErace);
  EXPECT_FALSE(ws.editor.PanelTreeViewVisible);
  EXPECT_TRUE(host.events.empty());
}

TEST_F(NewDatabase, CaptionsOfDeviceChildren) {
  Node& sv3 = AddBusDeviceNode(db(), 0, 5);
  Node& group = GroupNode(db(), 1);
  for (byte z = 3; z >= 1; --z) AddZoneNode(db(), sv3, z, group, z);
  AddOutputNode(db(), sv3, 1);
  EXPECT_EQ(Cp1251ToUtf8(sv3.Caption), "05 > Ворсан - ШВ3");
  EXPECT_EQ(ChildCaptions(sv3), (std::vector<std::string>{"01 > Шлейф", "02 > Шлейф", "03 > Шлейф", "Реле"}));

  Node& iv4 = AddBusDeviceNode(db(), 5, 6);
  AddOutputNode(db(), iv4, 2);
  Node& reader = AddBusDeviceNode(db(), 8, 7);
  AddIDReaderNode(db(), reader, 1, nullptr);
  Node& ir4 = AddBusDeviceNode(db(), 6, 8);
  AddSetInputNode(db(), ir4, 4, group);
  AddOutputNode(db(), *db().BaseModuleNode, 1);
  AddZoneNode(db(), *db().BaseModuleNode, 1, group, 4);
  AddSetInputNode(db(), *db().BaseModuleNode, 1, group);
  EXPECT_EQ(ChildCaptions(iv4), (std::vector<std::string>{"02 > Реле"}));
  EXPECT_EQ(ChildCaptions(reader), (std::vector<std::string>{"ТМ вход"}));
  EXPECT_EQ(ChildCaptions(ir4), (std::vector<std::string>{"04 > Вход SET"}));
  EXPECT_EQ(ChildCaptions(*db().BaseModuleNode),
            (std::vector<std::string>{"01 > Шлейф", "Вход SET", "Выход UK"}));
  EXPECT_EQ(ChildCaptions(*db().Rs485Node), (std::vector<std::string>{"05 > Ворсан - ШВ3", "06 > Ворсан - ИВ4",
                                                                       "07 > Ворсан - ЧТ", "08 > Ворсан - ИР4"}));
  EXPECT_EQ(ChildCaptions(group), (std::vector<std::string>{"001 > Шлейф", "002 > Шлейф", "003 > Шлейф",
                                                             "004 > Шлейф", "Устройство SET", "Устройство SET"}));
}

TEST_F(NewDatabase, UsersComeBeforeGroupsInTheRoomsTree) {
  GroupNode(db(), 2);
  AddUserNode(db(), 2);
  GroupNode(db(), 1);
  AddUserNode(db(), 1);
  EXPECT_EQ(ChildCaptions(*db().RoomsNode), (std::vector<std::string>{"001 > Администратор", "002 > Пользователь",
                                                                       "Группа 001", "Группа 002"}));
  ProcessDataBase(db());
  EXPECT_EQ(db().UserCount, 2);
  ASSERT_EQ(db().GroupList.size(), 2u);
  EXPECT_EQ(Cp1251ToUtf8(db().GroupList[0].Text), "Группа 001");
}

TEST_F(NewDatabase, SixteenZoneBaseModuleLocksWithZoneNine) {
  TAdapter& base = *db().BaseModule();
  base.ZonesTotal = 16;
  ProcessDataBase(db());
  EXPECT_TRUE(db().Module16Zones);
  EXPECT_FALSE(db().Module16Locked);
  RefreshModuleCaptions(db());
  EXPECT_EQ(Cp1251ToUtf8(db().BaseModuleNode->Caption), "Ворсан - БМ16");

  Node& zone9 = AddZoneNode(db(), *db().BaseModuleNode, 9, GroupNode(db(), 1), 1);
  ProcessDataBase(db());
  EXPECT_TRUE(db().Module16Locked);

  Node* mirror = db().RoomsNode->Children.back()->Children.front().get();
  DetachNode(db().Rooms, *mirror);
  DetachNode(db().Hardware, zone9);
  ProcessDataBase(db());
  EXPECT_FALSE(db().Module16Locked);
}

TEST_F(NewDatabase, DerivedListsAndCounters) {
  Node& group = GroupNode(db(), 3);
  Node& iv4 = AddBusDeviceNode(db(), 5, 1);
  Node& plain = AddOutputNode(db(), iv4, 1);
  Node& forGroups = AddOutputNode(db(), iv4, 2);
  Node& forFire = AddOutputNode(db(), iv4, 3);
  Node& both = AddOutputNode(db(), iv4, 4);
  (void)plain;
  forGroups.As<TOutput>()->ForGroups = 1;
  forFire.As<TOutput>()->ForFire = 1;
  both.As<TOutput>()->ForGroups = 1;
  both.As<TOutput>()->ForFire = 1;
  Node& chtr = AddBusDeviceNode(db(), 7, 2);
  AddIDReaderNode(db(), chtr, 1, nullptr);
  AddIDReaderNode(db(), chtr, 2, &group);
  AddBusDeviceNode(db(), 2, 3);  // a code keyboard
  ProcessDataBase(db());

  auto texts = [](const auto& list) {
    std::vector<std::string> out;
    for (const auto& row : list) out.push_back(Cp1251ToUtf8(row.Text));
    return out;
  };
  EXPECT_EQ(texts(db().ReactionList), (std::vector<std::string>{"Нет реакции", "C485 > 01 > Ворсан - ИВ4 > 01 > Реле"}));
  EXPECT_EQ(texts(db().GroupReactionList),
            (std::vector<std::string>{"Нет реакции", "C485 > 01 > Ворсан - ИВ4 > 02 > Реле"}));
  EXPECT_EQ(texts(db().FireReactionList), (std::vector<std::string>{"Нет реакции", "C485 > 01 > Ворсан - ИВ4 > 03 > Реле",
                                                                     "C485 > 01 > Ворсан - ИВ4 > 04 > Реле"}));
  EXPECT_EQ(db().FireReactionList[2].Item, both.As<TOutput>());
  EXPECT_EQ(texts(db().KeyboardList), (std::vector<std::string>{"ППК > Ворсан - ПУС8", "C485 > 03 > Ворсан - ПУ8"}));

  EXPECT_EQ(chtr.As<TAdapter>()->ReadersUsed, 2);
  EXPECT_EQ(group.As<TGroup>()->ReadersCount, 1);
  EXPECT_EQ(iv4.As<TAdapter>()->OutputsUsed, 4);
  EXPECT_EQ(db().TotalReaders, 3);
  EXPECT_EQ(db().TotalOutputs, 1 + 4);
  EXPECT_EQ(db().BusDeviceCount, 3);
  EXPECT_EQ(db().KeyboardCount, 2);
}

TEST_F(NewDatabase, FormatElementPath) {
  Node& iv4 = AddBusDeviceNode(db(), 5, 5);
  Node& pu8 = AddBusDeviceNode(db(), 2, 3);
  Node& chtr = AddBusDeviceNode(db(), 7, 4);
  const TAdapter* base = db().BaseModule();
  struct Case {
    int Short, Kind, Number;
    const TAdapter* device;
    const char* text;
  } cases[] = {
      {0, 3, 2, iv4.As<TAdapter>(), "C485 > 05 > Ворсан - ИВ4 > 02 > Реле"},
      {0, 3, 1, base, "ППК > Ворсан - БМ8 > Выход UK"},
      {1, 4, 0, pu8.As<TAdapter>(), "03 > Ворсан - ПУ8"},
      {0, 4, 0, db().KeyboardModuleNode->As<TAdapter>(), "ППК > Ворсан - ПУС8"},
      {0, 1, 7, base, "ППК > Ворсан - БМ8 > 07 > Шлейф"},
      {0, 5, 1, base, "ППК > Ворсан - БМ8 > Вход SET"},
      {1, 7, 2, chtr.As<TAdapter>(), "04 > ТМ |ЧТР|ЧТБ > 02 > TM вход"},
      {0, 2, 1, base, ""},
      {0, 3, 1, nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Cp1251ToUtf8(FormatElementPath(db(), c.Short, c.Kind, c.Number, c.device)), c.text);
  }
  db().BaseModule()->ZonesTotal = 16;
  EXPECT_EQ(Cp1251ToUtf8(FormatElementPath(db(), 1, 4, 0, base)), "Ворсан - БМ16");
}

TEST(ElementRegistry, CapacitiesAndSections) {
  ElementRegistry reg;
  for (int i = 0; i < 128; ++i) ASSERT_TRUE(reg.DBRegister(1, nullptr, nullptr, i));
  EXPECT_FALSE(reg.DBRegister(1, nullptr, nullptr, 128));
  EXPECT_FALSE(reg.DBRegister(8, nullptr, nullptr, 0));
  EXPECT_FALSE(reg.DBRegister(0, nullptr, nullptr, 0));
  EXPECT_FALSE(reg.DBRegister(10, nullptr, nullptr, 0));
  EXPECT_TRUE(reg.DBRegister(0x89, nullptr, nullptr, 5));  // top bit ignored: users
  ASSERT_EQ(reg.Entries(9).size(), 1u);
  EXPECT_EQ(reg.FindByNumber(9, 5), &reg.Entries(9)[0]);
  for (int i = 0; i < 34; ++i) ASSERT_TRUE(reg.DBRegister(4, nullptr, nullptr, i));
  EXPECT_FALSE(reg.DBRegister(4, nullptr, nullptr, 34));
  reg.Clear();
  EXPECT_TRUE(reg.Entries(1).empty());

  TOutput out;
  Element element{std::in_place_type<TOutput>};
  ASSERT_TRUE(reg.DBRegister(3, nullptr, &element, 0));
  EXPECT_NE(reg.FindByObject(3, &std::get<TOutput>(element)), nullptr);
  EXPECT_EQ(reg.FindByObject(3, &out), nullptr);
}

TEST(AttachOperations, KeepConsecutiveRuns) {
  ScriptedHost host;
  ImageArray store{};
  EXPECT_TRUE(AdapterAttachZone(host, store, 0, 3));
  EXPECT_FALSE(AdapterAttachZone(host, store, 0, 5));
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].title, std::string("Ошибка конвертирования базы данных"_w));
  EXPECT_EQ(host.messages()[0].text, std::string("Ошибка добавления шлейфа к адаптеру"_w));
  EXPECT_TRUE(AdapterAttachZone(host, store, 0, 4));
  EXPECT_EQ(store[3072 + 3], 3);
  EXPECT_EQ(store[3072 + 4], 2);

  EXPECT_TRUE(AdapterAttachKeyboard(host, store, 2, 7));
  EXPECT_FALSE(AdapterAttachKeyboard(host, store, 2, 8));
  EXPECT_EQ(host.messages().back().text, std::string("Ошибка добавления клавиатуры к адаптеру"_w));

  struct Case {
    std::function<bool()> attach;
    const char* message;
  } refusals[] = {
      {[&] { return AdapterAttachZone(host, store, 34, 0); }, "Ошибка добавления шлейфа к адаптеру"},
      {[&] { return AdapterAttachZone(host, store, 1, 128); }, "Ошибка добавления шлейфа к адаптеру"},
      {[&] { return AdapterAttachOutput(host, store, 1, 64); }, "Ошибка добавления управляемого выхода к адаптеру"},
      {[&] { return AdapterAttachSetInput(host, store, 1, 32); }, "Ошибка добавления входа SET к адаптеру"},
      {[&] { return AdapterAttachIDReader(host, store, 1, 32); }, "Ошибка добавления ТМ считывателя к адаптеру"},
      {[&] { return BEAttachAdapter(host, store, 3, 0); }, "Ошибка добавления адаптера к шинному расширителю"},
      {[&] { return BEAttachAdapter(host, store, 0, 34); }, "Ошибка добавления адаптера к шинному расширителю"},
  };
  for (const auto& c : refusals) {
    SCOPED_TRACE(c.message);
    EXPECT_FALSE(c.attach());
    EXPECT_EQ(Cp1251ToUtf8(host.messages().back().text), c.message);
  }

  // Module 0 carries at most 32 devices, modules 1 and 2 one each.
  for (int a = 0; a < 32; ++a) ASSERT_TRUE(BEAttachAdapter(host, store, 0, a));
  EXPECT_FALSE(BEAttachAdapter(host, store, 0, 32));
  EXPECT_TRUE(BEAttachAdapter(host, store, 1, 32));
  EXPECT_FALSE(BEAttachAdapter(host, store, 1, 33));
  EXPECT_TRUE(BEAttachAdapter(host, store, 2, 33));
  EXPECT_EQ(store[4108 + 1], 0);
  EXPECT_EQ(store[4108 + 2], 32);
  EXPECT_EQ(store[4108 + 8 + 1], 32);
  EXPECT_EQ(store[4108 + 16 + 1], 33);
}

}  // namespace
}  // namespace velkor
