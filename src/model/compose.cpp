#include "model/compose.h"

#include <stdexcept>

#include "model/captions.h"

namespace velkor {

namespace {

TAdapter& DeviceOf(Node& node) {
  TAdapter* a = node.As<TAdapter>();
  if (!a) throw std::logic_error("node carries no device");
  return *a;
}

TGroup& GroupOf(Node& node) {
  TGroup* g = node.As<TGroup>();
  if (!g) throw std::logic_error("node carries no group");
  return *g;
}

Node& AddChild(Database& db, Node& parent, std::unique_ptr<Element> element) {
  std::string caption = HardwareCaption(db.variant, *element);
  Node& node = AddNode(db.Hardware, &parent, std::move(caption), std::move(element));
  SortChildren(db.Hardware, &parent);
  return node;
}

void Mirror(Database& db, Node& group, Node& hardware) {
  AddMirrorNode(db.Rooms, &group, RoomsCaption(*hardware.Data), hardware.Data);
  SortChildren(db.Rooms, &group);
}

}  // namespace

Node& AddModuleNode(Database& db, byte type) {
  auto element = MakeElement<TAdapter>(0, type, db.variant);
  std::string caption = HardwareCaption(db.variant, *element);
  Node& node = AddNode(db.Hardware, db.PanelNode, std::move(caption), std::move(element));
  if (type == 1 || type == 6) db.KeyboardModuleNode = &node;
  SortChildren(db.Hardware, db.PanelNode);
  return node;
}

Node& AddBusDeviceNode(Database& db, byte type, byte netNumber) {
  auto element = MakeElement<TAdapter>(1, type, db.variant);
  std::get<TAdapter>(*element).NetNumber = netNumber;
  return AddChild(db, *db.Rs485Node, std::move(element));
}

Node& GroupNode(Database& db, byte number) {
  for (const auto& child : db.RoomsNode->Children)
    if (const TGroup* g = child->As<TGroup>(); g && g->Number == number) return *child;
  auto element = MakeElement<TGroup>();
  std::get<TGroup>(*element).Number = number;
  std::string caption = RoomsCaption(*element);
  Node& node = AddNode(db.Rooms, db.RoomsNode, std::move(caption), std::move(element));
  SortChildren(db.Rooms, db.RoomsNode);
  return node;
}

Node& AddUserNode(Database& db, byte number) {
  auto element = MakeElement<TUser>();
  std::get<TUser>(*element).Number = number;
  std::string caption = RoomsCaption(*element);
  Node& node = AddNode(db.Rooms, db.RoomsNode, std::move(caption), std::move(element));
  SortChildren(db.Rooms, db.RoomsNode);
  return node;
}

Node& AddZoneNode(Database& db, Node& device, byte numberInAdapter, Node& group, byte numberInGroup) {
  auto element = MakeElement<TZone>();
  auto& z = std::get<TZone>(*element);
  z.Adapter = &DeviceOf(device);
  z.Group = &GroupOf(group);
  z.NumberInAdapter = numberInAdapter;
  z.NumberInGroup = numberInGroup;
  Node& node = AddChild(db, device, std::move(element));
  Mirror(db, group, node);
  return node;
}

Node& AddOutputNode(Database& db, Node& device, byte number) {
  auto element = MakeElement<TOutput>();
  auto& o = std::get<TOutput>(*element);
  o.Adapter = &DeviceOf(device);
  o.Number = number;
  return AddChild(db, device, std::move(element));
}

Node& AddSetInputNode(Database& db, Node& device, byte number, Node& group) {
  auto element = MakeElement<TSetInput>();
  auto& s = std::get<TSetInput>(*element);
  s.Adapter = &DeviceOf(device);
  s.Group = &GroupOf(group);
  s.Number = number;
  Node& node = AddChild(db, device, std::move(element));
  Mirror(db, group, node);
  return node;
}

Node& AddIDReaderNode(Database& db, Node& device, byte number, Node* group) {
  auto element = MakeElement<TIDReader>();
  auto& r = std::get<TIDReader>(*element);
  r.Adapter = &DeviceOf(device);
  r.Group = group ? &GroupOf(*group) : nullptr;
  r.Number = number;
  Node& node = AddChild(db, device, std::move(element));
  if (group) Mirror(db, *group, node);
  return node;
}

}  // namespace velkor
