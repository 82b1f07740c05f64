#pragma once
// TPPKDBForm and TReadIDForm: the modal windows behind which a transfer or
// an identifier reading runs on its worker thread. The worker's reports are
// taken on the main thread while the worker waits (ExchangeSession); the
// window shows the log, the gauge and "Отмена", which becomes "OK".

#include <QDialog>
#include <QTimer>
#include <memory>
#include <string>

#include "link/transfers.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace velkor::editor {

// TGauge: a bar filled in navy with its percentage in the middle, drawn
// white over the filled part and navy over the rest, so it reads at any
// position.
class Gauge : public QWidget {
  Q_OBJECT
 public:
  explicit Gauge(QWidget* parent = nullptr);
  void SetRange(int maximum, int position);
  int Percent() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int maximum_ = 0;
  int position_ = 0;
};

class ExchangeForm : public QDialog {
  Q_OBJECT
 public:
  enum class Kind { Exchange, ReadID };
  ExchangeForm(Kind kind, Host& host, QWidget* parent = nullptr);
  ~ExchangeForm() override;

  // Shows the window modally with the worker `body` running; returns the
  // ExchangeResult once the window has closed.
  int Run(const QString& caption, std::string_view errorText, LinkPort& port, ExchangeSession::Body body);

  const ExchangeWindow& State() const { return state_; }

 private:
  void Poll();
  void Apply();
  void Stop();

  Kind kind_;
  Host& host_;
  std::string errorText_;
  ExchangeWindow state_;
  std::unique_ptr<ExchangeSession> session_;
  QTimer timer_;
  bool pumping_ = false;
  QPlainTextEdit* memo_;
  Gauge* gauge_ = nullptr;
  QPushButton* button_;
};

}  // namespace velkor::editor
