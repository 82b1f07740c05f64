#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "host/scripted_host.h"
#include "image/image_map.h"
#include "text/cp1251.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

TEST(Crc8, MaximCheckValue) {
  const std::string text = "123456789";
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  EXPECT_EQ(Crc8(bytes), 0xA1);
  bytes.push_back(0xA1);
  EXPECT_EQ(Crc8(bytes), 0);
  EXPECT_EQ(Crc8({}), 0);
}

TEST(ImageMap, Addresses) {
  EXPECT_EQ(ImageOffset(Variant::Current, SectionAdapters, 33, 21), 3819);
  EXPECT_EQ(ImageOffset(Variant::Current, SectionUsers, 127, 28), 7843);
  EXPECT_EQ(ImageOffset(Variant::Current, SectionPanel, 0, 127), 127);
  EXPECT_EQ(ImageOffset(Variant::Current, SectionModules, 2, 7), 4131);
  EXPECT_EQ(ImageOffset(Variant::Current, 0x89, 0, 0), 4132);
  EXPECT_EQ(ImageOffset(Variant::Current, SectionUsers, 128, 0), -1);
  EXPECT_EQ(ImageOffset(Variant::Current, SectionAdapters, 0, 22), -1);
  EXPECT_EQ(ImageOffset(Variant::Current, SectionAccess, 0, 0), -1);
  EXPECT_EQ(ImageOffset(Variant::Legacy, SectionUsers, 127, 12), 5795);
  EXPECT_EQ(ImageOffset(Variant::Legacy, SectionAccess, 127, 15), 7843);
  // The sections follow each other without gaps.
  for (Variant v : {Variant::Current, Variant::Legacy}) {
    int next = 0;
    for (int s = 0; s < SectionCount(v); ++s) {
      const SectionLayout* layout = SectionOf(v, s);
      ASSERT_NE(layout, nullptr);
      EXPECT_EQ(layout->Base, next) << s;
      next = layout->Base + layout->RecordSize * layout->Records;
    }
    EXPECT_EQ(next, 7844);
  }
}

TEST(FlashStore, RefusesBadIndexesWithItsMessage) {
  ScriptedHost host;
  ImageArray store{};
  EXPECT_FALSE(FlashStore(host, store, Variant::Current, 9, 128, 0, 1));
  EXPECT_FALSE(FlashStore(host, store, Variant::Current, 4, 0, 22, 1));
  EXPECT_FALSE(FlashStore(host, store, Variant::Current, 10, 0, 0, 1));
  EXPECT_EQ(store, ImageArray{});
  ASSERT_EQ(host.messages().size(), 3u);
  for (const auto& m : host.messages()) {
    EXPECT_EQ(m.icon, MessageIcon::Error);
    EXPECT_EQ(m.title, std::string("Ошибка конвертирования базы данных"_w));
    EXPECT_EQ(m.text, std::string("Ошибка номера записи или размера структуры при записи FLASH"_w));
  }

  EXPECT_TRUE(FlashStore(host, store, Variant::Current, 0x89, 0, 0, 0x5A));
  EXPECT_EQ(store[4132], 0x5A);
  EXPECT_EQ(FlashRead(host, store, Variant::Current, 9, 0, 0), 0x5A);
  EXPECT_TRUE(FlashStore(host, store, Variant::Legacy, 10, 1, 0, 7));
  EXPECT_EQ(store[5796 + 16], 7);

  store[0] = 9;
  EXPECT_EQ(FlashRead(host, store, Variant::Current, 0, 1, 0), 0);
  EXPECT_EQ(host.messages().back().text,
            std::string("Ошибка номера записи или размера структуры при чтении FLASH"_w));
}

TEST(ImageCheck, AcceptsEitherLayout) {
  ImageArray image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
  SetImageCheckByte(image);
  EXPECT_TRUE(ImageCheckOk(image));
  EXPECT_NE(Crc8(std::span(image.data(), kOldCheckByte + 1)), 0);  // only the new layout checks

  ImageArray old = image;
  old[kCheckByte] ^= 0xFF;
  EXPECT_FALSE(ImageCheckOk(old));
  old[kOldCheckByte] = Crc8(std::span(old.data(), kOldCheckByte));
  EXPECT_TRUE(ImageCheckOk(old));
  image[8191] ^= 1;  // beyond the written part
  EXPECT_TRUE(ImageCheckOk(image));
}

class RomFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("velkor-rom-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  static void WriteBytes(const fs::path& p, std::size_t n, char value) {
    std::ofstream(p, std::ios::binary) << std::string(n, value);
  }

  fs::path dir;
  ScriptedHost host;
};

TEST_F(RomFile, WritesTheFirst8064BytesPrivately) {
  ImageArray image{};
  image[0] = 1;
  image[8063] = 2;
  image[8064] = 3;
  const fs::path path = dir / "obj.rom";
  ASSERT_TRUE(WriteRomFile(host, path.string(), image));
  EXPECT_EQ(fs::file_size(path), 8064u);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  ImageArray back{};
  back.fill(0xEE);
  ASSERT_TRUE(ReadRomFile(host, path.string(), back));
  EXPECT_EQ(back[0], 1);
  EXPECT_EQ(back[8063], 2);
  EXPECT_EQ(back[8064], 0xEE);  // the unwritten part keeps what it held
  EXPECT_TRUE(host.events.empty());
}

TEST_F(RomFile, RefusesOtherSizesAndLeavesTheImage) {
  for (std::size_t size : {std::size_t{0}, std::size_t{8063}, std::size_t{8065}, std::size_t{8192}}) {
    SCOPED_TRACE(size);
    const fs::path path = dir / "bad.rom";
    WriteBytes(path, size, 'x');
    ImageArray image{};
    EXPECT_FALSE(ReadRomFile(host, path.string(), image));
    EXPECT_EQ(image, ImageArray{});
    EXPECT_EQ(host.messages().back().title, std::string("Ошибка"_w));
    EXPECT_EQ(host.messages().back().text, std::string("Ошибка чтения файла"_w));
  }
  ImageArray image{};
  EXPECT_FALSE(ReadRomFile(host, (dir / "missing.rom").string(), image));
  EXPECT_FALSE(ReadRomFile(host, dir.string(), image));  // a folder
}

TEST_F(RomFile, AFailedSaveKeepsTheOldFile) {
  ImageArray image{};
  EXPECT_FALSE(WriteRomFile(host, (dir / "no-such-folder" / "x.rom").string(), image));
  EXPECT_EQ(host.messages().back().text, std::string("Ошибка записи файла"_w));

  // A folder in the way cannot be replaced: what was there stays, no stray temporary is left.
  const fs::path busy = dir / "busy.rom";
  fs::create_directories(busy / "inside");
  EXPECT_FALSE(WriteRomFile(host, busy.string(), image));
  EXPECT_TRUE(fs::exists(busy / "inside"));
  int entries = 0;
  for (const auto& e : fs::directory_iterator(dir)) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace velkor
