#include "link/transfers.h"

#include <algorithm>
#include <initializer_list>

#include "link/protocol.h"

namespace velkor {

namespace {

constexpr int kLinePause = 250;
constexpr int kVersionPause = 1000;
constexpr int kReadIDClosePause = 1500;
constexpr int kConfigEnd = static_cast<int>(kRomSize);     // written and verified
constexpr int kImageEnd = static_cast<int>(kImageSize);    // read

constexpr std::string_view kInitExchange = "Инициализация обмена данными с ППК."_w;
constexpr std::string_view kResetPanel = "Необходимо выполнить аппаратный \"сброс\" ППК ..."_w;
constexpr std::string_view kLinked = "Связь с ППК установлена."_w;
constexpr std::string_view kVersion = "Проверка версии ППК ..."_w;
constexpr std::string_view kVersionBad = "Проверка версии ППК ...   не соответствует."_w;
constexpr std::string_view kVersionOk = "Проверка версии ППК ...   соответствует."_w;
constexpr std::string_view kReading = "Чтение блока информации из ППК ..."_w;
constexpr std::string_view kReadingDone = "Чтение блока информации из ППК ...   завершено."_w;
constexpr std::string_view kLeaving = "Выход из режима программирования ..."_w;
constexpr std::string_view kLeavingDone = "Выход из режима программирования ...   завершен."_w;
constexpr std::string_view kReadSuccess = "Операция чтения конфигурации завершена успешно."_w;
constexpr std::string_view kWritingRam = "Запись блока информации в ОЗУ ППК ..."_w;
constexpr std::string_view kWritingRamDone = "Запись блока информации в ОЗУ ППК ...   завершена."_w;
constexpr std::string_view kCheckRam = "Проверка записанной информации в ОЗУ ..."_w;
constexpr std::string_view kCheckRamDone = "Проверка записанной информации в ОЗУ ...   завершена."_w;
constexpr std::string_view kCopying = "Копирование информации из ОЗУ во FLASH (5-10 сек) ..."_w;
constexpr std::string_view kCopyingDone = "Копирование информации из ОЗУ во FLASH ...   завершено."_w;
constexpr std::string_view kCheckFlash = "Проверка записанной информации во FLASH ..."_w;
constexpr std::string_view kCheckFlashDone = "Проверка записанной информации во FLASH ...   завершена."_w;
constexpr std::string_view kWriteSuccess = "Операция записи конфигурации завершена успешно."_w;
constexpr std::string_view kInitTexts = "Инициализация записи текстов в ППК."_w;
constexpr std::string_view kFitTextProcessor = "Установите в ППК процессор для записи текстов ..."_w;
constexpr std::string_view kWritingTexts = "Запись текстовой информации в ППК ..."_w;
constexpr std::string_view kWritingTextsDone = "Запись текстовой информации в ППК ...   завершена."_w;
constexpr std::string_view kLeavingTexts = "Выход из режима записи текстов в ППК ..."_w;
constexpr std::string_view kLeavingTextsDone = "Выход из режима записи текстов в ППК ...   завершен."_w;
constexpr std::string_view kTextsSuccess = "Операция записи текстов в ППК завершена успешно."_w;
constexpr std::string_view kWatchTexts = "Следите за процессом записи текстов из ППК в ПЖИ."_w;
constexpr std::string_view kPresentId = "Необходимо поднести идентификатор к считывателю..."_w;
constexpr std::string_view kIdValue = "Прочитано значение: "_w;
constexpr std::string_view kIdSuccess = "Чтение идентификатора завершено успешно."_w;

struct LogLine {
  std::string_view text;
  bool pause = false;
};

// The worker's side of the reporting: it fills the progress fields and hands
// them over; every pause and hand-over is a point where a closed window ends
// the worker.
class Reporter {
 public:
  explicit Reporter(TransferContext& ctx) : ctx_(ctx) {}

  bool Stopped() const { return ctx_.stop.stop_requested(); }
  ExchangeProgress& progress() { return p_; }

  void Update() { ctx_.synchronize(p_); }
  void Gauge(std::int32_t max, std::int32_t pos) {
    p_.GaugeMax = max;
    p_.GaugePos = pos;
    Update();
  }
  void GaugePos(std::int32_t pos) {
    p_.GaugePos = pos;
    Update();
  }
  // False when termination was requested meanwhile.
  bool Show(LogLine line) {
    p_.Line = std::string(line.text);
    Update();
    if (line.pause) ctx_.pause(kLinePause);
    return !Stopped();
  }
  bool Rewrite(std::initializer_list<LogLine> lines) {
    p_.ClearLog = true;
    Update();
    for (const LogLine& l : lines)
      if (!Show(l)) return false;
    return !Stopped();
  }
  bool Wait(int milliseconds) {
    ctx_.pause(milliseconds);
    return !Stopped();
  }
  // Error or Done: report it, then wait for the window to close.
  void Finish(bool success) {
    (success ? p_.Done : p_.Error) = true;
    Update();
    while (!Stopped()) ctx_.pause(kLinePause);
  }

 private:
  TransferContext& ctx_;
  ExchangeProgress p_;
};

enum class Flow { Next, Restart, End };

// After a step: Restart goes round again, Error reports, Stopped just ends.
Flow Judge(StepResult r, Reporter& rep) {
  switch (r) {
    case StepResult::Ok:
      return Flow::Next;
    case StepResult::Restart:
      return Flow::Restart;
    case StepResult::Error:
      rep.Finish(false);
      return Flow::End;
    case StepResult::Stopped:
      break;
  }
  return Flow::End;
}

// Drain, handshake, version check. Restart when the version is refused.
Flow Opening(Exchange& ex, Reporter& rep, std::uint8_t mode, std::initializer_list<LogLine> askVersion) {
  if (Flow f = Judge(ex.Drain(), rep); f != Flow::Next) return f;
  if (Flow f = Judge(ex.Handshake(mode), rep); f != Flow::Next) return f;
  if (!rep.Rewrite(askVersion)) return Flow::End;
  bool accepted = false;
  if (Flow f = Judge(ex.VersionCheck(accepted), rep); f != Flow::Next) return f;
  if (accepted) return Flow::Next;
  if (!rep.Rewrite({{kLinked}, {kVersionBad}}) || !rep.Wait(kVersionPause)) return Flow::End;
  return Flow::Restart;
}

// Reads [0, end) with the given command, handing each reply's data bytes to
// `take(address, bytes)`; take returns false for a mismatch (an Error).
template <typename Take>
Flow ReadRegion(Exchange& ex, Reporter& rep, std::uint8_t command, int end, std::int32_t gaugeMax, Take take) {
  std::vector<std::uint8_t> reply;
  reply.reserve(kReplyBufferSize);
  int address = 0;
  while (address < end) {
    const int count = std::min(kBlockMax, end - address);
    if (Flow f = Judge(ex.Send(MakeReadFrame(command, address, count)), rep); f != Flow::Next) return f;
    if (Flow f = Judge(ex.CollectDataReply(reply), rep); f != Flow::Next) return f;
    const int length = reply[1];
    // A reply longer than asked is taken, but never past the image's end.
    if (address + length > kImageEnd ||
        !take(address, std::span<const std::uint8_t>(reply).subspan(3, static_cast<std::size_t>(length)))) {
      rep.Finish(false);
      return Flow::End;
    }
    address += length;
    rep.Gauge(gaugeMax, address);
  }
  return Flow::Next;
}

Flow ReadOnce(Exchange& ex, Reporter& rep, ImageArray& image) {
  rep.GaugePos(0);
  if (!rep.Rewrite({{kInitExchange}, {kResetPanel}})) return Flow::End;
  if (Flow f = Opening(ex, rep, PPKModeConfig, {{kLinked, true}, {kVersion, true}}); f != Flow::Next) return f;
  if (!rep.Rewrite({{kLinked}, {kVersionOk, true}, {kReading, true}})) return Flow::End;
  Flow f = ReadRegion(ex, rep, PPKCmdRead, kImageEnd, kImageEnd, [&](int address, std::span<const std::uint8_t> data) {
    std::copy(data.begin(), data.end(), image.begin() + address);
    return true;
  });
  if (f != Flow::Next) return f;
  if (!rep.Rewrite({{kLinked}, {kVersionOk}, {kReadingDone, true}})) return Flow::End;
  rep.GaugePos(0);
  if (!rep.Show({kLeaving, true})) return Flow::End;
  if (Flow g = Judge(ex.Send(MakeFrame(PPKCmdExit, {})), rep); g != Flow::Next) return g;
  if (!ImageCheckOk(image)) {
    rep.Finish(false);
    return Flow::End;
  }
  rep.Gauge(kConfigEnd, kConfigEnd);
  if (!rep.Rewrite({{kLinked}, {kVersionOk}, {kReadingDone}, {kLeavingDone, true}})) return Flow::End;
  if (!rep.Show({kReadSuccess})) return Flow::End;
  rep.Finish(true);
  return Flow::End;
}

Flow StoreOnce(Exchange& ex, Reporter& rep, ImageArray& image) {
  SetImageCheckByte(image);
  rep.GaugePos(0);
  if (!rep.Rewrite({{kInitExchange}, {kResetPanel}})) return Flow::End;
  if (Flow f = Opening(ex, rep, PPKModeConfig, {{kLinked}, {kVersion, true}}); f != Flow::Next) return f;
  if (!rep.Rewrite({{kLinked}, {kVersionOk, true}, {kWritingRam, true}})) return Flow::End;

  for (int address = 0; address < kConfigEnd;) {
    const int n = std::min(kBlockMax, kConfigEnd - address);
    auto frame = MakeWriteRamFrame(address, std::span<const std::uint8_t>(image).subspan(
                                                 static_cast<std::size_t>(address), static_cast<std::size_t>(n)));
    if (Flow f = Judge(ex.Send(frame), rep); f != Flow::Next) return f;
    address += n;
    if (Flow f = Judge(ex.CollectAck(), rep); f != Flow::Next) return f;
    rep.Gauge(kConfigEnd, address);
  }

  auto same = [&](int address, std::span<const std::uint8_t> data) {
    return std::equal(data.begin(), data.end(), image.begin() + address);
  };
  if (!rep.Rewrite({{kLinked}, {kVersionOk}, {kWritingRamDone, true}})) return Flow::End;
  rep.GaugePos(0);
  if (!rep.Show({kCheckRam, true})) return Flow::End;
  if (Flow f = ReadRegion(ex, rep, PPKCmdReadRAM, kConfigEnd, kConfigEnd, same); f != Flow::Next) return f;

  if (!rep.Rewrite({{kLinked}, {kVersionOk}, {kWritingRamDone}, {kCheckRamDone, true}})) return Flow::End;
  rep.Gauge(kConfigEnd, kConfigEnd / 2);
  if (!rep.Show({kCopying, true})) return Flow::End;
  if (Flow f = Judge(ex.Send(MakeFrame(PPKCmdCopyToFlash, {})), rep); f != Flow::Next) return f;
  if (Flow f = Judge(ex.CollectAck(true), rep); f != Flow::Next) return f;

  rep.GaugePos(kConfigEnd);
  if (!rep.Rewrite({{kLinked}, {kVersionOk}, {kWritingRamDone}, {kCheckRamDone}, {kCopyingDone, true}}))
    return Flow::End;
  rep.GaugePos(0);
  if (!rep.Show({kCheckFlash, true})) return Flow::End;
  if (Flow f = ReadRegion(ex, rep, PPKCmdRead, kConfigEnd, kConfigEnd, same); f != Flow::Next) return f;

  if (!rep.Rewrite(
          {{kLinked}, {kVersionOk}, {kWritingRamDone}, {kCheckRamDone}, {kCopyingDone}, {kCheckFlashDone, true}}))
    return Flow::End;
  rep.GaugePos(0);
  if (!rep.Show({kLeaving, true})) return Flow::End;
  if (Flow f = Judge(ex.Send(MakeFrame(PPKCmdExit, {})), rep); f != Flow::Next) return f;

  rep.Gauge(kConfigEnd, kConfigEnd);
  if (!rep.Rewrite({{kLinked},
                    {kVersionOk},
                    {kWritingRamDone},
                    {kCheckRamDone},
                    {kCopyingDone},
                    {kCheckFlashDone},
                    {kLeavingDone, true}}))
    return Flow::End;
  if (!rep.Show({kWriteSuccess})) return Flow::End;
  rep.Finish(true);
  return Flow::End;
}

Flow TextsOnce(Exchange& ex, Reporter& rep, const TextImageArray& text) {
  rep.GaugePos(0);
  if (!rep.Rewrite({{kInitTexts}, {kFitTextProcessor}, {kResetPanel}})) return Flow::End;
  if (Flow f = Opening(ex, rep, PPKModeText, {{kLinked}, {kVersion, true}}); f != Flow::Next) return f;
  if (!rep.Rewrite({{kLinked}, {kVersionOk, true}, {kWritingTexts, true}})) return Flow::End;
  constexpr int kTextEnd = static_cast<int>(kTextImageSize);
  for (int offset = 0; offset < kTextEnd;) {
    auto block = MakeTextBlock(std::span<const std::uint8_t>(text).subspan(static_cast<std::size_t>(offset),
                                                                            kTextBlockData));
    if (Flow f = Judge(ex.Send(block), rep); f != Flow::Next) return f;
    offset += static_cast<int>(kTextBlockData);
    if (Flow f = Judge(ex.CollectAck(), rep); f != Flow::Next) return f;
    rep.Gauge(kTextEnd, offset);
  }
  if (!rep.Rewrite({{kLinked}, {kVersionOk}, {kWritingTextsDone, true}})) return Flow::End;
  rep.GaugePos(0);
  if (!rep.Show({kLeavingTexts, true})) return Flow::End;
  const std::uint8_t leave[1] = {PPKCmdExit};
  if (Flow f = Judge(ex.Send(leave), rep); f != Flow::Next) return f;
  rep.Gauge(kConfigEnd, kConfigEnd);
  if (!rep.Rewrite({{kLinked}, {kVersionOk}, {kWritingTextsDone}, {kLeavingTextsDone, true}})) return Flow::End;
  if (!rep.Show({kTextsSuccess}) || !rep.Show({kWatchTexts})) return Flow::End;
  rep.Finish(true);
  return Flow::End;
}

template <typename Once>
void RunWithRestarts(TransferContext& ctx, Once once) {
  Exchange ex(ctx.port, ctx.stop);
  Reporter rep(ctx);
  while (!ctx.stop.stop_requested() && once(ex, rep) == Flow::Restart) {
  }
}

bool IsIdentifierChar(std::uint8_t b) { return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'F'); }

}  // namespace

void ReadDBTransfer(TransferContext& ctx, ImageArray& DBReadArray) {
  RunWithRestarts(ctx, [&](Exchange& ex, Reporter& rep) { return ReadOnce(ex, rep, DBReadArray); });
}

void StoreDBTransfer(TransferContext& ctx, ImageArray& DBStoreArray) {
  RunWithRestarts(ctx, [&](Exchange& ex, Reporter& rep) { return StoreOnce(ex, rep, DBStoreArray); });
}

void TextDBTransfer(TransferContext& ctx, const TextImageArray& TextImage) {
  RunWithRestarts(ctx, [&](Exchange& ex, Reporter& rep) { return TextsOnce(ex, rep, TextImage); });
}

void ReadIDTransfer(TransferContext& ctx, std::string& ReadIDValue) {
  Exchange ex(ctx.port, ctx.stop);
  Reporter rep(ctx);
  rep.progress().ClearLog = true;
  rep.Update();
  if (!rep.Show({kPresentId})) return;
  ReadIDValue.clear();
  if (ex.Drain() != StepResult::Ok) return;
  int counted = 0;
  bool lastGood = false;
  while (counted == 0 || lastGood) {
    std::uint8_t b = 0;
    bool got = ctx.port.Read(std::span(&b, 1), kReadExtra);
    if (ctx.stop.stop_requested()) return;
    if (!got) {
      lastGood = false;
    } else if (IsIdentifierChar(b)) {
      ReadIDValue.push_back(static_cast<char>(b));
      ++counted;
      lastGood = true;
    }
  }
  if (!rep.Show({std::string(kIdValue) + ReadIDValue}) || !rep.Show({kIdSuccess})) return;
  rep.progress().Done = true;
  rep.Update();
  if (!rep.Wait(kReadIDClosePause)) return;
  rep.progress().Close = true;
  rep.Update();
}

std::string_view ExchangeCaption(ExchangeMode mode) {
  return mode == ExchangeMode::WriteTexts ? "Запись текстов в ППК"_w : "Обмен данными с ППК"_w;
}

std::string_view ExchangeErrorText(ExchangeMode mode) {
  switch (mode) {
    case ExchangeMode::ReadConfig:
      return "Ошибка чтения базы данных!\r\rОперация чтения базы данных\rбыла прервана."_w;
    case ExchangeMode::WriteConfig:
      return "Ошибка записи базы данных!\r\rОпрерация записи базы данных\rбыла прервана."_w;
    case ExchangeMode::WriteTexts:
      break;
  }
  return "Ошибка записи текста!\r\rОпрерация записи текста\rбыла прервана."_w;
}

void ExchangeUpdate(ExchangeWindow& window, Host& host, ExchangeProgress& progress, std::string_view errorText) {
  if (window.Closed) return;
  if (progress.Error) {
    window.ExchangeResult = kExchangeError;
    ShowError(host, errorText);
    window.Closed = true;
    return;
  }
  if (progress.Close) {
    window.Closed = true;
    return;
  }
  if (progress.Done) {
    window.ExchangeResult = kExchangeSuccess;
    window.OkButton = true;
    return;
  }
  if (progress.ClearLog) {
    window.Log.clear();
    progress.ClearLog = false;
  }
  if (!progress.Line.empty()) {
    window.Log.push_back(std::move(progress.Line));
    progress.Line.clear();
  }
  window.GaugeMax = progress.GaugeMax;
  window.GaugePos = progress.GaugePos;
}

ExchangeSession::ExchangeSession(LinkPort& port, Body body)
    : port_(port), body_(std::move(body)), worker_([this](std::stop_token stop) {
        TransferContext ctx{port_, stop, [this, stop](ExchangeProgress& p) { Synchronize(stop, p); },
                            [this, stop](int ms) { Pause(stop, ms); }};
        body_(ctx);
        std::lock_guard lock(mutex_);
        finished_ = true;
        cv_.notify_all();
      }) {}

ExchangeSession::~ExchangeSession() { Join(); }

void ExchangeSession::Synchronize(const std::stop_token& stop, ExchangeProgress& progress) {
  std::unique_lock lock(mutex_);
  if (stop.stop_requested()) return;
  pending_ = &progress;
  cv_.notify_all();
  cv_.wait(lock, stop, [&] { return pending_ == nullptr; });
  pending_ = nullptr;
}

void ExchangeSession::Pause(const std::stop_token& stop, int milliseconds) {
  std::unique_lock lock(mutex_);
  cv_.wait_for(lock, stop, std::chrono::milliseconds(milliseconds), [] { return false; });
}

bool ExchangeSession::Pump(std::chrono::milliseconds wait, const std::function<void(ExchangeProgress&)>& update) {
  std::unique_lock lock(mutex_);
  cv_.wait_for(lock, wait, [&] { return pending_ != nullptr || finished_; });
  if (pending_ != nullptr) {
    ExchangeProgress* p = pending_;
    // The worker is blocked until pending_ is cleared; the fields are ours.
    lock.unlock();
    update(*p);
    lock.lock();
    pending_ = nullptr;
    cv_.notify_all();
    return true;
  }
  return !finished_;
}

void ExchangeSession::RequestStop() {
  worker_.request_stop();
  std::lock_guard lock(mutex_);
  cv_.notify_all();
}

void ExchangeSession::Join() {
  RequestStop();
  if (worker_.joinable()) worker_.join();
}

}  // namespace velkor
