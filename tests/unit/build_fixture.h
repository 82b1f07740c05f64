#pragma once
// A small database made in code, and a build of it with a fixed stamp so
// that listings compare line by line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/scripted_host.h"
#include "image/builder.h"
#include "model/compose.h"
#include "model/workspace.h"
#include "text/cp1251.h"

namespace velkor::testing {

// A serial number that passes the bus device check: high half `high`, low
// half the type's two digits followed by "001".
inline dword GoodSerial(byte deviceType, dword high = 0) {
  static constexpr int kPrefix[] = {20, 21, 40, 41, 22, 23, 24, 25, 26, 42};
  return (high << 16) | static_cast<dword>(kPrefix[deviceType] * 1000 + 1);
}

inline std::string U(std::string_view cp1251) { return Cp1251ToUtf8(cp1251); }

class BuildFixture : public ::testing::Test {
 public:
  // Panel, base module (8 zones), keyboard module, administrator 1 with a
  // PIN, group 1 with room number "1" and zone 1 of the base module.
  void SetUp() override {
    ASSERT_TRUE(CreateNewDB(ws, host));
    admin = AddUserNode(db(), 1).As<TUser>();
    admin->PinCode = "123456";
    group1 = &GroupNode(db(), 1);
    group1->As<TGroup>()->RoomNumber = "1";
    zone1 = &AddZoneNode(db(), *db().BaseModuleNode, 1, *group1, 1);
    stamp = {std::string("1 января 2026 г."_w), "12:00:00", std::string("1 января 2026 г.,  ver. 3.20"_w), "3.20"};
    settings.IniExport = true;
  }

  Database& db() { return ws.db; }
  TPPK& ppk() { return *db().Panel(); }
  TAdapter& base() { return *db().BaseModule(); }
  TGroup& group(Node* node) { return *node->As<TGroup>(); }

  Node& Device(byte type, byte net, dword high = 0) {
    Node& n = AddBusDeviceNode(db(), type, net);
    n.As<TAdapter>()->SerialNumber = GoodSerial(type, high);
    return n;
  }

  // Builds with Yes to every question unless answers were queued.
  bool Build() {
    ProcessDataBase(db());
    if (host.answers.empty()) host.answers.assign(8, true);
    return DBConvertToPPK(ws, host, settings, stamp, &ini);
  }

  std::uint8_t At(int section, int record, int byte) const {
    const int at = ImageOffset(Variant::Current, section, record, byte);
    EXPECT_GE(at, 0);
    return at < 0 ? 0 : ws.DBStoreArray[static_cast<std::size_t>(at)];
  }
  // `count` bytes from byte `from` of the record on, running into the
  // records that follow.
  std::vector<int> Bytes(int section, int record, int from, int count) const {
    const int at = ImageOffset(Variant::Current, section, record, 0);
    EXPECT_GE(at, 0);
    std::vector<int> out;
    for (int i = 0; i < count; ++i) out.push_back(ws.DBStoreArray[static_cast<std::size_t>(at + from + i)]);
    return out;
  }

  // The messages shown (questions left out), UTF-8.
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& m : host.messages()) out.push_back(U(m.text));
    return out;
  }
  std::string LastMessage() const {
    auto m = Messages();
    return m.empty() ? std::string() : m.back();
  }
  int Questions() const {
    int n = 0;
    for (const auto& e : host.events) n += e.kind == HostEvent::Kind::Question;
    return n;
  }

  // The listing (UTF-8), and the lines from the heading `from` up to the
  // next empty line.
  std::vector<std::string> Listing() const {
    std::vector<std::string> out;
    for (const auto& l : ws.exportLog.Lines) out.push_back(U(l));
    return out;
  }
  std::vector<std::string> Category(const std::string& heading) const {
    std::vector<std::string> all = Listing(), out;
    bool in = false;
    for (const auto& l : all) {
      if (l.rfind(heading, 0) == 0) in = true;
      if (!in) continue;
      if (l.empty()) break;
      out.push_back(l);
    }
    return out;
  }
  std::vector<std::string> IniLines() const {
    std::vector<std::string> out;
    std::string text = ini.text;
    std::size_t pos = 0;
    while (pos < text.size()) {
      const std::size_t end = text.find("\r\n", pos);
      EXPECT_NE(end, std::string::npos) << "a line without CR LF";
      if (end == std::string::npos) break;
      out.push_back(U(text.substr(pos, end - pos)));
      pos = end + 2;
    }
    return out;
  }

  Workspace ws;
  ScriptedHost host;
  BuildSettings settings;
  ListingStamp stamp;
  IniText ini;
  TUser* admin = nullptr;
  Node* group1 = nullptr;
  Node* zone1 = nullptr;
};

}  // namespace velkor::testing
