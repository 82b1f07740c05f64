// The buttons that grow and prune the database: the add buttons of the
// cards, the resource blocks of the device cards and "Удалить". Each runs a
// core command and then shows the database again.

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "main_form.h"
#include "model/edit_commands.h"
#include "qt_host.h"
#include "qt_text.h"
#include "tree_model.h"

namespace velkor::editor {

namespace {

struct Resource {
  const char* button;  // after the card's prefix
  const char* label;
  QString caption, totalText, usedText;
  bool (*command)(Workspace&, Host&);
};

// In the order the block shows them.
const std::array<Resource, 4>& Resources() {
  static const std::array<Resource, 4> list{{
      {"ZoneAdd", "Zones", QStringLiteral("Добавить шлейф"), QStringLiteral("Всего доступно шлейфов:  "),
       QStringLiteral("Всего задействовано шлейфов:  "), &BitBtnAdapterAddZoneClick},
      {"ReaderAdd", "Readers", QStringLiteral("Добавить ТМ вход"), QStringLiteral("Всего доступно ТМ входов:  "),
       QStringLiteral("Всего задействовано ТМ входов:  "), &BitBtnAdapterReaderAddClick},
      {"SetInputAdd", "SetInputs", QStringLiteral("Добавить вход SET"),
       QStringLiteral("Всего доступно входов SET:  "), QStringLiteral("Всего задействовано входов SET:  "),
       &BitBtnAdapterSetInputAddClick},
      {"OutputAdd", "Outputs", QStringLiteral("Добавить управляемый выход"),
       QStringLiteral("Всего доступно выходов:  "), QStringLiteral("Всего задействовано выходов:  "),
       &BitBtnAdapterOutputAddClick},
  }};
  return list;
}

}  // namespace

MainForm::ResourceBlock MainForm::BuildResourceBlock(QWidget* page, const char* prefix) {
  ResourceBlock block;
  auto* layout = new QVBoxLayout(page);
  auto* box = new QGroupBox(page);
  auto* grid = new QGridLayout(box);
  const QString card = QString::fromLatin1(prefix);
  for (std::size_t i = 0; i < Resources().size(); ++i) {
    const Resource& r = Resources()[i];
    const int row = static_cast<int>(i) * 2;
    auto* button = new QPushButton(r.caption, box);
    button->setObjectName(QStringLiteral("BitBtn") + card + QString::fromLatin1(r.button));
    connect(button, &QPushButton::clicked, this, [this, command = r.command] { RunEditCommand(command); });
    auto* total = new QLabel(box);
    total->setObjectName(QStringLiteral("Label") + card + QString::fromLatin1(r.label) + QStringLiteral("Total"));
    auto* used = new QLabel(box);
    used->setObjectName(QStringLiteral("Label") + card + QString::fromLatin1(r.label) + QStringLiteral("Used"));
    grid->addWidget(button, row, 0, 2, 1);
    grid->addWidget(total, row, 1);
    grid->addWidget(used, row + 1, 1);
    block.Add[i] = button;
    block.Total[i] = total;
    block.Used[i] = used;
  }
  layout->addWidget(box);
  layout->addStretch();
  return block;
}

void MainForm::BuildEditButtons() {
  {
    auto* layout = static_cast<QVBoxLayout*>(pages_.PPK->layout());
    auto* box = new QGroupBox(QStringLiteral("  Настройка модулей  "), pages_.PPK);
    auto* boxLayout = new QVBoxLayout(box);
    auto* add = new QPushButton(QStringLiteral("Добавить модуль"), box);
    add->setObjectName(QStringLiteral("BitBtnPPKAddModule"));
    boxLayout->addWidget(add, 0, Qt::AlignLeft);
    layout->insertWidget(layout->count() - 1, box);
    connect(add, &QPushButton::clicked, this, [this] { RunEditCommand(&BitBtnPPKAddModuleClick); });
  }
  const struct {
    QWidget* page;
    const char* name;
    bool (*command)(Workspace&, Host&);
  } cardButtons[] = {{pages_.R485, "BitBtn485ADDAdapter", &BitBtn485AddClick},
                     {pages_.Rooms, "BitBtnUsersListAdd", &BitBtnUsersListAddClick}};
  for (const auto& b : cardButtons) {
    auto* button = b.page->findChild<QPushButton*>(QString::fromLatin1(b.name));
    button->setEnabled(true);
    connect(button, &QPushButton::clicked, this, [this, command = b.command] { RunEditCommand(command); });
  }
  moduleResources_ = BuildResourceBlock(pages_.Controller, "Controller");
  adapterResources_ = BuildResourceBlock(pages_.Adapter, "Adapter");
  connect(bitBtnDBDel_, &QPushButton::clicked, this, [this] { RunEditCommand(&BitBtnDBDelEvent); });
}

// The resource block of the selected device: each kind can be added while
// fewer are in use than the device has.
void MainForm::ShowResourceBlock(const ResourceBlock& block) {
  const Node* selected = ws_.db.Hardware.Selected;
  const TAdapter* device =
      selected && selected->Data ? std::get_if<TAdapter>(selected->Data) : nullptr;
  if (!device) return;
  const std::array<std::pair<int, int>, 4> counts{{{device->ZonesTotal, device->ZonesUsed},
                                                   {device->ReadersTotal, device->ReadersUsed},
                                                   {device->SetInputsTotal, device->SetInputsUsed},
                                                   {device->OutputsTotal, device->OutputsUsed}}};
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const auto [total, used] = counts[i];
    const Resource& r = Resources()[i];
    block.Total[i]->setText(r.totalText + QString::number(total));
    block.Used[i]->setText(r.usedText + QString::number(used));
    const bool room = used < total;
    for (QWidget* w : {static_cast<QWidget*>(block.Add[i]), static_cast<QWidget*>(block.Total[i]),
                       static_cast<QWidget*>(block.Used[i])})
      w->setEnabled(room);
  }
}

void MainForm::ShowEditButtons() {
  const EditorState& e = ws_.editor;
  bitBtnDBDel_->setProperty("deleteAllowed", e.BitBtnDBDelEnabled);
  bitBtnDBDel_->setEnabled(e.BitBtnDBDelEnabled);
  if (e.ActivePage == CardPage::Module) ShowResourceBlock(moduleResources_);
  if (e.ActivePage == CardPage::Adapter) ShowResourceBlock(adapterResources_);
}

// The trees stay frozen while the command runs: its dialogs and boxes let
// events through, and nodes may go away before it returns.
void MainForm::RunEditCommand(bool (*command)(Workspace&, Host&)) {
  if (busy_ || !ws_.db.Exists()) return;
  BeginRebuild();
  command(ws_, host_);
  EndRebuild();
  ws_.editor.ViewCardEnabled = true;
  ProcessViewCard();
}

}  // namespace velkor::editor
