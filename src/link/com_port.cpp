#include "link/com_port.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace velkor {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kReadIntervalMs = 1000;  // the longest pause between two bytes of one read

// Milliseconds left until the deadline, rounded up so that a poll never
// returns just before it.
int MillisecondsLeft(Clock::time_point deadline) {
  auto left = deadline - Clock::now();
  if (left <= Clock::duration::zero()) return 0;
  auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
  return static_cast<int>(std::min<long long>(ms, 1'000'000'000));
}

// Waits for the fd to become ready or the deadline to pass. A hung-up line
// (the far end of a pseudo-terminal gone) behaves like a silent one: it makes
// the caller wait out its limit instead of spinning.
bool WaitReady(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    int left = MillisecondsLeft(deadline);
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    int r = ::poll(&p, 1, left);
    if (r < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (r == 0) continue;  // re-checked against the clock above
    if (p.revents & events) return true;
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) {
      std::this_thread::sleep_until(deadline);
      return false;
    }
  }
}

bool ConfigureLine(int fd) {
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return false;
  ::cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::cfsetispeed(&tio, B9600) != 0 || ::cfsetospeed(&tio, B9600) != 0) return false;
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) return false;
  // DTR and RTS held on. A pseudo-terminal has no modem lines and says so;
  // that must not make the open fail.
  int lines = TIOCM_DTR | TIOCM_RTS;
  if (::ioctl(fd, TIOCMBIS, &lines) != 0 && errno != ENOTTY && errno != EINVAL && errno != ENOTSUP)
    return false;
  return true;
}

bool DeviceAnswers(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == EBUSY;  // in use by someone: it exists
  serial_struct info{};
  bool ok = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
  ::close(fd);
  return ok;
}

// Natural order: ttyUSB2 before ttyUSB10.
bool DeviceLess(const std::string& a, const std::string& b) {
  auto split = [](const std::string& s) {
    std::size_t i = s.size();
    while (i > 0 && s[i - 1] >= '0' && s[i - 1] <= '9') --i;
    long n = i < s.size() ? std::strtol(s.c_str() + i, nullptr, 10) : -1;
    return std::pair{s.substr(0, i), n};
  };
  return split(a) < split(b);
}

}  // namespace

FRout::~FRout() { CloseComPort(*this); }

bool FRout::Read(std::span<std::uint8_t> buffer, int extra) { return ReadComPort(*this, buffer, extra); }
bool FRout::Write(std::span<const std::uint8_t> buffer, int extra) { return WriteComPort(*this, buffer, extra); }

std::vector<std::string> SerialDevicesFound() {
  std::vector<std::string> usb, acm, onboard;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev", ec)) {
    std::string name = entry.path().filename().string();
    if (name.rfind("ttyUSB", 0) == 0)
      usb.push_back(entry.path().string());
    else if (name.rfind("ttyACM", 0) == 0)
      acm.push_back(entry.path().string());
    else if (name.rfind("ttyS", 0) == 0 && name.size() > 4 && DeviceAnswers(entry.path().string()))
      onboard.push_back(entry.path().string());
  }
  std::vector<std::string> all;
  for (auto* list : {&usb, &acm, &onboard}) {
    std::sort(list->begin(), list->end(), DeviceLess);
    all.insert(all.end(), list->begin(), list->end());
  }
  return all;
}

std::string ComPortDevice(int number) {
  if (number < kComPortFirst || number > kComPortLast) return {};
  std::string var = "VELKOR_COM" + std::to_string(number);
  if (const char* set = std::getenv(var.c_str()); set != nullptr && *set != '\0') return set;
  auto found = SerialDevicesFound();
  if (static_cast<std::size_t>(number) <= found.size()) return found[static_cast<std::size_t>(number) - 1];
  return {};
}

bool OpenComPortDevice(FRout& port, const std::string& path) {
  if (port.ComPortHandle != -1 || path.empty()) return false;
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  // Two locks: flock keeps out programs that ask politely, TIOCEXCL refuses
  // any further open of the device.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !::isatty(fd)) {
    ::close(fd);
    return false;
  }
  bool exclusive = ::ioctl(fd, TIOCEXCL) == 0;
  if (!ConfigureLine(fd)) {
    if (exclusive) ::ioctl(fd, TIOCNXCL);
    ::close(fd);
    return false;
  }
  port.ComPortHandle = fd;
  port.DevicePath = path;
  return true;
}

bool OpenComPort(FRout& port) {
  if (port.ComPortHandle != -1) return false;
  if (port.ComPortNumber < kComPortFirst || port.ComPortNumber > kComPortLast) return false;
  return OpenComPortDevice(port, ComPortDevice(port.ComPortNumber));
}

bool CloseComPort(FRout& port) {
  if (port.ComPortHandle == -1) return true;
  ::ioctl(port.ComPortHandle, TIOCNXCL);
  if (::close(port.ComPortHandle) != 0 && errno != EINTR) return false;
  port.ComPortHandle = -1;
  port.DevicePath.clear();
  return true;
}

bool ReadComPort(FRout& port, std::span<std::uint8_t> buffer, int extra) {
  const auto deadline =
      Clock::now() + std::chrono::milliseconds(CallTimeLimitMs(buffer.size(), extra));
  if (port.ComPortHandle == -1) return false;
  std::size_t got = 0;
  auto until = deadline;
  while (got < buffer.size()) {
    ssize_t n = ::read(port.ComPortHandle, buffer.data() + got, buffer.size() - got);
    if (n > 0) {
      got += static_cast<std::size_t>(n);
      // Once bytes flow, a gap longer than the interval limit ends the read.
      until = std::min(deadline, Clock::now() + std::chrono::milliseconds(kReadIntervalMs));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EIO) return false;
    if (!WaitReady(port.ComPortHandle, POLLIN, until)) return false;
  }
  return true;
}

bool WriteComPort(FRout& port, std::span<const std::uint8_t> buffer, int extra) {
  const auto deadline =
      Clock::now() + std::chrono::milliseconds(CallTimeLimitMs(buffer.size(), extra));
  if (port.ComPortHandle == -1) return false;
  std::size_t put = 0;
  while (put < buffer.size()) {
    ssize_t n = ::write(port.ComPortHandle, buffer.data() + put, buffer.size() - put);
    if (n > 0) {
      put += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;
    if (!WaitReady(port.ComPortHandle, POLLOUT, deadline)) return false;
  }
  return true;
}

bool FoundCommPort(FRout& port, ComPortScan& scan) {
  int lastFree = -1;
  for (int n = kComPortFirst; n <= kComPortLast; ++n) {
    port.ComPortNumber = n;
    bool free = OpenComPort(port);
    scan.Free[static_cast<std::size_t>(n - 1)] = free;
    if (free) {
      lastFree = n;
      CloseComPort(port);
    }
  }
  port.ComPortNumber = lastFree;
  return lastFree != -1;
}

int ParseComPortName(const std::string& name) {
  if (name.size() != 4) return 0;
  auto lower = [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
  if (lower(name[0]) != 'c' || lower(name[1]) != 'o' || lower(name[2]) != 'm') return 0;
  if (name[3] < '1' || name[3] > '8') return 0;
  return name[3] - '0';
}

}  // namespace velkor
