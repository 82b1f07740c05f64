#include "model/elements.h"

#include "text/cp1251.h"

namespace velkor {

TPPK::TPPK(Variant variant) : Name("Новый ППК"_w) {
  // The legacy card edits the SIM PIN itself and starts it empty.
  if (variant == Variant::Current) CardPinCode = "4807"_w;
}

AdapterType AdapterTypeOf(Variant variant, byte placement, byte deviceType) {
  const bool legacy = variant == Variant::Legacy;
  if (placement == 0) {
    switch (deviceType) {
      case 0: return {0, 8, 1, 1, 0, 1, true};
      case 1: return {1, 0, 0, 0, 0, 2, true};
      case 2: return {0, 0, 2, 0, 0, 3, true};
      case 3: return {0, 0, 4, 0, 0, 3, true};
      case 4: return {0, 0, 0, 0, 0, 3, true};
      case 5: return {};
      case 6: return legacy ? AdapterType{} : AdapterType{1, 0, 0, 0, 0, 2, true};
      default: return {};
    }
  }
  if (placement == 1) {
    switch (deviceType) {
      case 0: return legacy ? AdapterType{1, 2, 1, 0, 0, 0, false} : AdapterType{1, 3, 1, 0, 0, 0, false};
      case 1: return {0, 8, 0, 0, 0, 0, false};
      case 2: return {1, 0, 0, 0, 0, 0, false};
      case 3: return {1, 0, 0, 0, 0, 0, false};
      case 4: return {0, 0, 2, 0, 0, 0, false};
      case 5: return {0, 0, 4, 0, 0, 0, false};
      case 6: return {0, 0, 0, 4, 0, 0, false};
      case 7: return {0, 0, 0, 0, 3, 0, false};
      case 8: return legacy ? AdapterType{} : AdapterType{0, 0, 0, 0, 1, 0, false};
      case 9: return legacy ? AdapterType{} : AdapterType{1, 0, 0, 0, 0, 0, false};
      default: return {};
    }
  }
  return {};
}

TAdapter::TAdapter(byte placement, byte deviceType, Variant variant)
    : Placement(placement), DeviceType(deviceType) {
  AdapterType t = AdapterTypeOf(variant, placement, deviceType);
  IsKeyboard = t.IsKeyboard;
  ZonesTotal = t.ZonesTotal;
  OutputsTotal = t.OutputsTotal;
  SetInputsTotal = t.SetInputsTotal;
  ReadersTotal = t.ReadersTotal;
  SerialNumber = t.SerialNumber;
  if (t.InEnclosure) Location = "Расположен в корпусе ППК"_w;
}

TGroup::TGroup() {
  for (int day = 0; day < 7; ++day) {
    const bool weekend = day >= 5;
    GuardFrom[static_cast<std::size_t>(day)] = weekend ? "00:00" : "18:00";
    GuardTo[static_cast<std::size_t>(day)] = weekend ? "23:59" : "09:00";
    DayOff[static_cast<std::size_t>(day)] = weekend ? 1 : 0;
  }
}

const void* ElementObject(const Element& element) {
  return std::visit([](const auto& e) -> const void* { return &e; }, element);
}

void CopyElement(TPPK& to, const TPPK& from, int tag) {
  to.Name = from.Name;
  to.Protocol = from.Protocol;
  to.SrpNumber = from.SrpNumber;
  to.PcnMobileNumber = from.PcnMobileNumber;
  to.SmsCenterNumber = from.SmsCenterNumber;
  to.CardPinCode = from.CardPinCode;
  to.RadioAddressPco = from.RadioAddressPco;
  to.RadioAddressPpk = from.RadioAddressPpk;
  to.RetranslationAddress = from.RetranslationAddress;
  to.ControlCanalTime = from.ControlCanalTime;
  to.ReactionTamper = from.ReactionTamper;
  to.Reaction220V = from.Reaction220V;
  if (tag == 0) return;
  to.ReactionPower = from.ReactionPower;
  if (tag == 10) return;
  to.ReactionCapture = from.ReactionCapture;
  if (tag == 20) return;
  to.ConnectReasons = from.ConnectReasons;
  to.ConnectTimeOut = from.ConnectTimeOut;
  to.PcoDbNumber = from.PcoDbNumber;
  to.NetNumber = from.NetNumber;
  to.RadioWaitTime = from.RadioWaitTime;
  to.RadioNetNumber = from.RadioNetNumber;
}

void CopyElement(TAdapter& to, const TAdapter& from, int /*tag*/) {
  to.IsKeyboard = from.IsKeyboard;
  to.Placement = from.Placement;
  to.DeviceType = from.DeviceType;
  to.NetNumber = from.NetNumber;
  to.Location = from.Location;
  to.ZonesTotal = from.ZonesTotal;
  to.OutputsTotal = from.OutputsTotal;
  to.SetInputsTotal = from.SetInputsTotal;
  to.ReadersTotal = from.ReadersTotal;
  to.SerialNumber = from.SerialNumber;
  to.ZonesControlTime = from.ZonesControlTime;
  // Code keyboards have no power-failure reaction; old files may carry one.
  const bool codeKeyboard = from.Placement == 1 && (from.DeviceType == 2 || from.DeviceType == 3);
  to.ReactionPower = codeKeyboard ? nullptr : from.ReactionPower;
  to.ReactionTamper = from.ReactionTamper;
  to.ReactionConnect = from.ReactionConnect;
}

void CopyElement(TZone& to, const TZone& from, int /*tag*/) {
  to.Name = from.Name;
  to.ZoneType = from.ZoneType;
  to.Group = from.Group;
  to.Adapter = from.Adapter;
  to.NumberInGroup = from.NumberInGroup;
  to.NumberInAdapter = from.NumberInAdapter;
  to.Reaction1 = from.Reaction1;
  to.Reaction2 = from.Reaction2;
  to.Reaction3 = from.Reaction3;
  to.Reaction4 = from.Reaction4;
}

void CopyElement(TOutput& to, const TOutput& from, int tag) {
  to.Name = from.Name;
  to.Location = from.Location;
  to.Adapter = from.Adapter;
  to.Number = from.Number;
  to.ReactionKind = from.ReactionKind;
  to.ReactionTime = from.ReactionTime;
  to.ReactionWait = from.ReactionWait;
  if (tag != 3) to.Inverse = from.Inverse;
  to.AlarmToOpen = from.AlarmToOpen;
  to.AlarmToNorma = from.AlarmToNorma;
  to.ForGroups = from.ForGroups;
  to.ForFire = from.ForFire;
}

void CopyElement(TGroup& to, const TGroup& from, int tag) {
  to.Name = from.Name;
  to.Number = from.Number;
  to.WaitToSet = from.WaitToSet;
  to.WaitToOpen = from.WaitToOpen;
  to.RoomNumber = from.RoomNumber;
  to.KeyboardAccess = from.KeyboardAccess;
  to.AndMode = from.AndMode;
  to.ReactionSet = from.ReactionSet;
  to.ReactionOpen = from.ReactionOpen;
  to.Keyboards = from.Keyboards;
  if (tag == 7) return;
  to.GuardFrom = from.GuardFrom;
  to.GuardTo = from.GuardTo;
  to.DayOff = from.DayOff;
  to.LongGuard = from.LongGuard;
  to.GuardLock = from.GuardLock;
  to.PartialSet = from.PartialSet;
  to.AutoAlarm = from.AutoAlarm;
  to.LongGuardNote = from.LongGuardNote;
  to.AlarmDelayMin = from.AlarmDelayMin;
  to.AlarmDelaySec = from.AlarmDelaySec;
}

void CopyElement(TSetInput& to, const TSetInput& from, int /*tag*/) {
  to.Group = from.Group;
  to.Adapter = from.Adapter;
  to.Number = from.Number;
}

void CopyElement(TIDReader& to, const TIDReader& from, int /*tag*/) {
  to.Group = from.Group;
  to.Adapter = from.Adapter;
  to.Number = from.Number;
}

void CopyElement(TUser& to, const TUser& from, int /*tag*/) {
  to.Number = from.Number;
  to.Fio = from.Fio;
  to.Post = from.Post;
  to.PinCode = from.PinCode;
  to.Identifier = from.Identifier;
  to.Groups = from.Groups;
}

}  // namespace velkor
