// The port group of the settings tab: scanning, choosing and opening a port.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>

#include "main_form.h"
#include "qt_host.h"

namespace velkor::editor {

namespace {
const QColor kMaroon(128, 0, 0);
const QColor kGreen(0, 128, 0);
}  // namespace

// Every state change is painted before the next slow step (a scan or an
// open may wait on a device).
void MainForm::SetPortLabel(const QString& text, const QColor& color) {
  labelSetCurrentComPort_->setText(text);
  QPalette palette = labelSetCurrentComPort_->palette();
  palette.setColor(QPalette::WindowText, color.isValid() ? color : QApplication::palette().color(QPalette::WindowText));
  labelSetCurrentComPort_->setPalette(palette);
  auto* stack = static_cast<QStackedLayout*>(labelSetCurrentComPort_->parentWidget()->layout());
  stack->setCurrentWidget(labelSetCurrentComPort_);
  UpdatePortKeys();
  labelSetCurrentComPort_->repaint();
}

bool MainForm::PortChoosing() const {
  return static_cast<QStackedLayout*>(panelSetCommNumbers_->parentWidget()->layout())->currentWidget() ==
         panelSetCommNumbers_;
}

bool MainForm::FoundCommPort() {
  ComPortScan scan;
  const bool any = velkor::FoundCommPort(port_, scan);
  for (std::size_t i = 0; i < speedButtonSetComm_.size(); ++i) {
    speedButtonSetComm_[i]->setEnabled(scan.Free[i]);
    const std::string device = ComPortDevice(static_cast<int>(i) + 1);
    speedButtonSetComm_[i]->setToolTip(device.empty() ? QStringLiteral("нет устройства")
                                                      : QString::fromLocal8Bit(device.c_str()));
  }
  return any;
}

void MainForm::BitBtnSetCommChangeClick() {
  if (!CloseComPort(port_)) return;
  SetPortLabel(QStringLiteral("Поиск свободных портов..."), QColor());
  if (FoundCommPort()) {
    bitBtnSetCommChange_->setEnabled(false);
    static_cast<QStackedLayout*>(panelSetCommNumbers_->parentWidget()->layout())->setCurrentWidget(panelSetCommNumbers_);
    UpdatePortKeys();
    bitBtnSetCommCancel_->setEnabled(true);
  } else {
    SetPortLabel(QStringLiteral("Com-порт не выбран"), kMaroon);
    ShowWarning(host_,
                "Отсутствует свободный COM-порт в системе.\rОсвободите один из портов используемых другими\r"
                "приложениями и повторите операцию выбора порта."_w);
  }
}

void MainForm::SpeedButtonSetCommClick(int number) {
  if (!CloseComPort(port_)) return;
  if (number < 1 || number > 8) return;
  port_.ComPortNumber = number;
  bitBtnSetCommCancel_->setEnabled(false);
  SetPortLabel(QStringLiteral("Попытка открытия порта..."), QColor());
  if (OpenComPort(port_)) {
    SetPortLabel(QStringLiteral("Текущий номер Com-порта: %1  (работает)").arg(number), kGreen);
  } else {
    SetPortLabel(QStringLiteral("Com-порт не выбран"), kMaroon);
    ShowError(host_, "Ошибка инициализации COM-порта"_w);
  }
  bitBtnSetCommChange_->setEnabled(true);
}

void MainForm::BitBtnSetCommCancelClick() {
  if (!CloseComPort(port_)) return;
  SetPortLabel(QStringLiteral("Com-порт не выбран"), kMaroon);
  bitBtnSetCommCancel_->setEnabled(false);
  bitBtnSetCommChange_->setEnabled(true);
}

}  // namespace velkor::editor
