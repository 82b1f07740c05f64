#include "example_databases.h"

#include <cstdio>

#include "model/captions.h"
#include "model/compose.h"
#include "text/cp1251.h"
#include "text/format.h"

namespace velkor::examples {

namespace {

template <class T>
T& Of(Node& node) {
  return std::get<T>(*node.Data);
}

// A bus device's serial number: the first and the second five-digit half.
dword Serial(dword first, dword second) { return (first << 16) | second; }

Node& Device(Database& db, byte type, byte net, std::string_view location, dword serial) {
  Node& node = AddBusDeviceNode(db, type, net);
  TAdapter& a = Of<TAdapter>(node);
  a.Location = location;
  a.SerialNumber = serial;
  return node;
}

Node& Group(Database& db, byte number, std::string_view name, std::string_view room) {
  Node& node = GroupNode(db, number);
  TGroup& g = Of<TGroup>(node);
  g.Name = name;
  g.RoomNumber = room;
  return node;
}

Node& Output(Database& db, Node& device, byte number, std::string_view name, std::string_view location,
             byte kind, byte time) {
  Node& node = AddOutputNode(db, device, number);
  TOutput& o = Of<TOutput>(node);
  o.Name = name;
  o.Location = location;
  o.ReactionKind = kind;
  o.ReactionTime = time;
  return node;
}

// What the output card sets when its fire box is ticked; an image tells a
// fire-reset output only by these values.
void MakeFireReset(TOutput& o) {
  o.ForFire = 1;
  o.ReactionKind = 8;
  o.ReactionTime = 1;
  o.ReactionWait = 0;
  o.AlarmToOpen = o.AlarmToNorma = o.ForGroups = 0;
}

TZone& Zone(Database& db, Node& device, byte number, Node& group, byte inGroup, std::string_view name, byte type) {
  TZone& z = Of<TZone>(AddZoneNode(db, device, number, group, inGroup));
  z.Name = name;
  z.ZoneType = type;
  return z;
}

TUser& User(Database& db, byte number, std::string_view fio, std::string_view post, std::string_view pin,
            std::string_view identifier) {
  TUser& u = Of<TUser>(AddUserNode(db, number));
  u.Fio = fio;
  u.Post = post;
  u.PinCode = pin;
  u.Identifier = identifier;
  return u;
}

std::string Text(const char* utf8) { return Utf8ToCp1251Lossy(utf8); }

}  // namespace

void BuildSmallOffice(Workspace& ws) {
  Database& db = ws.db;
  TPPK& panel = *db.Panel();
  panel.Name = "ТОВ «Світанок», офіс на вул. Січових Стрільців, 12"_w;
  panel.ControlCanalTime = 4;
  panel.PcoDbNumber = 217;
  panel.NetNumber = 3;

  Node& base = *db.BaseModuleNode;
  Of<TAdapter>(base).ZonesControlTime = 1;
  TAdapter& keypadModule = Of<TAdapter>(*db.KeyboardModuleNode);

  Node& shv3 = Device(db, 0, 1, "Вхід, праворуч від дверей"_w, Serial(10417, 20001));
  Node& shv8 = Device(db, 1, 2, "Склад, щиток біля воріт"_w, Serial(10417, 21002));
  Node& iv4 = Device(db, 5, 3, "Щиток сигнализации, 1-й этаж"_w, Serial(10418, 23003));
  Node& ir4 = Device(db, 6, 4, "Серверная, стойка 2"_w, Serial(10418, 24004));
  Node& tm = Device(db, 7, 5, "Коридор, у лестницы"_w, Serial(10420, 25005));
  Node& pu8 = Device(db, 2, 6, "Приёмная, у стола секретаря"_w, Serial(10421, 40006));

  Node& reception = Group(db, 1, "Приёмная и коридор"_w, "101");
  Node& accounts = Group(db, 2, "Бухгалтерия"_w, "102");
  Node& store = Group(db, 3, "Склад"_w, "103");
  Node& servers = Group(db, 4, "Серверна"_w, "104");

  TOutput& siren = Of<TOutput>(Output(db, base, 1, "Сирена внутренняя"_w, "Коридор, над входом"_w, 15, 3));
  TOutput& strobe = Of<TOutput>(Output(db, shv3, 1, "Світлозвуковий оповіщувач"_w, "Фасад, над входом"_w, 1, 2));
  TOutput& armedLamp = Of<TOutput>(Output(db, iv4, 1, "Табло «Охрана»"_w, "Приёмная"_w, 15, 0));
  armedLamp.ForGroups = 1;
  TOutput& openLamp = Of<TOutput>(Output(db, iv4, 2, "Лампа «Снято»"_w, "Приёмная"_w, 4, 1));
  openLamp.ForGroups = 1;
  TOutput& fireReset = Of<TOutput>(Output(db, iv4, 3, "Сброс пожарных извещателей"_w, "Склад"_w, 15, 1));
  MakeFireReset(fireReset);
  TOutput& vent = Of<TOutput>(Output(db, iv4, 4, "Вентиляция склада"_w, "Склад, венткамера"_w, 15, 0));
  vent.AlarmToNorma = 1;

  struct ZoneRow {
    Node* device;
    byte number;
    Node* group;
    byte inGroup;
    std::string_view name;
    byte type;
  };
  const ZoneRow zones[] = {
      {&base, 1, &reception, 1, "Входная дверь"_w, 7},
      {&base, 2, &reception, 2, "Коридор, объёмный датчик"_w, 5},
      {&base, 3, &reception, 3, "Окна приёмной"_w, 1},
      {&base, 4, &reception, 4, "Тревожная кнопка секретаря"_w, 10},
      {&base, 5, &accounts, 1, "Дверь бухгалтерии"_w, 3},
      {&base, 6, &accounts, 2, "Окна бухгалтерии"_w, 1},
      {&base, 7, &accounts, 3, "Сейф"_w, 2},
      {&base, 8, &accounts, 4, "Объём бухгалтерии"_w, 1},
      {&shv3, 1, &servers, 1, "Двері серверної"_w, 7},
      {&shv3, 2, &servers, 2, "Корпус стійки"_w, 14},
      {&shv3, 3, &servers, 3, "Датчик затоплення"_w, 2},
      {&shv8, 1, &store, 1, "Ворота складу"_w, 7},
      {&shv8, 2, &store, 2, "Двері запасного виходу"_w, 1},
      {&shv8, 3, &store, 3, "Вікна складу"_w, 1},
      {&shv8, 4, &store, 4, "Об'єм складу"_w, 5},
      {&shv8, 5, &store, 5, "Пожежні сповіщувачі, стелаж 1-4"_w, 11},
      {&shv8, 6, &store, 6, "Пожежні сповіщувачі, стелаж 5-8"_w, 12},
  };
  for (const ZoneRow& row : zones) {
    TZone& z = Zone(db, *row.device, row.number, *row.group, row.inGroup, row.name, row.type);
    z.Reaction1 = &siren;
    if (row.type == 7 || row.type == 10) z.Reaction2 = &strobe;
    if (row.type == 11 || row.type == 12) {
      z.Reaction3 = &vent;
      z.Reaction4 = &fireReset;
    }
  }

  AddSetInputNode(db, base, 1, reception);
  AddSetInputNode(db, ir4, 1, servers);
  AddSetInputNode(db, ir4, 2, store);
  AddIDReaderNode(db, tm, 1, &accounts);
  AddIDReaderNode(db, tm, 2, &store);
  AddIDReaderNode(db, tm, 3, nullptr);  // common to all groups

  TAdapter& keypad = Of<TAdapter>(pu8);
  TAdapter& entryKeypad = Of<TAdapter>(shv3);
  for (Node* node : {&reception, &accounts, &store, &servers}) {
    TGroup& g = Of<TGroup>(*node);
    g.WaitToSet = 30;
    g.WaitToOpen = 20;
    g.KeyboardAccess = 1;
    g.Keyboards[0] = &keypadModule;
    g.Keyboards[1] = &keypad;
    g.Keyboards[2] = &entryKeypad;
    g.ReactionSet = &armedLamp;
    g.ReactionOpen = &openLamp;
  }
  TGroup& storeGroup = Of<TGroup>(store);
  storeGroup.AndMode = 1;
  storeGroup.LongGuard = 1;
  storeGroup.LongGuardNote = "На время инвентаризации"_w;
  storeGroup.AlarmDelaySec = 30;
  Of<TGroup>(servers).DayOff = {0, 0, 0, 0, 0, 1, 1};

  panel.ReactionPower = &strobe;
  panel.ReactionTamper = &siren;
  panel.Reaction220V = &strobe;
  panel.ReactionCapture = &siren;
  TAdapter& store8 = Of<TAdapter>(shv8);
  store8.ReactionTamper = &siren;
  store8.ReactionConnect = &strobe;

  TGroup* all[] = {&Of<TGroup>(reception), &Of<TGroup>(accounts), &storeGroup, &Of<TGroup>(servers)};
  TUser& admin = User(db, 1, "Коваленко Олег Петрович"_w, "Директор"_w, "583014", "01000012A4C3F9B2");
  for (std::size_t i = 0; i < 4; ++i) admin.Groups[i] = all[i];
  User(db, 2, "Шевчук Ганна Іванівна"_w, "Головний бухгалтер"_w, "4821", "0000003C5A71E2D4").Groups[0] = all[1];
  User(db, 3, "Бондаренко Євген Миколайович"_w, "Комірник"_w, "7390", "").Groups[0] = all[2];
  TUser& it = User(db, 4, "Ильин Сергей Викторович"_w, "Системный администратор"_w, "905517", "01000015B7E2C46A");
  it.Groups[0] = all[0];
  it.Groups[1] = all[3];
  TUser& guard = User(db, 5, "Гнатюк Ґеорґій Степанович"_w, "Охоронець"_w, "1268", "0000004F19D3A807");
  for (std::size_t i = 0; i < 4; ++i) guard.Groups[i] = all[i];
}

namespace {

// A large site: the base module in 16-zone mode, an output module and the
// keyboard module in the enclosure, and runs of bus devices of one type.
struct BusRun {
  byte type;
  int count;
  dword serialPrefix;  // the first two digits of the second serial half
};

struct LargeSite {
  std::string_view panelName;
  std::vector<BusRun> bus;
  int groups;
};

void BuildLarge(Workspace& ws, const LargeSite& site) {
  Database& db = ws.db;
  TPPK& panel = *db.Panel();
  panel.Name = site.panelName;

  Node& base = *db.BaseModuleNode;
  Of<TAdapter>(base).ZonesTotal = 16;
  Node& outputModule = AddModuleNode(db, 3);
  TAdapter& keypadModule = Of<TAdapter>(*db.KeyboardModuleNode);

  std::vector<Node*> devices{&base, &outputModule};
  byte net = 1;
  for (const BusRun& run : site.bus) {
    for (int i = 0; i < run.count; ++i, ++net) {
      std::string location = Text("Корпус ") + (net <= 10 ? Text("А") : net <= 20 ? Text("Б") : Text("В")) +
                             Text(", этаж ") + std::to_string(1 + (net - 1) % 10) + Text(", щиток");
      devices.push_back(&Device(db, run.type, net, location, Serial(20000u + net, run.serialPrefix * 1000 + net)));
    }
  }
  auto having = [&](byte TAdapter::*capacity) {
    std::vector<Node*> out;
    for (Node* device : devices)
      if (Of<TAdapter>(*device).*capacity > 0) out.push_back(device);
    return out;
  };
  const std::vector<Node*> zoneDevices = having(&TAdapter::ZonesTotal);
  const std::vector<Node*> tmDevices = having(&TAdapter::ReadersTotal);
  const std::vector<Node*> setDevices = having(&TAdapter::SetInputsTotal);
  const std::vector<Node*> outputDevices = having(&TAdapter::OutputsTotal);
  const auto groupCount = static_cast<std::size_t>(site.groups);

  // Outputs: every slot used; the relay devices carry the group lamps and the
  // fire reset.
  std::vector<TOutput*> plain;
  std::vector<TOutput*> forGroups;
  TOutput* fireReset = nullptr;
  for (Node* device : outputDevices) {
    const TAdapter& a = Of<TAdapter>(*device);
    for (byte n = 1; n <= a.OutputsTotal; ++n) {
      Node& node = Output(db, *device, n, Text("Оповещатель ") + Fmt2(static_cast<int>(plain.size() + forGroups.size() + 1)),
                          a.Location, static_cast<byte>(1 + n % 14), static_cast<byte>(n % 8));
      TOutput& o = Of<TOutput>(node);
      if (a.Placement == 1 && n == 4 && !fireReset) {
        MakeFireReset(o);
        o.Name = "Сброс пожарных извещателей"_w;
        fireReset = &o;
      } else if (a.Placement == 1) {
        o.ForGroups = 1;
        forGroups.push_back(&o);
      } else {
        plain.push_back(&o);
      }
    }
  }

  // One zone in each group, SET and TM inputs spread over them.
  std::vector<Node*> groups;
  for (int g = 1; g <= site.groups; ++g) {
    Node& node = Group(db, static_cast<byte>(g), Text("Офис ") + Fmt3(g), std::to_string(100 + g));
    TGroup& group = Of<TGroup>(node);
    group.KeyboardAccess = 1;
    group.Keyboards[0] = &keypadModule;
    group.ReactionSet = forGroups[static_cast<std::size_t>(g) % forGroups.size()];
    group.ReactionOpen = forGroups[static_cast<std::size_t>(g + 1) % forGroups.size()];
    groups.push_back(&node);
  }
  std::size_t zoneIndex = 0;
  for (Node* device : zoneDevices) {
    const TAdapter& a = Of<TAdapter>(*device);
    for (byte n = 1; n <= a.ZonesTotal; ++n, ++zoneIndex) {
      const bool fire = zoneIndex % 16 == 15;
      TZone& z = Zone(db, *device, n, *groups[zoneIndex % groupCount], 1, Text("Датчик ") + Fmt3(static_cast<int>(zoneIndex + 1)),
                      fire ? 11 : static_cast<byte>(1 + zoneIndex % 8));
      z.Reaction1 = plain[zoneIndex % plain.size()];
      if (fire) z.Reaction4 = fireReset;
    }
  }
  std::size_t setIndex = 0;
  for (Node* device : setDevices)
    for (byte n = 1; n <= Of<TAdapter>(*device).SetInputsTotal; ++n, ++setIndex)
      AddSetInputNode(db, *device, n, *groups[setIndex % groupCount]);
  std::size_t tmIndex = 0;
  for (Node* device : tmDevices)
    for (byte n = 1; n <= Of<TAdapter>(*device).ReadersTotal; ++n, ++tmIndex)
      AddIDReaderNode(db, *device, n, tmIndex < 31 ? groups[(tmIndex + 20) % groupCount] : nullptr);

  // 128 users: distinct PINs all ending in 5, so that no PIN is another's
  // duress PIN; TM keys and RFID cards by turns.
  const char* surnames[] = {"Коваленко", "Шевчук",   "Бондаренко", "Ткаченко", "Кравченко", "Олійник",
                            "Иванов",    "Смирнова", "Кузнецов",   "Попова",   "Лысенко",   "Мельник"};
  const char* names[] = {"Олег", "Ганна", "Євген", "Сергей", "Ірина", "Дмитро", "Ольга", "Ґеорґій"};
  for (int u = 1; u <= 128; ++u) {
    char pin[16];
    std::snprintf(pin, sizeof pin, "%s%04d5", u == 1 ? "9" : "", (u * 373) % 10000);
    char identifier[20];
    const unsigned long long code = (static_cast<unsigned long long>(u) * 0x9E3779B1ull) & 0xFFFFFFFFFFFFull;
    if (u % 4 == 0)
      std::snprintf(identifier, sizeof identifier, "0000%012llX", code);
    else
      std::snprintf(identifier, sizeof identifier, "01%012llX%02X", code, (u * 37) & 0xFF);
    const std::string fio = Text(surnames[u % 12]) + " " + Text(names[u % 8]) + " " + Fmt3(u);
    TUser& user = User(db, static_cast<byte>(u), fio, u == 1 ? Text("Администратор системы") : Text("Арендатор"), pin,
                       identifier);
    if (u == 1) {
      for (std::size_t g = 0; g < groupCount; ++g) user.Groups[g] = &Of<TGroup>(*groups[g]);
    } else {
      user.Groups[0] = &Of<TGroup>(*groups[static_cast<std::size_t>(u - 1) % groupCount]);
      user.Groups[1] = &Of<TGroup>(*groups[static_cast<std::size_t>(u) % groupCount]);
    }
  }

  panel.ReactionTamper = plain[0];
  panel.Reaction220V = plain[1];
  panel.ReactionPower = plain[2];
  panel.ReactionCapture = plain[3];
}

}  // namespace

// 31 bus devices: 14 zone adapters (16 + 14 x 8 = 128 zone slots), 10 TM
// readers of three inputs and 2 of one (32 TM slots), 3 SET devices and 2
// relay devices.
void BuildMaximal(Workspace& ws) {
  BuildLarge(ws, {"Бизнес-центр «Меридиан», корпуса А, Б и В"_w,
                  {{1, 14, 21}, {7, 10, 25}, {8, 2, 26}, {6, 3, 24}, {5, 2, 23}},
                  128});
}

// 31 bus devices: 14 four-relay and 1 two-relay devices and a keyboard with
// one relay (1 + 4 + 56 + 2 + 1 = 64 output slots), 7 SET devices (29 SET
// inputs, the most the devices allow) and 8 zone adapters (83 zones).
void BuildMaximalOutputs(Workspace& ws) {
  BuildLarge(ws, {"Торговый центр «Полтава», корпуса А, Б и В"_w,
                  {{5, 14, 23}, {4, 1, 22}, {0, 1, 20}, {6, 7, 24}, {1, 8, 21}},
                  83});
}

const std::vector<ExampleDatabase>& ExampleDatabases() {
  static const std::vector<ExampleDatabase> examples = {
      {"small-office.dcf", BuildSmallOffice},
      {"maximal.dcf", BuildMaximal},
      {"maximal-outputs.dcf", BuildMaximalOutputs},
  };
  return examples;
}

bool MakeExample(const ExampleDatabase& example, Workspace& ws, Host& host) {
  if (!EraceDB(ws, host) || !CreateNewDB(ws, host)) return false;
  example.build(ws);
  ProcessDataBase(ws.db);
  RefreshModuleCaptions(ws.db);
  SortTree(ws.db.Hardware);
  SortTree(ws.db.Rooms);
  return true;
}

}  // namespace velkor::examples
