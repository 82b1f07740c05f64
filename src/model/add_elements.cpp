#include <string>

#include "model/captions.h"
#include "model/catalogues.h"
#include "model/edit_commands.h"

namespace velkor {

namespace {

constexpr int kMaxZones = 128;
constexpr int kMaxOutputs = 64;
constexpr int kMaxSetInputs = 32;
constexpr int kMaxKeyboards = 32;
constexpr int kMaxReaders = 32;

void ShowLimit(Host& host, std::string_view text, int limit) {
  ShowError(host, std::string(text) + std::to_string(limit));
}

// The five capacity checks of a new module or device; every check is made.
bool CapacitiesFit(const Database& db, const TAdapter& a, Host& host) {
  bool ok = true;
  if (db.TotalZones + a.ZonesTotal > kMaxZones) {
    ShowLimit(host, "Количество шлейфов не должно превышать "_w, kMaxZones);
    ok = false;
  }
  if (db.TotalOutputs + a.OutputsTotal > kMaxOutputs) {
    ShowLimit(host, "Количество управляемых выходов не должно превышать "_w, kMaxOutputs);
    ok = false;
  }
  if (db.TotalSetInputs + a.SetInputsTotal > kMaxSetInputs) {
    ShowLimit(host, "Количество входов SET не должно превышать "_w, kMaxSetInputs);
    ok = false;
  }
  if (a.IsKeyboard == 1 && db.KeyboardCount + 1 > kMaxKeyboards) {
    ShowLimit(host, "Количество клавиатур не должно превышать "_w, kMaxKeyboards);
    ok = false;
  }
  if (db.TotalReaders + a.ReadersTotal > kMaxReaders) {
    ShowLimit(host, "Количество ТМ считывателей не должно превышать "_w, kMaxReaders);
    ok = false;
  }
  return ok;
}

Node* FindGroupNode(const Database& db, long number) {
  if (!db.RoomsNode) return nullptr;
  for (const auto& child : db.RoomsNode->Children)
    if (const TGroup* g = child->As<TGroup>(); g && g->Number == number) return child.get();
  return nullptr;
}

Node& MakeGroupNode(Database& db, byte number) {
  auto element = MakeElement<TGroup>();
  std::get<TGroup>(*element).Number = number;
  std::string caption = RoomsCaption(*element);
  return AddNode(db.Rooms, db.RoomsNode, std::move(caption), std::move(element));
}

// The device whose card asked for the new element.
Node* SelectedDeviceNode(const Workspace& ws) {
  Node* node = ws.db.Hardware.Selected;
  return node && node->As<TAdapter>() ? node : nullptr;
}

template <class T, class Pred>
bool AnyChild(const Node& parent, Pred pred) {
  for (const auto& c : parent.Children)
    if (const T* e = c->As<T>(); e && pred(*e)) return true;
  return false;
}

long NumberOr(const DialogEdit& edit, long fallback) { return DialogNumber(edit.Text).value_or(fallback); }

// Hangs a new child under its device and, with a group, under the group as
// well; sorts what changed and ends the command as every change ends.
void PlaceChild(Workspace& ws, Node& deviceNode, Node* groupNode, std::unique_ptr<Element> element) {
  Database& db = ws.db;
  std::string caption = HardwareCaption(ws.variant, *element);
  Node& hw = AddNode(db.Hardware, &deviceNode, std::move(caption), std::move(element));
  SortChildren(db.Hardware, &deviceNode);
  if (groupNode) {
    AddMirrorNode(db.Rooms, groupNode, RoomsCaption(*hw.Data), hw.Data);
    SortChildren(db.Rooms, groupNode);
    SortChildren(db.Rooms, db.RoomsNode);
  }
  deviceNode.Expanded = true;
  DatabaseChanged(ws);
}

}  // namespace

bool BitBtnPPKAddModuleClick(Workspace& ws, Host& host) {
  Database& db = ws.db;
  if (!db.PanelNode) return false;
  const bool relayModule = AnyChild<TAdapter>(*db.PanelNode, [](const TAdapter& a) {
    return a.Placement == 0 && a.DeviceType >= 2 && a.DeviceType <= 4;
  });
  if (db.KeyboardModuleNode && relayModule) {
    ShowWarning(host, std::string("В ППК отсутствует возможность дальнейшего добавления модулей."_w) + "\r" +
                          std::string("Перед добавлением нового модуля необходимо удалить"_w) + "\r" +
                          std::string("один из существующих."_w));
    return false;
  }
  if (!host.ShowNumberDialog(NumberDialogKind::Controller, ws.dialogs)) return false;

  const Catalogues& cat = CataloguesFor(ws.variant);
  const int item = ws.dialogs.ControllerItem;
  if (item < 0 || item >= static_cast<int>(cat.AddModuleCodes.size())) {
    ShowError(host, "Неизвестный тип модуля"_w);
    return false;
  }
  const byte code = cat.AddModuleCodes[static_cast<std::size_t>(item)];
  auto element = MakeElement<TAdapter>(0, code, ws.variant);
  std::string caption(CatalogueLabel(cat.Modules, code));
  if (code == 1 || code == 6) {
    if (db.KeyboardModuleNode) return false;
    db.KeyboardModuleNode = &AddNode(db.Hardware, db.PanelNode, std::move(caption), std::move(element));
  } else {
    Node& node = AddNode(db.Hardware, db.PanelNode, std::move(caption), std::move(element));
    if (!CapacitiesFit(db, *node.As<TAdapter>(), host)) {
      DetachNode(db.Hardware, node);
      return false;
    }
  }
  db.PanelNode->Expanded = true;
  SortTree(db.Hardware);
  DatabaseChanged(ws);
  return true;
}

bool BitBtn485AddClick(Workspace& ws, Host& host) {
  Database& db = ws.db;
  const TPPK* panel = db.Panel();
  if (!panel || !db.Rs485Node || db.Hardware.Selected != db.Rs485Node) return false;
  NumberDialogs& d = ws.dialogs;
  d.EditSaNumber = {};
  d.AdapterTypeEnabled = true;

  if (panel->Protocol == 6) {
    if (!host.ShowNumberDialog(NumberDialogKind::Adapter, d)) return false;
    if (!db.Rs485Node->Children.empty()) {
      ShowWarning(host, "В протоколе \"Лирата\" разрешена только одна клавиатура"_w);
      return false;
    }
    if (d.AdapterType != 2 && d.AdapterType != 3) {
      ShowWarning(host, "В протоколе \"Лирата\" этот адаптер запрещен"_w);
      return false;
    }
  } else {
    for (;;) {
      if (!host.ShowNumberDialog(NumberDialogKind::Adapter, d)) return false;
      const long address = NumberOr(d.EditSaNumber, -1);
      if (!AnyChild<TAdapter>(*db.Rs485Node, [&](const TAdapter& a) { return a.NetNumber == address; })) break;
      ShowWarning(host, "Адаптер с указанным номером уже существует"_w);
    }
  }

  const auto address = static_cast<byte>(NumberOr(d.EditSaNumber, 0));
  const auto type = static_cast<byte>(d.AdapterType);
  auto element = MakeElement<TAdapter>(1, type, ws.variant);
  std::get<TAdapter>(*element).NetNumber = address;
  std::string caption = HardwareCaption(ws.variant, *element);
  Node& node = AddNode(db.Hardware, db.Rs485Node, std::move(caption), std::move(element));
  bool ok = CapacitiesFit(db, *node.As<TAdapter>(), host);
  if (db.BusDeviceCount + 1 >= 32) {
    ShowError(host, "Количество адаптеров в сети 485 не должно превышать 31"_w);
    ok = false;
  }
  if (!ok) {
    DetachNode(db.Hardware, node);
    return false;
  }
  SortChildren(db.Hardware, db.Rs485Node);
  db.Rs485Node->Expanded = true;
  DatabaseChanged(ws);
  return true;
}

bool BitBtnAdapterAddZoneClick(Workspace& ws, Host& host) {
  Database& db = ws.db;
  Node* deviceNode = SelectedDeviceNode(ws);
  if (!deviceNode || !db.RoomsNode) return false;
  TAdapter& device = *deviceNode->As<TAdapter>();
  NumberDialogs& d = ws.dialogs;
  d.EditZoneNumber = {};
  d.EditZoneGroupNumber = {};
  d.EditZoneInGroupNumber = {};

  for (;;) {
    const bool withDialog = device.ZonesTotal > 1;
    if (withDialog && !host.ShowNumberDialog(NumberDialogKind::Zone, d)) return false;
    const long n = withDialog ? NumberOr(d.EditZoneNumber, 0) : 1;
    const long g = NumberOr(d.EditZoneGroupNumber, 0);
    const auto k = DialogNumber(d.EditZoneInGroupNumber.Text);
    if (!k || *k < 0 || *k > 255) {
      // The dialog leaves this field to us; a number that no zone can carry ends the command.
      ShowError(host, "Неправильное значение в поле номера шлейфа в группе"_w);
      return false;
    }
    bool failed = false;
    if (n > device.ZonesTotal) {
      ShowWarning(host, std::string("Номер шлейфа не может превышать  "_w) + std::to_string(device.ZonesTotal));
      failed = true;
    }
    if (!failed && AnyChild<TZone>(*deviceNode, [&](const TZone& z) { return z.NumberInAdapter == n; })) {
      ShowWarning(host, "Указанный шлейф уже задействован"_w);
      failed = true;
    }
    Node* groupNode = FindGroupNode(db, g);
    if (groupNode && AnyChild<TZone>(*groupNode, [&](const TZone& z) { return z.NumberInGroup == *k; })) {
      ShowWarning(host, "Указанный номер шлейфа в группе уже задействован"_w);
      failed = true;
    }
    if (failed) {
      if (!withDialog) return false;
      continue;
    }

    if (!groupNode) groupNode = &MakeGroupNode(db, static_cast<byte>(g));
    auto element = MakeElement<TZone>();
    auto& zone = std::get<TZone>(*element);
    zone.Group = groupNode->As<TGroup>();
    zone.Adapter = &device;
    zone.NumberInAdapter = static_cast<byte>(n);
    zone.NumberInGroup = static_cast<byte>(*k);
    PlaceChild(ws, *deviceNode, groupNode, std::move(element));
    return true;
  }
}

bool BitBtnAdapterOutputAddClick(Workspace& ws, Host& host) {
  Node* deviceNode = SelectedDeviceNode(ws);
  if (!deviceNode) return false;
  TAdapter& device = *deviceNode->As<TAdapter>();
  NumberDialogs& d = ws.dialogs;
  d.EditOutputNumber = {};

  for (;;) {
    const bool withDialog = device.OutputsTotal > 1;
    if (withDialog && !host.ShowNumberDialog(NumberDialogKind::Output, d)) return false;
    const long n = withDialog ? NumberOr(d.EditOutputNumber, 0) : 1;
    bool failed = false;
    if (n > device.OutputsTotal) {
      ShowWarning(host, std::string("Номер управляемого выхода не может превышать  "_w) +
                            std::to_string(device.OutputsTotal));
      failed = true;
    }
    if (!failed && AnyChild<TOutput>(*deviceNode, [&](const TOutput& o) { return o.Number == n; })) {
      ShowWarning(host, "Указанный управляемый выход уже задействован"_w);
      failed = true;
    }
    if (failed) {
      if (!withDialog) return false;
      continue;
    }
    auto element = MakeElement<TOutput>();
    auto& output = std::get<TOutput>(*element);
    output.Adapter = &device;
    output.Number = static_cast<byte>(n);
    PlaceChild(ws, *deviceNode, nullptr, std::move(element));
    return true;
  }
}

bool BitBtnAdapterSetInputAddClick(Workspace& ws, Host& host) {
  Database& db = ws.db;
  Node* deviceNode = SelectedDeviceNode(ws);
  if (!deviceNode || !db.RoomsNode) return false;
  TAdapter& device = *deviceNode->As<TAdapter>();
  NumberDialogs& d = ws.dialogs;
  d.EditSetInputGroupNumber = {};

  for (;;) {
    if (device.SetInputsTotal < 2)
      d.EditSetInputNumber = {"1", false};
    else
      d.EditSetInputNumber = {"", true};
    if (!host.ShowNumberDialog(NumberDialogKind::SetInput, d)) return false;
    const long n = NumberOr(d.EditSetInputNumber, 0);
    const long g = NumberOr(d.EditSetInputGroupNumber, 0);
    bool failed = false;
    if (n > device.SetInputsTotal) {
      ShowWarning(host, std::string("Номер входа SET не может превышать  "_w) +
                            std::to_string(device.SetInputsTotal));
      failed = true;
    }
    if (!failed && AnyChild<TSetInput>(*deviceNode, [&](const TSetInput& s) { return s.Number == n; })) {
      ShowWarning(host, "Указанный вход SET уже задействован"_w);
      failed = true;
    }
    Node* groupNode = FindGroupNode(db, g);
    if (groupNode && groupNode->As<TGroup>()->SetInputsCount > 0) {
      ShowWarning(host, "Указанная группа уже содержит устройство SET"_w);
      failed = true;
    }
    if (failed) continue;

    if (!groupNode) groupNode = &MakeGroupNode(db, static_cast<byte>(g));
    auto element = MakeElement<TSetInput>();
    auto& input = std::get<TSetInput>(*element);
    input.Group = groupNode->As<TGroup>();
    input.Adapter = &device;
    input.Number = static_cast<byte>(n);
    PlaceChild(ws, *deviceNode, groupNode, std::move(element));
    return true;
  }
}

bool BitBtnAdapterReaderAddClick(Workspace& ws, Host& host) {
  Database& db = ws.db;
  Node* deviceNode = SelectedDeviceNode(ws);
  if (!deviceNode || !db.RoomsNode) return false;
  TAdapter& device = *deviceNode->As<TAdapter>();
  NumberDialogs& d = ws.dialogs;

  const bool withGroup = host.Ask(MessageIcon::Question, "Принадлежность входа TM к группе"_w,
                                  "Данный вход будет принадлежать одной группе?"_w);
  d.IDReaderGroupCheck = withGroup;
  d.EditIDReaderGroupNumber = {"", withGroup};

  for (;;) {
    if (device.ReadersTotal < 2)
      d.EditIDReaderNumber = {"1", false};
    else
      d.EditIDReaderNumber = {"", true};
    const bool withDialog = device.ReadersTotal > 1 || withGroup;
    if (withDialog && !host.ShowNumberDialog(NumberDialogKind::IDReader, d)) return false;
    const long n = withDialog ? NumberOr(d.EditIDReaderNumber, 0) : 1;
    const long g = NumberOr(d.EditIDReaderGroupNumber, 0);
    bool failed = false;
    if (n > device.ReadersTotal) {
      ShowWarning(host,
                  std::string("Номер ТМ входа не может превышать  "_w) + std::to_string(device.ReadersTotal));
      failed = true;
    }
    if (!failed && AnyChild<TIDReader>(*deviceNode, [&](const TIDReader& r) { return r.Number == n; })) {
      ShowWarning(host, "Указанный ТМ вход уже задействован"_w);
      failed = true;
    }
    Node* groupNode = withGroup ? FindGroupNode(db, g) : nullptr;
    if (groupNode && groupNode->As<TGroup>()->ReadersCount > 0) {
      ShowWarning(host, "Указанная группа уже содержит ТМ считыватель"_w);
      failed = true;
    }
    if (failed) {
      if (!withDialog) return false;
      continue;
    }

    if (withGroup && !groupNode) groupNode = &MakeGroupNode(db, static_cast<byte>(g));
    auto element = MakeElement<TIDReader>();
    auto& reader = std::get<TIDReader>(*element);
    reader.Adapter = &device;
    reader.Number = static_cast<byte>(n);
    reader.Group = groupNode ? groupNode->As<TGroup>() : nullptr;
    PlaceChild(ws, *deviceNode, groupNode, std::move(element));
    return true;
  }
}

bool BitBtnUsersListAddClick(Workspace& ws, Host& host) {
  Database& db = ws.db;
  if (!db.RoomsNode || ws.editor.TreeTabIndex != 1) return false;
  NumberDialogs& d = ws.dialogs;
  d.EditUserNumber = {};
  for (;;) {
    if (!host.ShowNumberDialog(NumberDialogKind::User, d)) return false;
    const long number = NumberOr(d.EditUserNumber, 0);
    if (AnyChild<TUser>(*db.RoomsNode, [&](const TUser& u) { return u.Number == number; })) {
      ShowWarning(host, "Указанный номер пользователя уже задействован"_w);
      continue;
    }
    auto element = MakeElement<TUser>();
    std::get<TUser>(*element).Number = static_cast<byte>(number);
    std::string caption = RoomsCaption(*element);
    AddNode(db.Rooms, db.RoomsNode, std::move(caption), std::move(element));
    db.RoomsNode->Expanded = true;
    SortChildren(db.Rooms, db.RoomsNode);
    DatabaseChanged(ws);
    return true;
  }
}

}  // namespace velkor
