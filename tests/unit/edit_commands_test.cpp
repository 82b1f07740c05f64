#include <gtest/gtest.h>

#include "host/scripted_host.h"
#include "model/compose.h"
#include "model/edit_commands.h"
#include "text/cp1251.h"

namespace velkor {
namespace {

using Action = ScriptedHost::DialogAction;

class EditCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateNewDB(ws, host));
    ws.editor.ViewCardEnabled = true;
    DatabaseChanged(ws);
    ws.editor.DBChanged = false;
  }
  Database& db() { return ws.db; }

  void SelectHardware(Node& node) {
    ws.editor.TreeTabIndex = 0;
    db().Hardware.Selected = &node;
    ProcessViewCard(ws);
  }
  void SelectRooms(Node& node) {
    ws.editor.TreeTabIndex = 1;
    db().Rooms.Selected = &node;
    ProcessViewCard(ws);
  }
  void Fill(Action action) { host.dialogActions.push_back(std::move(action)); }
  void Cancel() { host.dialogActions.push_back(nullptr); }
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& e : host.events) out.push_back(Cp1251ToUtf8(e.text));
    return out;
  }
  static std::vector<std::string> Captions(const Node& node) {
    std::vector<std::string> out;
    for (const auto& c : node.Children) out.push_back(Cp1251ToUtf8(c->Caption));
    return out;
  }
  Node* Group(int number) {
    for (const auto& c : db().RoomsNode->Children)
      if (const TGroup* g = c->As<TGroup>(); g && g->Number == number) return c.get();
    return nullptr;
  }
  bool AddZone(Node& device, const char* n, const char* g, const char* k) {
    SelectHardware(device);
    Fill([=](NumberDialogs& d) {
      d.EditZoneNumber.Text = n;
      d.EditZoneGroupNumber.Text = g;
      d.EditZoneInGroupNumber.Text = k;
    });
    return BitBtnAdapterAddZoneClick(ws, host);
  }
  Node& Device(byte type, byte address) {
    Node& n = AddBusDeviceNode(db(), type, address);
    ProcessDataBase(db());
    return n;
  }

  Workspace ws;
  ScriptedHost host;
};

TEST_F(EditCommands, ModulesOneRelayModuleBesideTheKeyboardModule) {
  SelectHardware(*db().PanelNode);
  Fill([](NumberDialogs& d) { d.ControllerItem = 1; });  // "Ворсан - ИВ21"
  ASSERT_TRUE(BitBtnPPKAddModuleClick(ws, host));
  EXPECT_TRUE(ws.editor.DBChanged);
  EXPECT_EQ(Captions(*db().PanelNode),
            (std::vector<std::string>{"Ворсан - БМ8", "Ворсан - ИВ21", "Ворсан - ПУС", "Интерфейс 485"}));
  EXPECT_EQ(db().TotalOutputs, 3);

  Fill([](NumberDialogs& d) { d.ControllerItem = 2; });
  EXPECT_FALSE(BitBtnPPKAddModuleClick(ws, host));
  EXPECT_EQ(host.dialogsShown.size(), 1u);  // warned before the dialog
  EXPECT_EQ(Messages().back(),
            "В ППК отсутствует возможность дальнейшего добавления модулей.\rПеред добавлением нового модуля "
            "необходимо удалить\rодин из существующих.");
  EXPECT_EQ(host.events.back().title, std::string("Внимание"_w));
}

TEST_F(EditCommands, ModulesKeyboardModuleAndUnknownItem) {
  SelectHardware(*db().PanelNode);
  Fill([](NumberDialogs& d) { d.ControllerItem = 4; });  // "Ворсан - ПУСП" while "Ворсан - ПУС" exists
  EXPECT_FALSE(BitBtnPPKAddModuleClick(ws, host));
  EXPECT_TRUE(host.events.empty());
  Fill([](NumberDialogs& d) { d.ControllerItem = 5; });
  EXPECT_FALSE(BitBtnPPKAddModuleClick(ws, host));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Неизвестный тип модуля"}));
  EXPECT_EQ(host.events.back().title, std::string("Ошибка"_w));
  EXPECT_EQ(db().PanelNode->Children.size(), 3u);
}

TEST_F(EditCommands, BusDeviceCapacityLimits) {
  for (byte a = 1; a <= 13; ++a) Device(1, a);  // 13 × 8 zones
  for (byte a = 14; a <= 16; ++a) Device(0, a);  // 3 × 3 zones: 121 with the base module
  ASSERT_EQ(db().TotalZones, 121);
  SelectHardware(*db().Rs485Node);
  Fill([](NumberDialogs& d) {
    d.EditSaNumber.Text = "20";
    d.AdapterType = 1;
  });
  EXPECT_FALSE(BitBtn485AddClick(ws, host));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Количество шлейфов не должно превышать 128"}));
  EXPECT_EQ(db().Rs485Node->Children.size(), 16u);
}

TEST_F(EditCommands, BusDeviceTmAndBusLimits) {
  for (byte a = 1; a <= 10; ++a) Device(7, a);  // 30 TM inputs
  SelectHardware(*db().Rs485Node);
  Fill([](NumberDialogs& d) {
    d.EditSaNumber.Text = "11";
    d.AdapterType = 7;
  });
  EXPECT_FALSE(BitBtn485AddClick(ws, host));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Количество ТМ считывателей не должно превышать 32"}));

  host.events.clear();
  for (byte a = 11; a <= 31; ++a) Device(4, a);  // 31 devices, 43 outputs
  ASSERT_EQ(db().BusDeviceCount, 31);
  SelectHardware(*db().Rs485Node);
  Fill([](NumberDialogs& d) {
    d.EditSaNumber.Text = "5";  // taken: asked again
  });
  Fill([](NumberDialogs& d) {
    d.EditSaNumber.Text = "1";  // still taken
  });
  Fill([](NumberDialogs& d) {
    d.EditSaNumber.Text = "0";  // refused by the dialog itself
  });
  Fill([](NumberDialogs& d) {
    d.EditSaNumber.Text = "31";
    d.AdapterType = 4;
  });
  EXPECT_FALSE(BitBtn485AddClick(ws, host));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Адаптер с указанным номером уже существует",
                                                   "Адаптер с указанным номером уже существует",
                                                   "Значение в поле номера адаптера должно быть в пределах от 1 до 31",
                                                   "Адаптер с указанным номером уже существует"}));
}

TEST_F(EditCommands, BusDeviceThirtySecondIsRefused) {
  // Single TM readers fit every other limit; one came from a file with address 0.
  Device(8, 0);
  for (byte a = 1; a <= 30; ++a) Device(8, a);
  ASSERT_EQ(db().BusDeviceCount, 31);
  SelectHardware(*db().Rs485Node);
  Fill([](NumberDialogs& d) {
    d.EditSaNumber.Text = "31";
    d.AdapterType = 8;
  });
  EXPECT_FALSE(BitBtn485AddClick(ws, host));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Количество адаптеров в сети 485 не должно превышать 31"}));
  EXPECT_EQ(db().Rs485Node->Children.size(), 31u);
}

TEST_F(EditCommands, LirataAllowsOneCodeKeyboard) {
  db().Panel()->Protocol = 6;
  SelectHardware(*db().Rs485Node);
  Fill([](NumberDialogs& d) {
    d.EditSaNumber.Text = "1";
    d.AdapterType = 1;
  });
  EXPECT_FALSE(BitBtn485AddClick(ws, host));
  EXPECT_EQ(Messages().back(), "В протоколе \"Лирата\" этот адаптер запрещен");
  Fill([](NumberDialogs& d) {
    d.EditSaNumber.Text = "1";
    d.AdapterType = 3;
  });
  EXPECT_TRUE(BitBtn485AddClick(ws, host));
  EXPECT_EQ(Captions(*db().Rs485Node), (std::vector<std::string>{"01 > Ворсан - ПУ16"}));
  SelectHardware(*db().Rs485Node);
  Fill([](NumberDialogs& d) {
    d.EditSaNumber.Text = "2";
    d.AdapterType = 2;
  });
  EXPECT_FALSE(BitBtn485AddClick(ws, host));
  EXPECT_EQ(Messages().back(), "В протоколе \"Лирата\" разрешена только одна клавиатура");
  EXPECT_EQ(db().Rs485Node->Children.size(), 1u);
}

TEST_F(EditCommands, ZonesMakeTheirGroupAndRetryUntilValid) {
  Node& sv3 = Device(0, 1);
  ASSERT_TRUE(AddZone(sv3, "2", "5", "2"));
  ASSERT_NE(Group(5), nullptr);
  EXPECT_EQ(Cp1251ToUtf8(Group(5)->Caption), "Группа 005");
  EXPECT_EQ(Captions(*Group(5)), (std::vector<std::string>{"002 > Шлейф"}));
  EXPECT_EQ(Captions(sv3), (std::vector<std::string>{"02 > Шлейф"}));
  EXPECT_EQ(Group(5)->As<TGroup>()->ZonesCount, 1);

  SelectHardware(sv3);
  Fill([](NumberDialogs& d) {
    d.EditZoneNumber.Text = "4";
    d.EditZoneGroupNumber.Text = "5";
    d.EditZoneInGroupNumber.Text = "2";
  });
  Fill([](NumberDialogs& d) { d.EditZoneNumber.Text = "2"; });  // keeps group 5, number 2
  Fill([](NumberDialogs& d) { d.EditZoneGroupNumber.Text = "129"; });
  Cancel();
  EXPECT_FALSE(BitBtnAdapterAddZoneClick(ws, host));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Номер шлейфа не может превышать  3",
                                                   "Указанный номер шлейфа в группе уже задействован",
                                                   "Указанный шлейф уже задействован",
                                                   "Указанный номер шлейфа в группе уже задействован",
                                                   "Значение в поле номера группы должно быть в пределах от 1 до 128"}));
  EXPECT_EQ(host.dialogsShown.size(), 4u);
  EXPECT_EQ(sv3.Children.size(), 1u);

  host.events.clear();
  EXPECT_FALSE(AddZone(sv3, "1", "5", "x"));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Неправильное значение в поле номера шлейфа в группе"}));
}

TEST_F(EditCommands, SetInputsOnePerGroup) {
  Node& ir4 = Device(6, 1);
  SelectHardware(ir4);
  Fill([](NumberDialogs& d) {
    d.EditSetInputNumber.Text = "3";
    d.EditSetInputGroupNumber.Text = "7";
  });
  ASSERT_TRUE(BitBtnAdapterSetInputAddClick(ws, host));
  EXPECT_EQ(Captions(*Group(7)), (std::vector<std::string>{"Устройство SET"}));
  EXPECT_EQ(Captions(ir4), (std::vector<std::string>{"03 > Вход SET"}));

  SelectHardware(*db().BaseModuleNode);  // one SET input: number preset and locked
  Fill([](NumberDialogs& d) { d.EditSetInputGroupNumber.Text = "7"; });
  Cancel();
  EXPECT_FALSE(BitBtnAdapterSetInputAddClick(ws, host));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Указанная группа уже содержит устройство SET"}));
  ASSERT_EQ(host.dialogsShown.size(), 3u);
  EXPECT_EQ(host.dialogsShown[1].second.EditSetInputNumber.Text, "1");
  EXPECT_FALSE(host.dialogsShown[1].second.EditSetInputNumber.Enabled);
  EXPECT_EQ(host.dialogsShown[2].second.EditSetInputGroupNumber.Text, "7");  // kept between attempts
}

TEST_F(EditCommands, TmInputsWithAndWithoutGroup) {
  Node& reader = Device(8, 1);  // one TM input
  SelectHardware(reader);
  host.answers = {false};  // common to all groups
  ASSERT_TRUE(BitBtnAdapterReaderAddClick(ws, host));
  EXPECT_TRUE(host.dialogsShown.empty());
  EXPECT_EQ(Captions(reader), (std::vector<std::string>{"ТМ вход"}));
  EXPECT_EQ(Cp1251ToUtf8(host.events[0].title), "Принадлежность входа TM к группе");
  EXPECT_EQ(Cp1251ToUtf8(host.events[0].text), "Данный вход будет принадлежать одной группе?");

  Node& chtr = Device(7, 2);
  for (const char* number : {"1", "2"}) {
    SelectHardware(chtr);
    host.answers = {true};
    host.dialogActions.clear();
    Fill([=](NumberDialogs& d) {
      d.EditIDReaderNumber.Text = number;
      d.EditIDReaderGroupNumber.Text = "4";
    });
    Cancel();
    BitBtnAdapterReaderAddClick(ws, host);
  }
  EXPECT_EQ(Captions(chtr), (std::vector<std::string>{"01 > ТМ вход"}));
  EXPECT_EQ(Captions(*Group(4)), (std::vector<std::string>{"ТМ считыватель"}));
  EXPECT_EQ(Messages().back(), "Указанная группа уже содержит ТМ считыватель");

  SelectHardware(chtr);
  host.answers = {false};
  host.dialogActions.clear();
  Fill([](NumberDialogs& d) { d.EditIDReaderNumber.Text = "3"; });
  ASSERT_TRUE(BitBtnAdapterReaderAddClick(ws, host));
  EXPECT_FALSE(host.dialogsShown.back().second.IDReaderGroupCheck);
  EXPECT_EQ(Captions(chtr), (std::vector<std::string>{"01 > ТМ вход", "03 > ТМ вход"}));
  EXPECT_EQ(chtr.As<TAdapter>()->ReadersUsed, 2);
}

TEST_F(EditCommands, UsersAreUnique) {
  SelectRooms(*db().RoomsNode);
  Fill([](NumberDialogs& d) { d.EditUserNumber.Text = "1"; });
  ASSERT_TRUE(BitBtnUsersListAddClick(ws, host));
  SelectRooms(*db().RoomsNode);
  Fill([](NumberDialogs& d) { d.EditUserNumber.Text = "1"; });
  Fill([](NumberDialogs& d) { d.EditUserNumber.Text = "129"; });
  Fill([](NumberDialogs& d) { d.EditUserNumber.Text = "12"; });
  ASSERT_TRUE(BitBtnUsersListAddClick(ws, host));
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "Указанный номер пользователя уже задействован",
                            "Значение в поле номера пользователя должно быть в пределах от 1 до 128"}));
  EXPECT_EQ(Captions(*db().RoomsNode), (std::vector<std::string>{"001 > Администратор", "012 > Пользователь"}));
  EXPECT_EQ(db().UserCount, 2);
}

class DeleteCommands : public EditCommands {
 protected:
  void SetUp() override {
    EditCommands::SetUp();
    sv3 = &Device(0, 1);
    ASSERT_TRUE(AddZone(*sv3, "1", "3", "1"));
    ASSERT_TRUE(AddZone(*sv3, "2", "4", "1"));
    ASSERT_TRUE(AddZone(*sv3, "3", "4", "2"));
    for (byte n : {byte{1}, byte{2}}) {
      Node& u = AddUserNode(db(), n);
      u.As<TUser>()->Groups[0] = Group(3)->As<TGroup>();
      u.As<TUser>()->Groups[5] = Group(4)->As<TGroup>();
    }
    DatabaseChanged(ws);
    host.events.clear();
  }
  Node* ZoneNode(int numberInAdapter) {
    for (const auto& c : sv3->Children)
      if (const TZone* z = c->As<TZone>(); z && z->NumberInAdapter == numberInAdapter) return c.get();
    return nullptr;
  }

  Node* sv3 = nullptr;
};

TEST_F(DeleteCommands, DeviceWithChildrenIsRefusedUntilEmpty) {
  SelectHardware(*sv3);
  EXPECT_EQ(ws.editor.ActivePage, CardPage::Adapter);
  EXPECT_FALSE(BitBtnDBDelEvent(ws, host));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Удаление невозможно, существуют подчиненные элементы"}));

  for (int n = 1; n <= 3; ++n) {
    SelectHardware(*ZoneNode(n));
    host.answers = {true};
    ASSERT_TRUE(BitBtnDBDelEvent(ws, host)) << n;
  }
  EXPECT_EQ(Group(3), nullptr);
  EXPECT_EQ(Group(4), nullptr);
  EXPECT_EQ(db().RoomsNode->Children.size(), 2u);  // only the users

  SelectHardware(*sv3);
  host.answers = {false};
  EXPECT_FALSE(BitBtnDBDelEvent(ws, host));
  EXPECT_EQ(Messages().back(), "Удалить указанный адаптер?");
  EXPECT_EQ(db().Rs485Node->Children.size(), 1u);
  host.answers = {true};
  EXPECT_TRUE(BitBtnDBDelEvent(ws, host));
  EXPECT_TRUE(db().Rs485Node->Children.empty());
  EXPECT_EQ(db().Hardware.Selected, db().PanelNode);
  EXPECT_EQ(ws.editor.ActivePage, CardPage::PPK);
}

TEST_F(DeleteCommands, LastZoneTakesItsGroupAndTheUsersRights) {
  // One of two zones of group 4: the group stays.
  SelectRooms(*Group(4)->Children.back());
  EXPECT_EQ(ws.editor.ActivePage, CardPage::Zone);
  host.answers = {true};
  ASSERT_TRUE(BitBtnDBDelEvent(ws, host));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Удалить шлейф?"}));
  ASSERT_NE(Group(4), nullptr);
  EXPECT_EQ(sv3->Children.size(), 2u);  // gone from the hardware tree too
  EXPECT_EQ(db().Rooms.Selected, Group(4));

  // The only zone of group 3, from the hardware tree: group 3 goes.
  SelectHardware(*ZoneNode(1));
  host.answers = {true};
  ASSERT_TRUE(BitBtnDBDelEvent(ws, host));
  EXPECT_EQ(Group(3), nullptr);
  EXPECT_EQ(db().Rooms.Selected, db().RoomsNode);
  for (const auto& c : db().RoomsNode->Children)
    if (const TUser* u = c->As<TUser>()) {
      EXPECT_EQ(u->Groups[0], nullptr);
      EXPECT_EQ(u->Groups[5], Group(4)->As<TGroup>());
    }
}

TEST_F(DeleteCommands, KeyboardsAndOutputsLeaveNoReferences) {
  Node& pu8 = Device(2, 5);
  TGroup* g4 = Group(4)->As<TGroup>();
  TAdapter* module = db().KeyboardModuleNode->As<TAdapter>();
  g4->Keyboards = {};
  g4->Keyboards[0] = module;
  g4->Keyboards[1] = pu8.As<TAdapter>();
  g4->Keyboards[2] = sv3->As<TAdapter>();
  SelectHardware(pu8);
  EXPECT_EQ(ws.editor.ActivePage, CardPage::Keyboard);
  host.answers = {true};
  ASSERT_TRUE(BitBtnDBDelEvent(ws, host));
  EXPECT_EQ(Messages().back(), "Удалить указанную клавиатуру?");
  EXPECT_EQ(g4->Keyboards[0], module);
  EXPECT_EQ(g4->Keyboards[1], nullptr);
  EXPECT_EQ(g4->Keyboards[2], sv3->As<TAdapter>());

  SelectHardware(*sv3);
  Node& relay = AddOutputNode(db(), *sv3, 1);
  TOutput* out = relay.As<TOutput>();
  db().Panel()->ReactionTamper = out;
  sv3->As<TAdapter>()->ReactionConnect = out;
  ZoneNode(2)->As<TZone>()->Reaction3 = out;
  g4->ReactionOpen = out;
  DatabaseChanged(ws);
  SelectHardware(relay);
  host.answers = {true};
  ASSERT_TRUE(BitBtnDBDelEvent(ws, host));
  EXPECT_EQ(Messages().back(), "Удалить управляемый выход?");
  EXPECT_EQ(db().Panel()->ReactionTamper, nullptr);
  EXPECT_EQ(sv3->As<TAdapter>()->ReactionConnect, nullptr);
  EXPECT_EQ(ZoneNode(2)->As<TZone>()->Reaction3, nullptr);
  EXPECT_EQ(g4->ReactionOpen, nullptr);

  // The keyboard module goes and may come back; a zone adapter leaves it alone.
  SelectHardware(*db().KeyboardModuleNode);
  EXPECT_TRUE(ws.editor.BitBtnDBDelEnabled);
  host.answers = {true};
  ASSERT_TRUE(BitBtnDBDelEvent(ws, host));
  EXPECT_EQ(Messages().back(), "Удалить указанный модуль?");
  EXPECT_EQ(db().KeyboardModuleNode, nullptr);
  EXPECT_EQ(g4->Keyboards[0], nullptr);
  SelectHardware(*db().PanelNode);
  Fill([](NumberDialogs& d) { d.ControllerItem = 4; });
  ASSERT_TRUE(BitBtnPPKAddModuleClick(ws, host));
  ASSERT_NE(db().KeyboardModuleNode, nullptr);
  EXPECT_EQ(db().KeyboardModuleNode->As<TAdapter>()->DeviceType, 6);

  SelectHardware(*db().BaseModuleNode);
  EXPECT_FALSE(ws.editor.BitBtnDBDelEnabled);
}

TEST_F(DeleteCommands, TmInputWithoutGroupAndUsers) {
  Node& reader = Device(8, 9);
  Node& tm = AddIDReaderNode(db(), reader, 1, nullptr);
  DatabaseChanged(ws);
  SelectHardware(tm);
  host.answers = {true};
  ASSERT_TRUE(BitBtnDBDelEvent(ws, host));
  EXPECT_EQ(Messages().back(), "Удалить ТМ вход?");
  EXPECT_TRUE(reader.Children.empty());

  Node* user2 = db().RoomsNode->Children[1].get();
  SelectRooms(*user2);
  EXPECT_EQ(ws.editor.ActivePage, CardPage::User);
  host.answers = {true};
  ASSERT_TRUE(BitBtnDBDelEvent(ws, host));
  EXPECT_EQ(Messages().back(), "Удалить указанного пользователя?");
  SelectRooms(*db().RoomsNode->Children[0]);
  host.answers = {false};
  EXPECT_FALSE(BitBtnDBDelEvent(ws, host));
  EXPECT_EQ(Messages().back(), "Удалить администратора?");
  EXPECT_EQ(db().UserCount, 1);
  EXPECT_EQ(host.events.back().title, std::string("Внимание"_w));
}

TEST(NumberDialogs, ClosingChecks) {
  struct Case {
    NumberDialogKind kind;
    std::function<void(NumberDialogs&)> fill;
    const char* field;  // nullptr: closes
  } cases[] = {
      {NumberDialogKind::Adapter, [](NumberDialogs& d) { d.EditSaNumber.Text = "0"; }, "EditSaNumber"},
      {NumberDialogKind::Adapter, [](NumberDialogs& d) { d.EditSaNumber.Text = "32"; }, "EditSaNumber"},
      {NumberDialogKind::Adapter, [](NumberDialogs& d) { d.EditSaNumber.Text = ""; }, "EditSaNumber"},
      {NumberDialogKind::Adapter, [](NumberDialogs& d) { d.EditSaNumber.Text = "31"; }, nullptr},
      {NumberDialogKind::Zone,
       [](NumberDialogs& d) {
         d.EditZoneNumber.Text = "999";
         d.EditZoneGroupNumber.Text = "128";
       },
       nullptr},
      {NumberDialogKind::Zone,
       [](NumberDialogs& d) {
         d.EditZoneNumber.Text = "1";
         d.EditZoneGroupNumber.Text = "129";
       },
       "EditZoneGroupNumber"},
      {NumberDialogKind::Zone,
       [](NumberDialogs& d) {
         d.EditZoneNumber.Text = "1x";
         d.EditZoneGroupNumber.Text = "0";
       },
       "EditZoneNumber"},
      {NumberDialogKind::IDReader,
       [](NumberDialogs& d) {
         d.EditIDReaderNumber.Text = "1";
         d.IDReaderGroupCheck = false;
       },
       nullptr},
      {NumberDialogKind::IDReader,
       [](NumberDialogs& d) {
         d.EditIDReaderNumber.Text = "1";
         d.IDReaderGroupCheck = true;
       },
       "EditIDReaderGroupNumber"},
      {NumberDialogKind::SetInput, [](NumberDialogs& d) { d.EditSetInputGroupNumber.Text = "1"; },
       "EditSetInputNumber"},
      {NumberDialogKind::Output, [](NumberDialogs& d) { d.EditOutputNumber.Text = "-1"; }, "EditOutputNumber"},
      {NumberDialogKind::Group, [](NumberDialogs& d) { d.EditGroupNumber.Text = "128"; }, nullptr},
      {NumberDialogKind::User, [](NumberDialogs& d) { d.EditUserNumber.Text = "0"; }, "EditUserNumber"},
      {NumberDialogKind::Controller, [](NumberDialogs&) {}, nullptr},
  };
  for (const auto& c : cases) {
    NumberDialogs d;
    c.fill(d);
    auto failure = ValidateNumberDialog(c.kind, d);
    SCOPED_TRACE(c.field ? c.field : "closes");
    if (!c.field) {
      EXPECT_FALSE(failure.has_value());
    } else {
      ASSERT_TRUE(failure.has_value());
      EXPECT_EQ(failure->Field, c.field);
    }
  }
  NumberDialogs d;
  d.EditSaNumber.Text = "0";
  auto failure = ValidateNumberDialog(NumberDialogKind::Adapter, d);
  EXPECT_EQ(Cp1251ToUtf8(failure->Title), "Ошибка номера адаптера");
}

}  // namespace
}  // namespace velkor
