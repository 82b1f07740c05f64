#include "link/protocol.h"

#include "image/image_map.h"

namespace velkor {

std::vector<std::uint8_t> MakeFrame(std::uint8_t command, std::span<const std::uint8_t> parameters) {
  std::vector<std::uint8_t> frame;
  frame.reserve(parameters.size() + 4);
  frame.push_back(PPKFrameStart);
  frame.push_back(static_cast<std::uint8_t>(parameters.size()));
  frame.push_back(command);
  frame.insert(frame.end(), parameters.begin(), parameters.end());
  frame.push_back(Crc8(frame));
  return frame;
}

std::vector<std::uint8_t> MakeReadFrame(std::uint8_t command, int address, int count) {
  const std::uint8_t p[3] = {static_cast<std::uint8_t>(address & 0xFF),
                             static_cast<std::uint8_t>((address >> 8) & 0xFF),
                             static_cast<std::uint8_t>(count)};
  return MakeFrame(command, p);
}

std::vector<std::uint8_t> MakeWriteRamFrame(int address, std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> p;
  p.reserve(data.size() + 3);
  p.push_back(static_cast<std::uint8_t>(address & 0xFF));
  p.push_back(static_cast<std::uint8_t>((address >> 8) & 0xFF));
  p.push_back(static_cast<std::uint8_t>(data.size()));
  p.insert(p.end(), data.begin(), data.end());
  return MakeFrame(PPKCmdWriteRAM, p);
}

std::vector<std::uint8_t> MakeTextBlock(std::span<const std::uint8_t> thirtyBytes) {
  std::vector<std::uint8_t> block;
  block.reserve(thirtyBytes.size() + 2);
  block.push_back(PPKCmdText);
  block.insert(block.end(), thirtyBytes.begin(), thirtyBytes.end());
  block.push_back(Crc8(block));
  return block;
}

bool Exchange::ReadByte(std::uint8_t& byte) { return port_.Read(std::span(&byte, 1), kReadExtra); }

bool Exchange::WriteByte(std::uint8_t byte) {
  const std::uint8_t b[1] = {byte};
  return port_.Write(b, kWriteExtra);
}

StepResult Exchange::Drain() {
  for (;;) {
    std::uint8_t b = 0;
    bool got = ReadByte(b);
    if (StopRequested()) return StepResult::Stopped;
    if (!got) return StepResult::Ok;
  }
}

StepResult Exchange::Handshake(std::uint8_t mode) {
  for (;;) {
    bool sent = WriteByte(mode);
    if (StopRequested()) return StepResult::Stopped;
    if (!sent) return StepResult::Error;
    std::uint8_t b = 0;
    bool got = ReadByte(b);
    if (StopRequested()) return StepResult::Stopped;
    if (got && b == PPKModeAck) return StepResult::Ok;
  }
}

StepResult Exchange::VersionCheck(bool& accepted) {
  accepted = false;
  bool sent = WriteByte(PPKVersionQuery);
  if (StopRequested()) return StepResult::Stopped;
  if (!sent) return StepResult::Error;
  std::uint8_t b = 0;
  bool got = ReadByte(b);
  if (StopRequested()) return StepResult::Stopped;
  accepted = got && b == PPKVersionAck;
  return StepResult::Ok;
}

StepResult Exchange::Send(std::span<const std::uint8_t> bytes) {
  for (std::uint8_t b : bytes) {
    bool sent = WriteByte(b);
    if (StopRequested()) return StepResult::Stopped;
    if (!sent) return StepResult::Error;
  }
  return StepResult::Ok;
}

StepResult Exchange::CollectDataReply(std::vector<std::uint8_t>& reply) {
  reply.clear();
  int misses = 0;
  std::size_t want = 4;
  while (reply.size() < want) {
    std::uint8_t b = 0;
    bool got = ReadByte(b);
    if (StopRequested()) return StepResult::Stopped;
    if (!got) {
      if (++misses > 10) return StepResult::Restart;
      continue;
    }
    misses = 0;
    reply.push_back(b);
    if (reply.size() == 2) want = std::size_t{b} + 4;  // never beyond the 259-byte buffer
  }
  if (reply[1] == 0 || Crc8(reply) != 0) return StepResult::Error;
  return StepResult::Ok;
}

StepResult Exchange::CollectAck(bool copyToFlash) {
  const int onByte = copyToFlash ? 90 : 0;
  const int giveUpAbove = copyToFlash ? 150 : 10;
  std::array<std::uint8_t, 4> ack{};
  std::size_t got = 0;
  int misses = 0;
  while (got < ack.size()) {
    std::uint8_t b = 0;
    bool ok = ReadByte(b);
    if (StopRequested()) return StepResult::Stopped;
    if (!ok) {
      if (++misses > giveUpAbove) return StepResult::Restart;
      continue;
    }
    misses = onByte;
    ack[got++] = b;
  }
  if (ack[1] != 0 || ack[2] != 1) return StepResult::Restart;
  return StepResult::Ok;
}

}  // namespace velkor
