#pragma once
// The serial port (unit FRout): which port is chosen, whether it is open, the
// fixed line settings (9600 8N1, DTR and RTS on, no flow control) and the
// four operations whose time limit is set per call.
//
// Thread rules: open, close and the scan run on the main thread; while a
// transfer runs, its worker alone reads and writes. Nothing here is locked.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velkor {

// What the exchange protocol needs from a line. A serial device, a
// pseudo-terminal and an in-memory pipe all stand behind it.
class LinkPort {
 public:
  virtual ~LinkPort() = default;
  // Reads exactly buffer.size() bytes within the call's time limit; true only
  // if all of them arrived. A short count is a time-out, not an error.
  virtual bool Read(std::span<std::uint8_t> buffer, int extra) = 0;
  // Writes exactly buffer.size() bytes within the call's time limit.
  virtual bool Write(std::span<const std::uint8_t> buffer, int extra) = 0;
};

// The time limit of one read or write call, in milliseconds: the driver's
// multiplier and constant are both count + extra.
constexpr long long CallTimeLimitMs(std::size_t count, int extra) {
  const long long perByte = static_cast<long long>(count) + extra;
  return perByte * (static_cast<long long>(count) + 1);
}

inline constexpr int kComPortFirst = 1;
inline constexpr int kComPortLast = 8;

struct FRout final : LinkPort {
  FRout() = default;
  FRout(const FRout&) = delete;
  FRout& operator=(const FRout&) = delete;
  ~FRout() override;

  int ComPortNumber = -1;  // 1..8, -1 none chosen
  int ComPortHandle = -1;  // file descriptor, -1 closed
  std::string DevicePath;  // the device behind the open port

  bool Read(std::span<std::uint8_t> buffer, int extra) override;
  bool Write(std::span<const std::uint8_t> buffer, int extra) override;
};

// The device that stands for COMn: VELKOR_COM<n> when set, otherwise the n-th
// serial device found; empty when there is none.
std::string ComPortDevice(int number);
// Serial devices of the system in the order COM1.. takes them: USB adapters,
// ACM devices, then on-board ports that answer.
std::vector<std::string> SerialDevicesFound();

// Opens COM<ComPortNumber>. False, nothing changed, when a port is open or the
// number is outside 1..8; false with ComPortHandle -1 when the device is
// missing, busy or refuses the settings.
bool OpenComPort(FRout& port);
// Opens a device by path with the same settings and exclusivity (the command
// line's --port /dev/...). ComPortNumber is left as it is.
bool OpenComPortDevice(FRout& port, const std::string& path);
// True when no port was open or it was closed.
bool CloseComPort(FRout& port);
bool ReadComPort(FRout& port, std::span<std::uint8_t> buffer, int extra);
bool WriteComPort(FRout& port, std::span<const std::uint8_t> buffer, int extra);

// Ports 1..8 in turn: which of them open. Leaves ComPortNumber at the highest
// free port (-1 when none) and no port open; true when any was free.
struct ComPortScan {
  std::array<bool, kComPortLast> Free{};  // index n - 1
};
bool FoundCommPort(FRout& port, ComPortScan& scan);

// "COM3" (any case) gives 3; anything else 0.
int ParseComPortName(const std::string& name);

}  // namespace velkor
