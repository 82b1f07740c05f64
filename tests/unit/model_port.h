#pragma once
// An in-memory line with a virtual clock: the tool's writes go straight into
// a panel model, its answers come back at their due time, and a read that
// would wait past its limit advances the clock by the whole limit. Transfers
// that take minutes on a real line run here in milliseconds, with their
// timing still measurable.

#include <deque>
#include <functional>
#include <vector>

#include "link/com_port.h"
#include "panel_model.h"

namespace velkor::test {

class ModelPort final : public LinkPort {
 public:
  explicit ModelPort(sim::PanelModel* panel = nullptr) : panel_(panel) {
    if (panel_ != nullptr) Schedule(0, panel_->StrayBytes());
  }

  long long now = 0;  // virtual milliseconds
  std::vector<std::uint8_t> written;
  // Writes fail (time out) once this many bytes went out; -1 never.
  long long failWritesAfter = -1;
  // Called after every port call, e.g. to press "Отмена" at some moment.
  std::function<void()> afterCall;

  void Schedule(long long at, const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t b : bytes) {
      long long t = queue_.empty() ? at : std::max(at, queue_.back().at);
      queue_.push_back({t, b});
    }
  }

  bool Read(std::span<std::uint8_t> buffer, int extra) override {
    const long long deadline = now + CallTimeLimitMs(buffer.size(), extra);
    bool ok = true;
    for (auto& b : buffer) {
      if (queue_.empty() || queue_.front().at > deadline) {
        now = deadline;
        ok = false;
        break;
      }
      now = std::max(now, queue_.front().at);
      b = queue_.front().byte;
      queue_.pop_front();
    }
    if (afterCall) afterCall();
    return ok;
  }

  bool Write(std::span<const std::uint8_t> buffer, int extra) override {
    bool ok = true;
    for (std::uint8_t b : buffer) {
      if (failWritesAfter >= 0 && static_cast<long long>(written.size()) >= failWritesAfter) {
        now += CallTimeLimitMs(buffer.size(), extra);
        ok = false;
        break;
      }
      written.push_back(b);
      if (panel_ == nullptr) continue;
      std::vector<sim::PanelOutput> out;
      panel_->Receive(b, out);
      for (const auto& chunk : out) Schedule(now + chunk.delayMs, chunk.bytes);
    }
    if (afterCall) afterCall();
    return ok;
  }

 private:
  struct Timed {
    long long at;
    std::uint8_t byte;
  };
  sim::PanelModel* panel_;
  std::deque<Timed> queue_;
};

}  // namespace velkor::test
