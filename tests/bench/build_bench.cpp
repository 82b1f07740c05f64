// Building the panel image of the largest example database with the
// structure listing, the INI description and the keyboard programming sheet:
// what the user waits for behind the conversion window.

#include <benchmark/benchmark.h>

#include <string>

#include "files/dcf.h"
#include "host/scripted_host.h"
#include "image/builder.h"
#include "model/captions.h"

namespace {

// Answers Yes, shows nothing and skips the closing pause.
class QuietHost : public velkor::Host {
 public:
  void Message(velkor::MessageIcon, std::string_view, std::string_view) override { ++messages; }
  bool Ask(velkor::MessageIcon, std::string_view, std::string_view) override { return true; }
  int messages = 0;
};

void BM_BuildExample(benchmark::State& state, const std::string& file) {
  velkor::Workspace ws;
  velkor::ScriptedHost loader;
  if (!velkor::DBConvertFromFile(ws, loader, std::string(VELKOR_EXAMPLES_DIR) + "/" + file)) {
    state.SkipWithError("the example does not load");
    return;
  }
  velkor::ProcessDataBase(ws.db);
  velkor::BuildSettings settings = velkor::SettingsFromEditor(ws);
  settings.IniExport = true;
  const velkor::ListingStamp stamp = velkor::SystemListingStamp();
  velkor::IniText ini;
  QuietHost host;
  std::size_t bytes = 0;
  for (auto _ : state) {
    ini.text.clear();
    if (!velkor::DBConvertToPPK(ws, host, settings, stamp, &ini)) {
      state.SkipWithError("the example does not build");
      return;
    }
    bytes = ini.text.size();
    benchmark::DoNotOptimize(ws.DBStoreArray.data());
  }
  state.counters["listing_lines"] = static_cast<double>(ws.exportLog.Lines.size());
  state.counters["sheet_lines"] = static_cast<double>(ws.prgSheet.Lines.size());
  state.counters["ini_bytes"] = static_cast<double>(bytes);
}
BENCHMARK_CAPTURE(BM_BuildExample, maximal, std::string("maximal.dcf"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BuildExample, maximal_outputs, std::string("maximal-outputs.dcf"))
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
