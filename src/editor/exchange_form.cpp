#include "exchange_form.h"

#include <algorithm>

#include <QGroupBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt_text.h"

namespace velkor::editor {

Gauge::Gauge(QWidget* parent) : QWidget(parent) { setFixedHeight(20); }

void Gauge::SetRange(int maximum, int position) {
  if (maximum == maximum_ && position == position_) return;
  maximum_ = maximum;
  position_ = position;
  update();
}

int Gauge::Percent() const {
  if (maximum_ <= 0) return 0;
  const long long p = 100LL * std::clamp(position_, 0, maximum_) / maximum_;
  return static_cast<int>(p);
}

void Gauge::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  const QRect inside = rect().adjusted(1, 1, -1, -1);
  const QColor navy(0, 0, 128);
  p.fillRect(inside, Qt::white);
  const QRect filled(inside.topLeft(), QSize(inside.width() * Percent() / 100, inside.height()));
  p.fillRect(filled, navy);
  const QString text = QStringLiteral("%1%").arg(Percent());
  p.setPen(navy);
  p.setClipRect(inside.adjusted(filled.width(), 0, 0, 0));
  p.drawText(inside, Qt::AlignCenter, text);
  p.setPen(Qt::white);
  p.setClipRect(filled);
  p.drawText(inside, Qt::AlignCenter, text);
  p.setClipping(false);
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(frame);
}

ExchangeForm::ExchangeForm(Kind kind, Host& host, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), kind_(kind), host_(host) {
  const bool exchange = kind == Kind::Exchange;
  setObjectName(exchange ? QStringLiteral("PPKDBForm") : QStringLiteral("ReadIDForm"));
  setWindowTitle(exchange ? Qs(ExchangeCaption(ExchangeMode::ReadConfig)) : Qs(kReadIDCaption));
  setModal(true);
  setFixedSize(exchange ? QSize(420, 207) : QSize(439, 208));

  auto* layout = new QVBoxLayout(this);
  auto* box = new QGroupBox(QStringLiteral("  Статистика  "), this);
  auto* boxLayout = new QVBoxLayout(box);
  memo_ = new QPlainTextEdit(box);
  memo_->setObjectName(QStringLiteral("MemoProgress"));
  // The log is for reading only: no caret, no focus, no editing.
  memo_->setReadOnly(true);
  memo_->setFocusPolicy(Qt::NoFocus);
  memo_->setTextInteractionFlags(Qt::NoTextInteraction);
  boxLayout->addWidget(memo_);
  if (exchange) {
    gauge_ = new Gauge(box);
    gauge_->setObjectName(QStringLiteral("GaugeProgress"));
    boxLayout->addWidget(gauge_);
  }
  layout->addWidget(box);
  button_ = new QPushButton(QStringLiteral("Отмена"), this);
  button_->setObjectName(QStringLiteral("BitBtnCancel"));
  layout->addWidget(button_, 0, Qt::AlignHCenter);
  connect(button_, &QPushButton::clicked, this, [this] {
    if (state_.OkButton)
      accept();
    else
      reject();
  });
  timer_.setInterval(10);
  connect(&timer_, &QTimer::timeout, this, &ExchangeForm::Poll);
}

ExchangeForm::~ExchangeForm() { Stop(); }

int ExchangeForm::Run(const QString& caption, std::string_view errorText, LinkPort& port,
                      ExchangeSession::Body body) {
  setWindowTitle(caption);
  errorText_ = std::string(errorText);
  state_ = ExchangeWindow{};
  state_.ExchangeResult = kExchangeNotFinished;
  button_->setText(QStringLiteral("Отмена"));
  button_->setDefault(false);
  memo_->clear();
  if (gauge_) gauge_->SetRange(0, 0);
  session_ = std::make_unique<ExchangeSession>(port, std::move(body));
  timer_.start();
  exec();
  Stop();
  return state_.ExchangeResult;
}

// Closing always stops the worker; it notices after its current byte.
void ExchangeForm::Stop() {
  timer_.stop();
  if (session_) {
    session_->RequestStop();
    session_.reset();
  }
}

void ExchangeForm::Poll() {
  // An error box opened by a report runs its own event loop: no second
  // report may be taken meanwhile.
  if (pumping_ || !session_) return;
  pumping_ = true;
  // Take the reports that are waiting, one at a time: each one blocks its
  // worker until it has been shown.
  bool reported = true;
  while (reported && !state_.Closed && session_) {
    reported = false;
    session_->Pump(std::chrono::milliseconds(0), [this, &reported](ExchangeProgress& progress) {
      reported = true;
      ExchangeUpdate(state_, host_, progress, errorText_);
      Apply();
    });
  }
  pumping_ = false;
  if (state_.Closed && isVisible()) {
    timer_.stop();
    done(state_.ExchangeResult == kExchangeSuccess ? QDialog::Accepted : QDialog::Rejected);
  }
}

void ExchangeForm::Apply() {
  QStringList lines;
  for (const std::string& line : state_.Log) lines << Qs(line);
  const QString text = lines.join(QLatin1Char('\n'));
  if (memo_->toPlainText() != text) {
    memo_->setPlainText(text);
    memo_->moveCursor(QTextCursor::End);
  }
  if (gauge_) gauge_->SetRange(state_.GaugeMax, state_.GaugePos);
  if (state_.OkButton && button_->text() != QStringLiteral("OK")) {
    button_->setText(QStringLiteral("OK"));
    button_->setDefault(true);
  }
}

}  // namespace velkor::editor
