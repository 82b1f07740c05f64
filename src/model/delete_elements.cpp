#include "model/edit_commands.h"

namespace velkor {

namespace {

constexpr std::string_view kHasChildren = "Удаление невозможно, существуют подчиненные элементы"_w;
constexpr std::string_view kHasChildrenStop = "Удаление невозможно, существуют подчиненные элементы."_w;

bool Confirm(Host& host, std::string_view text) { return host.Ask(MessageIcon::Warning, kTitleWarning, text); }

template <class T>
void ClearRef(T*& ref, const void* gone) {
  if (ref == gone) ref = nullptr;
}

// Every reference to an output: the panel's, the devices', the zones' and the groups' reactions.
void ClearOutputReferences(Database& db, const TOutput* output) {
  auto visit = [&](Node& n) {
    if (!n.Owned) return;
    if (auto* p = n.As<TPPK>()) {
      ClearRef(p->ReactionPower, output);
      ClearRef(p->ReactionTamper, output);
      ClearRef(p->Reaction220V, output);
      ClearRef(p->ReactionCapture, output);
    } else if (auto* a = n.As<TAdapter>()) {
      ClearRef(a->ReactionPower, output);
      ClearRef(a->ReactionTamper, output);
      ClearRef(a->ReactionConnect, output);
    } else if (auto* z = n.As<TZone>()) {
      ClearRef(z->Reaction1, output);
      ClearRef(z->Reaction2, output);
      ClearRef(z->Reaction3, output);
      ClearRef(z->Reaction4, output);
    } else if (auto* g = n.As<TGroup>()) {
      ClearRef(g->ReactionSet, output);
      ClearRef(g->ReactionOpen, output);
    }
  };
  ForEachNode(db.Hardware, visit);
  ForEachNode(db.Rooms, visit);
}

void ClearKeyboardReferences(Database& db, const TAdapter* keyboard) {
  if (!db.RoomsNode) return;
  for (const auto& child : db.RoomsNode->Children)
    if (TGroup* g = child->As<TGroup>())
      for (auto& slot : g->Keyboards) ClearRef(slot, keyboard);
}

void ClearGroupReferences(Database& db, const TGroup* group) {
  if (!db.RoomsNode) return;
  for (const auto& child : db.RoomsNode->Children)
    if (TUser* u = child->As<TUser>())
      for (auto& slot : u->Groups) ClearRef(slot, group);
}

// Removes the rooms node of a zone or input; the group goes with its last
// member. Returns the group's node when it stays, else null.
Node* RemoveRoomsNode(Database& db, Node& roomsNode) {
  Node* groupNode = roomsNode.Parent;
  DetachNode(db.Rooms, roomsNode);
  if (groupNode && groupNode->Children.empty()) {
    ClearGroupReferences(db, groupNode->As<TGroup>());
    DetachNode(db.Rooms, *groupNode);
    return nullptr;
  }
  return groupNode;
}

// The node that shows the same element in the other tree.
Node* Counterpart(const Tree& tree, const Node& node) {
  return node.Data ? FindNodeOf(tree, ElementObject(*node.Data)) : nullptr;
}

void Finish(Workspace& ws) {
  ws.editor.ViewCardEnabled = true;
  DatabaseChanged(ws);
}

// Frees a zone or input with its hardware node and ends the change; a
// selection that went with it falls back to the device and the rooms node.
void RemoveHardwareNode(Workspace& ws, Node& hardware) {
  Database& db = ws.db;
  Node* device = hardware.Parent;
  DetachNode(db.Hardware, hardware);
  if (!db.Hardware.Selected) db.Hardware.Selected = device;
  if (!db.Rooms.Selected) db.Rooms.Selected = db.RoomsNode;
  Finish(ws);
}

bool DeleteDevice(Workspace& ws, Host& host) {
  Database& db = ws.db;
  Node* node = db.Hardware.Selected;
  TAdapter* a = node ? node->As<TAdapter>() : nullptr;
  if (ws.editor.TreeTabIndex != 0 || !a || node == db.BaseModuleNode) return false;
  if (!node->Children.empty()) {
    ShowWarning(host, kHasChildren);
    return false;
  }
  std::string_view question = "Удалить указанный адаптер?"_w;
  if (a->Placement == 0)
    question = "Удалить указанный модуль?"_w;
  else if (a->DeviceType == 2 || a->DeviceType == 3 || a->DeviceType == 9)
    question = "Удалить указанную клавиатуру?"_w;
  if (!Confirm(host, question)) return false;
  ws.editor.ViewCardEnabled = false;
  if (a->IsKeyboard == 1) ClearKeyboardReferences(db, a);
  if (node == db.KeyboardModuleNode) db.KeyboardModuleNode = nullptr;
  DetachNode(db.Hardware, *node);
  db.Hardware.Selected = db.PanelNode;
  Finish(ws);
  return true;
}

// Finds the hardware and rooms nodes of a zone, SET or TM input from the
// visible tree's selection.
template <class T>
bool FindBothNodes(Workspace& ws, Node*& hardware, Node*& rooms) {
  Database& db = ws.db;
  hardware = rooms = nullptr;
  if (ws.editor.TreeTabIndex == 0) {
    hardware = db.Hardware.Selected;
    if (!hardware || !hardware->As<T>()) return false;
    rooms = Counterpart(db.Rooms, *hardware);
  } else {
    rooms = db.Rooms.Selected;
    if (!rooms || !rooms->As<T>()) return false;
    hardware = Counterpart(db.Hardware, *rooms);
  }
  return hardware && hardware->Parent && hardware->Parent->As<TAdapter>();
}

bool DeleteZoneOrSetInput(Workspace& ws, Host& host, bool zone) {
  Database& db = ws.db;
  if (db.Hardware.Empty() || db.Rooms.Empty()) return false;
  Node* hardware = nullptr;
  Node* rooms = nullptr;
  const bool found = zone ? FindBothNodes<TZone>(ws, hardware, rooms) : FindBothNodes<TSetInput>(ws, hardware, rooms);
  if (!found || !rooms || !rooms->Parent || !rooms->Parent->As<TGroup>()) return false;
  if (!hardware->Children.empty() || !rooms->Children.empty()) {
    ShowWarning(host, kHasChildrenStop);
    return false;
  }
  if (!Confirm(host, zone ? "Удалить шлейф?"_w : "Удалить вход SET?"_w)) return false;
  ws.editor.ViewCardEnabled = false;
  Node* groupNode = RemoveRoomsNode(db, *rooms);
  if (zone)
    db.Rooms.Selected = groupNode ? groupNode : db.RoomsNode;
  else if (groupNode && ws.editor.TreeTabIndex == 1)
    db.Rooms.Selected = groupNode;
  RemoveHardwareNode(ws, *hardware);
  return true;
}

bool DeleteReader(Workspace& ws, Host& host) {
  Database& db = ws.db;
  Node* hardware = nullptr;
  Node* rooms = nullptr;
  if (ws.editor.TreeTabIndex == 0) {
    if (db.Hardware.Empty()) return false;
    hardware = db.Hardware.Selected;
    TIDReader* r = hardware ? hardware->As<TIDReader>() : nullptr;
    if (!r) return false;
    if (r->Group) {
      if (db.Rooms.Empty()) return false;
      rooms = Counterpart(db.Rooms, *hardware);
    }
  } else {
    if (db.Rooms.Empty() || db.Hardware.Empty()) return false;
    rooms = db.Rooms.Selected;
    if (!rooms || !rooms->As<TIDReader>()) return false;
    hardware = Counterpart(db.Hardware, *rooms);
  }
  if (!hardware || !hardware->Parent || !hardware->Parent->As<TAdapter>()) return false;
  if (!hardware->Children.empty() || (rooms && !rooms->Children.empty())) {
    ShowWarning(host, kHasChildrenStop);
    return false;
  }
  if (!Confirm(host, "Удалить ТМ вход?"_w)) return false;
  ws.editor.ViewCardEnabled = false;
  if (rooms) {
    Node* groupNode = RemoveRoomsNode(db, *rooms);
    if (groupNode && ws.editor.TreeTabIndex == 1) db.Rooms.Selected = groupNode;
  }
  RemoveHardwareNode(ws, *hardware);
  return true;
}

bool DeleteOutput(Workspace& ws, Host& host) {
  Database& db = ws.db;
  Node* node = db.Hardware.Selected;
  TOutput* output = node ? node->As<TOutput>() : nullptr;
  if (ws.editor.TreeTabIndex != 0 || !output) return false;
  if (!node->Children.empty()) {
    ShowWarning(host, kHasChildren);
    return false;
  }
  if (!Confirm(host, "Удалить управляемый выход?"_w)) return false;
  ws.editor.ViewCardEnabled = false;
  ClearOutputReferences(db, output);
  Node* device = node->Parent;
  DetachNode(db.Hardware, *node);
  db.Hardware.Selected = device;
  Finish(ws);
  return true;
}

bool DeleteUser(Workspace& ws, Host& host) {
  Database& db = ws.db;
  Node* node = db.Rooms.Selected;
  TUser* user = node ? node->As<TUser>() : nullptr;
  if (ws.editor.TreeTabIndex != 1 || !db.RoomsNode || db.RoomsNode->Children.empty() || !user) return false;
  if (!node->Children.empty()) {
    ShowWarning(host, kHasChildren);
    return false;
  }
  if (!Confirm(host, user->Number == 1 ? "Удалить администратора?"_w : "Удалить указанного пользователя?"_w))
    return false;
  ws.editor.ViewCardEnabled = false;
  DetachNode(db.Rooms, *node);
  db.Rooms.Selected = db.RoomsNode;
  Finish(ws);
  return true;
}

}  // namespace

bool BitBtnDBDelEvent(Workspace& ws, Host& host) {
  switch (ws.editor.ActivePage) {
    case CardPage::Module:
    case CardPage::Adapter:
    case CardPage::Keyboard: return DeleteDevice(ws, host);
    case CardPage::Zone: return DeleteZoneOrSetInput(ws, host, true);
    case CardPage::SetInput: return DeleteZoneOrSetInput(ws, host, false);
    case CardPage::IDReader: return DeleteReader(ws, host);
    case CardPage::Output: return DeleteOutput(ws, host);
    case CardPage::User: return DeleteUser(ws, host);
    default: return false;
  }
}

}  // namespace velkor
