// A full write + verify against velkor-panel-sim over a pseudo-terminal.
//
// BM_WriteAtLineRate: the simulator paces its side to 9600 bit/s 8N1 and
// takes 5 s to copy RAM to FLASH; the time is set against the bound of the
// line: bytes on the wire × 10 / 9600 + the transfer's fixed pauses + the
// drain's one read limit + the copy. `ratio` is time / bound.
// BM_WriteUnpaced: the same without pacing or copy delay; `us_per_byte` is
// what the link itself costs per byte on the wire, pauses taken out.

#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "host/scripted_host.h"
#include "link/com_port.h"
#include "link/protocol.h"
#include "link/transfers.h"

extern char** environ;

namespace {

using namespace velkor;

// Bytes on the wire, both directions, of one write with full replies.
constexpr long long kOpeningBytes = 2 + 2;              // A5 06 A6 08
constexpr long long kBlocks = 126;                      // 8064 / 64
constexpr long long kRamWrite = kBlocks * (71 + 4);     // frame + acknowledgement
constexpr long long kVerify = kBlocks * (7 + 64 + 4);   // request + data reply
constexpr long long kCopy = 4 + 4;
constexpr long long kExit = 4;
constexpr long long kWireBytes = kOpeningBytes + kRamWrite + 2 * kVerify + kCopy + kExit;
constexpr double kLinePauses = 12 * 0.250;             // the write's (pause) lines
constexpr double kDrain = CallTimeLimitMs(1, kReadExtra) / 1000.0;

class Simulator {
 public:
  explicit Simulator(const std::vector<std::string>& options) {
    dir_ = std::filesystem::temp_directory_path() / ("velkor-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    const std::string ptyFile = (dir_ / "pty").string();
    std::filesystem::remove(ptyFile);
    std::vector<std::string> args = {VELKOR_PANEL_SIM, "--pty-file", ptyFile, "--report", (dir_ / "report.json").string()};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
    for (int i = 0; i < 500 && !std::filesystem::exists(ptyFile); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream(ptyFile) >> path_;
  }
  ~Simulator() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;
  const std::string& path() const { return path_; }

 private:
  pid_t pid_ = -1;
  std::filesystem::path dir_;
  std::string path_;
};

// One write as the command line runs it; seconds, or -1 when it failed.
double TimedWrite(const std::string& device) {
  FRout port;
  if (!OpenComPortDevice(port, device)) return -1;
  ImageArray image{};
  for (std::size_t i = 0; i < kRomSize; ++i) image[i] = static_cast<std::uint8_t>(i * 13 + 5);
  ScriptedHost host;
  ExchangeWindow window;
  auto t0 = std::chrono::steady_clock::now();
  {
    ExchangeSession session(port, [&](TransferContext& c) { StoreDBTransfer(c, image); });
    while (!window.Closed && !window.OkButton)
      if (!session.Pump(std::chrono::milliseconds(50), [&](ExchangeProgress& p) {
            ExchangeUpdate(window, host, p, ExchangeErrorText(ExchangeMode::WriteConfig));
          }))
        break;
    session.RequestStop();
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  return window.ExchangeResult == kExchangeSuccess ? seconds : -1;
}

void BM_WriteAtLineRate(benchmark::State& state) {
  Simulator sim({"--pace", "--copy-delay", "5000"});
  const double bound = kWireBytes * 10.0 / 9600.0 + kLinePauses + kDrain + 5.0;
  for (auto _ : state) {
    double s = TimedWrite(sim.path());
    if (s < 0) {
      state.SkipWithError("the write failed");
      return;
    }
    state.SetIterationTime(s);
    state.counters["seconds"] = s;
    state.counters["bound_s"] = bound;
    state.counters["ratio"] = s / bound;
  }
  state.counters["wire_bytes"] = static_cast<double>(kWireBytes);
}
BENCHMARK(BM_WriteAtLineRate)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_WriteUnpaced(benchmark::State& state) {
  Simulator sim({"--copy-delay", "0"});
  for (auto _ : state) {
    double s = TimedWrite(sim.path());
    if (s < 0) {
      state.SkipWithError("the write failed");
      return;
    }
    state.SetIterationTime(s);
    state.counters["seconds"] = s;
    state.counters["us_per_byte"] = (s - kLinePauses - kDrain) * 1e6 / static_cast<double>(kWireBytes);
  }
}
BENCHMARK(BM_WriteUnpaced)->Iterations(3)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
