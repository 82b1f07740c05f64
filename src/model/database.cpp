#include "model/database.h"

#include "model/captions.h"
#include "model/catalogues.h"
#include "text/format.h"

namespace velkor {

void ProcessDataBase(Database& db) {
  db.UserCount = 0;
  db.TotalZones = db.TotalOutputs = db.TotalSetInputs = db.TotalReaders = 0;
  db.KeyboardCount = 0;
  db.BusDeviceCount = 0;
  db.ReactionList.assign(1, {std::string(kNoReaction), nullptr});
  db.GroupReactionList.assign(1, {std::string(kNoReaction), nullptr});
  db.FireReactionList.assign(1, {std::string(kNoReaction), nullptr});
  db.KeyboardList.clear();
  db.GroupList.clear();

  if (db.RoomsNode) {
    for (const auto& child : db.RoomsNode->Children) {
      if (!child->Data) continue;
      if (child->As<TUser>()) {
        ++db.UserCount;
      } else if (TGroup* g = child->As<TGroup>()) {
        g->ZonesCount = g->ReadersCount = g->SetInputsCount = 0;
        db.GroupList.push_back({std::string("Группа "_w) + Fmt3(g->Number), g});
      }
    }
  }

  ForEachNode(db.Hardware, [&](Node& node) {
    if (!node.Data) return;
    if (TAdapter* a = node.As<TAdapter>()) {
      a->ZonesUsed = a->OutputsUsed = a->SetInputsUsed = a->ReadersUsed = 0;
      db.TotalZones += a->ZonesTotal;
      db.TotalOutputs += a->OutputsTotal;
      db.TotalSetInputs += a->SetInputsTotal;
      db.TotalReaders += a->ReadersTotal;
      if (a->Placement == 1) ++db.BusDeviceCount;
      if (a->IsKeyboard == 1) {
        ++db.KeyboardCount;
        db.KeyboardList.push_back({FormatElementPath(db, 0, 4, 0, a), a});
      }
    } else if (TZone* z = node.As<TZone>()) {
      if (z->Adapter) ++z->Adapter->ZonesUsed;
      if (z->Group) ++z->Group->ZonesCount;
    } else if (TOutput* o = node.As<TOutput>()) {
      if (o->Adapter) ++o->Adapter->OutputsUsed;
      ListRow<TOutput> row{FormatElementPath(db, 0, 3, o->Number, o->Adapter), o};
      if (o->ForFire)
        db.FireReactionList.push_back(std::move(row));
      else if (o->ForGroups)
        db.GroupReactionList.push_back(std::move(row));
      else
        db.ReactionList.push_back(std::move(row));
    } else if (TSetInput* s = node.As<TSetInput>()) {
      if (s->Adapter) ++s->Adapter->SetInputsUsed;
      if (s->Group) ++s->Group->SetInputsCount;
    } else if (TIDReader* r = node.As<TIDReader>()) {
      if (r->Adapter) ++r->Adapter->ReadersUsed;
      if (r->Group) ++r->Group->ReadersCount;
    }
  });

  db.Module16Zones = false;
  db.Module16Locked = false;
  const TAdapter* base = db.BaseModule();
  if (!db.Hardware.Empty() && base && base->ZonesTotal > 8) {
    db.Module16Zones = true;
    for (const auto& child : db.BaseModuleNode->Children)
      if (const TZone* z = child->As<TZone>(); z && z->NumberInAdapter > 8) db.Module16Locked = true;
  }
}

std::string FormatElementPath(const Database& db, int Short, int Kind, int Number, const TAdapter* Device) {
  if (!Device) return {};
  const bool onBus = Device->Placement == 1;
  std::string text;
  if (Short == 0) text = onBus ? std::string("C485 > ") : std::string("ППК > "_w);

  std::string sizeMark;
  const TAdapter* base = db.BaseModule();
  if (!onBus && (Device->DeviceType == 0 || Device->DeviceType == 1) && base)
    sizeMark = base->ZonesTotal > 8 ? "16" : "8";

  const std::string label(AdapterLabel(db.variant, *Device));
  if (onBus)
    text += Fmt2(Device->NetNumber) + " > " + label;
  else
    text += label + sizeMark;
  if (Kind != 4) text += " > ";

  auto numbered = [&](bool withNumber, std::string_view tail) {
    if (withNumber) text += Fmt2(Number) + " > ";
    text += tail;
  };
  switch (Kind) {
    case 1: numbered(Device->ZonesTotal > 1, "Шлейф"_w); break;
    case 3:
      numbered(Device->OutputsTotal > 1,
               Device->Placement == 0 && Device->DeviceType == 0 ? "Выход UK"_w : "Реле"_w);
      break;
    case 4: break;
    case 5: numbered(Device->SetInputsTotal > 1, "Вход SET"_w); break;
    case 7: numbered(Device->ReadersTotal > 1, "TM вход"_w); break;  // Latin T and M
    default: return {};
  }
  return text;
}

}  // namespace velkor
