#include "qt_host.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QThread>

#include "convert_form.h"
#include "qt_text.h"

namespace velkor::editor {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QtHost::QtHost() : convert_(new ConvertForm()) {}

QtHost::~QtHost() { delete convert_.data(); }

void QtHost::SetOwner(QWidget* owner) { owner_ = owner; }

void QtHost::Message(MessageIcon icon, std::string_view title, std::string_view text) {
  QMessageBox box(BoxIcon(icon), Qs(title), QsMessage(text), QMessageBox::Ok, owner_.data());
  box.setObjectName(QStringLiteral("MessageBox"));
  box.exec();
}

bool QtHost::Ask(MessageIcon icon, std::string_view title, std::string_view text) {
  QMessageBox box(BoxIcon(icon), Qs(title), QsMessage(text), QMessageBox::Yes | QMessageBox::No, owner_.data());
  box.setObjectName(QStringLiteral("QuestionBox"));
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

// The core may open the window inside a command that has already opened it;
// only the outermost pair shows and hides it.
void QtHost::ConvertBegin() {
  if (convertDepth_++ != 0) return;
  if (busy_) busy_(true);
  if (convert_) convert_->Start();
}

void QtHost::ConvertEnd() {
  if (convertDepth_ == 0 || --convertDepth_ != 0) return;
  if (convert_) convert_->Finish();
  if (busy_) busy_(false);
}

void QtHost::ConvertStep(std::string_view text) {
  if (convert_) convert_->SetStep(Qs(text));
}
void QtHost::ConvertElement(std::string_view text) {
  if (convert_) convert_->SetElement(Qs(text));
}
void QtHost::ConvertPosition(int percent) {
  if (convert_) convert_->SetPosition(percent);
}
void QtHost::ConvertCancelEnabled(bool enabled) {
  if (convert_) convert_->SetCancelEnabled(enabled);
}

bool QtHost::ConvertCancelled() {
  // The owner is locked while a conversion runs (SetBusyHandler), so the
  // events let through here can only repaint or press "Отменить".
  QCoreApplication::processEvents();
  return convert_ && convert_->Cancelled();
}

void QtHost::Pause(int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); }

QString QtHost::OpenFileName(const QString& filter) {
  return QFileDialog::getOpenFileName(owner_.data(), QString(), QString(), filter);
}

QString QtHost::SaveFileName(const QString& filter) {
  return QFileDialog::getSaveFileName(owner_.data(), QString(), QString(), filter);
}

bool QtHost::ChoosePrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, owner_.data());
  dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setMinMax(1, 1);
  dialog.setFromTo(1, 1);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace velkor::editor
