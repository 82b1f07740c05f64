#pragma once
// What the main window holds besides its widgets: the database, the two
// image buffers, the numbering tables, the structure listing and the editor
// state that commands change and the window later shows.

#include "export/export_log.h"
#include "export/prg_sheet.h"
#include "host/host.h"
#include "image/image_map.h"
#include "model/database.h"
#include "model/dialogs.h"
#include "model/registry.h"

namespace velkor {

// The card pages of the right panel.
enum class CardPage {
  None,  // PanelDB hidden
  PPK,
  Rs485,
  Module,
  Adapter,
  Keyboard,
  Group,
  Zone,
  Output,
  SetInput,
  IDReader,
  User,
  Rooms,
};

struct EditorState {
  // Menu items of the database menu.
  bool MenuDBNew = true;
  bool MenuDBLoad = true;
  bool MenuDBRead = true;
  bool MenuDBWrite = false;
  bool MenuDBStore = false;
  bool MenuTXTStore = false;
  bool MenuDBErace = false;

  bool PanelTreeViewVisible = false;  // the tree panel
  bool TabSheetConfActive = true;     // the " Конфигурация ППК " page
  int TreeTabIndex = 0;               // 0 hardware tree, 1 rooms tree

  CardPage ActivePage = CardPage::None;  // the card shown; None hides PanelDB
  bool BitBtnDBDelEnabled = false;

  bool DBChanged = false;
  bool ViewCardEnabled = false;
  Element* CurrentElement = nullptr;
  // The module card's "Фильтрация извещений снятых групп" check box.
  bool BitCheckBoxController = false;
  // 1 while the service mode is off.
  int ProtectionEnabled = 1;
};

struct Workspace {
  explicit Workspace(Variant v = Variant::Current) : variant(v), db(v) {}

  Variant variant;
  Database db;
  EditorState editor;
  ExportLog exportLog;
  PrgSheet prgSheet;  // the keyboard programming sheet of the last build
  ElementRegistry registry;
  ImageArray DBReadArray{};
  ImageArray DBStoreArray{};
  NumberDialogs dialogs;
};

// Creates the default database: panel, base module, keyboard module, RS-485
// node and rooms node. "Невозможно создать новую базу данных" on failure.
bool CreateNewDB(Workspace& ws, Host& host);

// Frees every element and empties both trees and the listing.
// "Невозможно очистить базу данных" on failure.
bool EraceDB(Workspace& ws, Host& host);

// Chooses the card of the selected node of the visible tree (CurrentElement,
// ActivePage, the delete button) and keeps the base module's caption in step.
// Does nothing while ViewCardEnabled is off.
void ProcessViewCard(Workspace& ws);

// How every change of the database ends: DBChanged, ProcessDataBase,
// ProcessViewCard.
void DatabaseChanged(Workspace& ws);

}  // namespace velkor
