// The panel link: frames, the transfers against the panel model over an
// in-memory line, their fault outcomes, identifier reading, and the serial
// port layer on a pseudo-terminal.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <string>
#include <vector>

#include "host/scripted_host.h"
#include "link/com_port.h"
#include "link/protocol.h"
#include "link/transfers.h"
#include "model_port.h"
#include "panel_model.h"

namespace velkor {
namespace {

using test::ModelPort;

std::vector<std::uint8_t> Bytes(std::initializer_list<int> list) {
  std::vector<std::uint8_t> v;
  for (int b : list) v.push_back(static_cast<std::uint8_t>(b));
  return v;
}

TEST(LinkFrames, KnownFramesCarryTheirChecksums) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> frame;
    std::vector<std::uint8_t> expected;
  } cases[] = {
      {"first read block", MakeReadFrame(PPKCmdRead, 0, 64), Bytes({0xA0, 0x03, 0x08, 0x00, 0x00, 0x40, 0x48})},
      {"last read block", MakeReadFrame(PPKCmdRead, 8128, 64), Bytes({0xA0, 0x03, 0x08, 0xC0, 0x1F, 0x40, 0xEF})},
      {"last RAM read-back", MakeReadFrame(PPKCmdReadRAM, 8000, 64),
       Bytes({0xA0, 0x03, 0x0B, 0x40, 0x1F, 0x40, 0x05})},
      {"copy to FLASH", MakeFrame(PPKCmdCopyToFlash, {}), Bytes({0xA0, 0x00, 0x0C, 0x55})},
      {"exit", MakeFrame(PPKCmdExit, {}), Bytes({0xA0, 0x00, 0x0E, 0xE9})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.frame, c.expected);
  }
  auto write = MakeWriteRamFrame(0x1234, Bytes({1, 2, 3}));
  EXPECT_EQ(write.size(), 3u + 6u + 1u);
  EXPECT_EQ(write[1], 6);
  EXPECT_EQ(Crc8(write), 0);
  auto text = MakeTextBlock(std::vector<std::uint8_t>(30, 0x20));
  EXPECT_EQ(text.size(), 32u);
  EXPECT_EQ(text[0], PPKCmdText);
  EXPECT_EQ(Crc8(text), 0);
}

ImageArray SampleImage() {
  ImageArray image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
  return image;
}

// A transfer run to its end on the test thread: the window's update runs as
// the main thread would, and pressing "OK" (or the window closing on an
// error) ends the worker.
struct TransferRun {
  ModelPort& port;
  ExchangeWindow window;
  ScriptedHost host;
  std::vector<int> pauses;
  std::vector<std::string> shown;  // every line, in order
  std::vector<int> gaugeAtLine;    // the gauge when each line was shown
  std::stop_source stop;
  int updates = 0;

  explicit TransferRun(ModelPort& p) : port(p) {}

  void Go(ExchangeMode mode, const std::function<void(TransferContext&)>& body) {
    TransferContext ctx{port, stop.get_token(),
                        [&](ExchangeProgress& p) {
                          ++updates;
                          if (!p.Line.empty()) {
                            shown.push_back(p.Line);
                            gaugeAtLine.push_back(p.GaugePos);
                          }
                          ExchangeUpdate(window, host, p, ExchangeErrorText(mode));
                          if (window.Closed || window.OkButton) stop.request_stop();
                        },
                        [&](int ms) {
                          pauses.push_back(ms);
                          port.now += ms;
                        }};
    body(ctx);
  }
  int Starts(std::string_view firstLine) const {
    return static_cast<int>(std::count(shown.begin(), shown.end(), std::string(firstLine)));
  }
};

constexpr std::string_view kStartLine = "Инициализация обмена данными с ППК."_w;

TEST(LinkTransfers, WriteStoresTheImageWithItsCheckByteAndVerifies) {
  sim::PanelModel panel({}, 5000);
  ModelPort port(&panel);
  TransferRun run(port);
  ImageArray image = SampleImage();
  run.Go(ExchangeMode::WriteConfig, [&](TransferContext& c) { StoreDBTransfer(c, image); });

  EXPECT_EQ(run.window.ExchangeResult, kExchangeSuccess);
  EXPECT_TRUE(run.host.messages().empty());
  ImageArray expected = SampleImage();
  SetImageCheckByte(expected);
  EXPECT_EQ(image[kCheckByte], expected[kCheckByte]);
  EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + kRomSize, panel.flash.begin()));
  EXPECT_TRUE(panel.stats.violations.empty());
  EXPECT_EQ(panel.stats.exits, 1);
  EXPECT_EQ(panel.stats.handshakes, 1);

  const std::vector<std::string> finalLog = {
      std::string("Связь с ППК установлена."_w),
      std::string("Проверка версии ППК ...   соответствует."_w),
      std::string("Запись блока информации в ОЗУ ППК ...   завершена."_w),
      std::string("Проверка записанной информации в ОЗУ ...   завершена."_w),
      std::string("Копирование информации из ОЗУ во FLASH ...   завершено."_w),
      std::string("Проверка записанной информации во FLASH ...   завершена."_w),
      std::string("Выход из режима программирования ...   завершен."_w),
      std::string("Операция записи конфигурации завершена успешно."_w),
  };
  EXPECT_EQ(run.window.Log, finalLog);
  EXPECT_EQ(run.window.GaugeMax, 8064);
  EXPECT_EQ(run.window.GaugePos, 8064);
  // 126 RAM-write frames of 71 bytes (the last one 7 + 64), then 126 read-back
  // and 126 FLASH requests of 7 bytes, the copy and the exit frames: after
  // the two single bytes of the opening sequence.
  EXPECT_EQ(port.written.size(), 2u + 126u * 71u + 2u * 126u * 7u + 4u + 4u);
  // The copy to FLASH took its 5 s; the gauge stood at half meanwhile.
  EXPECT_GE(port.now, 5000);
  EXPECT_EQ(std::count(run.pauses.begin(), run.pauses.end(), 250), 12);
}

TEST(LinkTransfers, ReadFillsAllOfTheImageAndAcceptsEitherCheck) {
  struct Case {
    const char* name;
    int checkAt;  // where the panel's image has its check byte; -1 none
    std::uint8_t result;
  } cases[] = {
      {"current layout", 8063, kExchangeSuccess},
      {"older layout", 7167, kExchangeSuccess},
      {"neither check holds", -1, kExchangeError},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::PanelModel panel({}, 0);
    panel.flash = SampleImage();
    if (c.checkAt >= 0)
      panel.flash[static_cast<std::size_t>(c.checkAt)] =
          Crc8(std::span(panel.flash).first(static_cast<std::size_t>(c.checkAt)));
    else
      panel.flash[kCheckByte] = static_cast<std::uint8_t>(Crc8(std::span(panel.flash).first(kCheckByte)) ^ 1);
    ModelPort port(&panel);
    TransferRun run(port);
    ImageArray read{};
    run.Go(ExchangeMode::ReadConfig, [&](TransferContext& ctx) { ReadDBTransfer(ctx, read); });
    EXPECT_EQ(run.window.ExchangeResult, c.result);
    EXPECT_EQ(read, panel.flash);  // all 8192 bytes, even when the check fails
    EXPECT_EQ(panel.stats.exits, 1);  // the exit is sent before the check
    if (c.result == kExchangeSuccess) {
      EXPECT_EQ(run.window.GaugePos, 8064);
      EXPECT_EQ(run.window.GaugeMax, 8064);
      EXPECT_EQ(run.window.Log.back(), std::string("Операция чтения конфигурации завершена успешно."_w));
    } else {
      ASSERT_EQ(run.host.messages().size(), 1u);
      EXPECT_EQ(run.host.messages()[0].text, ExchangeErrorText(ExchangeMode::ReadConfig));
    }
  }
}

// Every row of the protocol's failure table, and the edge cases around it:
// an error stops the transfer with its message, a restart begins again with
// the opening sequence and then succeeds.
TEST(LinkTransfers, FaultsEndInErrorOrRestartAsTheProtocolSays) {
  struct Case {
    const char* name;
    ExchangeMode mode;
    sim::PanelFaults faults;
    long long failWritesAfter;
    std::uint8_t result;
    int starts;  // start lines shown: 1 + restarts
  };
  auto f = [](auto set) {
    sim::PanelFaults x;
    set(x);
    return x;
  };
  const Case cases[] = {
      {"byte not written", ExchangeMode::WriteConfig, {}, 500, kExchangeError, 1},
      {"bad reply checksum", ExchangeMode::ReadConfig, f([](auto& x) { x.badChecksumReply = 3; }), -1,
       kExchangeError, 1},
      {"reply with L = 0", ExchangeMode::ReadConfig, f([](auto& x) { x.zeroLengthReply = 1; }), -1, kExchangeError,
       1},
      {"reply past the image end", ExchangeMode::ReadConfig, f([](auto& x) { x.longReply = 128; }), -1,
       kExchangeError, 1},
      {"reply longer than asked", ExchangeMode::ReadConfig, f([](auto& x) { x.longReply = 5; }), -1,
       kExchangeSuccess, 1},
      {"read-back differs", ExchangeMode::WriteConfig, f([](auto& x) { x.corruptRamAt = 100; }), -1,
       kExchangeError, 1},
      {"reply cut short", ExchangeMode::ReadConfig, f([](auto& x) { x.cutReply = 10; }), -1, kExchangeSuccess, 2},
      {"read-back cut short", ExchangeMode::WriteConfig, f([](auto& x) { x.cutReply = 7; }), -1, kExchangeSuccess,
       2},
      {"ack status 0", ExchangeMode::WriteConfig, f([](auto& x) { x.ackStatusZero = 4; }), -1, kExchangeSuccess,
       2},
      {"ack missing", ExchangeMode::WriteConfig, f([](auto& x) { x.missingAck = 126; }), -1, kExchangeSuccess, 2},
      {"copy not acknowledged", ExchangeMode::WriteConfig, f([](auto& x) { x.copyNoAck = 1; }), -1,
       kExchangeSuccess, 2},
      {"version refused twice", ExchangeMode::WriteConfig, f([](auto& x) { x.versionRejects = 2; }), -1,
       kExchangeSuccess, 3},
      {"stray bytes before the handshake", ExchangeMode::WriteConfig, f([](auto& x) { x.strayBytes = 7; }), -1,
       kExchangeSuccess, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::PanelModel panel(c.faults, 10);
    ModelPort port(&panel);
    port.failWritesAfter = c.failWritesAfter;
    TransferRun run(port);
    ImageArray image = SampleImage();
    if (c.mode == ExchangeMode::ReadConfig) {
      panel.flash = SampleImage();
      SetImageCheckByte(panel.flash);
    }
    run.Go(c.mode, [&](TransferContext& ctx) {
      if (c.mode == ExchangeMode::ReadConfig)
        ReadDBTransfer(ctx, image);
      else
        StoreDBTransfer(ctx, image);
    });
    EXPECT_EQ(run.window.ExchangeResult, c.result);
    EXPECT_EQ(run.Starts(kStartLine), c.starts);
    EXPECT_TRUE(panel.stats.violations.empty()) << panel.stats.violations.front();
    if (c.result == kExchangeError) {
      ASSERT_EQ(run.host.messages().size(), 1u);
      EXPECT_EQ(run.host.messages()[0].text, ExchangeErrorText(c.mode));
      EXPECT_EQ(run.host.messages()[0].title, kTitleError);
      EXPECT_TRUE(run.window.Closed);
    } else if (c.mode == ExchangeMode::WriteConfig) {
      EXPECT_TRUE(std::equal(image.begin(), image.begin() + kRomSize, panel.flash.begin()));
    } else {
      EXPECT_EQ(image, panel.flash);
    }
  }
}

TEST(LinkTransfers, RestartWaitsOutItsLimitsAndRecomputesTheCheckByte) {
  // The copy to FLASH is waited for 151 read limits; a cut reply 11.
  sim::PanelFaults faults;
  faults.copyNoAck = 1;
  sim::PanelModel panel(faults, 0);
  ModelPort port(&panel);
  TransferRun run(port);
  ImageArray image = SampleImage();
  image[kCheckByte] = 0x77;  // whatever the last run left
  std::vector<long long> copyRequests;
  port.afterCall = [&] {
    const auto& w = port.written;
    if (w.size() >= 4 && w[w.size() - 4] == 0xA0 && w[w.size() - 3] == 0 && w[w.size() - 2] == PPKCmdCopyToFlash)
      if (copyRequests.empty() || copyRequests.back() != static_cast<long long>(w.size()))
        copyRequests.push_back(static_cast<long long>(w.size()));
  };
  long long before = 0;
  run.Go(ExchangeMode::WriteConfig, [&](TransferContext& c) {
    before = port.now;
    StoreDBTransfer(c, image);
  });
  EXPECT_EQ(run.window.ExchangeResult, kExchangeSuccess);
  EXPECT_EQ(copyRequests.size(), 2u);
  EXPECT_GE(port.now - before, 151 * 202);
  ImageArray expected = SampleImage();
  SetImageCheckByte(expected);
  EXPECT_EQ(panel.flash[kCheckByte], expected[kCheckByte]);
  // During the copy the gauge stands at half: the report before the copy line.
  auto copying = std::find(run.shown.begin(), run.shown.end(),
                           std::string("Копирование информации из ОЗУ во FLASH (5-10 сек) ..."_w));
  ASSERT_NE(copying, run.shown.end());
  EXPECT_EQ(run.gaugeAtLine[static_cast<std::size_t>(copying - run.shown.begin())], 4032);
}

TEST(LinkTransfers, CancelDuringTheHandshakeSendsNothingMore) {
  ModelPort port;  // nobody answers
  TransferRun run(port);
  std::size_t writtenAtCancel = 0;
  long long cancelledAt = 0;
  port.afterCall = [&] {
    if (port.written.size() == 5 && !run.stop.stop_requested()) {
      run.stop.request_stop();  // the window closes
      writtenAtCancel = port.written.size();
      cancelledAt = port.now;
    }
  };
  ImageArray image = SampleImage();
  run.Go(ExchangeMode::WriteConfig, [&](TransferContext& c) { StoreDBTransfer(c, image); });
  EXPECT_EQ(port.written.size(), writtenAtCancel);
  EXPECT_EQ(std::count(port.written.begin(), port.written.end(), PPKModeConfig), 5);
  EXPECT_LE(port.now - cancelledAt, CallTimeLimitMs(1, kReadExtra));
  EXPECT_EQ(run.window.ExchangeResult, kExchangeNotFinished);
  EXPECT_TRUE(run.host.messages().empty());
}

TEST(LinkTransfers, TextsGoAs415BlocksAndTheLeaveByte) {
  sim::PanelModel panel({}, 0);
  ModelPort port(&panel);
  TransferRun run(port);
  TextImageArray text{};
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<std::uint8_t>(0x20 + i % 90);
  run.Go(ExchangeMode::WriteTexts, [&](TransferContext& c) { TextDBTransfer(c, text); });
  EXPECT_EQ(run.window.ExchangeResult, kExchangeSuccess);
  EXPECT_EQ(panel.text, text);
  EXPECT_EQ(panel.stats.textBlocks, 415);
  EXPECT_EQ(port.written.size(), 2u + 415u * 32u + 1u);
  EXPECT_EQ(port.written.back(), PPKCmdExit);
  EXPECT_EQ(port.written.front(), PPKModeText);
  EXPECT_EQ(run.window.GaugeMax, 8064);
  EXPECT_EQ(run.window.GaugePos, 8064);
  EXPECT_EQ(run.window.Log.back(), std::string("Следите за процессом записи текстов из ППК в ПЖИ."_w));
  EXPECT_TRUE(panel.stats.violations.empty());
}

TEST(LinkReadId, CollectsHexCharactersUpToTheFirstPause) {
  auto text = [](const char* s) { return std::vector<std::uint8_t>(s, s + std::strlen(s)); };
  struct Chunk {
    long long at;
    std::vector<std::uint8_t> bytes;
  };
  struct Case {
    const char* name;
    std::vector<Chunk> chunks;
    std::string value;
  } cases[] = {
      {"code with CR LF", {{1000, text("0123456789ABCDEF\r\n")}}, "0123456789ABCDEF"},
      {"noise before the code", {{500, text("\r\nxyz")}, {900, text("00FF\r\n")}}, "00FF"},
      {"lower case dropped", {{500, text("12ab34CD")}}, "1234CD"},
      {"pause splits the code", {{500, text("ABCD")}, {1000, text("EF01")}}, "ABCD"},
      {"left-over bytes drained", {{0, text("9999")}, {800, text("1234")}}, "1234"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ModelPort port;
    for (const auto& ch : c.chunks) port.Schedule(ch.at, ch.bytes);
    TransferRun run(port);
    std::string value = "old";
    run.Go(ExchangeMode::ReadConfig, [&](TransferContext& ctx) { ReadIDTransfer(ctx, value); });
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(run.window.ExchangeResult, kExchangeSuccess);
    EXPECT_TRUE(port.written.empty());
    EXPECT_EQ(run.window.Log.size(), 3u);
    EXPECT_EQ(run.window.Log[1], std::string("Прочитано значение: "_w) + c.value);
  }
}

TEST(LinkReadId, ClosesItself1500MsAfterSuccess) {
  ModelPort port;
  port.Schedule(300, {'4', '2'});
  ExchangeWindow window;
  ScriptedHost host;
  std::stop_source stop;
  std::vector<int> pauses;
  std::string value;
  TransferContext ctx{port, stop.get_token(),
                      [&](ExchangeProgress& p) { ExchangeUpdate(window, host, p, kReadIDErrorText); },
                      [&](int ms) { pauses.push_back(ms); }};
  ReadIDTransfer(ctx, value);
  EXPECT_EQ(value, "42");
  EXPECT_EQ(pauses, std::vector<int>{1500});
  EXPECT_TRUE(window.Closed);
  EXPECT_EQ(window.ExchangeResult, kExchangeSuccess);
}

// The session hands reports to the calling thread and stops a waiting worker.
TEST(LinkSession, ReportsRunOnTheCallingThreadAndCloseStopsTheWorker) {
  ModelPort port;  // silent: the worker stays in the handshake
  ExchangeWindow window;
  ScriptedHost host;
  const auto mainThread = std::this_thread::get_id();
  bool allOnMain = true;
  ImageArray image{};
  {
    ExchangeSession session(port, [&](TransferContext& c) { StoreDBTransfer(c, image); });
    for (int i = 0; i < 50 && window.Log.size() < 2; ++i)
      session.Pump(std::chrono::milliseconds(20), [&](ExchangeProgress& p) {
        allOnMain = allOnMain && std::this_thread::get_id() == mainThread;
        ExchangeUpdate(window, host, p, ExchangeErrorText(ExchangeMode::WriteConfig));
      });
    session.RequestStop();
    session.Join();
  }
  EXPECT_TRUE(allOnMain);
  ASSERT_EQ(window.Log.size(), 2u);
  EXPECT_EQ(window.Log[0], std::string(kStartLine));
  EXPECT_EQ(window.ExchangeResult, kExchangeNotFinished);
}

// The simulator's panel reports what a tool must never send.
TEST(LinkPanelModel, SeesProtocolViolations) {
  auto corrupt = [](std::vector<std::uint8_t> f) {
    f.back() ^= 1;
    return f;
  };
  struct Case {
    const char* name;
    std::uint8_t mode;
    std::vector<std::uint8_t> bytes;  // after the handshake
    std::size_t violations;
    std::size_t answered;  // bytes the panel sent after its 0x06
  } cases[] = {
      {"good read", PPKModeConfig, MakeReadFrame(PPKCmdRead, 0, 64), 0, 68},
      {"bad checksum", PPKModeConfig, corrupt(MakeReadFrame(PPKCmdRead, 0, 64)), 1, 0},
      {"read past the image", PPKModeConfig, MakeReadFrame(PPKCmdRead, 8160, 64), 1, 0},
      {"write past 8064", PPKModeConfig, MakeWriteRamFrame(8060, std::vector<std::uint8_t>(8, 1)), 1, 0},
      {"stray byte between frames", PPKModeConfig, Bytes({0x55}), 1, 0},
      {"text mode left early", PPKModeText, Bytes({PPKCmdExit}), 1, 0},
      {"text block acknowledged", PPKModeText, MakeTextBlock(std::vector<std::uint8_t>(30, 0x41)), 0, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::PanelModel panel({}, 0);
    std::vector<sim::PanelOutput> out;
    panel.Receive(c.mode, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].bytes, Bytes({PPKModeAck}));
    out.clear();
    for (std::uint8_t b : c.bytes) panel.Receive(b, out);
    std::size_t answered = 0;
    for (const auto& o : out) answered += o.bytes.size();
    EXPECT_EQ(panel.stats.violations.size(), c.violations);
    EXPECT_EQ(answered, c.answered);
  }
}

// --- the serial port layer on a pseudo-terminal ---

struct PtyPair {
  int master = -1;
  std::string path;
  PtyPair() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0) path = ::ptsname(master);
  }
  ~PtyPair() {
    if (master >= 0) ::close(master);
  }
};

TEST(LinkComPort, OpensAPseudoTerminalExclusivelyAndKeepsItsLimits) {
  PtyPair pty;
  ASSERT_FALSE(pty.path.empty());
  FRout port;
  ASSERT_TRUE(OpenComPortDevice(port, pty.path));
  EXPECT_NE(port.ComPortHandle, -1);

  FRout second;
  EXPECT_FALSE(OpenComPortDevice(second, pty.path));
  EXPECT_EQ(second.ComPortHandle, -1);
  EXPECT_FALSE(OpenComPortDevice(port, pty.path));  // already open: untouched
  EXPECT_EQ(port.DevicePath, pty.path);

  std::uint8_t b = 0;
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_FALSE(ReadComPort(port, std::span(&b, 1), 100));
  auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0);
  EXPECT_GE(waited.count(), 202);
  EXPECT_LE(waited.count(), 202 + 50);  // room for a loaded machine

  const std::uint8_t out[3] = {0xA5, 0x00, 0xFF};
  EXPECT_TRUE(WriteComPort(port, out, 50));
  std::uint8_t seen[3] = {};
  EXPECT_EQ(::read(pty.master, seen, 3), 3);
  EXPECT_TRUE(std::equal(seen, seen + 3, out));  // raw: no translation, no echo
  const std::uint8_t in[2] = {0x0D, 0x11};
  EXPECT_EQ(::write(pty.master, in, 2), 2);
  std::uint8_t got[2] = {};
  EXPECT_TRUE(ReadComPort(port, got, 100));
  EXPECT_TRUE(std::equal(got, got + 2, in));

  // Nobody reads the far end: once the line's buffer is full a one-byte
  // write gives up after its 102 ms.
  const std::vector<std::uint8_t> chunk(4096, 0x55);
  // The pseudo-terminal moves bytes on in the background: full means refused
  // several times over some milliseconds.
  for (int refused = 0; refused < 5;) {
    if (::write(port.ComPortHandle, chunk.data(), refused == 0 ? chunk.size() : 1) > 0) {
      refused = 0;
    } else {
      ++refused;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  t0 = std::chrono::steady_clock::now();
  EXPECT_FALSE(WriteComPort(port, std::span(out, 1), 50));
  waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0);
  EXPECT_GE(waited.count(), 102);
  EXPECT_LE(waited.count(), 102 + 50);

  EXPECT_TRUE(CloseComPort(port));
  EXPECT_EQ(port.ComPortHandle, -1);
  EXPECT_TRUE(CloseComPort(port));
  EXPECT_TRUE(OpenComPortDevice(second, pty.path));  // released
}

TEST(LinkComPort, NumbersMapThroughTheEnvironmentAndTheScanFindsFreePorts) {
  PtyPair one, three;
  ASSERT_FALSE(one.path.empty());
  ASSERT_FALSE(three.path.empty());
  for (int n = 1; n <= 8; ++n) {
    std::string var = "VELKOR_COM" + std::to_string(n);
    std::string dev = n == 1 ? one.path : n == 3 ? three.path : "/nonexistent/tty" + std::to_string(n);
    ::setenv(var.c_str(), dev.c_str(), 1);
  }
  FRout port;
  for (int bad : {0, 9, -1}) {
    port.ComPortNumber = bad;
    EXPECT_FALSE(OpenComPort(port));
  }
  ComPortScan scan;
  EXPECT_TRUE(FoundCommPort(port, scan));
  EXPECT_EQ(port.ComPortNumber, 3);
  EXPECT_EQ(port.ComPortHandle, -1);
  for (int n = 1; n <= 8; ++n) EXPECT_EQ(scan.Free[static_cast<std::size_t>(n - 1)], n == 1 || n == 3) << n;

  FRout holder;
  holder.ComPortNumber = 3;
  ASSERT_TRUE(OpenComPort(holder));  // COM3 now busy
  EXPECT_TRUE(FoundCommPort(port, scan));
  EXPECT_EQ(port.ComPortNumber, 1);
  CloseComPort(holder);
  for (int n = 1; n <= 8; ++n) ::unsetenv(("VELKOR_COM" + std::to_string(n)).c_str());

  EXPECT_EQ(ParseComPortName("COM2"), 2);
  EXPECT_EQ(ParseComPortName("com8"), 8);
  EXPECT_EQ(ParseComPortName("COM9"), 0);
  EXPECT_EQ(ParseComPortName("COM2 "), 0);
}

}  // namespace
}  // namespace velkor
