#include "main_form.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStackedLayout>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "about_form.h"
#include "core_ops.h"
#include "memory_view.h"
#include "model/captions.h"
#include "model/catalogues.h"
#include "qt_host.h"
#include "qt_text.h"
#include "tree_model.h"
#include "tree_view.h"

namespace velkor::editor {

QString ProgramTitle() { return QStringLiteral("Программа конфигурирования ППК \"Ворсан\""); }

QString ShortFileName(const QString& path) {
  if (path.size() > 24) return QStringLiteral("...") + path.right(21);
  return path;
}

namespace {

constexpr int kClientWidth = 633;
constexpr int kClientHeight = 434;

QWidget* Page(QStackedWidget* stack, const char* name) {
  auto* page = new QWidget(stack);
  page->setObjectName(QString::fromLatin1(name));
  stack->addWidget(page);
  return page;
}

QLabel* FixedLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

MainForm::MainForm(QtHost& host, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowContextHelpButtonHint),
      host_(host) {
  setObjectName(QStringLiteral("MainForm"));
  host_.SetOwner(this);
  host_.SetVariant(ws_.variant);
  host_.SetBusyHandler([this](bool busy) { SetBusy(busy); });

  // 1. The fixed client area and the configuration tab.
  BuildMenu();
  mainPageControl_ = new QTabWidget(this);
  mainPageControl_->setObjectName(QStringLiteral("MainPageControl"));
  tabSheetConf_ = BuildConfTab();
  tabSheetSet_ = BuildSettingsTab();
  tabSheetExportLog_ = BuildListingTab();
  tabSheetDBArrays_ = BuildMemoryTab();
  mainPageControl_->addTab(tabSheetConf_, QStringLiteral(" Конфигурация ППК "));
  mainPageControl_->addTab(tabSheetSet_, QStringLiteral(" Установки "));
  mainPageControl_->addTab(tabSheetExportLog_, QStringLiteral(" Структура элементов "));
  mainPageControl_->addTab(tabSheetDBArrays_, QStringLiteral(" DBArrays "));
  mainPageControl_->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(mainPageControl_);
  mainPageControl_->setCurrentWidget(tabSheetConf_);
  BuildShortcuts();
  // FormResize: the window keeps its size whatever is asked of it.
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  // 2-3. Catalogues are built once by the core; the numbering tables and
  // both image buffers start empty.
  ws_.registry.Clear();
  ws_.DBReadArray.fill(0);
  ws_.DBStoreArray.fill(0);
  // 4. Service mode off.
  ws_.editor.ProtectionEnabled = 1;
  ProtectionRefresh();
  // 5.
  setWindowTitle(ProgramTitle());
  RefreshMenus();
  panelTreeView_->setVisible(false);
  panelDB_->setVisible(false);
  // 6. The serial port and the command-line option.
  SetPortLabel(QStringLiteral("Com-порт не выбран"), QColor(128, 0, 0));
  port_.ComPortNumber = -1;
  int requested = 0;
  if (!arguments.isEmpty()) {
    const QString first = arguments.first().toLower();
    for (int n = 1; n <= 8; ++n)
      if (first == QStringLiteral("/com%1").arg(n)) requested = n;
  }
  if (requested != 0) {
    port_.ComPortNumber = requested;
    BitBtnSetCommChangeClick();
    QPushButton* button = speedButtonSetComm_[static_cast<std::size_t>(requested - 1)];
    if (PortChoosing() && button->isEnabled()) SpeedButtonSetCommClick(requested);
  }
  // 7.
  host_.Message(MessageIcon::Warning, "Внимание!"_w,
                "Внимание!\rДанная программа предназначена для работы с ПО ППК \"Ворсан\" версии не ниже "
                "3.20\rДля версии ППК 4.08 и выше можно УДАЛЯТЬ модуль \"Ворсан-ПУС\"!!!"_w);

}

MainForm::~MainForm() {
  host_.SetBusyHandler({});
  host_.SetOwner(nullptr);
}

void MainForm::BuildMenu() {
  QMenu* menu = menuBar()->addMenu(QStringLiteral("База данных"));
  menu->setObjectName(QStringLiteral("MenuDB"));
  auto item = [this](QMenu* m, const char* name, const QString& caption, void (MainForm::*handler)()) {
    QAction* a = m->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  menuDBNew_ = item(menu, "MenuDBNew", QStringLiteral("Создать новую"), &MainForm::MenuDBNew);
  menuDBLoad_ = item(menu, "MenuDBLoad", QStringLiteral("Загрузить из ППК"), &MainForm::MenuDBLoad);
  menuDBRead_ = menu->addMenu(QStringLiteral("Прочитать с диска"));
  menuDBRead_->setObjectName(QStringLiteral("MenuDBRead"));
  menuDBRead_->menuAction()->setObjectName(QStringLiteral("MenuDBReadAction"));
  menuDBReadDB_ = item(menuDBRead_, "MenuDBReadDB", QStringLiteral("Прочитать полную базу"), &MainForm::MenuDBReadDB);
  menuDBReadHex_ =
      item(menuDBRead_, "MenuDBReadHex", QStringLiteral("Прочитать  \" .ROM \"  файл"), &MainForm::MenuDBReadHex);
  menu->addSeparator();
  menuDBWrite_ = menu->addMenu(QStringLiteral("Сохранить на диск"));
  menuDBWrite_->setObjectName(QStringLiteral("MenuDBWrite"));
  menuDBWrite_->menuAction()->setObjectName(QStringLiteral("MenuDBWriteAction"));
  menuDBWriteDB_ =
      item(menuDBWrite_, "MenuDBWriteDB", QStringLiteral("Сохранить полную базу"), &MainForm::MenuDBWriteDB);
  menuDBWriteHex_ =
      item(menuDBWrite_, "MenuDBWriteHex", QStringLiteral("Сохранить в  \" .ROM \"  файл"), &MainForm::MenuDBWriteHex);
  menuDBStore_ = item(menu, "MenuDBStore", QStringLiteral("Записать в ППК"), &MainForm::MenuDBStore);
  menuTXTStore_ = item(menu, "MenuTXTStore", QStringLiteral("Запись текстов в ППК"), &MainForm::MenuTXTStore);
  menuDBErace_ = item(menu, "MenuDBErace", QStringLiteral("Очистить"), &MainForm::MenuDBErace);
  menu->addSeparator();
  menuDBExit_ = menu->addAction(QStringLiteral("Выход"));
  menuDBExit_->setObjectName(QStringLiteral("MenuDBExit"));
  connect(menuDBExit_, &QAction::triggered, this, &QWidget::close);

  QMenu* help = menuBar()->addMenu(QStringLiteral("Справка"));
  help->setObjectName(QStringLiteral("MenuHelp"));
  menuHelpAbout_ = item(help, "MenuHelpAbout", QStringLiteral("О программе"), &MainForm::MenuHelpAbout);
}

QWidget* MainForm::BuildConfTab() {
  auto* tab = new QWidget();
  tab->setObjectName(QStringLiteral("TabSheetConf"));
  auto* row = new QHBoxLayout(tab);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(2);

  panelTreeView_ = new QWidget(tab);
  panelTreeView_->setObjectName(QStringLiteral("PanelTreeView"));
  panelTreeView_->setFixedWidth(236);
  auto* left = new QVBoxLayout(panelTreeView_);
  left->setContentsMargins(0, 0, 0, 0);
  left->setSpacing(0);
  ppkTreeView_ = new DBTreeView(panelTreeView_);
  ppkTreeView_->setObjectName(QStringLiteral("PPKTreeView"));
  groupTreeView_ = new DBTreeView(panelTreeView_);
  groupTreeView_->setObjectName(QStringLiteral("GroupTreeView"));
  hardwareModel_ = new NodeTreeModel(ws_.db, true, this);
  roomsModel_ = new NodeTreeModel(ws_.db, false, this);
  ppkTreeView_->setModel(hardwareModel_);
  groupTreeView_->setModel(roomsModel_);
  left->addWidget(ppkTreeView_);
  left->addWidget(groupTreeView_);
  groupTreeView_->setVisible(false);
  tabSetTree_ = new QTabBar(panelTreeView_);
  tabSetTree_->setObjectName(QStringLiteral("TabSetTree"));
  tabSetTree_->setShape(QTabBar::RoundedSouth);
  tabSetTree_->addTab(QStringLiteral("Аппаратура"));
  tabSetTree_->addTab(QStringLiteral("Помещения"));
  tabSetTree_->setDrawBase(false);
  tabSetTree_->setExpanding(false);
  tabSetTree_->setStyleSheet(QStringLiteral(
      "QTabBar::tab { height: 25px; padding: 0 8px; background: #c8c8c8; border: 1px solid #a0a0a0; }"
      "QTabBar::tab:selected { background: white; border-top-color: white; }"));
  left->addWidget(tabSetTree_);

  for (DBTreeView* tree : {ppkTreeView_, groupTreeView_}) {
    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, tree] { TreeSelectionChanged(tree); });
    connect(tree, &QTreeView::doubleClicked, this, [this, tree] { TreeDoubleClicked(tree); });
    connect(tree, &QTreeView::expanded, this, [this, tree](const QModelIndex& i) { TreeExpanded(tree, i); });
    connect(tree, &QTreeView::collapsed, this, [this, tree](const QModelIndex& i) {
      auto* model = static_cast<NodeTreeModel*>(tree->model());
      if (Node* n = model->NodeAt(i); n && !restoringTree_) n->Expanded = false;
    });
  }
  connect(tabSetTree_, &QTabBar::currentChanged, this, [this](int index) {
    ws_.editor.TreeTabIndex = index;
    ProcessViewCard();
  });

  panelDB_ = new QWidget(tab);
  panelDB_->setObjectName(QStringLiteral("PanelDB"));
  auto* right = new QVBoxLayout(panelDB_);
  right->setContentsMargins(0, 0, 0, 0);
  pageControlDB_ = new QStackedWidget(panelDB_);
  pageControlDB_->setObjectName(QStringLiteral("PageControlDB"));
  pageControlDB_->setFrameShape(QFrame::StyledPanel);
  pages_.PPK = Page(pageControlDB_, "TabSheetPPK");
  pages_.R485 = Page(pageControlDB_, "TabSheet485");
  pages_.Controller = Page(pageControlDB_, "TabSheetController");
  pages_.Adapter = Page(pageControlDB_, "TabSheetAdapter");
  pages_.Keyboard = Page(pageControlDB_, "TabSheetKeyboard");
  pages_.Group = Page(pageControlDB_, "TabSheetGroup");
  pages_.Zone = Page(pageControlDB_, "TabSheetZone");
  pages_.Output = Page(pageControlDB_, "TabSheetOutput");
  pages_.SetInput = Page(pageControlDB_, "TabSheetSetInput");
  pages_.IDReader = Page(pageControlDB_, "TabSheetIDReader");
  pages_.User = Page(pageControlDB_, "TabSheetUser");
  pages_.Rooms = Page(pageControlDB_, "TabSheetRooms");

  // The panel card's protocol list: ProtectionRefresh fills it.
  {
    auto* layout = new QVBoxLayout(pages_.PPK);
    layout->addWidget(FixedLabel(QStringLiteral("Протокол связи ППК:"), pages_.PPK));
    auto* combo = new QComboBox(pages_.PPK);
    combo->setObjectName(QStringLiteral("ComboBoxPPKWorkRegim"));
    combo->setMaxVisibleItems(11);
    layout->addWidget(combo);
    layout->addStretch();
    connect(combo, &QComboBox::activated, this, [this, combo](int item) {
      TPPK* ppk = ws_.db.Panel();
      if (!ppk || item < 0) return;
      ppk->Protocol = static_cast<byte>(combo->itemData(item).toInt());
      ws_.editor.DBChanged = true;
    });
  }
  // Adding comes with the element cards; the buttons are there already.
  auto addButton = [](QWidget* page, const char* name, const QString& caption) {
    auto* layout = new QVBoxLayout(page);
    auto* button = new QPushButton(caption, page);
    button->setObjectName(QString::fromLatin1(name));
    button->setEnabled(false);
    layout->addWidget(button, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();
  };
  addButton(pages_.R485, "BitBtn485ADDAdapter", QStringLiteral("Добавить адаптер / клавиатуру"));
  addButton(pages_.Rooms, "BitBtnUsersListAdd", QStringLiteral("Добавить пользователя"));

  right->addWidget(pageControlDB_);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  bitBtnDBDel_ = new QPushButton(QStringLiteral("Удалить"), panelDB_);
  bitBtnDBDel_->setObjectName(QStringLiteral("BitBtnDBDel"));
  bitBtnDBDel_->setEnabled(false);
  buttons->addWidget(bitBtnDBDel_);
  right->addLayout(buttons);

  BuildEditButtons();

  row->addWidget(panelTreeView_);
  row->addWidget(panelDB_, 1);
  return tab;
}

QWidget* MainForm::BuildSettingsTab() {
  auto* tab = new QWidget();
  tab->setObjectName(QStringLiteral("TabSheetSet"));
  auto* column = new QVBoxLayout(tab);

  auto* portBox = new QGroupBox(QStringLiteral("  Настройка Com - порта  "), tab);
  portBox->setObjectName(QStringLiteral("GroupBoxSetCommPort"));
  auto* portLayout = new QVBoxLayout(portBox);
  portLayout->addWidget(FixedLabel(QStringLiteral("Текущее состояние:"), portBox));
  auto* stateArea = new QWidget(portBox);
  auto* stack = new QStackedLayout(stateArea);
  stack->setStackingMode(QStackedLayout::StackOne);
  labelSetCurrentComPort_ = FixedLabel(QString(), stateArea);
  labelSetCurrentComPort_->setObjectName(QStringLiteral("LabelSetCurrentComPort"));
  QFont stateFont = labelSetCurrentComPort_->font();
  stateFont.setBold(true);
  labelSetCurrentComPort_->setFont(stateFont);
  panelSetCommNumbers_ = new QWidget(stateArea);
  panelSetCommNumbers_->setObjectName(QStringLiteral("PanelSetCommNumbers"));
  auto* numbers = new QHBoxLayout(panelSetCommNumbers_);
  numbers->setContentsMargins(0, 0, 0, 0);
  numbers->setSpacing(3);
  for (int n = 1; n <= 8; ++n) {
    auto* button = new QPushButton(QStringLiteral("COM  %1").arg(n), panelSetCommNumbers_);
    button->setObjectName(QStringLiteral("SpeedButtonSetComm%1").arg(n));
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, [this, n] { SpeedButtonSetCommClick(n); });
    speedButtonSetComm_[static_cast<std::size_t>(n - 1)] = button;
    numbers->addWidget(button);
  }
  stack->addWidget(labelSetCurrentComPort_);
  stack->addWidget(panelSetCommNumbers_);
  stack->setCurrentWidget(labelSetCurrentComPort_);
  stateArea->setFixedHeight(28);
  portLayout->addWidget(stateArea);
  auto* portButtons = new QHBoxLayout();
  bitBtnSetCommChange_ = new QPushButton(QStringLiteral("Выбрать номер порта"), portBox);
  bitBtnSetCommChange_->setObjectName(QStringLiteral("BitBtnSetCommChange"));
  bitBtnSetCommCancel_ = new QPushButton(QStringLiteral("Отмена"), portBox);
  bitBtnSetCommCancel_->setObjectName(QStringLiteral("BitBtnSetCommCancel"));
  bitBtnSetCommCancel_->setEnabled(false);
  portButtons->addWidget(bitBtnSetCommChange_);
  portButtons->addWidget(bitBtnSetCommCancel_);
  portButtons->addStretch();
  portLayout->addLayout(portButtons);
  connect(bitBtnSetCommChange_, &QPushButton::clicked, this, &MainForm::BitBtnSetCommChangeClick);
  connect(bitBtnSetCommCancel_, &QPushButton::clicked, this, &MainForm::BitBtnSetCommCancelClick);
  column->addWidget(portBox);

  auto check = [](QWidget* parent, const char* name, const QString& caption, bool on) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(on);
    return box;
  };
  auto* exportBox = new QGroupBox(QStringLiteral("  Сохранение структуры при экспорте в файл  "), tab);
  exportBox->setObjectName(QStringLiteral("GroupBoxSetExport"));
  auto* exportLayout = new QVBoxLayout(exportBox);
  checkLogExport_ = check(exportBox, "BitCheckBoxSetLogExport",
                          QStringLiteral("Экспортировать данные в файл \" * .log\""), false);
  checkIniExport_ = check(exportBox, "BitCheckBoxSetIniExport",
                          QStringLiteral("Экспортировать данные в файл \" * .ini\""), false);
  checkPrgExport_ = check(exportBox, "BitCheckBoxSetPrgExport",
                          QStringLiteral("Экспортировать данные в файл \" * .prg\""), false);
  exportLayout->addWidget(checkLogExport_);
  exportLayout->addWidget(checkIniExport_);
  exportLayout->addWidget(checkPrgExport_);
  column->addWidget(exportBox);

  auto* convertBox = new QGroupBox(QStringLiteral("  Настройки преобразователя  "), tab);
  convertBox->setObjectName(QStringLiteral("GroupBoxSetConvert"));
  auto* convertLayout = new QVBoxLayout(convertBox);
  checkFullConvert_ = check(convertBox, "BitCheckBoxSetFullConvert",
                            QStringLiteral("Преобразование в \"ROM\"-формат с полной проверкой базы"), true);
  convertLayout->addWidget(checkFullConvert_);
  column->addWidget(convertBox);
  column->addStretch();
  return tab;
}

QWidget* MainForm::BuildListingTab() {
  auto* tab = new QWidget();
  tab->setObjectName(QStringLiteral("TabSheetExportLog"));
  auto* column = new QVBoxLayout(tab);
  column->setSpacing(2);
  column->addWidget(FixedLabel(QStringLiteral("Данное окно содержит структуру элементов созданной конфигурации,"), tab));
  column->addWidget(
      FixedLabel(QStringLiteral("которая необходима для изменения конфигурации посредством клавиатуры ППК."), tab));
  column->addWidget(FixedLabel(
      QStringLiteral("Информация формируется в момент сохранения базы данных в  \" .ROM \"  файл или записи в ППК"), tab));
  listViewExportLog_ = new QListWidget(tab);
  listViewExportLog_->setObjectName(QStringLiteral("ListViewExportLog"));
  listViewExportLog_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  listViewExportLog_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  listViewExportLog_->setTextElideMode(Qt::ElideNone);
  // The listing pads its columns with blanks: they line up in a fixed pitch.
  QFont listingFont(QStringLiteral("Liberation Mono"));
  listingFont.setPixelSize(11);
  listViewExportLog_->setFont(listingFont);
  column->addWidget(listViewExportLog_, 1);
  auto* row = new QHBoxLayout();
  row->addStretch();
  auto* print = new QPushButton(QStringLiteral("Печать"), tab);
  print->setObjectName(QStringLiteral("BitBtnOutLogPrn"));
  connect(print, &QPushButton::clicked, this, &MainForm::BitBtnOutLogPrnClick);
  row->addWidget(print);
  column->addLayout(row);
  return tab;
}

QWidget* MainForm::BuildMemoryTab() {
  auto* tab = new QWidget();
  tab->setObjectName(QStringLiteral("TabSheetDBArrays"));
  auto* column = new QVBoxLayout(tab);
  column->setSpacing(2);
  auto* heads = new QHBoxLayout();
  heads->addSpacing(40);
  heads->addWidget(FixedLabel(QStringLiteral("DBReadArray"), tab), 1);
  heads->addWidget(FixedLabel(QStringLiteral("DBStoreArray"), tab), 1);
  column->addLayout(heads);

  gridModel_ = new MemoryGridModel(this);
  stringGrid_ = new QTableView(tab);
  stringGrid_->setObjectName(QStringLiteral("StringGrid"));
  stringGrid_->setModel(gridModel_);
  QFont gridFont(QStringLiteral("DejaVu Sans"));
  gridFont.setPixelSize(12);
  stringGrid_->setFont(gridFont);
  stringGrid_->horizontalHeader()->hide();
  stringGrid_->verticalHeader()->hide();
  stringGrid_->horizontalHeader()->setMinimumSectionSize(10);
  stringGrid_->horizontalHeader()->setDefaultSectionSize(33);
  stringGrid_->verticalHeader()->setMinimumSectionSize(10);
  stringGrid_->verticalHeader()->setDefaultSectionSize(17);
  stringGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  stringGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  stringGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  stringGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
  stringGrid_->setSelectionBehavior(QAbstractItemView::SelectItems);
  connect(stringGrid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { StringGridSelectCell(current); });
  column->addWidget(stringGrid_, 1);

  labelGridPosition_ = FixedLabel(QString(), tab);
  labelGridPosition_->setObjectName(QStringLiteral("LabelCurrentGridPosition"));
  labelBasePosition_ = FixedLabel(QString(), tab);
  labelBasePosition_->setObjectName(QStringLiteral("LabelCurrentBasePosition"));
  auto* row = new QHBoxLayout();
  auto* labels = new QVBoxLayout();
  labels->addWidget(labelGridPosition_);
  labels->addWidget(labelBasePosition_);
  row->addLayout(labels, 1);
  auto* show = new QPushButton(QStringLiteral("Show"), tab);
  show->setObjectName(QStringLiteral("BitBtnShowArrays"));
  connect(show, &QPushButton::clicked, this, &MainForm::BitBtnShowArraysClick);
  row->addWidget(show);
  column->addLayout(row);
  return tab;
}

// ---- state shown from the core

void MainForm::RefreshMenus() {
  const EditorState& e = ws_.editor;
  menuDBNew_->setEnabled(e.MenuDBNew);
  menuDBLoad_->setEnabled(e.MenuDBLoad);
  menuDBRead_->menuAction()->setEnabled(e.MenuDBRead);
  menuDBWrite_->menuAction()->setEnabled(e.MenuDBWrite);
  menuDBStore_->setEnabled(e.MenuDBStore);
  menuTXTStore_->setEnabled(e.MenuTXTStore);
  menuDBErace_->setEnabled(e.MenuDBErace);
}

void MainForm::RefreshListing() {
  listViewExportLog_->clear();
  for (const std::string& line : ws_.exportLog.Lines) listViewExportLog_->addItem(Qs(line));
}

void MainForm::SetBusy(bool busy) {
  busy_ = busy;
  menuBar()->setEnabled(!busy);
  mainPageControl_->setEnabled(!busy);
}

void MainForm::BeginRebuild() {
  hardwareModel_->Freeze();
  roomsModel_->Freeze();
}

void MainForm::EndRebuild() {
  hardwareModel_->Thaw();
  roomsModel_->Thaw();
  RestoreTreeView(ppkTreeView_);
  RestoreTreeView(groupTreeView_);
  panelTreeView_->setVisible(ws_.editor.PanelTreeViewVisible);
  if (ws_.db.Exists() && ws_.editor.TabSheetConfActive) mainPageControl_->setCurrentWidget(tabSheetConf_);
  RefreshMenus();
  RefreshListing();
}

// The view takes the expanded flags and the selection the core keeps.
void MainForm::RestoreTreeView(DBTreeView* tree) {
  auto* model = static_cast<NodeTreeModel*>(tree->model());
  restoringTree_ = true;
  ForEachNode(model->CoreTree(), [&](Node& node) {
    if (node.Expanded) tree->expand(model->IndexOf(&node));
  });
  if (Node* selected = model->CoreTree().Selected)
    tree->selectionModel()->setCurrentIndex(model->IndexOf(selected), QItemSelectionModel::ClearAndSelect);
  restoringTree_ = false;
}

void MainForm::FinishCommand(const QString& caption, bool changed) {
  setWindowTitle(caption);
  ws_.editor.ViewCardEnabled = true;
  ws_.editor.DBChanged = changed;
  ProcessDataBase(ws_.db);
  ProcessViewCard();
}

void MainForm::Say(std::string_view cp1251) { ShowWarning(host_, cp1251); }

// ---- trees and cards

void MainForm::TreeSelectionChanged(DBTreeView* tree) {
  if (restoringTree_) return;
  auto* model = static_cast<NodeTreeModel*>(tree->model());
  model->CoreTree().Selected = model->NodeAt(tree->currentIndex());
  ProcessViewCard();
}

// The core decides the card (velkor::ProcessViewCard); the window shows its
// decision: the visible tree, the base module's caption, the selection and
// the card page.
void MainForm::ProcessViewCard() {
  EditorState& e = ws_.editor;
  if (!e.ViewCardEnabled) return;
  const std::string baseCaption = ws_.db.BaseModuleNode ? ws_.db.BaseModuleNode->Caption : std::string();
  velkor::ProcessViewCard(ws_);

  const bool hardwareShown = e.TreeTabIndex == 0;
  ppkTreeView_->setVisible(hardwareShown);
  groupTreeView_->setVisible(!hardwareShown);
  if (tabSetTree_->currentIndex() != e.TreeTabIndex) {
    const QSignalBlocker block(tabSetTree_);
    tabSetTree_->setCurrentIndex(e.TreeTabIndex);
  }
  if (ws_.db.BaseModuleNode && ws_.db.BaseModuleNode->Caption != baseCaption)
    hardwareModel_->CaptionChanged(ws_.db.BaseModuleNode);

  DBTreeView* tree = hardwareShown ? ppkTreeView_ : groupTreeView_;
  NodeTreeModel* model = hardwareShown ? hardwareModel_ : roomsModel_;
  if (Node* selected = model->CoreTree().Selected) {
    restoringTree_ = true;
    tree->selectionModel()->setCurrentIndex(model->IndexOf(selected), QItemSelectionModel::ClearAndSelect);
    restoringTree_ = false;
  }

  QWidget* page = nullptr;
  switch (e.ActivePage) {
    case CardPage::None: break;
    case CardPage::PPK: page = pages_.PPK; break;
    case CardPage::Rs485: page = pages_.R485; break;
    case CardPage::Module: page = pages_.Controller; break;
    case CardPage::Adapter: page = pages_.Adapter; break;
    case CardPage::Keyboard: page = pages_.Keyboard; break;
    case CardPage::Group: page = pages_.Group; break;
    case CardPage::Zone: page = pages_.Zone; break;
    case CardPage::Output: page = pages_.Output; break;
    case CardPage::SetInput: page = pages_.SetInput; break;
    case CardPage::IDReader: page = pages_.IDReader; break;
    case CardPage::User: page = pages_.User; break;
    case CardPage::Rooms: page = pages_.Rooms; break;
  }
  if (!page) {
    panelDB_->setVisible(false);
    return;
  }
  ShowEditButtons();
  pageControlDB_->setCurrentWidget(page);
  if (page == pages_.PPK) ProtectionRefresh();
  panelDB_->setVisible(true);
}

void MainForm::TreeDoubleClicked(DBTreeView* tree) {
  const bool fromHardware = tree == ppkTreeView_;
  Tree& source = fromHardware ? ws_.db.Hardware : ws_.db.Rooms;
  Tree& target = fromHardware ? ws_.db.Rooms : ws_.db.Hardware;
  if (!source.Selected || !source.Selected->Data || target.Empty()) return;
  const Element* picked = source.Selected->Data;
  const bool jumps = std::holds_alternative<TZone>(*picked) || std::holds_alternative<TIDReader>(*picked) ||
                     std::holds_alternative<TSetInput>(*picked);
  if (!jumps) return;
  for (Node* node : NodesInIndexOrder(target)) {
    if (node->Data && node->Data->index() == picked->index() && ElementObject(*node->Data) == ElementObject(*picked)) {
      target.Selected = node;
      ws_.editor.TreeTabIndex = fromHardware ? 1 : 0;
      {
        const QSignalBlocker block(tabSetTree_);
        tabSetTree_->setCurrentIndex(ws_.editor.TreeTabIndex);
      }
      ProcessViewCard();
    }
  }
}

// Opening a root closes everything below it first.
void MainForm::TreeExpanded(DBTreeView* tree, const QModelIndex& index) {
  auto* model = static_cast<NodeTreeModel*>(tree->model());
  Node* node = model->NodeAt(index);
  if (!node || restoringTree_) return;
  const bool root = node == (model->Hardware() ? ws_.db.PanelNode : ws_.db.RoomsNode);
  if (root) {
    restoringTree_ = true;
    ForEachNode(model->CoreTree(), [](Node& n) { n.Expanded = false; });
    tree->collapseAll();
    tree->expand(index);
    restoringTree_ = false;
  }
  node->Expanded = true;
}

// ---- service mode

void MainForm::ProtectionRefresh() {
  const bool protectedMode = ws_.editor.ProtectionEnabled == 1;
  const int at = mainPageControl_->indexOf(tabSheetDBArrays_);
  mainPageControl_->setTabVisible(at, !protectedMode);
  auto* combo = pages_.PPK->findChild<QComboBox*>(QStringLiteral("ComboBoxPPKWorkRegim"));
  const Catalogues& cat = CataloguesFor(ws_.variant);
  const auto& rows = protectedMode ? cat.ProtocolsReduced : cat.ProtocolsFull;
  combo->clear();
  for (const ProtocolRow& row : rows) combo->addItem(Qs(row.Label), row.Code);
  combo->setCurrentIndex(-1);
  if (const TPPK* ppk = ws_.db.Panel(); ppk && !rows.empty())
    combo->setCurrentIndex(ProtocolRowOf(rows, ppk->Protocol));
}

void MainForm::MenuHelpAbout() {
  AboutForm about(ws_.editor.ProtectionEnabled, this);
  about.exec();
  ProtectionRefresh();
}

// ---- closing and keys

void MainForm::closeEvent(QCloseEvent* event) {
  // A conversion lets events through; it must finish before the window goes.
  if (busy_) {
    event->ignore();
    return;
  }
  if (ws_.editor.DBChanged &&
      !host_.Ask(MessageIcon::Question, kTitleWarning, "База не сохранена. Завершить работу?"_w)) {
    event->ignore();
    return;
  }
  event->accept();
}

// The keys act whatever control has the focus, before it sees them.
void MainForm::BuildShortcuts() {
  auto* about = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_I), this);
  connect(about, &QShortcut::activated, this, &MainForm::MenuHelpAbout);
  auto* settings = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_C), this);
  connect(settings, &QShortcut::activated, this, [this] { mainPageControl_->setCurrentWidget(tabSheetSet_); });
  for (int n = 1; n <= 8; ++n) {
    auto* digit = new QShortcut(QKeySequence(Qt::Key_0 + n), this);
    digit->setEnabled(false);
    connect(digit, &QShortcut::activated, this, [this, n] {
      if (speedButtonSetComm_[static_cast<std::size_t>(n - 1)]->isEnabled()) SpeedButtonSetCommClick(n);
    });
    portKeys_[static_cast<std::size_t>(n - 1)] = digit;
  }
  connect(mainPageControl_, &QTabWidget::currentChanged, this, &MainForm::UpdatePortKeys);
}

// The digits choose a port only while the port buttons are shown on the
// visible settings tab; otherwise they are ordinary keys.
void MainForm::UpdatePortKeys() {
  const bool active = mainPageControl_->currentWidget() == tabSheetSet_ && PortChoosing();
  for (QShortcut* key : portKeys_) key->setEnabled(active);
}

// ---- the memory view

void MainForm::BitBtnShowArraysClick() {
  stringGrid_->setColumnWidth(0, 38);
  stringGrid_->setColumnWidth(9, 20);
  gridModel_->Fill(ws_.DBReadArray, ws_.DBStoreArray);
}

void MainForm::StringGridSelectCell(const QModelIndex& index) {
  labelBasePosition_->clear();
  if (!index.isValid()) return;
  const int offset = MemoryGridModel::OffsetOf(index.row(), index.column());
  if (offset < 0) {
    labelGridPosition_->clear();
    return;
  }
  labelGridPosition_->setText(GridPositionText(offset));
  labelBasePosition_->setText(QString::fromStdString(ImageByteText(ws_.variant, offset)));
}

}  // namespace velkor::editor
