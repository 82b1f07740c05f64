#include "panel_model.h"

#include <algorithm>

#include "link/protocol.h"

namespace velkor::sim {

namespace {

constexpr std::uint8_t kVersionRefused = 0x15;

std::string Hex(int v) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s = "0x";
  s += digits[(v >> 4) & 0xF];
  s += digits[v & 0xF];
  return s;
}

}  // namespace

ImageArray BlankFlash() {
  ImageArray image{};
  SetImageCheckByte(image);
  return image;
}

PanelModel::PanelModel(PanelFaults faults, int copyDelayMs)
    : flash(BlankFlash()), faults_(faults), copyDelayMs_(copyDelayMs) {
  ram = flash;
  text.fill(0);
}

std::vector<std::uint8_t> PanelModel::StrayBytes() const {
  // Leftovers that look like answers, so that taking them for one shows.
  static constexpr std::uint8_t pattern[] = {PPKModeAck, PPKVersionAck, 0x55, 0x00, 0xFF};
  std::vector<std::uint8_t> out;
  for (int i = 0; i < faults_.strayBytes; ++i) out.push_back(pattern[i % 5]);
  return out;
}

bool PanelModel::HungUp() const {
  return faults_.hangUpAfterBytes >= 0 && stats.bytesIn >= faults_.hangUpAfterBytes;
}

void PanelModel::Violation(std::string what) { stats.violations.push_back(std::move(what)); }

void PanelModel::Handshake(std::uint8_t mode, std::vector<PanelOutput>& out) {
  ++stats.handshakes;
  if (mode_ != Mode::Idle) ++stats.restarts;
  mode_ = mode == PPKModeConfig ? Mode::Config : Mode::Text;
  frame_.clear();
  textBlock_ = 0;
  ram = flash;  // a reset panel starts from its stored configuration
  out.push_back({0, {PPKModeAck}});
}

void PanelModel::Receive(std::uint8_t byte, std::vector<PanelOutput>& out) {
  ++stats.bytesIn;
  if (mode_ == Mode::Idle) {
    // Not listening: only a mode byte, just after the user's reset, counts.
    if (byte == PPKModeConfig || byte == PPKModeText) Handshake(byte, out);
    return;
  }
  if (frame_.empty()) {
    if (byte == PPKModeConfig || byte == PPKModeText) {
      Handshake(byte, out);
      return;
    }
    if (byte == PPKVersionQuery) {
      ++versionQueries_;
      out.push_back({0, {versionQueries_ <= faults_.versionRejects ? kVersionRefused : PPKVersionAck}});
      return;
    }
    if (mode_ == Mode::Text && byte == PPKCmdExit) {
      if (textBlock_ != 415) Violation("text mode left after " + std::to_string(textBlock_) + " blocks");
      ++stats.exits;
      mode_ = Mode::Idle;
      return;
    }
    const std::uint8_t start = mode_ == Mode::Config ? PPKFrameStart : PPKCmdText;
    if (byte != start) {
      Violation("unexpected byte " + Hex(byte) + " outside a frame");
      return;
    }
  }
  frame_.push_back(byte);
  if (mode_ == Mode::Text) {
    if (frame_.size() == kTextBlockData + 2) TextBlock(out);
    return;
  }
  if (frame_.size() >= 2 && frame_.size() == std::size_t{frame_[1]} + 4) ConfigFrame(out);
}

void PanelModel::TextBlock(std::vector<PanelOutput>& out) {
  std::vector<std::uint8_t> block;
  block.swap(frame_);
  ++stats.frames;
  if (Crc8(block) != 0) {
    Violation("text block with a bad checksum");
    return;
  }
  if (textBlock_ >= 415) {
    Violation("text block beyond the text image");
    return;
  }
  std::copy(block.begin() + 1, block.begin() + 1 + static_cast<long>(kTextBlockData),
            text.begin() + static_cast<long>(textBlock_) * static_cast<long>(kTextBlockData));
  ++textBlock_;
  ++stats.textBlocks;
  stats.textWritten = true;
  Ack(true, out);
}

void PanelModel::ConfigFrame(std::vector<PanelOutput>& out) {
  std::vector<std::uint8_t> f;
  f.swap(frame_);
  ++stats.frames;
  if (Crc8(f) != 0) {
    Violation("frame with a bad checksum");
    return;
  }
  const int length = f[1];
  const std::uint8_t command = f[2];
  const int address = length >= 2 ? f[3] | (f[4] << 8) : 0;
  switch (command) {
    case PPKCmdRead:
    case PPKCmdReadRAM: {
      const int count = length == 3 ? f[5] : 0;
      if (length != 3 || count < 1 || count > kBlockMax || address + count > static_cast<int>(kImageSize)) {
        Violation("bad read request");
        return;
      }
      DataReply(command == PPKCmdRead ? flash : ram, address, count, out);
      return;
    }
    case PPKCmdWriteRAM: {
      const int count = length >= 3 ? f[5] : 0;
      if (length != count + 3 || count < 1 || count > kBlockMax || address + count > static_cast<int>(kRomSize)) {
        Violation("bad RAM write request");
        return;
      }
      std::copy(f.begin() + 6, f.begin() + 6 + count, ram.begin() + address);
      if (!corrupted_ && faults_.corruptRamAt >= address && faults_.corruptRamAt < address + count) {
        ram[static_cast<std::size_t>(faults_.corruptRamAt)] ^= 0xFF;
        corrupted_ = true;
      }
      Ack(true, out);
      return;
    }
    case PPKCmdCopyToFlash: {
      if (length != 0) {
        Violation("copy request with parameters");
        return;
      }
      ++copies_;
      if (copies_ <= faults_.copyNoAck) return;
      std::copy(ram.begin(), ram.begin() + static_cast<long>(kRomSize), flash.begin());
      stats.flashWritten = true;
      Ack(false, out, copyDelayMs_);
      return;
    }
    case PPKCmdExit:
      if (length != 0) Violation("exit request with parameters");
      ++stats.exits;
      mode_ = Mode::Idle;
      return;
    default:
      Violation("unknown command " + Hex(command));
  }
}

void PanelModel::DataReply(const std::array<std::uint8_t, kImageSize>& memory, int address, int count,
                           std::vector<PanelOutput>& out) {
  ++dataReplies_;
  const int n = dataReplies_;
  int length = count;
  if (n == faults_.longReply) length = std::min(count + 64, static_cast<int>(kImageSize) - address + 64);
  std::vector<std::uint8_t> reply = {PPKFrameStart, static_cast<std::uint8_t>(n == faults_.zeroLengthReply ? 0 : length), 1};
  if (n != faults_.zeroLengthReply)
    for (int i = 0; i < length; ++i) {
      const int a = address + i;
      reply.push_back(a < static_cast<int>(kImageSize) ? memory[static_cast<std::size_t>(a)] : 0);
    }
  std::uint8_t crc = Crc8(reply);
  if (n == faults_.badChecksumReply) crc ^= 0x5A;
  reply.push_back(crc);
  if (n == faults_.cutReply) reply.resize(3);
  out.push_back({0, std::move(reply)});
}

void PanelModel::Ack(bool faultable, std::vector<PanelOutput>& out, int delayMs) {
  std::uint8_t status = 1;
  if (faultable) {
    ++ramAcks_;
    if (ramAcks_ == faults_.missingAck) return;
    if (ramAcks_ == faults_.ackStatusZero) status = 0;
  }
  std::vector<std::uint8_t> ack = {PPKFrameStart, 0, status};
  ack.push_back(Crc8(ack));
  out.push_back({delayMs, std::move(ack)});
}

}  // namespace velkor::sim
