#pragma once
// Windows-1251 is the code page of every text the panel, its files and its
// listings carry. The core keeps texts as those bytes; conversion to UTF-8
// happens only where a text leaves for a person (terminal, Qt strings).

#include <array>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace velkor {

// Unicode code point of each byte 0x80..0xFF. Byte 0x98 has no character in
// the code page; it maps to the C1 control U+0098 so that every byte value
// survives a round trip through UTF-8.
inline constexpr std::array<char32_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// The byte for a code point, or -1 when the code page has none.
constexpr int Cp1251ByteOf(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kCp1251High.size(); ++i)
    if (kCp1251High[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

// UTF-8 text of Windows-1251 bytes; every byte value converts.
std::string Cp1251ToUtf8(std::string_view bytes);

// Windows-1251 bytes of a UTF-8 text; nullopt when the text is not valid
// UTF-8 or holds a character the code page lacks.
std::optional<std::string> Utf8ToCp1251(std::string_view utf8);

// As Utf8ToCp1251, with '?' in place of each character that does not convert.
std::string Utf8ToCp1251Lossy(std::string_view utf8);

namespace detail {

template <std::size_t N>
struct Cp1251Buffer {
  std::array<char, N> bytes{};
  std::size_t size = 0;
};

template <std::size_t N>
constexpr Cp1251Buffer<N> ConvertLiteral(const std::array<char, N>& text) {
  Cp1251Buffer<N> out;
  std::size_t i = 0;
  while (i < N) {
    auto c = static_cast<unsigned char>(text[i]);
    char32_t cp = 0;
    int extra = 0;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else {
      throw std::logic_error("literal outside Windows-1251");
    }
    if (i + static_cast<std::size_t>(extra) >= N) throw std::logic_error("literal cut short");
    for (int k = 1; k <= extra; ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
    i += 1 + static_cast<std::size_t>(extra);
    int b = Cp1251ByteOf(cp);
    if (b < 0) throw std::logic_error("literal outside Windows-1251");
    out.bytes[out.size++] = static_cast<char>(b);
  }
  return out;
}

template <char... Cs>
struct Cp1251Of {
  static constexpr auto value = ConvertLiteral(std::array<char, sizeof...(Cs)>{Cs...});
};

}  // namespace detail

// "Шлейф"_w: the Windows-1251 bytes of a UTF-8 source literal, converted at
// compile time. A character outside the code page fails the build.
// The character-pack form of the literal operator is an extension that both
// compilers we build with support; the standard class-type form makes
// clang 14 crash while it reports on constant evaluation.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wgnu-string-literal-operator-template"
#elif defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#endif
template <typename CharT, CharT... Cs>
constexpr std::string_view operator""_w() {
  static_assert(std::is_same_v<CharT, char>, "_w takes narrow UTF-8 literals");
  return {detail::Cp1251Of<Cs...>::value.bytes.data(), detail::Cp1251Of<Cs...>::value.size};
}
#if defined(__clang__)
#pragma clang diagnostic pop
#elif defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

}  // namespace velkor
