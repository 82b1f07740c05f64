// The text image: its records, the panel's character conversion, the
// listing, and the checks that stop it.

#include <gtest/gtest.h>

#include "build_fixture.h"
#include "link/text_image.h"

namespace velkor::testing {
namespace {

class TextFixture : public BuildFixture {
 public:
  bool BuildTexts(bool fullConvert = true) {
    ProcessDataBase(db());
    text.fill(0xEE);
    return DBConvertText(ws, host, text, fullConvert, stamp);
  }
  // Bytes of record `index` of a category: category, index, two parameters,
  // then the 26 text bytes as a string.
  struct Rec {
    int category, index, first, second;
    std::string name;
  };
  Rec Record(const TextCategory& c, int index) const {
    const std::uint8_t* r = text.data() + c.Offset + index * 30;
    return {r[0], r[1], r[2], r[3], std::string(reinterpret_cast<const char*>(r + 4), 26)};
  }
  static std::string Padded(std::string_view cp1251) {
    std::string s(cp1251);
    s.resize(26, ' ');
    return s;
  }

  TextImageArray text{};
};

TEST(PanelTextTest, ConvertsToWhatTheDisplaysDraw) {
  EXPECT_EQ(PanelText("ліфт, ёмкость"_w), std::string("ЛIФТ, ЕМКОСТЬ"_w));
  EXPECT_EQ(PanelText("Їжак єнот ЁЖ Іра abc-z 123"_w), std::string("ЇЖАК ЄНОТ ЕЖ IРА ABC-Z 123"_w));
  EXPECT_EQ(PanelText("ї є"_w), std::string("Ї Є"_w));
}

TEST_F(TextFixture, SmallestDatabaseFillsItsRecordsAndListing) {
  group(group1).Name = "Склад"_w;
  zone1->As<TZone>()->Name = "ліфт, ёмкость"_w;
  admin->Fio = "Петров П."_w;
  Node& g7 = GroupNode(db(), 7);
  group(&g7).RoomNumber = "300";
  AddZoneNode(db(), *db().BaseModuleNode, 3, g7, 2);
  ASSERT_TRUE(BuildTexts()) << LastMessage();
  EXPECT_TRUE(Messages().empty());

  // Every record carries its category and index; unused ones are blank.
  for (const TextCategory& c : {kTextUsers, kTextGroups, kTextZones, kTextDevices})
    for (int i = 0; i < c.Records; ++i) {
      Rec r = Record(c, i);
      ASSERT_EQ(r.category, c.Code);
      ASSERT_EQ(r.index, i);
    }
  EXPECT_EQ(Record(kTextUsers, 1).name, std::string(26, ' '));
  EXPECT_EQ(Record(kTextUsers, 1).first, 0);

  Rec user = Record(kTextUsers, 0);
  EXPECT_EQ(user.name, Padded("ПЕТРОВ П."_w));
  Rec g1 = Record(kTextGroups, 0);
  EXPECT_EQ(std::make_pair(g1.first, g1.second), std::make_pair(1, 0));
  EXPECT_EQ(g1.name, Padded("СКЛАД"_w));
  Rec room300 = Record(kTextGroups, 6);
  EXPECT_EQ(std::make_pair(room300.first, room300.second), std::make_pair(44, 1));
  Rec zone = Record(kTextZones, 0);
  EXPECT_EQ(std::make_pair(zone.first, zone.second), std::make_pair(0, 0));
  EXPECT_EQ(zone.name, std::string("ЛIФТ, ЕМКОСТЬ             "_w));
  Rec zone3 = Record(kTextZones, 2);
  EXPECT_EQ(std::make_pair(zone3.first, zone3.second), std::make_pair(6, 1));
  EXPECT_EQ(Record(kTextZones, 1).name, std::string(26, ' '));
  for (int i = 0; i < 31; ++i) EXPECT_EQ(Record(kTextDevices, i).name, std::string(26, ' '));

  auto listing = Listing();
  ASSERT_GE(listing.size(), 8u);
  EXPECT_EQ(listing[0], "Дата:  1 января 2026 г.");
  EXPECT_EQ(listing[4], "Запись текстовой информации из базы данных ППК по категориям элементов");
  EXPECT_EQ(listing[5], std::string(110, '-'));
  EXPECT_EQ(Category("Категория \"ФУНКЦИОНАЛЬНЫЕ"),
            (std::vector<std::string>{"Категория \"ФУНКЦИОНАЛЬНЫЕ УСТРОЙСТВА 485\" (всего 31 максимум):",
                                      "...   отсутствуют."}));
  EXPECT_EQ(Category("Категория \"ПОЛЬЗОВАТЕЛИ"),
            (std::vector<std::string>{"Категория \"ПОЛЬЗОВАТЕЛИ\" (всего 128 максимум):",
                                      "Пользователь 1 -  ПЕТРОВ П. (администратор)"}));
  EXPECT_EQ(Category("Категория \"ГРУППЫ"),
            (std::vector<std::string>{"Категория \"ГРУППЫ\" (всего 128 максимум):",
                                      "Группа 1, номер помещения 1 -  СКЛАД", "Группа 7, номер помещения 300 - "}));
  auto zones = Category("Категория \"ШЛЕЙФЫ");
  ASSERT_EQ(zones.size(), 1u + 8u);  // the base module's eight slots
  EXPECT_EQ(zones[1].rfind("ЭЛЕМЕНТ 001: ", 0), 0u);
  EXPECT_NE(zones[1].find(", группа 1, индикатор 1 -  ЛIФТ, ЕМКОСТЬ"), std::string::npos) << zones[1];
  EXPECT_EQ(zones[2].find("группа"), std::string::npos);
  EXPECT_EQ(listing[listing.size() - 2], std::string(100, '-'));
  EXPECT_EQ(listing.back(), "Конец структуры");

  EXPECT_EQ(host.positions, (std::vector<int>{20, 40, 60, 80, 90, 100}));
  EXPECT_EQ(host.pauses, std::vector<int>{100});
  // The configuration image's group record as far as the texts know it.
  EXPECT_EQ(Bytes(SectionGroups, 6, 0, 13), (std::vector<int>{0x81, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 44, 1}));
  EXPECT_EQ(Bytes(SectionZones, 2, 0, 4), (std::vector<int>{0, 6, 1, 1}));
}

TEST_F(TextFixture, DevicesAndLongNames) {
  Node& kb = Device(9, 5);  // a display keyboard at address 5
  kb.As<TAdapter>()->Location = "Холл первого этажа у лифта и лестницы"_w;  // 37 characters
  Node& sh = Device(1, 2);
  sh.As<TAdapter>()->Location = "щит"_w;
  ASSERT_TRUE(BuildTexts()) << LastMessage();
  Rec r = Record(kTextDevices, 4);
  EXPECT_EQ(r.first, 4);
  EXPECT_EQ(r.second, 17);  // its SA type code
  EXPECT_EQ(r.name, std::string("ХОЛЛ ПЕРВОГО ЭТАЖА У ЛИФТА"_w));
  Rec s = Record(kTextDevices, 1);
  EXPECT_EQ(std::make_pair(s.first, s.second), std::make_pair(1, 4));
  auto devices = Category("Категория \"ФУНКЦИОНАЛЬНЫЕ");
  ASSERT_EQ(devices.size(), 3u);
  // Listed whole, in the hardware tree's order.
  EXPECT_NE(devices[1].find(" - ЩИТ"), std::string::npos) << devices[1];
  EXPECT_NE(devices[2].find(" - ХОЛЛ ПЕРВОГО ЭТАЖА У ЛИФТА И ЛЕСТНИЦЫ"), std::string::npos) << devices[2];
  EXPECT_EQ(devices[1].rfind("Сетевой адрес ", 0), 0u);
}

TEST_F(TextFixture, WithoutTheKeyboardModuleStillBuilds) {
  std::unique_ptr<Node> gone = DetachNode(db().Hardware, *db().KeyboardModuleNode);
  db().KeyboardModuleNode = nullptr;
  ASSERT_TRUE(BuildTexts()) << LastMessage();
  EXPECT_EQ(Category("Категория \"ШЛЕЙФЫ").size(), 1u + 8u);
}

TEST_F(TextFixture, ChecksStopWithTheirMessage) {
  struct Case {
    const char* name;
    std::function<void(TextFixture&)> spoil;
    std::string message;  // UTF-8
    bool fullConvert = true;
  };
  const Case cases[] = {
      {"no admin PIN", [](TextFixture& f) { f.admin->PinCode = ""; },
       "Неполная база данных, отсутствует PIN-код администратора"},
      {"no admin", [](TextFixture& f) { f.admin->Number = 2; }, "Неполная база данных, отсутствует администратор"},
      {"bad protocol", [](TextFixture& f) { f.ppk().Protocol = 9; }, "Неподдерживаемый конвертером режим работы ППК."},
      {"module without serial", [](TextFixture& f) { f.base().SerialNumber = 0; },
       "Ошибка серийного номера модуля Ворсан - БМ"},
      {"room number not a number", [](TextFixture& f) { f.group(f.group1).RoomNumber = "12a"; },
       "Неправильно указан номер помещения в группе 1"},
      {"room number 0", [](TextFixture& f) { f.group(f.group1).RoomNumber = "0"; },
       "Неправильно указан номер помещения в группе 1"},
      {"room number taken",
       [](TextFixture& f) {
         Node& g2 = GroupNode(f.db(), 2);
         f.group(&g2).RoomNumber = "1";
         AddZoneNode(f.db(), *f.db().BaseModuleNode, 2, g2, 1);
       },
       "Номер помещения, указанный в группе 1 уже задействован"},
      {"empty group",
       [](TextFixture& f) {
         Node& g2 = GroupNode(f.db(), 2);
         f.group(&g2).RoomNumber = "2";
       },
       "Группа 2 пуста"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(EraceDB(ws, host));
    host = ScriptedHost{};
    SetUp();
    c.spoil(*this);
    EXPECT_FALSE(BuildTexts(c.fullConvert));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], c.message);
    EXPECT_EQ(U(host.messages()[0].title), "Ошибка конвертирования базы данных");
  }
}

TEST_F(TextFixture, SameRoomNumberPassesWithoutTheFullCheckAndCancelStopsSilently) {
  Node& g2 = GroupNode(db(), 2);
  group(&g2).RoomNumber = "1";
  AddZoneNode(db(), *db().BaseModuleNode, 2, g2, 1);
  EXPECT_TRUE(BuildTexts(false)) << LastMessage();
  host = ScriptedHost{};
  host.cancelAtPoll = 3;
  EXPECT_FALSE(BuildTexts(false));
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace velkor::testing
