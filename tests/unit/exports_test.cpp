#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "build_fixture.h"
#include "export/listing.h"
#include "export/prg_sheet.h"
#include "image/build_command.h"

namespace velkor::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Utf8Lines(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(U(l));
  return out;
}

std::string Rule() { return std::string(100, '-'); }

TEST_F(BuildFixture, ListingOfTheSmallestDatabase) {
  settings.ProtocolText = SelectedProtocolText(ws);
  ASSERT_TRUE(Build()) << LastMessage();
  std::vector<std::string> expected = {
      "Дата:  1 января 2026 г.",
      "Время:  12:00:00",
      "Версия программы:  1 января 2026 г.,  ver. 3.20",
      "",
      "Экспорт структуры базы данных по категориям",
      "с присвоением номера элемента в соответствующей категории",
      Rule(),
      "",
      "Протокол связи:  СПДИ \"Ворсан-М\", телефонная линия",
      "",
      "Категория \"МОДУЛИ\" (всего 3 максимум):",
      "ППК > Ворсан - БМ8",
      "ППК > Ворсан - ПУС8",
      "",
      "Категория \"ФУНКЦИОНАЛЬНЫЕ УСТРОЙСТВА 485\" (всего 31 максимум):",
      "...   отсутствуют.",
      "",
      "Категория \"ПОЛЬЗОВАТЕЛИ\" (всего 128 максимум):",
      "ЭЛЕМЕНТ 001: Пользователь 1 (администратор), доступ к группам запрещен",
      "",
      "Категория \"УСТРОЙСТВА УПРАВЛЕНИЯ\" (всего 32 максимум):",
      "ЭЛЕМЕНТ 032: ППК > Ворсан - ПУС8",
      "",
      "Категория \"ГРУППЫ\" (всего 128 максимум):",
      "ЭЛЕМЕНТ 001: Группа 1, номер помещения 1",
      "",
      "Категория \"ШЛЕЙФЫ\" (всего 128 максимум):",
      "ЭЛЕМЕНТ 001: ППК > Ворсан - БМ8 > 01 > Шлейф, задействован, группа 1, индикатор 1",
  };
  for (int z = 2; z <= 8; ++z)
    expected.push_back("ЭЛЕМЕНТ 00" + std::to_string(z) + ": ППК > Ворсан - БМ8 > 0" + std::to_string(z) + " > Шлейф");
  for (const char* l : {"", "Категория \"ВХОДЫ SET\" (всего 32 максимум):", "ЭЛЕМЕНТ 001: ППК > Ворсан - БМ8 > Вход SET",
                        "", "Категория \"ТМ СЧИТЫВАТЕЛИ\" (всего 32 максимум):", "...   отсутствуют.", "",
                        "Категория \"УПРАВЛЯЕМЫЕ ВЫХОДЫ\" (реакции, всего 64 максимум):",
                        "ЭЛЕМЕНТ 001: ППК > Ворсан - БМ8 > Выход UK", ""})
    expected.push_back(l);
  expected.push_back(Rule());
  expected.push_back("Конец структуры");
  EXPECT_EQ(Listing(), expected);
  // Selection queries and reads past the end.
  EXPECT_EQ(ExportLogLinesCount(ws.exportLog), static_cast<int>(expected.size()));
  EXPECT_EQ(ExportLogGetLine(ws.exportLog, ExportLogLinesCount(ws.exportLog)), "");
}

TEST_F(BuildFixture, ListingOfDevicesUsersAndSlots) {
  Node& sh8 = Device(1, 3, 10);
  AddZoneNode(db(), sh8, 2, *group1, 2);
  Node& readers = Device(7, 12);
  AddIDReaderNode(db(), readers, 1, nullptr);
  AddIDReaderNode(db(), readers, 2, group1);
  Node& relays = Device(4, 20);
  AddOutputNode(db(), relays, 2);
  admin->Fio = "Іваненко Ґанна"_w;
  admin->Post = "інженер"_w;
  Node* group5 = &GroupNode(db(), 5);
  group(group5).RoomNumber = "0120";
  AddSetInputNode(db(), *db().BaseModuleNode, 1, *group5);
  admin->Groups[7] = &group(group5);
  admin->Groups[2] = &group(group1);
  AddUserNode(db(), 5);
  ASSERT_TRUE(Build()) << LastMessage();

  EXPECT_EQ(Category("Категория \"ФУНКЦИОНАЛЬНЫЕ"),
            (std::vector<std::string>{
                "Категория \"ФУНКЦИОНАЛЬНЫЕ УСТРОЙСТВА 485\" (всего 31 максимум):",
                "ЭЛЕМЕНТ 002: C485 > 03 > Ворсан - ШВ8,cетевой адрес 3, ПРОГ: [12] # [2] # [00010] # [21001] #",
                "ЭЛЕМЕНТ 003: C485 > 12 > ТМ |ЧТР|ЧТБ,cетевой адрес 12, ПРОГ: [12] # [3] # [00000] # [25001] #",
                "ЭЛЕМЕНТ 004: C485 > 20 > Ворсан - ИВ2,cетевой адрес 20, ПРОГ: [12] # [4] # [00000] # [22001] #",
            }));
  EXPECT_EQ(Category("Категория \"ПОЛЬЗОВАТЕЛИ"),
            (std::vector<std::string>{
                "Категория \"ПОЛЬЗОВАТЕЛИ\" (всего 128 максимум):",
                "ЭЛЕМЕНТ 001: Пользователь 1 Іваненко Ґанна інженер (администратор), доступ к группам: [1, 5]",
                "ЭЛЕМЕНТ 005: Пользователь 5, доступ к группам запрещен",
            }));
  EXPECT_EQ(Category("Категория \"ГРУППЫ"),
            (std::vector<std::string>{"Категория \"ГРУППЫ\" (всего 128 максимум):",
                                      "ЭЛЕМЕНТ 001: Группа 1, номер помещения 1",
                                      "ЭЛЕМЕНТ 005: Группа 5, номер помещения 0120"}));
  const auto zones = Category("Категория \"ШЛЕЙФЫ");
  ASSERT_EQ(zones.size(), 17u);
  EXPECT_EQ(zones[10], "ЭЛЕМЕНТ 010: C485 > 03 > Ворсан - ШВ8 > 02 > Шлейф, задействован, группа 1, индикатор 2");
  EXPECT_EQ(zones[16], "ЭЛЕМЕНТ 016: C485 > 03 > Ворсан - ШВ8 > 08 > Шлейф");
  EXPECT_EQ(Category("Категория \"ВХОДЫ SET"),
            (std::vector<std::string>{"Категория \"ВХОДЫ SET\" (всего 32 максимум):",
                                      "ЭЛЕМЕНТ 001: ППК > Ворсан - БМ8 > Вход SET, задействован, группа 5"}));
  EXPECT_EQ(Category("Категория \"ТМ"),
            (std::vector<std::string>{"Категория \"ТМ СЧИТЫВАТЕЛИ\" (всего 32 максимум):",
                                      "ЭЛЕМЕНТ 001: C485 > 12 > ТМ |ЧТР|ЧТБ > 01 > TM вход, задействован, общий",
                                      "ЭЛЕМЕНТ 002: C485 > 12 > ТМ |ЧТР|ЧТБ > 02 > TM вход, задействован, группа 1",
                                      "ЭЛЕМЕНТ 003: C485 > 12 > ТМ |ЧТР|ЧТБ > 03 > TM вход"}));
  EXPECT_EQ(Category("Категория \"УПРАВЛЯЕМЫЕ"),
            (std::vector<std::string>{"Категория \"УПРАВЛЯЕМЫЕ ВЫХОДЫ\" (реакции, всего 64 максимум):",
                                      "ЭЛЕМЕНТ 001: ППК > Ворсан - БМ8 > Выход UK",
                                      "ЭЛЕМЕНТ 002: C485 > 20 > Ворсан - ИВ2 > 01 > Реле",
                                      "ЭЛЕМЕНТ 003: C485 > 20 > Ворсан - ИВ2 > 02 > Реле, задействован"}));
  // The 16-zone base module names itself so in every path.
  base().ZonesTotal = 16;
  host = ScriptedHost{};
  ASSERT_TRUE(Build()) << LastMessage();
  EXPECT_EQ(Category("Категория \"МОДУЛИ")[2], "ППК > Ворсан - ПУС16");
}

TEST(Listing, DeviceLineColumns) {
  // A short path is padded to column 26, the address to column 44.
  EXPECT_EQ(U(ListingDeviceLine(0, "X", 1, 0)),
            "ЭЛЕМЕНТ 001: X,           cетевой адрес 1,  ПРОГ: [12] # [1] # [00000] # [00000] #");
  const std::string line = ListingDeviceLine(30, std::string(30, 'p'), 255, 0xFFFFFFFF);
  EXPECT_EQ(line.substr(13, 31), std::string(30, 'p') + ",");
  EXPECT_EQ(U(line.substr(44)), "cетевой адрес 255, ПРОГ: [12] # [31] # [65535] # [65535] #");
  EXPECT_EQ(line[44], 'c');  // Latin
}

TEST_F(BuildFixture, IniExport) {
  admin->Groups[0] = &group(group1);
  Node* group5 = &GroupNode(db(), 5);
  group(group5).RoomNumber = "120";
  group(group5).Name = "Склад №2"_w;
  group(group5).LongGuard = 1;
  group(group5).AlarmDelaySec = 59;
  AddZoneNode(db(), *db().BaseModuleNode, 3, *group5, 4);
  admin->Groups[1] = &group(group5);
  TUser& petrov = *AddUserNode(db(), 2).As<TUser>();
  petrov.Fio = "Петров"_w;
  Node& sh8 = Device(1, 3);
  sh8.As<TAdapter>()->Location = "Коридор"_w;
  Node& z9 = AddZoneNode(db(), sh8, 2, *group1, 2);
  z9.As<TZone>()->Name = "Окно"_w;
  z9.As<TZone>()->ZoneType = 10;
  AddZoneNode(db(), sh8, 5, *group1, 3).As<TZone>()->Group = nullptr;
  TOutput& uk = *AddOutputNode(db(), *db().BaseModuleNode, 1).As<TOutput>();
  uk.Name = "Сирена"_w;
  uk.Location = "Холл"_w;
  ppk().Name = "Объект \"Ромашка\""_w;

  ASSERT_TRUE(Build()) << LastMessage();
  const auto lines = IniLines();
  const std::vector<std::string> head = {
      "[PPK]", "VersionNumber=3.20", "ZonesCount=4", "UsersCount=2", "GroupsCount=2", "DevicesCount=3",
      "ProtocolType=4", "Location=Объект \"Ромашка\"", "[DEVICES]", "Device_0_Type=1", "Device_0_NetNumber=0",
      "Device_0_Zones=2", "Device_0_Location=Расположен в корпусе ППК", "Device_1_Type=4", "Device_1_NetNumber=3",
      "Device_1_Zones=2", "Device_1_Location=Коридор", "Device_32_Type=10", "Device_32_NetNumber=0",
      "Device_32_Zones=0", "Device_32_Location=Расположен в корпусе ППК", "[USERS]", "User_0_Name=", "User_0_Post=",
      "User_0_Rights=0,4", "User_1_Name=Петров", "User_1_Post=", "[GROUPS]", "Group_0_Number=1", "Group_0_Name="};
  ASSERT_GT(lines.size(), head.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(head.size())), head);

  std::vector<std::string> group4 = {"Group_4_Number=120", "Group_4_Name=Склад №2"};
  for (int d = 1; d <= 7; ++d) group4.push_back("Group_4_Time" + std::to_string(d) + "1=" + (d <= 5 ? "18:00" : "00:00"));
  for (int d = 1; d <= 7; ++d) group4.push_back("Group_4_Time" + std::to_string(d) + "2=" + (d <= 5 ? "09:00" : "23:59"));
  for (int d = 1; d <= 7; ++d) group4.push_back("Group_4_Day" + std::to_string(d) + "=" + (d <= 5 ? "0" : "1"));
  for (const char* l : {"Group_4_Long=1", "Group_4_Lock=0", "Group_4_Part=0", "Group_4_Auto=0", "Group_4_Text=",
                        "Group_4_AlarmMin=0", "Group_4_AlarmSec=59"})
    group4.push_back(l);
  auto at = std::find(lines.begin(), lines.end(), "Group_4_Number=120");
  ASSERT_NE(at, lines.end());
  EXPECT_EQ(std::vector<std::string>(at, at + static_cast<long>(group4.size())), group4);

  // Zones without a group and empty output slots leave gaps in the keys.
  const std::vector<std::string> tail = {
      "[ZONES]", "Zone_0_Type=1", "Zone_0_Device=0", "Zone_0_InDevice=0", "Zone_0_Group=0", "Zone_0_InGroup=0",
      "Zone_0_Name=", "Zone_2_Type=1", "Zone_2_Device=0", "Zone_2_InDevice=2", "Zone_2_Group=4", "Zone_2_InGroup=3",
      "Zone_2_Name=", "Zone_9_Type=10", "Zone_9_Device=1", "Zone_9_InDevice=1", "Zone_9_Group=0",
      "Zone_9_InGroup=1", "Zone_9_Name=Окно", "[OUTPUTS]", "Output_0_Device=0", "Output_0_InDevice=0",
      "Output_0_Name=Сирена", "Output_0_Location=Холл"};
  EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<long>(tail.size()), lines.end()), tail);
  // Texts are written byte for byte in the code page.
  EXPECT_NE(ini.text.find(std::string("Location=Объект \"Ромашка\"\r\n"_w)), std::string::npos);

  // With the switch off nothing is written.
  ini.text.clear();
  settings.IniExport = false;
  host = ScriptedHost{};
  ASSERT_TRUE(Build());
  EXPECT_EQ(ini.text, "");
}

// ---- keyboard programming sheet --------------------------------------------

TEST(PrgSheet, BlockOperations) {
  PrgSheet s;
  VorsanPrgFileOpenBlock(s, "Блок:"_w);
  VorsanPrgFileCloseBlock(s);
  VorsanPrgFileOpenBlock(s, "Блок 2:"_w);
  s.Subheading = " подзаголовок:"_w;
  VorsanPrgFileCreateLine(s, 9, 1, 1, 4, "протокол связи с ПЦН"_w);
  VorsanPrgFileCreateLine(s, "6", "12", "12345678", "12345678", "установить PIN-код пользователя"_w);
  VorsanPrgFileCreateLine(s, 8, 3, 2, 0, "x"_w);
  s.Subheading = " потерянный:"_w;
  VorsanPrgFileCloseBlock(s);
  EXPECT_EQ(Utf8Lines(s.Lines),
            (std::vector<std::string>{
                "Блок:",
                "  элементы для настройки отсутствуют.",
                "",
                "Блок 2:",
                "  1) [действующий код администратора] [#]   войти в режим программирования;",
                " подзаголовок:",
                "  2) [9] [#] [1] [#] [1] [#] [4] [#]        протокол связи с ПЦН;",
                "  3) [6] [#] [12] [#] [12345678] [#] [12345678] [#] установить PIN-код пользователя;",
                "  4) [8] [#] [3] [#] [2] [#] [0] [#]        x;",
                "  5) [10] [#]   сохранение конфигурации и рестарт.",
                "",
            }));
}

TEST_F(BuildFixture, SheetOfTheSmallestDatabase) {
  ASSERT_TRUE(Build());
  const auto lines = Utf8Lines(ws.prgSheet.Lines);
  const std::vector<std::string> head = {
      "Таблица изменения конфигурации ППК посредством системной клавиатуры",
      "",
      "Изменение параметров ППК:",
      "  1) [действующий код администратора] [#]   войти в режим программирования;",
      "  2) [9] [#] [1] [#] [1] [#] [4] [#]        протокол связи с ПЦН;",
      "  3) [9] [#] [1] [#] [2] [#] [0] [#]        реакция на взлом ППК;",
      "  4) [9] [#] [1] [#] [3] [#] [0] [#]        реакция на отсутствие сети 220В;",
      "  5) [9] [#] [1] [#] [4] [#] [0] [#]        реакция на аварию питания ППК;",
      "  6) [10] [#]   сохранение конфигурации и рестарт.",
      "",
      "Изменение параметров сменных адаптеров:",
      "  1) [действующий код администратора] [#]   войти в режим программирования;",
      " модуль БМ:",
      "  2) [4] [#] [1] [#] [4] [#] [0] [#]        время нарушения шлейфов;",
      " остальные адаптеры отсутствуют в конфигурации:",
      "  3) [4] [#] [2] [#] [1] [#] [0] [#]        отсутствует в конфигурации;",
  };
  ASSERT_GT(lines.size(), head.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(head.size())), head);

  auto find = [&](const std::string& text) { return std::find(lines.begin(), lines.end(), text); };
  auto zones = find("Изменение параметров шлейфов:");
  ASSERT_NE(zones, lines.end());
  EXPECT_EQ(std::vector<std::string>(zones + 1, zones + 5),
            (std::vector<std::string>{
                "  1) [действующий код администратора] [#]   войти в режим программирования;",
                " шлейф 1:",
                "  2) [1] [#] [1] [#] [1] [#] [1] [#]        номер группы, которой принадлежит шлейф;",
                "  3) [1] [#] [1] [#] [2] [#] [1] [#]        номер шлейфа в группе;",
            }));
  EXPECT_NE(find("  9) [1] [#] [2] [#] [3] [#] [0] [#]        шлейф 2 отсутствует в конфигурации;"), lines.end());
  EXPECT_NE(find("  2) [3] [#] [1] [#] [1] [#] [0] [#]        выход UK отсутствует в конфигурации;"), lines.end());
  auto pin = find("  4) [6] [#] [1] [#] [123456] [#] [123456] [#] установить PIN-код администратора;");
  ASSERT_NE(pin, lines.end());
  EXPECT_EQ(*(pin + 1), "     Внимение! С этого момента PIN-код администратора изменен.");
  EXPECT_EQ(*(pin + 2), "  5) [8] [#] [1] [#] [2] [#] [0] [#]        удалить TM-код администратора;");
  auto group = find(" группа 1:");
  ASSERT_NE(group, lines.end());
  EXPECT_EQ(*(group + 1), "  2) [2] [#] [1] [#] [1] [#] [1] [#]        флаги группы;");
  EXPECT_EQ(*(group + 8), "  9) [2] [#] [1] [#] [9] [#] [0] [#]        запретить доступ со всех клавиатур;");
  EXPECT_EQ(*(group + 9), "  10) [2] [#] [1] [#] [10] [#] [1] [#]      номер помещения для группы;");
  // Neither bus devices nor identifiers: no network-number block, no TM block.
  EXPECT_EQ(find("Программирование сетевых номеров сменных адаптеров:"), lines.end());
  EXPECT_EQ(find("Программирование ТМ-кодов пользователей:"), lines.end());
  EXPECT_EQ(lines.back(), "Изменение конфигурации ППК завершено.");
}

TEST_F(BuildFixture, SheetNetworkNumbersIdentifiersAndFullUserList) {
  Node& kbd = Device(3, 7, 10);
  group(group1).KeyboardAccess = 1;
  group(group1).Keyboards[0] = kbd.As<TAdapter>();
  admin->Identifier = "0000000000ABCDEF";
  for (byte n = 2; n <= 128; ++n) {
    TUser& u = *AddUserNode(db(), n).As<TUser>();
    u.PinCode = std::to_string(1000 + 2 * n);
    if (n == 77) u.Identifier = "1000000000000001";
    if (n == 90) u.Groups[0] = &group(group1);
  }
  ASSERT_TRUE(Build()) << LastMessage();
  const auto lines = Utf8Lines(ws.prgSheet.Lines);
  auto find = [&](const std::string& text) { return std::find(lines.begin(), lines.end(), text); };
  EXPECT_EQ(find(" остальные пользователи отсутствуют в конфигурации:"), lines.end());
  EXPECT_NE(find("  5) [2] [#] [1] [#] [4] [#] [0] [#]        принадлежность входа SET;"), lines.end());
  EXPECT_NE(find("  10) [2] [#] [1] [#] [8] [#] [1] [#]       разрешить доступ с клавиатуры 1;"), lines.end());
  EXPECT_NE(find("  358) [5] [#] [90] [#] [2] [#] [1] [#]     разрешить взятие/снятие группы 1;"), lines.end());
  EXPECT_NE(find("  359) [6] [#] [90] [#] [1180] [#] [1180] [#] установить PIN-код пользователя;"), lines.end());

  auto net = find("Программирование сетевых номеров сменных адаптеров:");
  ASSERT_NE(net, lines.end());
  EXPECT_EQ(std::vector<std::string>(net + 1, net + 9),
            (std::vector<std::string>{
                "  !) установить перемычки на всех сменных адаптерах и клавиатурах;",
                "  1) [действующий код администратора] [#]   войти в режим программирования;",
                "  2) [12] [#] [2] [#] [10] [#] [41001] [#]  записать сетевой номер 7;",
                "  3) [10] [#]   сохранение конфигурации и рестарт.",
                "",
                "Отключить питание прибора, всех сменных адаптеров и клавиатур.",
                "Снять перемычки на всех сменных адаптерах и клавиатурах.",
                "",
            }));
  EXPECT_EQ(std::vector<std::string>(net + 9, lines.end()),
            (std::vector<std::string>{
                "Программирование ТМ-кодов пользователей:",
                "  !) включить прибор, выждать 2 минуты до конца инициализации системы;",
                "  1) [действующий код администратора] [#]   войти в режим программирования;",
                "  2) [8] [#] [1] [#] [1] [#] [TM] [#]       установить TM-код пользователя 1;",
                "  3) [8] [#] [77] [#] [1] [#] [TM] [#]      установить TM-код пользователя 77;",
                "  4) [10] [#]   сохранение конфигурации и рестарт.",
                "",
                "Изменение конфигурации ППК завершено.",
            }));
}

// ---- building with exports -------------------------------------------------

class BuildWithExports : public BuildFixture {
 public:
  void SetUp() override {
    BuildFixture::SetUp();
    dir = fs::path(::testing::TempDir()) / ("velkor_build_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    names = ExportFileNamesFrom((dir / "results.v2.rom").string());
    settings.LogExport = settings.PrgExport = true;
    host.answers.assign(8, true);
    ProcessDataBase(db());
  }
  void TearDown() override { fs::remove_all(dir); }

  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

  fs::path dir;
  ExportFileNames names;
};

TEST(ExportFileNames, CutBeforeTheFirstDotOfTheName) {
  const ExportFileNames n = ExportFileNamesFrom("/data/a.b/results.v2.ROM");
  EXPECT_EQ(n.Rom, "/data/a.b/results.rom");
  EXPECT_EQ(n.Ini, "/data/a.b/results.ini");
  EXPECT_EQ(n.Log, "/data/a.b/results.log");
  EXPECT_EQ(n.Prg, "/data/a.b/results.prg");
  EXPECT_EQ(ExportFileNamesFrom("site").Rom, "site.rom");
}

TEST_F(BuildWithExports, SuccessWritesAllFiles) {
  ASSERT_TRUE(SaveRomWithExports(ws, host, settings, stamp, names)) << LastMessage();
  EXPECT_EQ(names.Rom, (dir / "results.rom").string());
  const std::string rom = Read(names.Rom);
  ASSERT_EQ(rom.size(), kRomSize);
  EXPECT_TRUE(std::equal(rom.begin(), rom.end(), ws.DBStoreArray.begin(),
                         [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
  EXPECT_EQ(fs::status(names.Rom).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

  std::string log;
  for (const auto& l : ws.exportLog.Lines) log += l + "\r\n";
  EXPECT_EQ(Read(names.Log), log);
  std::string prg;
  for (const auto& l : ws.prgSheet.Lines) prg += l + "\r\n";
  EXPECT_EQ(Read(names.Prg), prg);
  const std::string iniText = Read(names.Ini);
  EXPECT_EQ(iniText.substr(0, 27), "[PPK]\r\nVersionNumber=3.20\r\n");
  EXPECT_FALSE(host.convertOpen);
}

TEST_F(BuildWithExports, FailureRemovesTheIniAndEmptiesTheListing) {
  admin->PinCode = "1";
  EXPECT_FALSE(SaveRomWithExports(ws, host, settings, stamp, names));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Неправильно указан PIN-код администратора",
                                                  "База данных в файл не сохранена"}));
  EXPECT_EQ(U(host.messages()[1].title), "Внимание");
  EXPECT_FALSE(fs::exists(names.Ini));
  EXPECT_FALSE(fs::exists(names.Rom));
  EXPECT_FALSE(fs::exists(names.Log));
  EXPECT_EQ(ExportLogLinesCount(ws.exportLog), 0);
  EXPECT_FALSE(host.convertOpen);
}

TEST_F(BuildWithExports, SwitchesOffWriteOnlyTheImage) {
  settings.IniExport = settings.LogExport = settings.PrgExport = false;
  ASSERT_TRUE(SaveRomWithExports(ws, host, settings, stamp, names));
  EXPECT_TRUE(fs::exists(names.Rom));
  EXPECT_FALSE(fs::exists(names.Ini));
  EXPECT_FALSE(fs::exists(names.Log));
  EXPECT_FALSE(fs::exists(names.Prg));
  EXPECT_GT(ExportLogLinesCount(ws.exportLog), 0);
}

}  // namespace
}  // namespace velkor::testing
