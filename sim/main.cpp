// velkor-panel-sim: a panel in its programming modes, or an identifier
// reader, on a pseudo-terminal, so that every transfer can be tried without
// hardware. Misbehaves on request; reports what it saw as JSON at exit.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "image/image_map.h"
#include "panel_model.h"

namespace {

using Clock = std::chrono::steady_clock;
using velkor::sim::PanelFaults;
using velkor::sim::PanelModel;
using velkor::sim::PanelOutput;

volatile sig_atomic_t gStop = 0;  // set by SIGINT/SIGTERM; the only global, as signals need
void OnSignal(int) { gStop = 1; }

constexpr const char* kUsage =
    "usage: velkor-panel-sim [options]\n"
    "  --pty-file F         write the pseudo-terminal's path to F (else print it on stdout)\n"
    "  --report F           JSON report at exit to F (else to stdout)\n"
    "  --mode panel|reader  a panel (default) or an identifier reader\n"
    "  --flash F.rom        initial FLASH from a .ROM file (default zeros with a valid check byte)\n"
    "  --flash-out F        FLASH (8192 bytes) written to F at exit\n"
    "  --text-out F         text image (12450 bytes) written to F at exit, when texts came\n"
    "  --copy-delay MS      time the copy to FLASH takes (default 5000)\n"
    "  --pace               send and take bytes no faster than 9600 bit/s 8N1\n"
    "  --exit-after-exit    end once the tool has left programming mode\n"
    "  --silent             a panel nobody has reset: hears the line, never answers\n"
    "faults (N counts from 1 over the whole session):\n"
    "  --bad-checksum N     data reply N has a wrong checksum\n"
    "  --zero-length N      data reply N announces L = 0\n"
    "  --cut-reply N        data reply N stops after 3 bytes, then silence\n"
    "  --long-reply N       data reply N carries 64 bytes more than asked\n"
    "  --ack-status-zero N  block acknowledgement N has status 0\n"
    "  --missing-ack N      block acknowledgement N is not sent\n"
    "  --corrupt-ram ADDR   a RAM write to ADDR stores that byte inverted, once\n"
    "  --copy-no-ack N      the first N copies to FLASH are never acknowledged\n"
    "  --stray-bytes N      N bytes wait on the line before the handshake\n"
    "  --version-reject N   the version query is refused N times\n"
    "  --hang-up-after N    the line goes dead after N received bytes\n"
    "reader:\n"
    "  --id-code HEX        code sent, followed by CR LF (default 0123456789ABCDEF)\n"
    "  --id-delay MS        first sending after MS (default 1000)\n"
    "  --id-repeat MS       sent again every MS while the key is held (default 1000; 0 once)\n"
    "  --id-noise           a few non-hexadecimal bytes before each code\n"
    "  --id-split MS        a pause of MS in the middle of the code\n";

struct Options {
  std::string ptyFile, reportFile, flashIn, flashOut, textOut;
  bool reader = false;
  bool pace = false;
  bool exitAfterExit = false;
  bool silent = false;
  int copyDelay = 5000;
  PanelFaults faults;
  std::string idCode = "0123456789ABCDEF";
  int idDelay = 1000, idRepeat = 1000, idSplit = 0;
  bool idNoise = false;
};

std::optional<Options> Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto next = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      return std::string(argv[++i]);
    };
    auto number = [&](int& target) {
      auto v = next();
      if (!v) return false;
      char* end = nullptr;
      long n = std::strtol(v->c_str(), &end, 10);
      if (end == v->c_str() || *end != '\0') return false;
      target = static_cast<int>(n);
      return true;
    };
    auto text = [&](std::string& target) {
      auto v = next();
      if (!v) return false;
      target = *v;
      return true;
    };
    bool ok = true;
    if (a == "--pty-file") ok = text(o.ptyFile);
    else if (a == "--report") ok = text(o.reportFile);
    else if (a == "--flash") ok = text(o.flashIn);
    else if (a == "--flash-out") ok = text(o.flashOut);
    else if (a == "--text-out") ok = text(o.textOut);
    else if (a == "--mode") {
      std::string m;
      ok = text(m) && (m == "panel" || m == "reader");
      o.reader = m == "reader";
    } else if (a == "--copy-delay") ok = number(o.copyDelay);
    else if (a == "--pace") o.pace = true;
    else if (a == "--exit-after-exit") o.exitAfterExit = true;
    else if (a == "--silent") o.silent = true;
    else if (a == "--bad-checksum") ok = number(o.faults.badChecksumReply);
    else if (a == "--zero-length") ok = number(o.faults.zeroLengthReply);
    else if (a == "--cut-reply") ok = number(o.faults.cutReply);
    else if (a == "--long-reply") ok = number(o.faults.longReply);
    else if (a == "--ack-status-zero") ok = number(o.faults.ackStatusZero);
    else if (a == "--missing-ack") ok = number(o.faults.missingAck);
    else if (a == "--corrupt-ram") ok = number(o.faults.corruptRamAt);
    else if (a == "--copy-no-ack") ok = number(o.faults.copyNoAck);
    else if (a == "--stray-bytes") ok = number(o.faults.strayBytes);
    else if (a == "--version-reject") ok = number(o.faults.versionRejects);
    else if (a == "--hang-up-after") ok = number(o.faults.hangUpAfterBytes);
    else if (a == "--id-code") ok = text(o.idCode);
    else if (a == "--id-delay") ok = number(o.idDelay);
    else if (a == "--id-repeat") ok = number(o.idRepeat);
    else if (a == "--id-split") ok = number(o.idSplit);
    else if (a == "--id-noise") o.idNoise = true;
    else if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    } else ok = false;
    if (!ok) {
      std::fprintf(stderr, "velkor-panel-sim: bad or incomplete option %s\n%s", a.c_str(), kUsage);
      return std::nullopt;
    }
  }
  return o;
}

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
      continue;
    }
    out += c;
  }
  return out + "\"";
}

bool WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return static_cast<bool>(f);
}

// A pseudo-terminal whose far end the tool opens. We keep the far end open
// ourselves too, so that the tool coming and going never hangs the line up,
// and put it in raw mode before anyone reads our bytes back as an echo.
struct Pty {
  int master = -1;
  int slave = -1;
  std::string path;

  bool Open() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return false;
    const char* name = ::ptsname(master);
    if (name == nullptr) return false;
    path = name;
    slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) return false;
    termios tio{};
    if (::tcgetattr(slave, &tio) != 0) return false;
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    if (::tcsetattr(slave, TCSANOW, &tio) != 0) return false;
    int flags = ::fcntl(master, F_GETFL);
    return ::fcntl(master, F_SETFL, flags | O_NONBLOCK) == 0;
  }
  void Close() {
    if (slave >= 0) ::close(slave);
    if (master >= 0) ::close(master);
    slave = master = -1;
  }
};

struct Timed {
  Clock::time_point at;
  std::uint8_t byte;
};

// One byte on the wire at 9600 bit/s with a start and a stop bit.
constexpr auto kByteTime = std::chrono::nanoseconds(10'000'000'000LL / 9600);

class Line {
 public:
  Line(int fd, bool pace) : fd_(fd), pace_(pace) {}

  // Bytes the tool wrote, each stamped with the moment its stop bit is in:
  // one byte time after it began, and no byte begins before the last ended.
  void Take(std::deque<Timed>& in) {
    std::uint8_t buf[512];
    for (;;) {
      ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n <= 0) return;
      auto now = Clock::now();
      for (ssize_t i = 0; i < n; ++i) {
        auto at = now;
        if (pace_) at = std::max(now, lastIn_) + kByteTime;
        lastIn_ = at;
        in.push_back({at, buf[i]});
      }
    }
  }
  // With pacing a byte leaves one byte time after it could begin: the pty
  // delivers at once, the line would not.
  void Queue(Clock::time_point at, const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t b : bytes) {
      auto t = at;
      if (pace_) t = std::max(at, lastOut_) + kByteTime;
      if (!out_.empty()) t = std::max(t, out_.back().at);
      lastOut_ = t;
      out_.push_back({t, b});
    }
  }
  // Writes what is due; returns the number of bytes written.
  long long Flush() {
    long long sent = 0;
    auto now = Clock::now();
    while (!out_.empty() && out_.front().at <= now) {
      std::uint8_t b = out_.front().byte;
      ssize_t n = ::write(fd_, &b, 1);
      if (n != 1) break;
      out_.pop_front();
      ++sent;
    }
    return sent;
  }
  std::optional<Clock::time_point> NextOut() const {
    if (out_.empty()) return std::nullopt;
    return out_.front().at;
  }

 private:
  int fd_;
  bool pace_;
  Clock::time_point lastIn_{};
  Clock::time_point lastOut_{};
  std::deque<Timed> out_;
};

void WaitForInput(int fd, std::optional<Clock::time_point> until) {
  auto limit = Clock::now() + std::chrono::milliseconds(100);
  if (until && *until < limit) limit = *until;
  auto left = std::max(limit - Clock::now(), Clock::duration::zero());
  auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
  timespec ts{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
  pollfd p{fd, POLLIN, 0};
  ::ppoll(&p, 1, &ts, nullptr);
}

std::vector<std::uint8_t> Noise() { return {0x0D, 0x0A, 'x', 0x00, 'a', 'f', 0x7F}; }

}  // namespace

int main(int argc, char** argv) {
  auto parsed = Parse(argc, argv);
  if (!parsed) return 2;
  const Options& o = *parsed;

  struct sigaction sa{};
  sa.sa_handler = OnSignal;
  ::sigaction(SIGINT, &sa, nullptr);
  ::sigaction(SIGTERM, &sa, nullptr);
  ::signal(SIGPIPE, SIG_IGN);

  PanelModel panel(o.faults, o.copyDelay);
  if (!o.flashIn.empty()) {
    std::ifstream f(o.flashIn, std::ios::binary);
    std::vector<char> data((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (data.size() != velkor::kRomSize) {
      std::fprintf(stderr, "velkor-panel-sim: %s is not a %zu-byte image\n", o.flashIn.c_str(), velkor::kRomSize);
      return 1;
    }
    std::copy(data.begin(), data.end(), panel.flash.begin());
    panel.ram = panel.flash;
  }

  Pty pty;
  if (!pty.Open()) {
    std::fprintf(stderr, "velkor-panel-sim: cannot create a pseudo-terminal: %s\n", std::strerror(errno));
    return 1;
  }
  if (!o.ptyFile.empty()) {
    // Written whole under another name first, so a reader never sees half a path.
    std::string tmp = o.ptyFile + ".tmp";
    if (!WriteBytes(tmp, reinterpret_cast<const std::uint8_t*>(pty.path.data()), pty.path.size()) ||
        std::rename(tmp.c_str(), o.ptyFile.c_str()) != 0) {
      std::fprintf(stderr, "velkor-panel-sim: cannot write %s\n", o.ptyFile.c_str());
      return 1;
    }
  } else {
    std::printf("%s\n", pty.path.c_str());
    std::fflush(stdout);
  }

  Line line(pty.master, o.pace);
  std::deque<Timed> in;
  long long bytesOut = 0;
  long long heard = 0;
  int idSent = 0;
  auto start = Clock::now();
  line.Queue(start, panel.StrayBytes());
  Clock::time_point nextId = start + std::chrono::milliseconds(o.idDelay);
  bool hungUp = false;

  while (!gStop) {
    line.Take(in);
    auto now = Clock::now();
    while (!in.empty() && in.front().at <= now && !hungUp) {
      Timed t = in.front();
      in.pop_front();
      if (o.reader || o.silent) {  // the reader only talks
        ++heard;
        continue;
      }
      std::vector<PanelOutput> out;
      panel.Receive(t.byte, out);
      for (const auto& chunk : out) line.Queue(t.at + std::chrono::milliseconds(chunk.delayMs), chunk.bytes);
      hungUp = panel.HungUp();
    }
    if (hungUp) break;
    if (o.reader && now >= nextId && (idSent == 0 || o.idRepeat > 0)) {
      std::vector<std::uint8_t> code(o.idCode.begin(), o.idCode.end());
      std::vector<std::uint8_t> first = o.idNoise ? Noise() : std::vector<std::uint8_t>{};
      std::size_t half = o.idSplit > 0 ? code.size() / 2 : code.size();
      first.insert(first.end(), code.begin(), code.begin() + static_cast<long>(half));
      line.Queue(now, first);
      std::vector<std::uint8_t> rest(code.begin() + static_cast<long>(half), code.end());
      rest.push_back(0x0D);
      rest.push_back(0x0A);
      line.Queue(now + std::chrono::milliseconds(o.idSplit), rest);
      ++idSent;
      nextId = now + std::chrono::milliseconds(o.idRepeat + o.idSplit);
    }
    bytesOut += line.Flush();
    if (o.exitAfterExit && panel.stats.exits > 0 && !line.NextOut()) break;
    auto next = line.NextOut();
    if (!in.empty() && (!next || in.front().at < *next)) next = in.front().at;
    if (o.reader && (!next || nextId < *next)) next = nextId;
    WaitForInput(pty.master, next);
  }
  pty.Close();

  const auto& s = panel.stats;
  if (!o.flashOut.empty()) WriteBytes(o.flashOut, panel.flash.data(), panel.flash.size());
  if (!o.textOut.empty() && s.textWritten) WriteBytes(o.textOut, panel.text.data(), panel.text.size());

  std::string json = "{\n";
  json += "  \"mode\": \"" + std::string(o.reader ? "reader" : "panel") + "\",\n";
  json += "  \"bytes_in\": " + std::to_string(s.bytesIn + heard) + ",\n";
  json += "  \"bytes_out\": " + std::to_string(bytesOut) + ",\n";
  json += "  \"frames\": " + std::to_string(s.frames) + ",\n";
  json += "  \"handshakes\": " + std::to_string(s.handshakes) + ",\n";
  json += "  \"restarts\": " + std::to_string(s.restarts) + ",\n";
  json += "  \"exits\": " + std::to_string(s.exits) + ",\n";
  json += "  \"text_blocks\": " + std::to_string(s.textBlocks) + ",\n";
  json += "  \"codes_sent\": " + std::to_string(idSent) + ",\n";
  json += "  \"hung_up\": " + std::string(hungUp ? "true" : "false") + ",\n";
  json += "  \"flash_written\": " + std::string(s.flashWritten ? "true" : "false") + ",\n";
  json += "  \"flash_file\": " + (o.flashOut.empty() ? std::string("null") : JsonString(o.flashOut)) + ",\n";
  json += "  \"text_file\": " +
          (o.textOut.empty() || !s.textWritten ? std::string("null") : JsonString(o.textOut)) + ",\n";
  json += "  \"violations\": [";
  for (std::size_t i = 0; i < s.violations.size(); ++i)
    json += (i ? ", " : "") + JsonString(s.violations[i]);
  json += "]\n}\n";
  if (o.reportFile.empty()) {
    std::fputs(json.c_str(), stdout);
  } else {
    WriteBytes(o.reportFile, reinterpret_cast<const std::uint8_t*>(json.data()), json.size());
  }
  return 0;
}
