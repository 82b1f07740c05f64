// The transfers take whatever the far end of the line sends: any byte
// stream as the panel's (or the identifier reader's) side of the exchange.
// The first byte picks the transfer; once the stream is spent the line stays
// silent and the window is closed, as a user gives up on a dead panel.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stop_token>
#include <string>

#include "host/scripted_host.h"
#include "link/transfers.h"

namespace {

using namespace velkor;

class StreamPort final : public LinkPort {
 public:
  StreamPort(std::span<const std::uint8_t> bytes, std::stop_source& stop) : bytes_(bytes), stop_(stop) {}

  bool Read(std::span<std::uint8_t> buffer, int /*extra*/) override {
    for (auto& b : buffer) {
      if (next_ >= bytes_.size()) {
        // Silence: after a while the user closes the window.
        if (++silentReads_ > 64) stop_.request_stop();
        return false;
      }
      b = bytes_[next_++];
    }
    return true;
  }
  bool Write(std::span<const std::uint8_t> buffer, int /*extra*/) override {
    written_ += buffer.size();
    if (written_ > 200'000) stop_.request_stop();  // a stream that keeps restarting
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::stop_source& stop_;
  std::size_t next_ = 0;
  std::size_t written_ = 0;
  int silentReads_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::stop_source stop;
  StreamPort port(std::span(data + 1, size - 1), stop);
  ScriptedHost host;
  ExchangeWindow window;
  const int kind = data[0] % 4;
  const auto mode = kind == 0 ? ExchangeMode::ReadConfig : kind == 1 ? ExchangeMode::WriteConfig : ExchangeMode::WriteTexts;
  const std::string_view errorText = kind == 3 ? kReadIDErrorText : ExchangeErrorText(mode);
  TransferContext ctx{port, stop.get_token(),
                      [&](ExchangeProgress& p) {
                        ExchangeUpdate(window, host, p, errorText);
                        if (window.Closed || window.OkButton) stop.request_stop();
                      },
                      [](int) {}};
  ImageArray image{};
  TextImageArray text{};
  std::string id;
  switch (kind) {
    case 0: ReadDBTransfer(ctx, image); break;
    case 1: StoreDBTransfer(ctx, image); break;
    case 2: TextDBTransfer(ctx, text); break;
    default: ReadIDTransfer(ctx, id); break;
  }
  return 0;
}
