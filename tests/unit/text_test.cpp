#include <gtest/gtest.h>

#include <unicode/ucnv.h>

#include <memory>
#include <vector>

#include "text/caption_order.h"
#include "text/cp1251.h"
#include "text/format.h"
#include "text/text_field.h"

namespace velkor {
namespace {

TEST(Cp1251, EveryByteSurvivesTheRoundTrip) {
  for (int b = 0; b < 256; ++b) {
    std::string one(1, static_cast<char>(b));
    auto back = Utf8ToCp1251(Cp1251ToUtf8(one));
    ASSERT_TRUE(back.has_value()) << b;
    EXPECT_EQ(*back, one) << b;
  }
}

TEST(Cp1251, AgreesWithIcuOnEveryDefinedByte) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, decltype(&ucnv_close)> conv(ucnv_open("windows-1251", &status), ucnv_close);
  ASSERT_TRUE(U_SUCCESS(status));
  for (int b = 0x80; b < 256; ++b) {
    if (b == 0x98) continue;  // no character in the code page
    char in = static_cast<char>(b);
    UChar out[4] = {};
    status = U_ZERO_ERROR;
    int32_t n = ucnv_toUChars(conv.get(), out, 4, &in, 1, &status);
    ASSERT_TRUE(U_SUCCESS(status));
    ASSERT_EQ(n, 1);
    EXPECT_EQ(static_cast<char32_t>(out[0]), kCp1251High[static_cast<std::size_t>(b - 0x80)]) << b;
  }
}

TEST(Cp1251, RefusesWhatTheCodePageLacks) {
  EXPECT_FALSE(Utf8ToCp1251("日本").has_value());
  EXPECT_FALSE(Utf8ToCp1251("\xD0").has_value());          // cut short
  EXPECT_FALSE(Utf8ToCp1251("\xC0\x80").has_value());      // overlong
  EXPECT_FALSE(Utf8ToCp1251("\xED\xA0\x80").has_value());  // surrogate
  EXPECT_EQ(Utf8ToCp1251Lossy("Ок日"), std::string("\xCE\xEA?"));
}

TEST(Cp1251, LiteralsConvertAtCompileTime) {
  constexpr std::string_view w = "Шлейф №1 Ґ"_w;
  static_assert(w.size() == 10);
  EXPECT_EQ(std::string(w), *Utf8ToCp1251("Шлейф №1 Ґ"));
  EXPECT_EQ(Cp1251ToUtf8(w), "Шлейф №1 Ґ");
}

TEST(TextField, KeepsTheFirstNCharacters) {
  TextField<200> name;
  name = std::string(250, 'x');
  EXPECT_EQ(name.size(), 200u);
  TextField<5> room("1234567");
  EXPECT_EQ(room.str(), "12345");
  TextField<3> shorter("12");
  EXPECT_EQ(shorter.str(), "12");
}

TEST(Format, PadsLikePrintf) {
  struct Case {
    long long value;
    int digits;
    const char* text;
  } cases[] = {{0, 2, "00"}, {5, 2, "05"}, {123, 2, "123"}, {7, 3, "007"},
               {65535, 5, "65535"}, {42, 5, "00042"}, {-5, 2, "-05"}, {-123, 2, "-123"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(PadNumber(c.value, c.digits), c.text);
  }
}

TEST(CaptionOrder, SortsCaptionsAsTheTreesNeed) {
  // Each list is in ascending order.
  std::vector<std::vector<std::string_view>> orders = {
      {"01 > Шлейф"_w, "02 > Шлейф"_w, "10 > Шлейф"_w, "Вход SET"_w, "Реле"_w, "ТМ вход"_w, "Шлейф"_w},
      {"01 > Реле"_w, "01 > Шлейф"_w, "02 > Реле"_w},
      {"001 > Администратор"_w, "002 > Пользователь"_w, "Группа 001"_w, "Группа 002"_w},
      {"001 > Шлейф"_w, "ТМ считыватель"_w, "Устройство SET"_w},
      {"Ворсан - БМ8"_w, "Ворсан - ИВ21"_w, "Ворсан - ПУП"_w, "Ворсан - ПУС"_w, "Ворсан - ПУСП"_w,
       "Интерфейс 485"_w},
      {"Ворсан - БМ16"_w, "Ворсан - ИВ41"_w},
      {"a"_w, "A"_w, "b"_w},
      {"Z"_w, "а"_w},
  };
  for (const auto& order : orders) {
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
      SCOPED_TRACE(Cp1251ToUtf8(order[i]) + " < " + Cp1251ToUtf8(order[i + 1]));
      EXPECT_LT(CaptionCompare(order[i], order[i + 1]), 0);
      EXPECT_GT(CaptionCompare(order[i + 1], order[i]), 0);
    }
  }
  EXPECT_EQ(CaptionCompare("Реле"_w, "Реле"_w), 0);
  // Hyphens only decide when nothing else does.
  EXPECT_LT(CaptionCompare("co-op", "coop"), 0);
  EXPECT_LT(CaptionCompare("co-op", "copa"), 0);
}

}  // namespace
}  // namespace velkor
