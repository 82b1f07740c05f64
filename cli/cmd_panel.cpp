// Panel commands: panel read/write/texts, read-id, and the text image.
// A transfer runs as the exchange window would: the worker talks to the
// panel, this (main) thread shows its log lines and gauge on the terminal,
// and Ctrl+C closes the "window" as its cancel button does.

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "args.h"
#include "cli_host.h"
#include "commands.h"
#include "export/listing.h"
#include "files/dcf.h"
#include "files/file_io.h"
#include "image/build_command.h"
#include "image/image_reader.h"
#include "link/com_port.h"
#include "link/text_image.h"
#include "link/transfers.h"
#include "model/captions.h"

namespace velkor::cli {

namespace {

volatile sig_atomic_t gInterrupted = 0;  // set by SIGINT; signals leave no other way
void OnInterrupt(int) { gInterrupted = 1; }

// Ctrl+C, for as long as a transfer runs.
class InterruptGuard {
 public:
  InterruptGuard() {
    gInterrupted = 0;
    struct sigaction sa{};
    sa.sa_handler = OnInterrupt;
    ::sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, &old_);
    ::sigaction(SIGTERM, &sa, &oldTerm_);
  }
  ~InterruptGuard() {
    ::sigaction(SIGINT, &old_, nullptr);
    ::sigaction(SIGTERM, &oldTerm_, nullptr);
  }
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  struct sigaction old_{};
  struct sigaction oldTerm_{};
};

bool HasSuffix(const std::string& s, const std::string& suffix) {
  if (s.size() < suffix.size()) return false;
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    char c = s[s.size() - suffix.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (c != suffix[i]) return false;
  }
  return true;
}

// The exchange window on a terminal: each line once as it settles (a rewrite
// of the log shows only the lines that changed), and the gauge as a bar that
// is redrawn in place when the output is a terminal.
class ExchangeConsole {
 public:
  explicit ExchangeConsole(std::FILE* out) : out_(out), tty_(::isatty(::fileno(out)) != 0) {}
  ~ExchangeConsole() { ClearBar(); }
  ExchangeConsole(const ExchangeConsole&) = delete;
  ExchangeConsole& operator=(const ExchangeConsole&) = delete;

  void Show(const ExchangeWindow& w) {
    if (!w.Log.empty()) {
      const std::size_t i = w.Log.size() - 1;
      if (i >= printed_.size() || printed_[i] != w.Log[i]) {
        ClearBar();
        std::fprintf(out_, "%s\n", TerminalText(w.Log[i]).c_str());
        printed_.resize(i + 1);
        printed_[i] = w.Log[i];
      }
    }
    if (tty_ && w.GaugeMax > 0) DrawBar(w.GaugeMax, w.GaugePos);
    std::fflush(out_);
  }
  void ClearBar() {
    if (!barShown_) return;
    std::fputs("\r\033[K", out_);
    barShown_ = false;
  }

 private:
  void DrawBar(int max, int pos) {
    constexpr int kWidth = 40;
    pos = std::max(0, std::min(pos, max));
    const int filled = static_cast<int>(static_cast<long long>(pos) * kWidth / max);
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kWidth - filled), '.');
    std::fprintf(out_, "\r[%s] %3d%%  %d/%d", bar.c_str(), static_cast<int>(100LL * pos / max), pos, max);
    barShown_ = true;
  }

  std::FILE* out_;
  bool tty_;
  bool barShown_ = false;
  std::vector<std::string> printed_;
};

// Shows the exchange window "modally" until it closes: the transfer's OK is
// pressed as soon as it appears, Ctrl+C is the cancel button. Returns
// ExchangeResult.
std::uint8_t RunExchange(LinkPort& port, Host& host, std::string_view errorText, ExchangeSession::Body body) {
  InterruptGuard interrupts;
  ExchangeWindow window;
  ExchangeConsole console(stderr);
  {
    ExchangeSession session(port, std::move(body));
    while (!window.Closed) {
      bool running = session.Pump(std::chrono::milliseconds(50), [&](ExchangeProgress& p) {
        if (p.Error) console.ClearBar();
        ExchangeUpdate(window, host, p, errorText);
        console.Show(window);
      });
      if (window.OkButton) window.Closed = true;
      if (gInterrupted && !window.Closed) {
        console.ClearBar();
        std::fprintf(stderr, "velkor-cli: interrupted\n");
        window.Closed = true;
      }
      if (!running) break;
    }
    session.RequestStop();
  }  // joined: the worker has sent its last byte
  console.ClearBar();
  return window.ExchangeResult;
}

// PORT is COM1..COM8 or a device path. "Ошибка инициализации COM-порта" when
// it does not open.
bool OpenPort(FRout& port, Host& host, const std::string& name) {
  bool ok = false;
  if (int n = ParseComPortName(name); n != 0) {
    port.ComPortNumber = n;
    ok = OpenComPort(port);
  } else {
    ok = OpenComPortDevice(port, name);
  }
  if (!ok) ShowError(host, "Ошибка инициализации COM-порта"_w);
  return ok;
}

// The image with the exports the options ask for, into ws.DBStoreArray.
bool BuildForPanel(Workspace& ws, Host& host, const ParsedArgs& args) {
  BuildSettings settings = SettingsFromEditor(ws);
  settings.FullConvert = !args.has("--no-full-check");
  ExportFileNames names;
  if (auto f = args.value("--log")) {
    settings.LogExport = true;
    names.Log = *f;
  }
  if (auto f = args.value("--ini")) {
    settings.IniExport = true;
    names.Ini = *f;
  }
  if (auto f = args.value("--prg")) {
    settings.PrgExport = true;
    names.Prg = *f;
  }
  return BuildImageWithExports(ws, host, settings, SystemListingStamp(), names);
}

// The text image behind the conversion window; a failure empties the listing.
bool BuildTexts(Workspace& ws, Host& host, TextImageArray& text, bool fullConvert) {
  host.ConvertBegin();
  const bool ok = DBConvertText(ws, host, text, fullConvert, SystemListingStamp());
  host.ConvertEnd();
  if (!ok) ExportLogClear(ws.exportLog);
  return ok;
}

int PanelRead(const Context& ctx, const std::vector<std::string>& words) {
  ParsedArgs args = ParseArgs(words, {"--port", "-o"}, {});
  if (!args.error.empty()) return UsageError(ctx.command, args.error);
  auto portName = args.value("--port");
  auto out = args.value("-o");
  if (!portName || !out || !args.positional.empty())
    return UsageError(ctx.command, "panel read needs --port PORT and -o OUT.rom|OUT.dcf");
  const bool toDcf = HasSuffix(*out, ".dcf");
  if (!toDcf && !HasSuffix(*out, ".rom")) return UsageError(ctx.command, "the output must be a .rom or a .dcf");

  CliHost host(false);
  Workspace ws(ctx.variant);
  FRout port;
  if (!OpenPort(port, host, *portName)) return 1;
  std::uint8_t result = RunExchange(port, host, ExchangeErrorText(ExchangeMode::ReadConfig),
                                    [&](TransferContext& c) { ReadDBTransfer(c, ws.DBReadArray); });
  CloseComPort(port);
  if (result != kExchangeSuccess || (toDcf && !LoadDatabaseFromReadArray(ws, host))) {
    ShowWarning(host, "База данных из ППК не прочитана"_w);
    return 1;
  }
  if (toDcf) return DBConvertToFile(ws, host, *out) ? 0 : 1;
  return WriteRomFile(host, *out, ws.DBReadArray) ? 0 : 1;
}

int PanelWrite(const Context& ctx, const std::vector<std::string>& words) {
  ParsedArgs args =
      ParseArgs(words, {"--port", "--log", "--ini", "--prg"}, {"--no-full-check", "--yes"});
  if (!args.error.empty()) return UsageError(ctx.command, args.error);
  auto portName = args.value("--port");
  if (!portName || args.positional.size() != 1)
    return UsageError(ctx.command, "panel write needs --port PORT and one DB.dcf or IMAGE.rom");
  const std::string& input = args.positional[0];
  const bool fromDcf = HasSuffix(input, ".dcf");
  if (!fromDcf && !HasSuffix(input, ".rom")) return UsageError(ctx.command, "the input must be a .dcf or a .rom");
  if (!fromDcf && (args.value("--log") || args.value("--ini") || args.value("--prg") || args.has("--no-full-check")))
    return UsageError(ctx.command, "the build options apply to a .dcf only");

  CliHost host(args.has("--yes"));
  Workspace ws(ctx.variant);
  FRout port;
  // The port first, as the editor's command checks it before building.
  if (!OpenPort(port, host, *portName)) return 1;
  bool ready = fromDcf ? LoadDatabaseFile(ws, host, input) && BuildForPanel(ws, host, args)
                       : ReadRomFile(host, input, ws.DBStoreArray);
  if (!ready) {
    if (fromDcf) ShowWarning(host, "База данных в ППК не записана"_w);
    return 1;
  }
  std::uint8_t result = RunExchange(port, host, ExchangeErrorText(ExchangeMode::WriteConfig),
                                    [&](TransferContext& c) { StoreDBTransfer(c, ws.DBStoreArray); });
  CloseComPort(port);
  if (result != kExchangeSuccess) {
    ShowWarning(host, "База данных в ППК не записана"_w);
    return 1;
  }
  return 0;
}

int PanelTexts(const Context& ctx, const std::vector<std::string>& words) {
  ParsedArgs args = ParseArgs(words, {"--port"}, {"--no-full-check"});
  if (!args.error.empty()) return UsageError(ctx.command, args.error);
  auto portName = args.value("--port");
  if (!portName || args.positional.size() != 1)
    return UsageError(ctx.command, "panel texts needs --port PORT and one DB.dcf");
  CliHost host(false);
  Workspace ws(ctx.variant);
  FRout port;
  if (!OpenPort(port, host, *portName)) return 1;
  TextImageArray text{};
  std::uint8_t result = kExchangeError;
  if (LoadDatabaseFile(ws, host, args.positional[0]) && BuildTexts(ws, host, text, !args.has("--no-full-check")))
    result = RunExchange(port, host, ExchangeErrorText(ExchangeMode::WriteTexts),
                         [&](TransferContext& c) { TextDBTransfer(c, text); });
  CloseComPort(port);
  if (result != kExchangeSuccess) {
    ShowWarning(host, "Тексты в ППК не записаны"_w);
    return 1;
  }
  return 0;
}

}  // namespace

int CmdPanel(const Context& ctx) {
  if (ctx.words.empty()) return UsageError(ctx.command, "panel needs read, write or texts");
  const std::string& what = ctx.words[0];
  std::vector<std::string> rest(ctx.words.begin() + 1, ctx.words.end());
  if (what == "read") return PanelRead(ctx, rest);
  if (what == "write") return PanelWrite(ctx, rest);
  if (what == "texts") return PanelTexts(ctx, rest);
  return UsageError(ctx.command, "unknown panel command " + what);
}

int CmdReadId(const Context& ctx) {
  ParsedArgs args = ParseArgs(ctx.words, {"--port"}, {});
  if (!args.error.empty()) return UsageError(ctx.command, args.error);
  auto portName = args.value("--port");
  if (!portName || !args.positional.empty()) return UsageError(ctx.command, "read-id needs --port PORT");
  CliHost host(false);
  FRout port;
  if (!OpenPort(port, host, *portName)) return 1;
  std::string ReadIDValue;
  std::uint8_t result = RunExchange(port, host, kReadIDErrorText,
                                    [&](TransferContext& c) { ReadIDTransfer(c, ReadIDValue); });
  CloseComPort(port);
  if (result != kExchangeSuccess) return 1;
  std::printf("%s\n", ReadIDValue.c_str());
  return 0;
}

// The text image and its listing without a panel.
int CmdTexts(const Context& ctx) {
  ParsedArgs args = ParseArgs(ctx.words, {"-o", "--log"}, {"--no-full-check"});
  if (!args.error.empty()) return UsageError(ctx.command, args.error);
  auto out = args.value("-o");
  if (!out || args.positional.size() != 1) return UsageError(ctx.command, "texts needs DB.dcf and -o TEXTS.bin");
  CliHost host(false);
  Workspace ws(ctx.variant);
  TextImageArray text{};
  if (!LoadDatabaseFile(ws, host, args.positional[0]) || !BuildTexts(ws, host, text, !args.has("--no-full-check")))
    return 1;
  if (!WriteFileAtomically(*out, text)) {
    ShowError(host, "Ошибка записи файла"_w);
    return 1;
  }
  if (auto log = args.value("--log"); log && !WriteTextLines(*log, ws.exportLog.Lines)) {
    ShowError(host, "Ошибка записи файла"_w);
    return 1;
  }
  return 0;
}

}  // namespace velkor::cli
