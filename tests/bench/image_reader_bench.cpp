// Reading the image of the largest example database back into a database:
// what the user waits for after a panel read or a .ROM load.

#include <benchmark/benchmark.h>

#include "example_databases.h"
#include "host/scripted_host.h"
#include "image/builder.h"
#include "image/image_reader.h"

namespace {

// The image the builder makes of the largest example.
const velkor::ImageArray& MaximalImage() {
  static const velkor::ImageArray image = [] {
    velkor::Workspace ws;
    velkor::ScriptedHost host;
    velkor::examples::MakeExample(velkor::examples::ExampleDatabases().at(1), ws, host);
    velkor::ProcessDataBase(ws.db);
    host.answers.assign(64, true);
    if (!velkor::DBConvertToPPK(ws, host, velkor::SettingsFromEditor(ws), {"date", "time", "version", "3.20"},
                                nullptr))
      std::abort();
    return ws.DBStoreArray;
  }();
  return image;
}

void BM_ReadMaximalImage(benchmark::State& state) {
  const velkor::ImageArray& image = MaximalImage();
  for (auto _ : state) {
    velkor::Workspace ws;
    velkor::ScriptedHost quiet;
    ws.DBReadArray = image;
    benchmark::DoNotOptimize(velkor::LoadDatabaseFromReadArray(ws, quiet));
  }
}
BENCHMARK(BM_ReadMaximalImage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
