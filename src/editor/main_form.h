#pragma once
// TMainForm: the whole program as the user sees it. It owns the workspace
// (the core's database, image buffers, listing and editor state) and the
// serial port, shows them, and runs every menu command on the main thread.

#include <QMainWindow>
#include <QStringList>
#include <array>

#include "link/com_port.h"
#include "link/transfers.h"
#include "model/workspace.h"

class QAction;
class QApplication;
class QCheckBox;
class QShortcut;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTabWidget;
class QTableView;
class QPrinter;

namespace velkor::editor {

class DBTreeView;
class MemoryGridModel;
class NodeTreeModel;
class QtHost;

// The application's title, style, fonts and Russian standard buttons.
void InitApplication(QApplication& app);

// "Программа конфигурирования ППК \"Ворсан\"".
QString ProgramTitle();
// A path of more than 24 characters as "..." and its last 21.
QString ShortFileName(const QString& path);

class MainForm : public QMainWindow {
  Q_OBJECT
 public:
  // arguments: the command line without the program name.
  MainForm(QtHost& host, const QStringList& arguments, QWidget* parent = nullptr);
  ~MainForm() override;

  Workspace& Ws() { return ws_; }
  FRout& Port() { return port_; }
  const TextImageArray& TextImage() const { return textImage_; }
  NodeTreeModel& HardwareModel() { return *hardwareModel_; }
  NodeTreeModel& RoomsModel() { return *roomsModel_; }

  // ProcessViewCard: shows the card of the selected node of the visible tree.
  void ProcessViewCard();
  // ProtectionRefresh: applies the service-mode flag.
  void ProtectionRefresh();
  // Prints the listing on a printer already set up; `selectionOnly` prints
  // the selected lines only. False when the printer failed.
  bool PrintListing(QPrinter& printer, bool selectionOnly);
  // "Читать ТМ / RFID" of the user card: the port check, then the
  // identifier window; true with the value read when it ended with OK.
  bool ReadIdentifier(std::string& value);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu();
  void BuildShortcuts();
  void UpdatePortKeys();
  QWidget* BuildConfTab();
  QWidget* BuildSettingsTab();
  QWidget* BuildListingTab();
  QWidget* BuildMemoryTab();

  // The menu commands.
  void MenuDBNew();
  void MenuDBLoad();
  void MenuDBReadDB();
  void MenuDBReadHex();
  void MenuDBWriteDB();
  void MenuDBWriteHex();
  void MenuDBStore();
  void MenuTXTStore();
  void MenuDBErace();
  void MenuHelpAbout();

  // Around a command that rebuilds the trees.
  void BeginRebuild();
  void EndRebuild();
  // Common ending of the commands: caption, ViewCardEnabled, DBChanged,
  // ProcessDataBase, ProcessViewCard.
  void FinishCommand(const QString& caption, bool changed);
  void Say(std::string_view cp1251);
  void RefreshMenus();
  void RefreshListing();
  void SetBusy(bool busy);
  // The four settings check boxes as the builder reads them.
  void SetSettingsEnabled(bool enabled);
  // The port check of the panel commands.
  bool PortOpen();
  // "Building an image with exports"; `askNames` shows the save dialog.
  bool BuildImage(bool askNames);
  // Shows the exchange window for a transfer; the ExchangeResult.
  int RunExchange(int mode);

  // Trees and cards.
  void TreeSelectionChanged(DBTreeView* tree);
  void TreeDoubleClicked(DBTreeView* tree);
  void TreeExpanded(DBTreeView* tree, const QModelIndex& index);
  void RestoreTreeView(DBTreeView* tree);

  // The port group of the settings tab.
  void SetPortLabel(const QString& text, const QColor& color);
  void BitBtnSetCommChangeClick();
  void SpeedButtonSetCommClick(int number);
  void BitBtnSetCommCancelClick();
  bool FoundCommPort();
  // The eight port buttons are shown (the Choosing state).
  bool PortChoosing() const;

  // Adding and deleting elements (edit_buttons.cpp): the add buttons of the
  // cards, the resource blocks and "Удалить".
  void BuildEditButtons();
  void ShowEditButtons();
  void RunEditCommand(bool (*command)(Workspace&, Host&));
  struct ResourceBlock {
    std::array<QPushButton*, 4> Add{};
    std::array<QLabel*, 4> Total{}, Used{};
  };
  ResourceBlock BuildResourceBlock(QWidget* page, const char* prefix);
  void ShowResourceBlock(const ResourceBlock& block);
  ResourceBlock moduleResources_, adapterResources_;

  // The listing and the memory view.
  void BitBtnOutLogPrnClick();
  void BitBtnShowArraysClick();
  void StringGridSelectCell(const QModelIndex& index);

  QtHost& host_;
  Workspace ws_;
  FRout port_;

  QTabWidget* mainPageControl_ = nullptr;
  QWidget* tabSheetConf_ = nullptr;
  QWidget* tabSheetSet_ = nullptr;
  QWidget* tabSheetExportLog_ = nullptr;
  QWidget* tabSheetDBArrays_ = nullptr;

  QAction* menuDBNew_ = nullptr;
  QAction* menuDBLoad_ = nullptr;
  QMenu* menuDBRead_ = nullptr;
  QAction* menuDBReadDB_ = nullptr;
  QAction* menuDBReadHex_ = nullptr;
  QMenu* menuDBWrite_ = nullptr;
  QAction* menuDBWriteDB_ = nullptr;
  QAction* menuDBWriteHex_ = nullptr;
  QAction* menuDBStore_ = nullptr;
  QAction* menuTXTStore_ = nullptr;
  QAction* menuDBErace_ = nullptr;
  QAction* menuDBExit_ = nullptr;
  QAction* menuHelpAbout_ = nullptr;

  QWidget* panelTreeView_ = nullptr;
  DBTreeView* ppkTreeView_ = nullptr;
  DBTreeView* groupTreeView_ = nullptr;
  NodeTreeModel* hardwareModel_ = nullptr;
  NodeTreeModel* roomsModel_ = nullptr;
  QTabBar* tabSetTree_ = nullptr;
  QWidget* panelDB_ = nullptr;
  QStackedWidget* pageControlDB_ = nullptr;
  QPushButton* bitBtnDBDel_ = nullptr;
  struct Pages {
    QWidget *PPK, *R485, *Controller, *Adapter, *Keyboard, *Group, *Zone, *Output, *SetInput, *IDReader, *User,
        *Rooms;
  } pages_{};
  bool restoringTree_ = false;
  bool busy_ = false;  // a conversion runs

  QLabel* labelSetCurrentComPort_ = nullptr;
  QWidget* panelSetCommNumbers_ = nullptr;
  std::array<QPushButton*, 8> speedButtonSetComm_{};
  std::array<QShortcut*, 8> portKeys_{};
  QPushButton* bitBtnSetCommChange_ = nullptr;
  QPushButton* bitBtnSetCommCancel_ = nullptr;
  QCheckBox* checkLogExport_ = nullptr;
  QCheckBox* checkIniExport_ = nullptr;
  QCheckBox* checkPrgExport_ = nullptr;
  QCheckBox* checkFullConvert_ = nullptr;

  QListWidget* listViewExportLog_ = nullptr;

  QTableView* stringGrid_ = nullptr;
  MemoryGridModel* gridModel_ = nullptr;
  QLabel* labelGridPosition_ = nullptr;
  QLabel* labelBasePosition_ = nullptr;

  // Names of the export files of the last build that asked for them.
  QString romFileName_, iniFileName_, logFileName_, prgFileName_;
  // The display texts of the last text build.
  TextImageArray textImage_{};
};

}  // namespace velkor::editor
