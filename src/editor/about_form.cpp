#include "about_form.h"

#include "export/version_text.h"
#include "qt_text.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace velkor::editor {

// The listing repeats this text: both come from the core.
QString VersionText() { return Qs(ProgramVersionText()); }

bool ServiceKeySequence::Feed(int key, Qt::KeyboardModifiers modifiers) {
  const Qt::KeyboardModifiers relevant =
      modifiers & (Qt::AltModifier | Qt::ShiftModifier | Qt::ControlModifier | Qt::MetaModifier);
  if (relevant == Qt::AltModifier &&
      key == static_cast<unsigned char>(kLetters[static_cast<std::size_t>(position_)]))
    ++position_;
  else
    position_ = 0;
  if (position_ == static_cast<int>(kLetters.size())) {
    position_ = 0;
    return true;
  }
  return false;
}

namespace {

// The logo: a shield with the panel's initial.
QPixmap Logo() {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath shield;
  shield.moveTo(32, 4);
  shield.lineTo(58, 14);
  shield.cubicTo(58, 40, 46, 54, 32, 60);
  shield.cubicTo(18, 54, 6, 40, 6, 14);
  shield.closeSubpath();
  p.fillPath(shield, QColor(0, 0, 128));
  p.setPen(Qt::white);
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPixelSize(30);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRect(6, 8, 52, 46), Qt::AlignCenter, QStringLiteral("В"));
  return pixmap;
}

}  // namespace

AboutForm::AboutForm(int& protectionEnabled, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), protection_(protectionEnabled) {
  setObjectName(QStringLiteral("AboutForm"));
  setWindowTitle(QStringLiteral("О программе"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout();
  auto* logo = new QLabel(this);
  logo->setPixmap(Logo());
  top->addWidget(logo);
  auto* titles = new QVBoxLayout();
  QFont big(QStringLiteral("Liberation Sans"));
  big.setPixelSize(16);
  big.setBold(true);
  for (const QString& line : {QStringLiteral("Программа"), QStringLiteral("конфигугирования"),
                              QStringLiteral("ППК \"ВОРСАН\"")}) {
    auto* label = new QLabel(line, this);
    label->setFont(big);
    label->setAlignment(Qt::AlignCenter);
    titles->addWidget(label);
  }
  top->addLayout(titles);
  layout->addLayout(top);
  for (const QString& line :
       {QStringLiteral("Программа предназначена для работы"), QStringLiteral("с прибором приемо-контрольным \"Ворсан\"")}) {
    auto* label = new QLabel(line, this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
  }
  auto* version = new QLabel(QStringLiteral("Версия:  ") + VersionText(), this);
  version->setObjectName(QStringLiteral("LabelVersion"));
  version->setAlignment(Qt::AlignCenter);
  layout->addWidget(version);
  labelRequisite_ = new QLabel(this);
  labelRequisite_->setObjectName(QStringLiteral("LabelRequisite"));
  labelRequisite_->setAlignment(Qt::AlignCenter);
  layout->addWidget(labelRequisite_);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ButtonOK"));
  // The window itself takes every key, so that the sequence sees them all.
  ok->setFocusPolicy(Qt::NoFocus);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  setFocusPolicy(Qt::StrongFocus);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutForm::showEvent(QShowEvent* event) {
  sequence_.Reset();
  QDialog::showEvent(event);
  setFocus();
}

void AboutForm::keyPressEvent(QKeyEvent* event) {
  if (sequence_.Feed(event->key(), event->modifiers())) {
    protection_ = protection_ == 1 ? 0 : 1;
    labelRequisite_->setText(protection_ == 1 ? QStringLiteral("Protection is enabled")
                                              : QStringLiteral("Protection is disabled"));
  }
  QDialog::keyPressEvent(event);
}

}  // namespace velkor::editor
