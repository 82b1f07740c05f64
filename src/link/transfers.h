#pragma once
// The transfers with the panel (read, write, texts) and identifier reading.
// Each runs on a worker thread and hands its progress to the main thread
// through a call that the main thread runs while the worker waits; the
// worker never touches what the user sees. The exchange window's own state
// (log, gauge, button, ExchangeResult) is ExchangeWindow below, so that the
// desktop window, the command line and the tests share one update rule.

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "host/host.h"
#include "image/image_map.h"
#include "link/com_port.h"

namespace velkor {

// Which transfer the exchange window runs.
enum class ExchangeMode : int { ReadConfig = 0, WriteConfig = 1, WriteTexts = 2 };

// Outcome of the last transfer, read by the caller once the window is closed.
inline constexpr std::uint8_t kExchangeSuccess = 0;
inline constexpr std::uint8_t kExchangeError = 1;
inline constexpr std::uint8_t kExchangeNotFinished = 2;

inline constexpr std::size_t kTextImageSize = 12450;
using TextImageArray = std::array<std::uint8_t, kTextImageSize>;

// The fields a worker fills before each synchronised call.
struct ExchangeProgress {
  bool Done = false;
  bool Error = false;
  bool ClearLog = false;
  std::string Line;  // Windows-1251; emptied once shown
  std::int32_t GaugeMax = 0;
  std::int32_t GaugePos = 0;
  // Identifier reading only: the worker asks the window to close itself.
  bool Close = false;
};

// What a worker needs from its surroundings.
struct TransferContext {
  LinkPort& port;
  std::stop_token stop;
  // Runs the window's update operation on the main thread and returns once it
  // has run (or at once when the window is already closing).
  std::function<void(ExchangeProgress&)> synchronize;
  // A fixed pause of the transfer; a termination request may cut it short.
  std::function<void(int milliseconds)> pause;
};

// The workers. Read and write leave Done or Error and then wait for the
// window to close; a termination request ends them after the current byte.
void ReadDBTransfer(TransferContext& ctx, ImageArray& DBReadArray);
void StoreDBTransfer(TransferContext& ctx, ImageArray& DBStoreArray);
void TextDBTransfer(TransferContext& ctx, const TextImageArray& TextImage);
void ReadIDTransfer(TransferContext& ctx, std::string& ReadIDValue);

// Caption and error text of each kind of exchange window.
std::string_view ExchangeCaption(ExchangeMode mode);
std::string_view ExchangeErrorText(ExchangeMode mode);
inline constexpr std::string_view kReadIDCaption = "Чтение данных из ТМ или RFID"_w;
inline constexpr std::string_view kReadIDErrorText =
    "Ошибка чтения идентификатора!\r\rОперация чтения идентификатора\rбыла прервана."_w;

// The exchange window without its widgets.
struct ExchangeWindow {
  std::uint8_t ExchangeResult = kExchangeNotFinished;
  std::vector<std::string> Log;
  std::int32_t GaugeMax = 0;
  std::int32_t GaugePos = 0;
  bool OkButton = false;  // "Отмена" has become "OK"
  bool Closed = false;
};

// The window's update operation, run on the main thread once per report.
void ExchangeUpdate(ExchangeWindow& window, Host& host, ExchangeProgress& progress,
                    std::string_view errorText);

// Runs one worker on its own thread with the blocking hand-over to the
// calling (main) thread. The main thread pumps reports until the window
// closes, then asks the worker to stop; the destructor joins it.
class ExchangeSession {
 public:
  using Body = std::function<void(TransferContext&)>;
  ExchangeSession(LinkPort& port, Body body);
  ~ExchangeSession();
  ExchangeSession(const ExchangeSession&) = delete;
  ExchangeSession& operator=(const ExchangeSession&) = delete;

  // Waits up to `wait` for the worker's next report and runs `update` on it.
  // False once the worker has returned and nothing is pending.
  bool Pump(std::chrono::milliseconds wait, const std::function<void(ExchangeProgress&)>& update);
  // The window closes: the worker stops after its current byte.
  void RequestStop();
  void Join();

 private:
  void Synchronize(const std::stop_token& stop, ExchangeProgress& progress);
  void Pause(const std::stop_token& stop, int milliseconds);

  std::mutex mutex_;
  std::condition_variable_any cv_;
  ExchangeProgress* pending_ = nullptr;
  bool finished_ = false;
  LinkPort& port_;
  Body body_;
  std::jthread worker_;  // last: started once everything above exists
};

}  // namespace velkor
