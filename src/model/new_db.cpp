#include "model/captions.h"
#include "model/catalogues.h"
#include "model/workspace.h"

namespace velkor {

namespace {

void SetDatabaseMenus(EditorState& e, bool open) {
  e.MenuDBNew = !open;
  e.MenuDBLoad = !open;
  e.MenuDBRead = !open;
  e.MenuDBStore = open;
  e.MenuTXTStore = open;
  e.MenuDBWrite = open;
  e.MenuDBErace = open;
}

}  // namespace

bool CreateNewDB(Workspace& ws, Host& host) {
  Database& db = ws.db;
  const Catalogues& cat = CataloguesFor(ws.variant);
  try {
    ws.editor.PanelTreeViewVisible = true;
    ws.editor.TabSheetConfActive = true;

    Node& panel = AddNode(db.Hardware, nullptr, std::string(kPanelCaption), MakeElement<TPPK>(ws.variant));
    db.PanelNode = &panel;
    db.BaseModuleNode = &AddNode(db.Hardware, &panel, std::string(CatalogueLabel(cat.Modules, 0)),
                                 MakeElement<TAdapter>(0, 0, ws.variant));
    db.KeyboardModuleNode = &AddNode(db.Hardware, &panel, std::string(CatalogueLabel(cat.Modules, 1)),
                                     MakeElement<TAdapter>(0, 1, ws.variant));
    db.Rs485Node = &AddNode(db.Hardware, &panel, std::string(CatalogueLabel(cat.Modules, 5)), nullptr);
    db.Hardware.Selected = &panel;
    SortTree(db.Hardware);
    ForEachNode(db.Hardware, [](Node& n) { n.Expanded = true; });

    db.RoomsNode = &AddNode(db.Rooms, nullptr, std::string(kRoomsCaption), nullptr);
    db.Rooms.Selected = db.RoomsNode;

    SetDatabaseMenus(ws.editor, true);
    return true;
  } catch (const std::exception&) {
    ShowError(host, "Невозможно создать новую базу данных"_w);
    return false;
  }
}

bool EraceDB(Workspace& ws, Host& host) {
  Database& db = ws.db;
  try {
    // Zones and inputs are owned by their hardware nodes: the rooms tree goes
    // first so that nothing points at a freed element meanwhile.
    db.RoomsNode = nullptr;
    db.Rooms.Clear();
    db.PanelNode = db.BaseModuleNode = db.KeyboardModuleNode = db.Rs485Node = nullptr;
    db.Hardware.Clear();
    ws.editor.CurrentElement = nullptr;
    ExportLogClear(ws.exportLog);
    SetDatabaseMenus(ws.editor, false);
    ws.editor.PanelTreeViewVisible = false;
    ProcessDataBase(db);
    return true;
  } catch (const std::exception&) {
    ShowError(host, "Невозможно очистить базу данных"_w);
    return false;
  }
}

}  // namespace velkor
