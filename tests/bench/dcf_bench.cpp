// Saving and loading the largest example database: what the user waits for
// behind the conversion window.

#include <benchmark/benchmark.h>

#include "example_databases.h"
#include "files/dcf.h"
#include "host/scripted_host.h"

namespace {

velkor::Workspace& Maximal() {
  static velkor::Workspace ws;
  static bool made = [] {
    velkor::ScriptedHost host;
    return velkor::examples::MakeExample(velkor::examples::ExampleDatabases().at(1), ws, host);
  }();
  (void)made;
  return ws;
}

void BM_EncodeMaximal(benchmark::State& state) {
  velkor::Workspace& ws = Maximal();
  std::vector<std::uint8_t> bytes;
  for (auto _ : state) {
    velkor::ScriptedHost quiet;
    benchmark::DoNotOptimize(velkor::EncodeDcf(ws.db, quiet, bytes));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_EncodeMaximal);

void BM_DecodeMaximal(benchmark::State& state) {
  velkor::ScriptedHost host;
  std::vector<std::uint8_t> bytes;
  velkor::EncodeDcf(Maximal().db, host, bytes);
  for (auto _ : state) {
    velkor::Workspace ws;
    velkor::ScriptedHost quiet;
    benchmark::DoNotOptimize(velkor::DecodeDcf(ws, quiet, bytes));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DecodeMaximal);

}  // namespace

BENCHMARK_MAIN();
