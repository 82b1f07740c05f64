#pragma once
// The panel's programming-mode protocol as the tool drives it: the opening
// sequence, request frames, data replies and acknowledgements. Every byte is
// its own port call; the termination request is polled after each of them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stop_token>
#include <vector>

#include "link/com_port.h"

namespace velkor {

inline constexpr std::uint8_t PPKModeConfig = 0xA5;
inline constexpr std::uint8_t PPKModeText = 0xA7;
inline constexpr std::uint8_t PPKModeAck = 0x06;
inline constexpr std::uint8_t PPKVersionQuery = 0xA6;
inline constexpr std::uint8_t PPKVersionAck = 0x08;
inline constexpr std::uint8_t PPKFrameStart = 0xA0;
inline constexpr std::uint8_t PPKCmdRead = 0x08;
inline constexpr std::uint8_t PPKCmdWriteRAM = 0x0A;
inline constexpr std::uint8_t PPKCmdReadRAM = 0x0B;
inline constexpr std::uint8_t PPKCmdCopyToFlash = 0x0C;
inline constexpr std::uint8_t PPKCmdExit = 0x0E;
inline constexpr std::uint8_t PPKCmdText = 0x0F;

inline constexpr int kReadExtra = 100;   // 202 ms per byte read
inline constexpr int kWriteExtra = 50;   // 102 ms per byte written
inline constexpr int kBlockMax = 64;
inline constexpr std::size_t kReplyBufferSize = 259;  // L is one byte: 255 + 4
inline constexpr std::size_t kTextBlockData = 30;

// A request frame: start byte, L, command, parameters, checksum.
std::vector<std::uint8_t> MakeFrame(std::uint8_t command, std::span<const std::uint8_t> parameters);
// Read (FLASH) or read-back (RAM) of count bytes from address.
std::vector<std::uint8_t> MakeReadFrame(std::uint8_t command, int address, int count);
std::vector<std::uint8_t> MakeWriteRamFrame(int address, std::span<const std::uint8_t> data);
// A text block: 0x0F, 30 bytes, checksum over those 31.
std::vector<std::uint8_t> MakeTextBlock(std::span<const std::uint8_t> thirtyBytes);

// How one protocol step ended.
enum class StepResult {
  Ok,
  Restart,  // give up this exchange and begin again with the opening sequence
  Error,    // stop the transfer with its error message
  Stopped,  // termination was requested; not one byte more
};

class Exchange {
 public:
  Exchange(LinkPort& port, std::stop_token stop) : port_(port), stop_(std::move(stop)) {}

  // Reads single bytes until one read times out.
  StepResult Drain();
  // Offers the mode byte, one attempt per read limit, until 0x06 comes back.
  StepResult Handshake(std::uint8_t mode);
  // Ok with accepted set or cleared; Stopped or Error otherwise.
  StepResult VersionCheck(bool& accepted);
  // Writes the bytes one call each; a byte not written in time is an Error.
  StepResult Send(std::span<const std::uint8_t> bytes);
  // Collects a data reply into reply (L + 4 bytes, at least 4): Restart after
  // 11 time-outs in a row, Error when L is 0 or the checksum is not 0.
  StepResult CollectDataReply(std::vector<std::uint8_t>& reply);
  // Collects a 4-byte acknowledgement; anything missing, short or not
  // "done" is a Restart. The copy to FLASH waits longer: each byte sets the
  // miss counter to 90 and the wait ends above 150.
  StepResult CollectAck(bool copyToFlash = false);

  bool StopRequested() const { return stop_.stop_requested(); }

 private:
  // One byte each; false on time-out.
  bool ReadByte(std::uint8_t& byte);
  bool WriteByte(std::uint8_t byte);

  LinkPort& port_;
  std::stop_token stop_;
};

}  // namespace velkor
