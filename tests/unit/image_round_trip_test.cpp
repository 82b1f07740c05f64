#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "files/dcf.h"
#include "host/scripted_host.h"
#include "image/builder.h"
#include "image/byte_labels.h"
#include "image/image_reader.h"
#include "text/cp1251.h"

namespace velkor {
namespace {

// Builds the workspace's database as the editor would, answering Yes to the
// builder's questions.
bool Build(Workspace& ws, ScriptedHost& host) {
  ProcessDataBase(ws.db);
  host.answers.assign(64, true);
  const ListingStamp stamp{"date", "time", "version", "3.20"};
  return DBConvertToPPK(ws, host, SettingsFromEditor(ws), stamp, nullptr);
}

std::string Messages(const ScriptedHost& host) {
  std::string out;
  for (const auto& m : host.messages()) out += Cp1251ToUtf8(m.text) + "\n";
  return out;
}

// The image read back from a built image builds to the same bytes: nothing
// the panel holds is lost or changed by the reader.
TEST(ImageRoundTrip, ExamplesBuildReadBuildToTheSameImage) {
  std::vector<std::filesystem::path> examples;
  for (const auto& entry : std::filesystem::directory_iterator(VELKOR_EXAMPLES_DIR))
    if (entry.path().extension() == ".dcf") examples.push_back(entry.path());
  std::sort(examples.begin(), examples.end());
  ASSERT_FALSE(examples.empty());

  for (const auto& path : examples) {
    SCOPED_TRACE(path.filename().string());
    Workspace ws;
    ScriptedHost host;
    ASSERT_TRUE(DBConvertFromFile(ws, host, path.string())) << Messages(host);
    ASSERT_TRUE(Build(ws, host)) << Messages(host);
    const ImageArray built = ws.DBStoreArray;

    ws.DBReadArray = built;
    ASSERT_TRUE(LoadDatabaseFromReadArray(ws, host)) << Messages(host);
    ws.DBStoreArray.fill(0);
    ASSERT_TRUE(Build(ws, host)) << Messages(host);

    int differing = 0;
    for (std::size_t at = 0; at < kRomSize; ++at) {
      if (built[at] == ws.DBStoreArray[at]) continue;
      if (++differing <= 20)
        ADD_FAILURE() << at << " " << ImageByteLabel(Variant::Current, static_cast<int>(at)) << ": "
                      << int{built[at]} << " became " << int{ws.DBStoreArray[at]};
    }
    EXPECT_EQ(differing, 0);
  }
}

}  // namespace
}  // namespace velkor
