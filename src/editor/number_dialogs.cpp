#include "number_dialogs.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <vector>

#include "model/catalogues.h"
#include "qt_host.h"
#include "qt_text.h"

namespace velkor::editor {

namespace {

constexpr Qt::WindowFlags kToolWindow = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

QFont WindowFont() {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(12);
  return font;
}

void CentreOnScreen(QWidget* window) {
  if (QScreen* screen = QGuiApplication::primaryScreen())
    window->move(screen->availableGeometry().center() - window->rect().center());
}

// One number edit of a dialog: the label lines above it, and the field of
// the core it shows.
struct EditRow {
  const char* name;
  DialogEdit NumberDialogs::*field;
  std::vector<QString> labels;
  std::vector<const char*> labelNames;
};

struct Layout {
  QString caption;
  std::vector<EditRow> edits;  // in focus order
  // The type combo follows the edits when there is one.
  QString comboLabel;
  const char* comboLabelName = nullptr;
};

Layout LayoutOf(NumberDialogKind kind) {
  using N = NumberDialogs;
  switch (kind) {
    case NumberDialogKind::Adapter:
      return {QStringLiteral("Атрибуты адаптера или клавиатуры"),
              {{"EditSaNumber", &N::EditSaNumber, {QStringLiteral("Номер в сети:")}, {nullptr}}},
              QStringLiteral("Тип адаптера / клавиатуры:"),
              "LabelSAType"};
    case NumberDialogKind::Controller:
      return {QStringLiteral("Атрибуты модуля"), {}, QStringLiteral("Тип модуля:"), nullptr};
    case NumberDialogKind::Zone:
      return {QStringLiteral("Атрибуты шлейфа"),
              {{"EditZoneNumber",
                &N::EditZoneNumber,
                {QStringLiteral("Номер шлейфа в аппаратуре:")},
                {"LabelZoneNumber"}},
               {"EditZoneGroupNumber", &N::EditZoneGroupNumber, {QStringLiteral("Номер группы:")},
                {"LabelZoneGroupNumber"}},
               {"EditZoneInGroupNumber",
                &N::EditZoneInGroupNumber,
                {QStringLiteral("Номер шлейфа в группе и"), QStringLiteral("индикатора на клавиатуре:")},
                {"LabelZoneInGroupNumber1", "LabelZoneInGroupNumber2"}}},
              {},
              nullptr};
    case NumberDialogKind::Output:
      return {QStringLiteral("Атрибуты управляемого выхода"),
              {{"EditOutputNumber",
                &N::EditOutputNumber,
                {QStringLiteral("Номер управляемого выхода в аппаратуре:")},
                {nullptr}}},
              {},
              nullptr};
    case NumberDialogKind::SetInput:
      return {QStringLiteral("Атрибуты входа SET"),
              {{"EditSetInputNumber", &N::EditSetInputNumber, {QStringLiteral("Номер входа SET в аппаратуре:")},
                {nullptr}},
               {"EditSetInputGroupNumber", &N::EditSetInputGroupNumber, {QStringLiteral("Номер группы:")},
                {"LabelSetInputGroupNumber"}}},
              {},
              nullptr};
    case NumberDialogKind::IDReader:
      return {QStringLiteral("Атрибуты TM входа"),
              {{"EditIDReaderNumber", &N::EditIDReaderNumber, {QStringLiteral("Номер ТМ входа в аппаратуре:")},
                {"LabelIDReaderNumber"}},
               {"EditIDReaderGroupNumber", &N::EditIDReaderGroupNumber, {QStringLiteral("Номер группы:")},
                {"LabelIDReaderGroupNumber"}}},
              {},
              nullptr};
    case NumberDialogKind::Group:
      return {QStringLiteral("Атрибуты группы"),
              {{"EditGroupNumber", &N::EditGroupNumber, {QStringLiteral("Номер группы:")}, {nullptr}}},
              {},
              nullptr};
    case NumberDialogKind::User:
      return {QStringLiteral("Атрибуты пользователя"),
              {{"EditUserNumber", &N::EditUserNumber, {QStringLiteral("Номер пользователя:")}, {nullptr}}},
              {},
              nullptr};
  }
  return {};
}

const char* DialogName(NumberDialogKind kind) {
  switch (kind) {
    case NumberDialogKind::Adapter: return "TAdapterForm";
    case NumberDialogKind::Controller: return "TControllerForm";
    case NumberDialogKind::Zone: return "TZoneForm";
    case NumberDialogKind::Output: return "TOutputForm";
    case NumberDialogKind::SetInput: return "TSetInputForm";
    case NumberDialogKind::IDReader: return "TIDReaderForm";
    case NumberDialogKind::Group: return "TGroupForm";
    case NumberDialogKind::User: return "TUserForm";
  }
  return "";
}

class NumberDialog : public QDialog {
 public:
  NumberDialog(QWidget* owner, Host& host, Variant variant, NumberDialogKind kind, NumberDialogs& fields)
      : QDialog(owner, kToolWindow), host_(host), kind_(kind), fields_(fields), layout_(LayoutOf(kind)) {
    setObjectName(QString::fromLatin1(DialogName(kind)));
    setWindowTitle(layout_.caption);
    setFont(WindowFont());
    setModal(true);

    auto* column = new QVBoxLayout(this);
    auto* bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* grid = new QGridLayout(bevel);
    int row = 0;
    QFont editFont = font();
    editFont.setPixelSize(16);
    editFont.setBold(true);
    for (const EditRow& r : layout_.edits) {
      for (std::size_t i = 0; i < r.labels.size(); ++i) {
        auto* label = new QLabel(r.labels[i], bevel);
        if (r.labelNames[i]) label->setObjectName(QString::fromLatin1(r.labelNames[i]));
        grid->addWidget(label, row + static_cast<int>(i), 0);
      }
      auto* edit = new QLineEdit(bevel);
      edit->setObjectName(QString::fromLatin1(r.name));
      edit->setMaxLength(3);
      edit->setFont(editFont);
      edit->setStyleSheet(QStringLiteral("background: white;"));
      edit->setFixedWidth(60);
      const DialogEdit& field = fields_.*r.field;
      edit->setText(Qs(field.Text));
      edit->setEnabled(field.Enabled);
      grid->addWidget(edit, row, 1, static_cast<int>(r.labels.size()), 1);
      row += static_cast<int>(r.labels.size());
      edits_.push_back(edit);
    }
    if (!layout_.comboLabel.isEmpty()) {
      auto* label = new QLabel(layout_.comboLabel, bevel);
      if (layout_.comboLabelName) label->setObjectName(QString::fromLatin1(layout_.comboLabelName));
      combo_ = new QComboBox(bevel);
      combo_->setObjectName(QStringLiteral("ComboBoxSAType"));
      const Catalogues& cat = CataloguesFor(variant);
      if (kind == NumberDialogKind::Adapter) {
        for (std::string_view device : cat.Devices) combo_->addItem(Qs(device));
        combo_->setCurrentIndex(fields_.AdapterType);
        combo_->setEnabled(fields_.AdapterTypeEnabled);
      } else {
        for (std::uint8_t code : cat.AddModuleCodes) combo_->addItem(Qs(CatalogueLabel(cat.Modules, code)));
        combo_->setCurrentIndex(fields_.ControllerItem);
      }
      grid->addWidget(label, row, 0);
      grid->addWidget(combo_, row, 1);
    }
    column->addWidget(bevel);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtnOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("BitBtnCancel"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    column->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &NumberDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &NumberDialog::reject);

    QWidget* previous = nullptr;
    for (QWidget* w : FocusOrder()) {
      if (previous) setTabOrder(previous, w);
      previous = w;
    }
    adjustSize();
    CentreOnScreen(this);
  }

  void accept() override {
    NumberDialogs typed = fields_;
    for (std::size_t i = 0; i < edits_.size(); ++i)
      (typed.*layout_.edits[i].field).Text = Cp(edits_[i]->text());
    if (combo_) {
      if (kind_ == NumberDialogKind::Adapter)
        typed.AdapterType = combo_->currentIndex();
      else
        typed.ControllerItem = combo_->currentIndex();
    }
    if (const auto failure = ValidateNumberDialog(kind_, typed)) {
      host_.Message(MessageIcon::Error, failure->Title, failure->Message);
      if (auto* edit = findChild<QLineEdit*>(QString::fromStdString(failure->Field))) {
        edit->setFocus();
        edit->selectAll();
      }
      return;
    }
    fields_ = typed;
    QDialog::accept();
  }

 protected:
  void showEvent(QShowEvent* event) override {
    QDialog::showEvent(event);
    for (QWidget* w : FocusOrder()) {
      if (w->isEnabled()) {
        w->setFocus();
        break;
      }
    }
  }

 private:
  std::vector<QWidget*> FocusOrder() const {
    std::vector<QWidget*> order(edits_.begin(), edits_.end());
    if (combo_) order.push_back(combo_);
    return order;
  }

  Host& host_;
  NumberDialogKind kind_;
  NumberDialogs& fields_;
  Layout layout_;
  std::vector<QLineEdit*> edits_;
  QComboBox* combo_ = nullptr;
};

}  // namespace

bool ExecNumberDialog(QWidget* owner, Host& host, Variant variant, NumberDialogKind kind, NumberDialogs& fields) {
  NumberDialog dialog(owner, host, variant, kind, fields);
  return dialog.exec() == QDialog::Accepted;
}

bool QtHost::ShowNumberDialog(NumberDialogKind kind, NumberDialogs& fields) {
  return ExecNumberDialog(Owner(), *this, variant_, kind, fields);
}

SearchForm::SearchForm(QWidget* parent) : QWidget(parent, kToolWindow | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("TSearchForm"));
  setWindowTitle(QStringLiteral("Поиск элементов в базе данных"));
  setFont(WindowFont());
  auto* column = new QVBoxLayout(this);
  for (const QString& line : {QStringLiteral("Подождите, идет поиск элементов в базе данных."),
                              QStringLiteral("Этот процесс может занять несколько минут.")}) {
    auto* label = new QLabel(line, this);
    label->setAlignment(Qt::AlignCenter);
    column->addWidget(label);
  }
  adjustSize();
  CentreOnScreen(this);
}

GetUsesForm::GetUsesForm(QWidget* parent) : QDialog(parent, kToolWindow) {
  setObjectName(QStringLiteral("TGetUsesForm"));
  setFont(WindowFont());
  auto* column = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("ListBoxGetUses"));
  column->addWidget(list_);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("BitBtnOK"));
  ok->setDefault(true);
  column->addWidget(ok, 0, Qt::AlignHCenter);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  resize(320, 240);
  CentreOnScreen(this);
}

}  // namespace velkor::editor
