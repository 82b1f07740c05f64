#pragma once
// A panel in its programming modes, as a byte machine: bytes from the tool go
// in, timed bytes for the tool come out. It knows nothing of the line; the
// simulator puts it on a pseudo-terminal, the unit tests on an in-memory
// pipe with a virtual clock. Faults are injected on request, each counted
// over the whole session (1 = the first such reply).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/image_map.h"
#include "link/transfers.h"

namespace velkor::sim {

struct PanelFaults {
  int badChecksumReply = 0;  // the n-th data reply carries a wrong checksum
  int zeroLengthReply = 0;   // the n-th data reply announces L = 0 (checksum right)
  int cutReply = 0;          // the n-th data reply stops after 3 bytes; silence follows
  int longReply = 0;         // the n-th data reply carries 64 bytes more than asked
  int ackStatusZero = 0;     // the n-th block acknowledgement has status 0
  int missingAck = 0;        // the n-th block acknowledgement is not sent
  int corruptRamAt = -1;     // a RAM write to this address stores its byte inverted, once
  int copyNoAck = 0;         // the first n copies to FLASH are never acknowledged
  int strayBytes = 0;        // bytes waiting on the line before the handshake
  int versionRejects = 0;    // the version query is refused this many times
  int hangUpAfterBytes = -1; // the line goes dead after this many received bytes
};

struct PanelStats {
  long long bytesIn = 0;
  long long bytesOut = 0;
  int frames = 0;
  int handshakes = 0;
  int restarts = 0;  // handshakes while still in a programming mode
  int exits = 0;
  int textBlocks = 0;
  bool flashWritten = false;
  bool textWritten = false;
  std::vector<std::string> violations;
};

// Bytes for the tool: sent after `delayMs` from the moment the byte that
// caused them arrived.
struct PanelOutput {
  int delayMs = 0;
  std::vector<std::uint8_t> bytes;
};

class PanelModel {
 public:
  PanelModel(PanelFaults faults, int copyDelayMs);

  ImageArray flash{};
  ImageArray ram{};
  TextImageArray text{};
  PanelStats stats;

  // What lies on the line before the tool says anything.
  std::vector<std::uint8_t> StrayBytes() const;
  // One byte from the tool; appends what the panel answers.
  void Receive(std::uint8_t byte, std::vector<PanelOutput>& out);
  // True once the line should be cut (hang-up fault).
  bool HungUp() const;

 private:
  enum class Mode { Idle, Config, Text };
  void Handshake(std::uint8_t mode, std::vector<PanelOutput>& out);
  void ConfigFrame(std::vector<PanelOutput>& out);
  void TextBlock(std::vector<PanelOutput>& out);
  void DataReply(const std::array<std::uint8_t, kImageSize>& memory, int address, int count,
                 std::vector<PanelOutput>& out);
  // Block acknowledgements (RAM writes, text blocks) are the faultable ones.
  void Ack(bool faultable, std::vector<PanelOutput>& out, int delayMs = 0);
  void Violation(std::string what);

  PanelFaults faults_;
  int copyDelayMs_;
  Mode mode_ = Mode::Idle;
  std::vector<std::uint8_t> frame_;
  int textBlock_ = 0;
  int dataReplies_ = 0;
  int ramAcks_ = 0;
  int copies_ = 0;
  int versionQueries_ = 0;
  bool corrupted_ = false;
};

// A zero image with a valid check byte: what a factory-fresh panel holds.
ImageArray BlankFlash();

}  // namespace velkor::sim
