#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "example_databases.h"
#include "files/dcf.h"
#include "files/file_io.h"
#include "host/scripted_host.h"
#include "model/captions.h"
#include "model/compose.h"
#include "text/cp1251.h"

namespace velkor {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rec {
  std::uint8_t tag;
  Bytes body;
};

// Cuts a well-formed file into its records.
std::vector<Rec> Split(const Bytes& file, Variant variant = Variant::Current) {
  std::vector<Rec> out;
  std::size_t pos = 0;
  while (pos < file.size()) {
    const std::size_t size = DcfBodySize(variant, file[pos]);
    if (size == 0 || pos + 1 + size > file.size()) {
      ADD_FAILURE() << "not a well-formed file at " << pos;
      return out;
    }
    out.push_back({file[pos], Bytes(file.begin() + static_cast<long>(pos) + 1,
                                    file.begin() + static_cast<long>(pos + 1 + size))});
    pos += 1 + size;
  }
  return out;
}

Bytes Join(const std::vector<Rec>& records) {
  Bytes out;
  for (const Rec& r : records) {
    out.push_back(r.tag);
    out.insert(out.end(), r.body.begin(), r.body.end());
  }
  return out;
}

std::vector<int> Tags(const Bytes& file) {
  std::vector<int> out;
  for (const Rec& r : Split(file)) out.push_back(r.tag);
  return out;
}

Rec& First(std::vector<Rec>& records, std::uint8_t tag) {
  for (Rec& r : records)
    if (r.tag == tag) return r;
  ADD_FAILURE() << "no record with tag " << int(tag);
  return records.front();
}

std::size_t IndexOf(const std::vector<Rec>& records, std::uint8_t tag) {
  for (std::size_t i = 0; i < records.size(); ++i)
    if (records[i].tag == tag) return i;
  return records.size();
}

void PutU16(Bytes& body, std::size_t offset, unsigned value) {
  body[offset] = static_cast<std::uint8_t>(value & 0xFF);
  body[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

Bytes Encode(const Database& db) {
  ScriptedHost host;
  Bytes out;
  EXPECT_TRUE(EncodeDcf(db, host, out));
  return out;
}

std::vector<std::string> HardwareCaptions(const Database& db) {
  std::vector<std::string> out;
  ForEachNode(db.Hardware, [&](Node& n) { out.push_back(Cp1251ToUtf8(n.Caption)); });
  return out;
}
std::vector<std::string> RoomsCaptions(const Database& db) {
  std::vector<std::string> out;
  ForEachNode(db.Rooms, [&](Node& n) { out.push_back(Cp1251ToUtf8(n.Caption)); });
  return out;
}

void ExpectReadError(const ScriptedHost& host, const Workspace& ws) {
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].title, "Ошибка"_w);
  EXPECT_EQ(host.messages()[0].text, "Ошибка чтения файла"_w);
  EXPECT_EQ(host.messages()[0].icon, MessageIcon::Error);
  EXPECT_FALSE(ws.db.Exists());
  EXPECT_TRUE(ws.db.Hardware.Empty());
  EXPECT_TRUE(ws.db.Rooms.Empty());
}

// A scratch folder per test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velkor-dcf-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

Bytes ReadAll(const std::string& path) {
  auto bytes = ReadWholeFile(path, 1 << 22);
  return bytes ? *bytes : Bytes{};
}

// The small office of the examples, as the editor would hold it.
class SmallOffice : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(examples::MakeExample(examples::ExampleDatabases().at(0), ws, host));
    bytes = Encode(ws.db);
    records = Split(bytes);
  }

  Workspace ws;
  ScriptedHost host;
  Bytes bytes;
  std::vector<Rec> records;
};

TEST(DcfWriter, NewDatabaseIsThreeRecordsOf756Bytes) {
  TempDir dir;
  Workspace ws;
  ScriptedHost host;
  ASSERT_TRUE(CreateNewDB(ws, host));
  host.ConvertBegin();
  ASSERT_TRUE(DBConvertToFile(ws, host, dir / "new"));
  EXPECT_FALSE(host.cancelEnabled);
  EXPECT_TRUE(host.messages().empty());

  const Bytes file = ReadAll(dir / "new.dcf");
  ASSERT_EQ(file.size(), 756u);
  EXPECT_EQ(Tags(file), (std::vector<int>{30, 1, 1}));
  const std::vector<Rec> r = Split(file);
  // Panel name as a length byte and the text; no reaction set.
  const std::string_view name = "Новый ППК"_w;
  EXPECT_EQ(r[0].body[0], name.size());
  EXPECT_EQ(std::string(r[0].body.begin() + 1, r[0].body.begin() + 1 + static_cast<long>(name.size())), name);
  EXPECT_EQ(r[0].body[298], 20);  // ConnectTimeOut
  EXPECT_EQ(Bytes(r[0].body.begin() + 305, r[0].body.end()), Bytes(8, 0));
  // Base module, then the keyboard module: placement 0, type codes 0 and 1.
  EXPECT_EQ(r[1].body[2], 0);
  EXPECT_EQ(r[2].body[2], 1);
  EXPECT_EQ(r[2].body[0], 1);  // IsKeyboard
  // The bar moves with the node index over the four hardware nodes.
  EXPECT_EQ(host.positions, (std::vector<int>{0, 17, 33}));

  struct stat st {};
  ASSERT_EQ(::stat((dir / "new.dcf").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(DcfReader, EmptyFileGivesTheBareDatabaseWithoutKeyboardModule) {
  Workspace ws;
  ScriptedHost host;
  ASSERT_TRUE(DecodeDcf(ws, host, {}));
  EXPECT_TRUE(host.events.empty());
  ASSERT_NE(ws.db.Panel(), nullptr);
  EXPECT_EQ(ws.db.Panel()->Name, "Новый ППК"_w);
  EXPECT_NE(ws.db.BaseModule(), nullptr);
  EXPECT_EQ(ws.db.KeyboardModuleNode, nullptr);
  EXPECT_NE(ws.db.Rs485Node, nullptr);
  EXPECT_NE(ws.db.RoomsNode, nullptr);
  EXPECT_EQ(HardwareCaptions(ws.db), (std::vector<std::string>{"ППК Ворсан", "Ворсан - БМ", "Интерфейс 485"}));
  EXPECT_EQ(RoomsCaptions(ws.db), (std::vector<std::string>{"Помещения"}));
}

// The examples are what users open first: they load silently and save back
// byte for byte.
TEST(DcfExamples, LoadAndSaveBackUnchanged) {
  for (const auto& example : examples::ExampleDatabases()) {
    SCOPED_TRACE(example.fileName);
    const Bytes file = ReadAll(std::string(VELKOR_EXAMPLES_DIR) + "/" + example.fileName);
    ASSERT_FALSE(file.empty());
    Workspace ws;
    ScriptedHost host;
    ASSERT_TRUE(DecodeDcf(ws, host, file));
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(Encode(ws.db), file);
  }
}

TEST_F(SmallOffice, ReferencesComeBackToTheSameElements) {
  Workspace back;
  ScriptedHost readHost;
  ASSERT_TRUE(DecodeDcf(back, readHost, bytes));
  EXPECT_EQ(Encode(back.db), bytes);
  ProcessDataBase(back.db);
  RefreshModuleCaptions(back.db);
  EXPECT_EQ(HardwareCaptions(back.db), HardwareCaptions(ws.db));
  EXPECT_EQ(RoomsCaptions(back.db), RoomsCaptions(ws.db));

  // Every child points to the device it hangs under, and a zone or input of
  // a group is one object shown in both trees.
  int mirrored = 0;
  ForEachNode(back.db.Hardware, [&](Node& node) {
    auto check = [&](auto* element, const TGroup* group) {
      EXPECT_EQ(element->Adapter, node.Parent->As<TAdapter>()) << Cp1251ToUtf8(node.Caption);
      if (!group) return;
      Node* shown = FindNodeOf(back.db.Rooms, element);
      ASSERT_NE(shown, nullptr);
      EXPECT_EQ(shown->Data, node.Data);
      EXPECT_EQ(shown->Parent->As<TGroup>(), group);
      ++mirrored;
    };
    if (auto* z = node.As<TZone>()) check(z, z->Group);
    if (auto* o = node.As<TOutput>()) check(o, nullptr);
    if (auto* s = node.As<TSetInput>()) check(s, s->Group);
    if (auto* t = node.As<TIDReader>()) check(t, t->Group);
  });
  EXPECT_EQ(mirrored, 17 + 3 + 2);

  const TPPK& panel = *back.db.Panel();
  ASSERT_NE(panel.ReactionTamper, nullptr);
  EXPECT_EQ(panel.ReactionTamper->Name, "Сирена внутренняя"_w);
  const TUser* admin = back.db.RoomsNode->Children[0]->As<TUser>();
  ASSERT_NE(admin, nullptr);
  ASSERT_NE(admin->Groups[3], nullptr);
  EXPECT_EQ(admin->Groups[3]->Name, "Серверна"_w);
  EXPECT_EQ(admin->Groups[4], nullptr);
}

TEST_F(SmallOffice, ReferenceToAnElementOutsideTheTableIsWrittenAsNone) {
  TOutput stray;
  TZone* zone = ws.db.BaseModuleNode->Children[0]->As<TZone>();
  ASSERT_NE(zone, nullptr);
  zone->Reaction3 = &stray;
  const std::vector<Rec> out = Split(Encode(ws.db));
  const Rec& zoneRecord = out[IndexOf(out, kTagZone)];
  EXPECT_EQ(zoneRecord.body[212], 0);
  EXPECT_EQ(zoneRecord.body[213], 0);
  EXPECT_NE(zoneRecord.body[208], 0);  // Reaction1 is in the table
}

TEST_F(SmallOffice, TreesAreSortedAfterReadingWhateverTheRecordOrder) {
  std::reverse(ws.db.Rs485Node->Children.begin(), ws.db.Rs485Node->Children.end());
  std::reverse(ws.db.RoomsNode->Children.begin(), ws.db.RoomsNode->Children.end());
  for (auto& device : ws.db.Rs485Node->Children) std::reverse(device->Children.begin(), device->Children.end());
  const Bytes shuffled = Encode(ws.db);
  ASSERT_NE(shuffled, bytes);

  Workspace back;
  ScriptedHost readHost;
  ASSERT_TRUE(DecodeDcf(back, readHost, shuffled));
  Workspace sorted;
  ASSERT_TRUE(DecodeDcf(sorted, readHost, bytes));
  EXPECT_EQ(HardwareCaptions(back.db), HardwareCaptions(sorted.db));
  EXPECT_EQ(RoomsCaptions(back.db), RoomsCaptions(sorted.db));
  EXPECT_EQ(Encode(back.db), bytes);
}

// Older panel, output and group records: each kind warned about once, in the
// order of its first record, the missing fields at their defaults, and saved
// back in the current form.
class OlderRecords : public SmallOffice {
 protected:
  void SetUp() override {
    SmallOffice::SetUp();
    // Values the older records cannot carry, to see them fall back.
    TPPK& panel = *ws.db.Panel();
    panel.ConnectTimeOut = 50;
    panel.NetNumber = 7;
    ws.db.BaseModuleNode->Children.back()->As<TOutput>()->Inverse = 1;
    for (auto& child : ws.db.RoomsNode->Children)
      if (TGroup* g = child->As<TGroup>()) {
        g->GuardFrom[0] = "07:30";
        g->PartialSet = 1;
      }
    bytes = Encode(ws.db);
    records = Split(bytes);
  }

  // Panel 30 to `tag`: the first 297 bytes, then the reactions it has.
  static void OldPanel(Rec& r, std::uint8_t tag) {
    Bytes body(r.body.begin(), r.body.begin() + 297);
    auto ref = [&](std::size_t offset) { body.insert(body.end(), r.body.begin() + static_cast<long>(offset),
                                                     r.body.begin() + static_cast<long>(offset) + 2); };
    if (tag != kTagPanelV0) ref(305);
    ref(307);
    ref(309);
    if (tag == kTagPanelV20) ref(311);
    r = {tag, body};
  }
  static void OldOutput(Rec& r) {
    r.body.erase(r.body.begin() + 408);
    r.tag = kTagOutputV3;
  }
  static void OldGroup(Rec& r) {
    r.body.resize(280);
    r.tag = kTagGroupV7;
  }

  std::string Warning(const char* card, const char* check) {
    return std::string("Внимание!\rФайл был создан одной из предварительных версий программы.\r\r"_w) +
           std::string("В процессе преобразования данных\r"_w) +
           Utf8ToCp1251Lossy(std::string("программа определила изменения в карточке ") + card + ".\r" + check);
  }
};

TEST_F(OlderRecords, LegacyBuildFileWarnsThreeTimesAndTakesDefaults) {
  for (Rec& r : records) {
    if (r.tag == kTagPanel) OldPanel(r, kTagPanelV10);
    if (r.tag == kTagOutput) OldOutput(r);
    if (r.tag == kTagGroup) OldGroup(r);
  }
  Workspace back;
  ScriptedHost readHost;
  ASSERT_TRUE(DecodeDcf(back, readHost, Join(records)));

  const std::string all = "Проверьте правильность всех записей в данных карточках.";
  const std::vector<HostEvent> shown = readHost.messages();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, Warning("ППК", "Проверьте правильность всех записей в данной карточке."));
  EXPECT_EQ(shown[1].text, Warning("управляемого выхода", all.c_str()));
  EXPECT_EQ(shown[2].text, Warning("группы", all.c_str()));
  for (const HostEvent& e : shown) {
    EXPECT_EQ(e.title, "Предупреждение"_w);
    EXPECT_EQ(e.icon, MessageIcon::Warning);
  }

  const TPPK& panel = *back.db.Panel();
  EXPECT_EQ(panel.ConnectTimeOut, 20);
  EXPECT_EQ(panel.NetNumber, 1);
  EXPECT_EQ(panel.ReactionCapture, nullptr);
  EXPECT_NE(panel.ReactionPower, nullptr);
  EXPECT_NE(panel.ReactionTamper, nullptr);
  ForEachNode(back.db.Hardware, [](Node& n) {
    if (const TOutput* o = n.As<TOutput>()) {
      EXPECT_EQ(o->Inverse, 0);
    }
  });
  const TGroup defaults;
  for (auto& child : back.db.RoomsNode->Children)
    if (const TGroup* g = child->As<TGroup>()) {
      EXPECT_EQ(g->GuardFrom, defaults.GuardFrom);
      EXPECT_EQ(g->PartialSet, 0);
      EXPECT_NE(g->ReactionSet, nullptr);  // carried by the old record
    }

  // Saving converts: current tags only, and reading that back warns no more.
  const Bytes saved = Encode(back.db);
  for (int tag : Tags(saved)) EXPECT_TRUE(tag == 30 || tag == 13 || tag == 17 || tag < 7) << tag;
  Workspace again;
  ScriptedHost quiet;
  ASSERT_TRUE(DecodeDcf(again, quiet, saved));
  EXPECT_TRUE(quiet.events.empty());
}

TEST_F(OlderRecords, PanelVersionsKeepTheReactionsTheyCarry) {
  struct Case {
    std::uint8_t tag;
    bool power, capture;
  } cases[] = {{kTagPanelV0, false, false}, {kTagPanelV10, true, false}, {kTagPanelV20, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.tag));
    std::vector<Rec> old = records;
    OldPanel(old[0], c.tag);
    Workspace back;
    ScriptedHost readHost;
    ASSERT_TRUE(DecodeDcf(back, readHost, Join(old)));
    EXPECT_EQ(readHost.messages().size(), 1u);
    const TPPK& p = *back.db.Panel();
    EXPECT_EQ(p.ReactionPower != nullptr, c.power);
    EXPECT_EQ(p.ReactionCapture != nullptr, c.capture);
    EXPECT_NE(p.ReactionTamper, nullptr);
    EXPECT_NE(p.Reaction220V, nullptr);
    EXPECT_EQ(p.Name, ws.db.Panel()->Name);
    EXPECT_EQ(p.ControlCanalTime, ws.db.Panel()->ControlCanalTime);
    EXPECT_EQ(std::vector<int>({p.ConnectReasons, p.ConnectTimeOut, p.PcoDbNumber, p.NetNumber}),
              std::vector<int>({1, 20, 1, 1}));
  }
}

TEST_F(OlderRecords, MixedOutputVersionsWarnOnce) {
  std::size_t converted = 0;
  for (Rec& r : records)
    if (r.tag == kTagOutput && converted++ % 2 == 0) OldOutput(r);
  ASSERT_GT(converted, 2u);
  Workspace back;
  ScriptedHost readHost;
  ASSERT_TRUE(DecodeDcf(back, readHost, Join(records)));
  ASSERT_EQ(readHost.messages().size(), 1u);
  EXPECT_EQ(readHost.messages()[0].text, Warning("управляемого выхода", "Проверьте правильность всех записей в данных карточках."));
}

TEST(DcfLegacy, WritesItsOwnTagsAndReadsNoNewerOnes) {
  Workspace legacy(Variant::Legacy);
  ScriptedHost host;
  ASSERT_TRUE(CreateNewDB(legacy, host));
  Bytes file;
  ASSERT_TRUE(EncodeDcf(legacy.db, host, file));
  EXPECT_EQ(Split(file, Variant::Legacy).front().tag, kTagPanelV10);
  EXPECT_EQ(file.size(), 1u + 303 + 2 * 221);

  Workspace back(Variant::Legacy);
  ASSERT_TRUE(DecodeDcf(back, host, file));
  EXPECT_TRUE(host.events.empty());

  Workspace current;
  ASSERT_TRUE(CreateNewDB(current, host));
  ScriptedHost refused;
  EXPECT_FALSE(DecodeDcf(back, refused, Encode(current.db)));
  ExpectReadError(refused, back);
}

// Every way a file can be malformed ends in "Ошибка чтения файла" and no
// database at all.
TEST_F(SmallOffice, MalformedFilesAreRejected) {
  const std::size_t zone = IndexOf(records, kTagZone);
  const std::size_t output = IndexOf(records, kTagOutput);
  const std::size_t setInput = IndexOf(records, kTagSetInput);
  const std::size_t reader = IndexOf(records, kTagIDReader);
  const std::size_t group = IndexOf(records, kTagGroup);
  const std::size_t device = IndexOf(records, kTagAdapter);
  struct Case {
    const char* name;
    std::function<void(std::vector<Rec>&)> spoil;
    std::size_t cut = 0;  // bytes taken off the end
  } cases[] = {
      {"unknown tag", [](auto& r) { r.push_back({8, Bytes(5, 0)}); }},
      {"record cut short", [](auto&) {}, 1},
      {"lone tag byte", [](auto& r) { r.push_back({kTagUser, {}}); }},
      {"zone without device", [&](auto& r) { PutU16(r[zone].body, 204, 0); }},
      {"zone without group", [&](auto& r) { PutU16(r[zone].body, 202, 0); }},
      {"zone whose group is a device", [&](auto& r) { PutU16(r[zone].body, 202, unsigned(device + 1)); }},
      {"output whose device is a group", [&](auto& r) { PutU16(r[output].body, 402, unsigned(group + 1)); }},
      {"output on a record beyond the file", [&](auto& r) { PutU16(r[output].body, 402, 999); }},
      {"SET input without group", [&](auto& r) { PutU16(r[setInput].body, 0, 0); }},
      {"TM input whose device is a zone", [&](auto& r) { PutU16(r[reader].body, 2, unsigned(zone + 1)); }},
      {"TM input whose group is a zone", [&](auto& r) { PutU16(r[reader].body, 0, unsigned(zone + 1)); }},
      {"panel reaction naming a group", [&](auto& r) { PutU16(r[0].body, 307, unsigned(group + 1)); }},
      {"panel reaction beyond the file", [&](auto& r) { PutU16(r[0].body, 305, unsigned(r.size() + 1)); }},
      {"user right naming a zone", [&](auto& r) { PutU16(First(r, kTagUser).body, 429, unsigned(zone + 1)); }},
      {"module of a type without node", [&](auto& r) { r[device].body[2] = 5; r[device].body[1] = 0; }},
      {"device of an unknown placement", [&](auto& r) { r[device].body[1] = 2; }},
      {"text longer than its field", [&](auto& r) { r[group].body[204] = 6; }},
      {"second panel", [&](auto& r) { r.push_back(r[0]); }},
      {"547 records", [&](auto& r) { r.resize(547, r.back()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Rec> spoilt = records;
    c.spoil(spoilt);
    Bytes file = Join(spoilt);
    file.resize(file.size() - c.cut);
    Workspace back;
    ScriptedHost readHost;
    EXPECT_FALSE(DecodeDcf(back, readHost, file));
    ExpectReadError(readHost, back);
  }
}

TEST_F(SmallOffice, CancelLeavesNoDatabaseAndNoMessage) {
  for (int poll : {1, 3, int(records.size()) + 2, 3 * int(records.size()) + 1}) {
    SCOPED_TRACE(poll);
    Workspace back;
    ScriptedHost readHost;
    readHost.cancelAtPoll = poll;
    EXPECT_FALSE(DecodeDcf(back, readHost, bytes));
    EXPECT_TRUE(readHost.events.empty());
    EXPECT_FALSE(back.db.Exists());
  }
}

TEST(DcfReader, FilterFlagFollowsTheTypeFourModule) {
  for (byte value : {byte{240}, byte{0}, byte{3}}) {
    SCOPED_TRACE(int(value));
    Workspace ws;
    ScriptedHost host;
    ASSERT_TRUE(CreateNewDB(ws, host));
    std::get<TAdapter>(*AddModuleNode(ws.db, 4).Data).ZonesControlTime = value;
    Workspace back;
    back.editor.BitCheckBoxController = value != 240;
    ASSERT_TRUE(DecodeDcf(back, host, Encode(ws.db)));
    EXPECT_EQ(back.editor.BitCheckBoxController, value == 240);
  }
}

TEST(DcfReader, RemoteKeyboardDropsItsPowerReaction) {
  Workspace ws;
  ScriptedHost host;
  ASSERT_TRUE(CreateNewDB(ws, host));
  Node& relay = AddBusDeviceNode(ws.db, 5, 1);
  TOutput* out = AddOutputNode(ws.db, relay, 1).As<TOutput>();
  for (byte type : {byte{3}, byte{9}}) std::get<TAdapter>(*AddBusDeviceNode(ws.db, type, type).Data).ReactionPower = out;
  Workspace back;
  ASSERT_TRUE(DecodeDcf(back, host, Encode(ws.db)));
  for (auto& device : back.db.Rs485Node->Children) {
    const TAdapter* a = device->As<TAdapter>();
    if (a->DeviceType == 3 || a->DeviceType == 9) {
      EXPECT_EQ(a->ReactionPower != nullptr, a->DeviceType == 9);
    }
  }
}

// 547 table entries are written; one more element is refused, and the
// reader refuses a file of more than 546 records.
TEST(DcfLimits, ElementTableTakes547Entries) {
  TempDir dir;
  Workspace ws;
  ScriptedHost host;
  ASSERT_TRUE(CreateNewDB(ws, host));
  auto addUser = [&] { AddNode(ws.db.Rooms, ws.db.RoomsNode, "user", MakeElement<TUser>()); };
  for (int i = 0; i < 544; ++i) addUser();
  ASSERT_TRUE(DBConvertToFile(ws, host, dir / "full"));
  const Bytes full = ReadAll(dir / "full.dcf");
  EXPECT_EQ(Split(full).size(), 547u);

  addUser();
  EXPECT_FALSE(DBConvertToFile(ws, host, dir / "full"));
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].text, "Ошибка записи файла"_w);
  EXPECT_EQ(ReadAll(dir / "full.dcf"), full);

  Workspace back;
  ScriptedHost readHost;
  EXPECT_FALSE(DBConvertFromFile(back, readHost, dir / "full.dcf"));
  ExpectReadError(readHost, back);
}

TEST(DcfFiles, UnreadableOrOversizeFilesAreReadErrors) {
  TempDir dir;
  {
    std::ofstream big(dir / "big.dcf", std::ios::binary);
    big << std::string(kDcfMaxFileSize + 1, '\0');
  }
  for (const std::string& path : {dir / "missing.dcf", dir.path(), dir / "big.dcf"}) {
    SCOPED_TRACE(path);
    Workspace ws;
    ScriptedHost host;
    ASSERT_TRUE(CreateNewDB(ws, host));
    EXPECT_FALSE(DBConvertFromFile(ws, host, path));
    ExpectReadError(host, ws);
  }
}

TEST(DcfFiles, FileNameRule) {
  struct Case {
    const char* chosen;
    const char* saved;
  } cases[] = {
      {"Obj.DCF", "obj.dcf"},
      {"obj", "obj.dcf"},
      {"obj.dcf", "obj.dcf"},
      {"a.dcf.bak", "a.dcf.bak.dcf"},
      {"x.dcf.dcf", "x.dcf.dcf.dcf"},
      {"Site.Dcf", "site.dcf"},
      {"/Data/Sites/Office.DCF", "/Data/Sites/office.dcf"},
      {"\xCE\xF4\xE8\xF1.DCF", "\xCE\xF4\xE8\xF1.dcf"},  // Cyrillic letters stay
  };
  for (const Case& c : cases) EXPECT_EQ(DcfFileName(c.chosen), c.saved) << c.chosen;
}

TEST(DcfFiles, FailedSaveKeepsThePreviousFile) {
  TempDir dir;
  Workspace ws;
  ScriptedHost host;
  ASSERT_TRUE(examples::MakeExample(examples::ExampleDatabases().at(0), ws, host));
  ASSERT_TRUE(DBConvertToFile(ws, host, dir / "site.dcf"));
  const Bytes before = ReadAll(dir / "site.dcf");

  // Let the disk "fill up" after a few bytes.
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  struct rlimit tight = old;
  tight.rlim_cur = 1000;
  auto previous = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
  ws.db.Panel()->Name = "Другое имя"_w;
  const bool saved = DBConvertToFile(ws, host, dir / "site.dcf");
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, previous);

  EXPECT_FALSE(saved);
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].text, "Ошибка записи файла"_w);
  EXPECT_EQ(ReadAll(dir / "site.dcf"), before);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1u);
}

}  // namespace
}  // namespace velkor
