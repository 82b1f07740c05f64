#include "convert_form.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace velkor::editor {

ConvertForm::ConvertForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("ConvertForm"));
  setWindowTitle(QStringLiteral("Преобразование базы данных"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Подождите, идет преобразование базы данных."), this));
  layout->addWidget(new QLabel(QStringLiteral("Этот процесс может занять несколько минут."), this));
  step_ = new QLabel(this);
  step_->setObjectName(QStringLiteral("LabelStep"));
  element_ = new QLabel(this);
  element_->setObjectName(QStringLiteral("LabelElement"));
  bar_ = new QProgressBar(this);
  bar_->setObjectName(QStringLiteral("ProgressBar"));
  bar_->setRange(0, 100);
  bar_->setTextVisible(false);
  cancel_ = new QPushButton(QStringLiteral("Отменить"), this);
  cancel_->setObjectName(QStringLiteral("ButtonCancel"));
  layout->addWidget(step_);
  layout->addWidget(element_);
  layout->addWidget(bar_);
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);
  setFixedWidth(380);
  connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
}

void ConvertForm::Start() {
  cancelled_ = false;
  running_ = true;
  cancel_->setEnabled(true);
  bar_->setValue(0);
  step_->clear();
  element_->clear();
  show();
  raise();
}

void ConvertForm::Finish() {
  running_ = false;
  hide();
}

void ConvertForm::SetStep(const QString& text) { step_->setText(text); }
void ConvertForm::SetElement(const QString& text) { element_->setText(text); }
void ConvertForm::SetPosition(int percent) { bar_->setValue(percent); }
void ConvertForm::SetCancelEnabled(bool enabled) { cancel_->setEnabled(enabled); }

}  // namespace velkor::editor
