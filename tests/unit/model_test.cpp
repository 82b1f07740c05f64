#include <gtest/gtest.h>

#include "model/catalogues.h"
#include "model/elements.h"
#include "text/cp1251.h"

namespace velkor {
namespace {

TEST(AdapterTypes, ConstructorsTakeTheTypeTable) {
  struct Case {
    Variant variant;
    byte placement, type;
    byte keyboard, zones, outputs, sets, readers;
    dword serial;
    bool inEnclosure;
  } cases[] = {
      {Variant::Current, 0, 0, 0, 8, 1, 1, 0, 1, true},   // base module
      {Variant::Current, 0, 1, 1, 0, 0, 0, 0, 2, true},   // keyboard module
      {Variant::Current, 0, 3, 0, 0, 4, 0, 0, 3, true},
      {Variant::Current, 0, 5, 0, 0, 0, 0, 0, 0, false},  // "Интерфейс 485"
      {Variant::Current, 0, 6, 1, 0, 0, 0, 0, 2, true},
      {Variant::Current, 1, 0, 1, 3, 1, 0, 0, 0, false},  // zone adapter counted as a keyboard
      {Variant::Current, 1, 2, 1, 0, 0, 0, 0, 0, false},  // code keyboard
      {Variant::Current, 1, 6, 0, 0, 0, 4, 0, 0, false},
      {Variant::Current, 1, 7, 0, 0, 0, 0, 3, 0, false},
      {Variant::Current, 1, 8, 0, 0, 0, 0, 1, 0, false},
      {Variant::Current, 1, 9, 1, 0, 0, 0, 0, 0, false},
      {Variant::Current, 1, 10, 0, 0, 0, 0, 0, 0, false},  // unknown type
      {Variant::Current, 2, 0, 0, 0, 0, 0, 0, 0, false},   // unknown placement
      {Variant::Legacy, 1, 0, 1, 2, 1, 0, 0, 0, false},
      {Variant::Legacy, 1, 8, 0, 0, 0, 0, 0, 0, false},
      {Variant::Legacy, 0, 6, 0, 0, 0, 0, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "placement " << int(c.placement) << " type " << int(c.type)
                                      << (c.variant == Variant::Legacy ? " legacy" : ""));
    TAdapter a(c.placement, c.type, c.variant);
    EXPECT_EQ(a.Placement, c.placement);
    EXPECT_EQ(a.DeviceType, c.type);
    EXPECT_EQ(a.IsKeyboard, c.keyboard);
    EXPECT_EQ(a.ZonesTotal, c.zones);
    EXPECT_EQ(a.OutputsTotal, c.outputs);
    EXPECT_EQ(a.SetInputsTotal, c.sets);
    EXPECT_EQ(a.ReadersTotal, c.readers);
    EXPECT_EQ(a.SerialNumber, c.serial);
    EXPECT_EQ(a.Location.str(), c.inEnclosure ? std::string("Расположен в корпусе ППК"_w) : std::string());
    EXPECT_EQ(a.NetNumber, 0);
    EXPECT_EQ(a.ReactionPower, nullptr);
  }
}

TEST(Defaults, PanelAndGroup) {
  TPPK p;
  EXPECT_EQ(p.Name.str(), std::string("Новый ППК"_w));
  EXPECT_EQ(p.Protocol, 4);
  EXPECT_EQ(p.CardPinCode.str(), "4807");
  EXPECT_EQ(p.ConnectReasons, 1);
  EXPECT_EQ(p.ConnectTimeOut, 20);
  EXPECT_EQ(p.PcoDbNumber, 1);
  EXPECT_EQ(p.NetNumber, 1);
  EXPECT_EQ(p.RadioWaitTime, 3);
  EXPECT_EQ(TPPK(Variant::Legacy).CardPinCode.str(), "");

  TGroup g;
  for (int day = 0; day < 7; ++day) {
    SCOPED_TRACE(day);
    const bool weekend = day >= 5;
    EXPECT_EQ(g.GuardFrom[day].str(), weekend ? "00:00" : "18:00");
    EXPECT_EQ(g.GuardTo[day].str(), weekend ? "23:59" : "09:00");
    EXPECT_EQ(g.DayOff[day], weekend ? 1 : 0);
  }
  EXPECT_EQ(TZone().ZoneType, 1);
}

TEST(CopyElement, OlderRecordsLeaveNewerFieldsAtTheirDefaults) {
  TOutput reaction;

  TGroup fullGroup;
  fullGroup.Name = "Склад"_w;
  fullGroup.Number = 7;
  fullGroup.GuardFrom[0] = "20:00";
  fullGroup.LongGuard = 1;
  fullGroup.AlarmDelaySec = 30;
  fullGroup.ReactionSet = &reaction;
  fullGroup.ZonesCount = 9;  // derived: never copied
  TGroup v7;
  CopyElement(v7, fullGroup, 7);
  EXPECT_EQ(v7.Name.str(), fullGroup.Name.str());
  EXPECT_EQ(v7.Number, 7);
  EXPECT_EQ(v7.ReactionSet, &reaction);
  EXPECT_EQ(v7.GuardFrom[0].str(), "18:00");
  EXPECT_EQ(v7.LongGuard, 0);
  EXPECT_EQ(v7.AlarmDelaySec, 0);
  EXPECT_EQ(v7.ZonesCount, 0);
  TGroup v17;
  CopyElement(v17, fullGroup, 17);
  EXPECT_EQ(v17.GuardFrom[0].str(), "20:00");
  EXPECT_EQ(v17.AlarmDelaySec, 30);
  EXPECT_EQ(v17.ZonesCount, 0);

  TOutput inverse;
  inverse.Inverse = 1;
  inverse.ReactionKind = 5;
  TOutput v3, v13;
  CopyElement(v3, inverse, 3);
  CopyElement(v13, inverse, 13);
  EXPECT_EQ(v3.Inverse, 0);
  EXPECT_EQ(v3.ReactionKind, 5);
  EXPECT_EQ(v13.Inverse, 1);

  TPPK full;
  full.Name = "X";
  full.ConnectReasons = 9;
  full.ConnectTimeOut = 99;
  full.PcoDbNumber = 1000;
  full.NetNumber = 5;
  full.RadioWaitTime = 77;
  full.RadioNetNumber = 4;
  full.ReactionPower = full.ReactionTamper = full.Reaction220V = full.ReactionCapture = &reaction;
  struct Case {
    int tag;
    bool power, capture, rest;
  } cases[] = {{0, false, false, false}, {10, true, false, false}, {20, true, true, false}, {30, true, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tag);
    TPPK to;
    CopyElement(to, full, c.tag);
    EXPECT_EQ(to.Name.str(), "X");
    EXPECT_EQ(to.ReactionTamper, &reaction);
    EXPECT_EQ(to.Reaction220V, &reaction);
    EXPECT_EQ(to.ReactionPower, c.power ? &reaction : nullptr);
    EXPECT_EQ(to.ReactionCapture, c.capture ? &reaction : nullptr);
    EXPECT_EQ(to.ConnectReasons, c.rest ? 9 : 1);
    EXPECT_EQ(to.ConnectTimeOut, c.rest ? 99 : 20);
    EXPECT_EQ(to.PcoDbNumber, c.rest ? 1000 : 1);
    EXPECT_EQ(to.NetNumber, c.rest ? 5 : 1);
    EXPECT_EQ(to.RadioWaitTime, c.rest ? 77 : 3);
    EXPECT_EQ(to.RadioNetNumber, c.rest ? 4 : 0);
  }
}

TEST(CopyElement, CodeKeyboardsLoseThePowerReaction) {
  TOutput reaction;
  for (byte type : {byte{2}, byte{3}, byte{9}, byte{0}}) {
    SCOPED_TRACE(int(type));
    TAdapter from(1, type);
    from.ReactionPower = from.ReactionTamper = &reaction;
    from.ZonesUsed = 3;
    TAdapter to(1, 1);
    CopyElement(to, from, 1);
    EXPECT_EQ(to.DeviceType, type);
    EXPECT_EQ(to.ReactionTamper, &reaction);
    EXPECT_EQ(to.ReactionPower, (type == 2 || type == 3) ? nullptr : &reaction);
    EXPECT_EQ(to.ZonesUsed, 0);
  }
}

TEST(Catalogues, CodesAndRows) {
  const Catalogues& c = CataloguesFor(Variant::Current);
  EXPECT_EQ(c.ProtocolsReduced.size(), 11u);
  EXPECT_EQ(c.ProtocolsFull.size(), 13u);
  EXPECT_EQ(ProtocolRowOf(c.ProtocolsReduced, 0), -1);
  EXPECT_EQ(ProtocolRowOf(c.ProtocolsReduced, 3), -1);
  EXPECT_EQ(ProtocolRowOf(c.ProtocolsFull, 3), 2);
  EXPECT_EQ(ProtocolRowOf(c.ProtocolsFull, 9), -1);
  // Code 5 has its own label in each list.
  const auto& n1Reduced = c.ProtocolsReduced[static_cast<std::size_t>(ProtocolRowOf(c.ProtocolsReduced, 5))];
  const auto& n1Full = c.ProtocolsFull[static_cast<std::size_t>(ProtocolRowOf(c.ProtocolsFull, 5))];
  EXPECT_NE(n1Reduced.Label, n1Full.Label);
  EXPECT_EQ(CatalogueLabel(c.ZoneTypes, 15 - 1), "Шлейф контроля сети 220В"_w);
  EXPECT_EQ(c.ZoneTypes.size(), 17u);
  EXPECT_EQ(CatalogueLabel(c.ReactionTimes, 4 - 1), "10");
  EXPECT_EQ(CatalogueLabel(c.ReactionTimes, -1), "");
  EXPECT_EQ(c.ReactionKinds.size(), 16u);
  EXPECT_EQ(c.ReactionKinds[9], c.ReactionKinds[10]);
  EXPECT_EQ(c.ReactionKinds[1], "1 сек. включено,  1 сек. выключено"_w);
  EXPECT_EQ(c.ZoneReactionTimes[0], "70  мс."_w);
  EXPECT_EQ(c.ControlCanal.size(), 10u);
  EXPECT_EQ(CatalogueLabel(c.Devices, 7), "ТМ |ЧТР|ЧТБ"_w);

  const Catalogues& legacy = CataloguesFor(Variant::Legacy);
  EXPECT_EQ(legacy.ControlCanal.size(), 9u);
  EXPECT_EQ(legacy.ZoneTypes.size(), 13u);
  EXPECT_EQ(legacy.ZoneTypes.back(), "Шлейф контроля ЛПИ"_w);
  EXPECT_EQ(legacy.Devices.size(), 8u);
  EXPECT_EQ(legacy.ProtocolsFull.front().Code, 0);
  EXPECT_EQ(legacy.ProtocolsFull.size(), 7u);
}

}  // namespace
}  // namespace velkor
