#include "export/listing.h"

#include <cstdint>

#include "files/file_io.h"
#include "text/format.h"

namespace velkor {

namespace {

const std::string kRule(100, '-');

}  // namespace

void ListingHeader(ExportLog& log, const ListingStamp& stamp) {
  ExportLogAddLine(log, std::string("Дата:  "_w) + stamp.Date);
  ExportLogAddLine(log, std::string("Время:  "_w) + stamp.Time);
  ExportLogAddLine(log, std::string("Версия программы:  "_w) + stamp.Version);
  ExportLogAddLine(log, "");
  ExportLogAddLine(log, "Экспорт структуры базы данных по категориям"_w);
  ExportLogAddLine(log, "с присвоением номера элемента в соответствующей категории"_w);
  ExportLogAddLine(log, kRule);
  ExportLogAddLine(log, "");
}

void ListingProtocol(ExportLog& log, std::string_view protocolText) {
  ExportLogAddLine(log, std::string("Протокол связи:  "_w) + std::string(protocolText));
  ExportLogAddLine(log, "");
}

void ListingEnd(ExportLog& log) {
  ExportLogAddLine(log, kRule);
  ExportLogAddLine(log, "Конец структуры"_w);
}

ListingCategory::ListingCategory(ExportLog& log, std::string_view heading) : log_(log) {
  ExportLogAddLine(log_, heading);
}

void ListingCategory::Add(std::string line) {
  log_.Lines.push_back(std::move(line));
  ++lines_;
}

void ListingCategory::Close() {
  if (lines_ == 0) ExportLogAddLine(log_, "...   отсутствуют."_w);
  ExportLogAddLine(log_, "");
}

std::string ListingElement(int number) { return std::string("ЭЛЕМЕНТ "_w) + Fmt3(number) + ": "; }

void PadRight(std::string& text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
}

std::string ListingDeviceLine(int record, std::string_view path, int netNumber, dword serialNumber) {
  std::string line = ListingElement(record + 1);
  line += path;
  line += ',';
  PadRight(line, 26);
  line += "cетевой адрес "_w;  // the first letter is the Latin c
  line += std::to_string(netNumber) + ", ";
  PadRight(line, 44);
  line += std::string("ПРОГ: [12] # ["_w) + std::to_string(record + 1) + "] # [" + Fmt5(serialNumber >> 16) +
          "] # [" + Fmt5(serialNumber & 0xFFFFu) + "] #";
  return line;
}

std::string ListingUserLine(const TUser& user) {
  std::string line = Cat("ЭЛЕМЕНТ "_w, Fmt3(user.Number), ":", " Пользователь "_w, Dec(user.Number));
  if (!user.Fio.empty()) line += " " + user.Fio.str();
  if (!user.Post.empty()) line += " " + user.Post.str();
  if (user.Number == 1) line += " (администратор)"_w;
  line += ", доступ к группам"_w;
  std::string groups;
  for (const TGroup* g : user.Groups) {
    if (!g) continue;
    if (!groups.empty()) groups += ", ";
    groups += std::to_string(g->Number);
  }
  if (groups.empty())
    line += " запрещен"_w;
  else
    line += ": [" + groups + "]";
  return line;
}

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& l : lines) size += l.size() + 2;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(size);
  for (const auto& l : lines) {
    bytes.insert(bytes.end(), l.begin(), l.end());
    bytes.push_back('\r');
    bytes.push_back('\n');
  }
  return WriteFileAtomically(path, bytes);
}

}  // namespace velkor
