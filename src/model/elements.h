#pragma once
// The eight element classes of a panel configuration. Plain data: public
// fields named as the rest of the system names them, defaults set by the
// constructor. References between elements never own.

#include <array>
#include <cstdint>
#include <variant>

#include "model/variant.h"
#include "text/text_field.h"

namespace velkor {

struct TOutput;
struct TGroup;
struct TAdapter;

using byte = std::uint8_t;
using word = std::uint16_t;
using dword = std::uint32_t;

struct TPPK {
  explicit TPPK(Variant variant = Variant::Current);

  TextField<200> Name;
  byte Protocol = 4;
  TextField<14> SrpNumber;
  TextField<14> PcnMobileNumber;
  TextField<14> SmsCenterNumber;
  TextField<8> CardPinCode;
  TextField<3> RadioAddressPco;
  TextField<3> RadioAddressPpk;
  std::array<TextField<3>, 8> RetranslationAddress;
  byte ControlCanalTime = 0;
  byte ConnectReasons = 1;
  byte ConnectTimeOut = 20;
  word PcoDbNumber = 1;
  byte NetNumber = 1;
  word RadioWaitTime = 3;
  byte RadioNetNumber = 0;
  TOutput* ReactionPower = nullptr;
  TOutput* ReactionTamper = nullptr;
  TOutput* Reaction220V = nullptr;
  TOutput* ReactionCapture = nullptr;
};

struct TAdapter {
  TAdapter(byte placement, byte deviceType, Variant variant = Variant::Current);

  byte IsKeyboard = 0;
  byte Placement = 0;  // 0 module in the enclosure, 1 device on the RS-485 bus
  byte DeviceType = 0;
  byte NetNumber = 0;
  TextField<200> Location;
  byte ZonesTotal = 0;
  byte OutputsTotal = 0;
  byte SetInputsTotal = 0;
  byte ReadersTotal = 0;
  byte ZonesUsed = 0;      // derived
  byte OutputsUsed = 0;    // derived
  byte ReadersUsed = 0;    // derived
  byte SetInputsUsed = 0;  // derived
  dword SerialNumber = 0;
  byte ZonesControlTime = 0;
  TOutput* ReactionPower = nullptr;
  TOutput* ReactionTamper = nullptr;
  TOutput* ReactionConnect = nullptr;
};

struct TZone {
  TextField<200> Name;
  byte ZoneType = 1;
  TGroup* Group = nullptr;
  TAdapter* Adapter = nullptr;
  byte NumberInGroup = 0;
  byte NumberInAdapter = 0;
  TOutput* Reaction1 = nullptr;
  TOutput* Reaction2 = nullptr;
  TOutput* Reaction3 = nullptr;
  TOutput* Reaction4 = nullptr;
};

struct TOutput {
  TextField<200> Name;
  TextField<200> Location;
  TAdapter* Adapter = nullptr;
  byte Number = 0;
  byte ReactionKind = 0;
  byte ReactionTime = 0;  // 0 none, else row + 1 of the minutes list
  byte ReactionWait = 0;
  byte Inverse = 0;
  byte AlarmToOpen = 0;
  byte AlarmToNorma = 0;
  byte ForGroups = 0;
  byte ForFire = 0;
};

struct TGroup {
  TGroup();

  TextField<200> Name;
  byte Number = 0;
  byte WaitToSet = 0;
  byte WaitToOpen = 0;
  TextField<5> RoomNumber;
  byte ZonesCount = 0;      // derived
  byte ReadersCount = 0;    // derived
  byte SetInputsCount = 0;  // derived
  byte KeyboardAccess = 0;
  byte AndMode = 0;
  TOutput* ReactionSet = nullptr;
  TOutput* ReactionOpen = nullptr;
  std::array<TAdapter*, 32> Keyboards{};
  // For the monitoring centre's database only (file and INI, not the image).
  std::array<TextField<5>, 7> GuardFrom;
  std::array<TextField<5>, 7> GuardTo;
  std::array<byte, 7> DayOff{};
  byte LongGuard = 0;
  byte GuardLock = 0;
  byte PartialSet = 0;
  byte AutoAlarm = 0;
  TextField<200> LongGuardNote;
  byte AlarmDelayMin = 0;
  byte AlarmDelaySec = 0;
};

// SET inputs and TM inputs share one layout.
struct TInputBase {
  TGroup* Group = nullptr;  // a TM input without a group serves all groups
  TAdapter* Adapter = nullptr;
  byte Number = 0;
};
struct TSetInput : TInputBase {};
struct TIDReader : TInputBase {};

struct TUser {
  byte Number = 0;  // 1 is the administrator
  TextField<200> Fio;
  TextField<200> Post;
  TextField<8> PinCode;
  TextField<16> Identifier;
  std::array<TGroup*, 128> Groups{};
};

using Element = std::variant<TPPK, TAdapter, TZone, TOutput, TGroup, TIDReader, TSetInput, TUser>;

// The object an element holds, whatever its class: what typed references
// (TOutput*, TGroup*, ...) point to.
const void* ElementObject(const Element& element);

// Capacities and defaults of a module or device type.
struct AdapterType {
  byte IsKeyboard = 0;
  byte ZonesTotal = 0;
  byte OutputsTotal = 0;
  byte SetInputsTotal = 0;
  byte ReadersTotal = 0;
  dword SerialNumber = 0;
  bool InEnclosure = false;  // Location "Расположен в корпусе ППК"
};
AdapterType AdapterTypeOf(Variant variant, byte placement, byte deviceType);

// Copy operations of the database file reader: copy the fields that a record
// of the given version (file tag) carries, leave the others as they are.
// Derived fields are never copied.
void CopyElement(TPPK& to, const TPPK& from, int tag);
void CopyElement(TAdapter& to, const TAdapter& from, int tag);
void CopyElement(TZone& to, const TZone& from, int tag);
void CopyElement(TOutput& to, const TOutput& from, int tag);
void CopyElement(TGroup& to, const TGroup& from, int tag);
void CopyElement(TSetInput& to, const TSetInput& from, int tag);
void CopyElement(TIDReader& to, const TIDReader& from, int tag);
void CopyElement(TUser& to, const TUser& from, int tag);

}  // namespace velkor
