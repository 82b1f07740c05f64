#pragma once
// One configuration database: the hardware tree and the rooms tree with
// their fixed nodes, and the values derived from them by ProcessDataBase.

#include <string>
#include <vector>

#include "model/tree.h"
#include "model/variant.h"

namespace velkor {

template <class T>
struct ListRow {
  std::string Text;  // Windows-1251
  T* Item = nullptr;  // none for "Нет реакции"
};

struct Database {
  explicit Database(Variant v = Variant::Current) : variant(v) {}

  Variant variant;
  Tree Hardware;  // PPKTreeView
  Tree Rooms;     // GroupTreeView

  Node* PanelNode = nullptr;
  Node* BaseModuleNode = nullptr;
  Node* KeyboardModuleNode = nullptr;
  Node* Rs485Node = nullptr;
  Node* RoomsNode = nullptr;

  // Derived by ProcessDataBase.
  std::vector<ListRow<TOutput>> ReactionList;
  std::vector<ListRow<TOutput>> GroupReactionList;
  std::vector<ListRow<TOutput>> FireReactionList;
  std::vector<ListRow<TAdapter>> KeyboardList;
  std::vector<ListRow<TGroup>> GroupList;
  int TotalZones = 0;
  int TotalOutputs = 0;
  int TotalSetInputs = 0;
  int TotalReaders = 0;
  int KeyboardCount = 0;
  int BusDeviceCount = 0;
  int UserCount = 0;
  bool Module16Zones = false;
  bool Module16Locked = false;

  bool Exists() const { return PanelNode != nullptr; }
  TPPK* Panel() const { return PanelNode ? PanelNode->As<TPPK>() : nullptr; }
  TAdapter* BaseModule() const { return BaseModuleNode ? BaseModuleNode->As<TAdapter>() : nullptr; }
};

// Recomputes every derived counter, total, flag and list from the trees.
void ProcessDataBase(Database& db);

// Path text of an element for lists, references and exports. Short 0 puts
// "C485 > " or "ППК > " in front; Kind: 1 zone, 3 output, 4 the device
// itself, 5 SET input, 7 TM input; any other Kind gives an empty text.
std::string FormatElementPath(const Database& db, int Short, int Kind, int Number, const TAdapter* Device);

}  // namespace velkor
