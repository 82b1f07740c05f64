#pragma once
// The one place where the core's Windows-1251 bytes meet Qt strings.

#include <QString>
#include <string>
#include <string_view>

#include "text/cp1251.h"

namespace velkor::editor {

inline QString Qs(std::string_view cp1251) {
  const std::string utf8 = Cp1251ToUtf8(cp1251);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A message text for a box: the core marks line breaks with "\r".
inline QString QsMessage(std::string_view cp1251) {
  QString text = Qs(cp1251);
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// Characters outside the code page become '?': a file name or a typed text
// must still reach the core.
inline std::string Cp(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Utf8ToCp1251Lossy(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// A path for the file system: the system's own encoding, not the code page.
inline std::string LocalPath(const QString& path) { return path.toLocal8Bit().toStdString(); }

}  // namespace velkor::editor
