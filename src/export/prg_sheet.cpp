#include "export/prg_sheet.h"

#include "export/listing.h"
#include "text/cp1251.h"

namespace velkor {

namespace {

Dec N(int value) { return Dec(value); }

// Reads the built image the way the sheet is specified: one byte at a time.
class ImageReader {
 public:
  ImageReader(Host& host, const ImageArray& store, Variant variant)
      : host_(host), store_(store), variant_(variant) {}
  int operator()(int section, int record, int byte) const {
    return FlashRead(host_, store_, variant_, section, record, byte);
  }

 private:
  Host& host_;
  const ImageArray& store_;
  Variant variant_;
};

void PanelBlock(PrgSheet& s, const ImageReader& rd) {
  VorsanPrgFileOpenBlock(s, "Изменение параметров ППК:"_w);
  VorsanPrgFileCreateLine(s, 9, 1, 1, rd(SectionPanel, 0, 2), "протокол связи с ПЦН"_w);
  VorsanPrgFileCreateLine(s, 9, 1, 2, rd(SectionPanel, 0, 0), "реакция на взлом ППК"_w);
  VorsanPrgFileCreateLine(s, 9, 1, 3, rd(SectionPanel, 0, 1), "реакция на отсутствие сети 220В"_w);
  VorsanPrgFileCreateLine(s, 9, 1, 4, rd(SectionAdapters, 0, 21), "реакция на аварию питания ППК"_w);
  VorsanPrgFileCloseBlock(s);
}

// Returns whether any adapter record 1..31 is in use.
bool AdapterBlock(PrgSheet& s, const ImageReader& rd) {
  VorsanPrgFileOpenBlock(s, "Изменение параметров сменных адаптеров:"_w);
  s.Subheading = " модуль БМ:"_w;
  VorsanPrgFileCreateLine(s, 4, 1, 4, rd(SectionAdapters, 0, 15), "время нарушения шлейфов"_w);
  bool anyUsed = false;
  for (int a = 1; a <= 31; ++a) {
    if (rd(SectionAdapters, a, 0) == 0) continue;
    anyUsed = true;
    s.Subheading = Cat(" адаптер с сетевым номером "_w, N(rd(SectionAdapters, a, 2)), ":");
    VorsanPrgFileCreateLine(s, 4, a + 1, 1, 1, "присутствует в конфигурации"_w);
    VorsanPrgFileCreateLine(s, 4, a + 1, 2, rd(SectionAdapters, a, 13), "реакция на взлом"_w);
    VorsanPrgFileCreateLine(s, 4, a + 1, 3, rd(SectionAdapters, a, 14), "реакция на отсутствие связи"_w);
    const int saType = rd(SectionAdapters, a, 16);
    if (saType == 4 || saType == 9)
      VorsanPrgFileCreateLine(s, 4, a + 1, 4, rd(SectionAdapters, a, 15), "время нарушения шлейфов"_w);
    VorsanPrgFileCreateLine(s, 4, a + 1, 5, rd(SectionAdapters, a, 21), "реакция на аварию питания"_w);
  }
  s.Subheading = " остальные адаптеры отсутствуют в конфигурации:"_w;
  for (int a = 1; a <= 31; ++a)
    if (rd(SectionAdapters, a, 0) == 0) VorsanPrgFileCreateLine(s, 4, a + 1, 1, 0, "отсутствует в конфигурации"_w);
  VorsanPrgFileCloseBlock(s);
  return anyUsed;
}

void ZoneBlock(PrgSheet& s, const ImageReader& rd) {
  VorsanPrgFileOpenBlock(s, "Изменение параметров шлейфов:"_w);
  for (int z = 0; z < 128; ++z) {
    if (rd(SectionZones, z, 3) == 0) continue;
    const int e = z + 1;
    s.Subheading = Cat(" шлейф "_w, N(e), ":");
    VorsanPrgFileCreateLine(s, 1, e, 1, rd(SectionZones, z, 1) + 1, "номер группы, которой принадлежит шлейф"_w);
    VorsanPrgFileCreateLine(s, 1, e, 2, rd(SectionZones, z, 2) + 1, "номер шлейфа в группе"_w);
    VorsanPrgFileCreateLine(s, 1, e, 3, rd(SectionZones, z, 3), "тип шлейфа"_w);
    VorsanPrgFileCreateLine(s, 1, e, 4, rd(SectionZones, z, 4), "реакция #1"_w);
    VorsanPrgFileCreateLine(s, 1, e, 5, rd(SectionZones, z, 5), "реакция #2"_w);
    VorsanPrgFileCreateLine(s, 1, e, 6, rd(SectionZones, z, 6), "реакция #3"_w);
    VorsanPrgFileCreateLine(s, 1, e, 7, rd(SectionZones, z, 7), "реакция для сброса пожарных датчиков"_w);
  }
  s.Subheading = " остальные шлейфы отсутствуют в конфигурации:"_w;
  for (int z = 0; z < 128; ++z)
    if (rd(SectionZones, z, 3) == 0)
      VorsanPrgFileCreateLine(s, 1, z + 1, 3, 0, Cat("шлейф "_w, N(z + 1), " отсутствует в конфигурации"_w));
  VorsanPrgFileCloseBlock(s);
}

void OutputBlock(PrgSheet& s, const ImageReader& rd) {
  VorsanPrgFileOpenBlock(s, "Изменение параметров управляемых выходов:"_w);
  for (int o = 0; o < 64; ++o) {
    const int flags = rd(SectionOutputs, o, 0);
    if ((flags & 1) == 0) continue;
    s.Subheading = o == 0 ? std::string(" выход UK"_w) : Cat(" управляемый выход "_w, N(o + 1), ":");
    VorsanPrgFileCreateLine(s, 3, o + 1, 1, flags, "флаги управляемого выхода"_w);
    VorsanPrgFileCreateLine(s, 3, o + 1, 2, rd(SectionOutputs, o, 2), "код реакции"_w);
    VorsanPrgFileCreateLine(s, 3, o + 1, 3, rd(SectionOutputs, o, 3), "задержка перед включением"_w);
  }
  s.Subheading = " остальные выходы отсутствуют в конфигурации:"_w;
  for (int o = 0; o < 64; ++o) {
    if (rd(SectionOutputs, o, 0) & 1) continue;
    if (o == 0)
      VorsanPrgFileCreateLine(s, 3, 1, 1, 0, "выход UK отсутствует в конфигурации"_w);
    else
      VorsanPrgFileCreateLine(s, 3, o + 1, 1, 0, Cat("выход "_w, N(o + 1), " отсутствует в конфигурации"_w));
  }
  VorsanPrgFileCloseBlock(s);
}

void GroupBlock(PrgSheet& s, const ImageReader& rd) {
  VorsanPrgFileOpenBlock(s, "Изменение параметров групп:"_w);
  for (int g = 0; g < 128; ++g) {
    const int flags = rd(SectionGroups, g, 0);
    if ((flags & 1) == 0) continue;
    const int e = g + 1;
    s.Subheading = Cat(" группа "_w, N(e), ":");
    VorsanPrgFileCreateLine(s, 2, e, 1, flags & 7, "флаги группы"_w);
    VorsanPrgFileCreateLine(s, 2, e, 2, rd(SectionGroups, g, 1), "задержка на вход"_w);
    VorsanPrgFileCreateLine(s, 2, e, 3, rd(SectionGroups, g, 2), "задержка на выход"_w);
    VorsanPrgFileCreateLine(s, 2, e, 4, (flags & 0x20) ? rd(SectionGroups, g, 3) + 1 : 0,
                            "принадлежность входа SET"_w);
    VorsanPrgFileCreateLine(s, 2, e, 5, (flags & 0x08) ? rd(SectionGroups, g, 4) + 1 : 0,
                            "принадлежность входа ТМ"_w);
    VorsanPrgFileCreateLine(s, 2, e, 6, rd(SectionGroups, g, 5), "реакция на взятие"_w);
    VorsanPrgFileCreateLine(s, 2, e, 7, rd(SectionGroups, g, 6), "реакция на снятие"_w);
    VorsanPrgFileCreateLine(s, 2, e, 9, 0, "запретить доступ со всех клавиатур"_w);
    for (int k = 0; k < 32; ++k)
      if (rd(SectionGroups, g, 7 + k / 8) & (1 << (k % 8)))
        VorsanPrgFileCreateLine(s, 2, e, 8, k + 1, Cat("разрешить доступ с клавиатуры "_w, N(k + 1)));
    VorsanPrgFileCreateLine(s, 2, e, 10, rd(SectionGroups, g, 11) | (rd(SectionGroups, g, 12) << 8),
                            "номер помещения для группы"_w);
  }
  s.Subheading = " остальные группы отсутствуют в конфигурации:"_w;
  for (int g = 0; g < 128; ++g)
    if ((rd(SectionGroups, g, 0) & 1) == 0)
      VorsanPrgFileCreateLine(s, 2, g + 1, 1, 0, Cat("группа "_w, N(g + 1), " отсутствует в конфигурации"_w));
  VorsanPrgFileCloseBlock(s);
}

// Returns the numbers of the users whose identifier is set, in record order.
std::vector<int> UserBlock(PrgSheet& s, const ImageReader& rd) {
  std::vector<int> tmList;
  VorsanPrgFileOpenBlock(s, "Настройка пользователей:"_w);
  for (int u = 0; u < 128; ++u) {
    if ((rd(SectionUsers, u, 0) & 1) == 0) continue;
    const int e = u + 1;
    s.Subheading = u == 0 ? std::string(" пользователь 1 (администратор):"_w)
                          : Cat(" пользователь "_w, N(e), ":");
    VorsanPrgFileCreateLine(s, 5, e, 1, 1, "пользователь присутствует в конфигурации"_w);
    VorsanPrgFileCreateLine(s, 5, e, 3, 0, "запретить взятие/снятие всех групп"_w);
    for (int b = 13; b <= 28; ++b) {
      const int bits = rd(SectionUsers, u, b);
      for (int bit = 0; bit < 8; ++bit) {
        if ((bits & (1 << bit)) == 0) continue;
        const int n = 8 * (b - 13) + bit + 1;
        VorsanPrgFileCreateLine(s, 5, e, 2, n, Cat("разрешить взятие/снятие группы "_w, N(n)));
      }
    }
    std::string pin;
    for (int b = 1; b <= 4; ++b) {
      const int v = rd(SectionUsers, u, b);
      if ((v >> 4) < 10) pin += static_cast<char>('0' + (v >> 4));
      if ((v & 0x0F) < 10) pin += static_cast<char>('0' + (v & 0x0F));
    }
    if (!pin.empty()) {
      if (u == 0) {
        VorsanPrgFileCreateLine(s, "6", "1", pin, pin, "установить PIN-код администратора"_w);
        NewPrgLine(s).assign("     Внимение! С этого момента PIN-код администратора изменен."_w);
      } else {
        VorsanPrgFileCreateLine(s, "6", N(e), pin, pin, "установить PIN-код пользователя"_w);
      }
    } else {
      VorsanPrgFileCreateLine(s, 7, e, 0, 0, "удалить PIN-код пользователя"_w);
    }
    bool hasIdentifier = false;
    for (int b = 5; b <= 12; ++b)
      if (rd(SectionUsers, u, b) != 0xFF) hasIdentifier = true;
    if (hasIdentifier)
      tmList.push_back(e);
    else
      VorsanPrgFileCreateLine(s, 8, e, 2, 0,
                              std::string("удалить TM-код "_w) +
                                  std::string(u == 0 ? "администратора"_w : "пользователя"_w));
  }
  s.Subheading = " остальные пользователи отсутствуют в конфигурации:"_w;
  for (int u = 0; u < 128; ++u)
    if ((rd(SectionUsers, u, 0) & 1) == 0)
      VorsanPrgFileCreateLine(s, 5, u + 1, 1, 0,
                              Cat("пользователь "_w, N(u + 1), " отсутствует в конфигурации"_w));
  VorsanPrgFileCloseBlock(s);
  return tmList;
}

void NetNumberBlock(PrgSheet& s, const ImageReader& rd) {
  VorsanPrgFileOpenBlock(s, "Программирование сетевых номеров сменных адаптеров:"_w);
  VorsanPrgFileOpenBlock(s, "  !) установить перемычки на всех сменных адаптерах и клавиатурах;"_w);
  for (int a = 1; a <= 31; ++a) {
    if (rd(SectionAdapters, a, 0) == 0) continue;
    const int high = rd(SectionAdapters, a, 19) | (rd(SectionAdapters, a, 20) << 8);
    const int low = rd(SectionAdapters, a, 17) | (rd(SectionAdapters, a, 18) << 8);
    VorsanPrgFileCreateLine(s, 12, a + 1, high, low,
                            Cat("записать сетевой номер "_w, N(rd(SectionAdapters, a, 2))));
  }
  VorsanPrgFileCloseBlock(s);
  NewPrgLine(s).assign("Отключить питание прибора, всех сменных адаптеров и клавиатур."_w);
  NewPrgLine(s).assign("Снять перемычки на всех сменных адаптерах и клавиатурах."_w);
  NewPrgLine(s);
}

void IdentifierBlock(PrgSheet& s, const std::vector<int>& tmList) {
  VorsanPrgFileOpenBlock(s, "Программирование ТМ-кодов пользователей:"_w);
  VorsanPrgFileOpenBlock(s, "  !) включить прибор, выждать 2 минуты до конца инициализации системы;"_w);
  for (int u : tmList)
    VorsanPrgFileCreateLine(s, "8", N(u), "1", "TM", Cat("установить TM-код пользователя "_w, N(u)));
  VorsanPrgFileCloseBlock(s);
}

}  // namespace

std::string& NewPrgLine(PrgSheet& sheet) {
  if (sheet.Spare.empty()) return sheet.Lines.emplace_back();
  std::string& line = sheet.Lines.emplace_back(std::move(sheet.Spare.back()));
  sheet.Spare.pop_back();
  line.clear();
  return line;
}

void VorsanPrgFileOpenBlock(PrgSheet& sheet, std::string_view title) {
  NewPrgLine(sheet).assign(title);
  sheet.Step = 2;
}

void VorsanPrgFileCreateLine(PrgSheet& sheet, std::string_view code, std::string_view element,
                             std::string_view parameter, std::string_view value, std::string_view description) {
  if (sheet.Step == 2)
    NewPrgLine(sheet).assign("  1) [действующий код администратора] [#]   войти в режим программирования;"_w);
  if (!sheet.Subheading.empty()) NewPrgLine(sheet).assign(sheet.Subheading);
  std::string& line = NewPrgLine(sheet);
  line.append("  ").append(N(sheet.Step)).append(") [");
  line.append(code).append("] [#] [").append(element).append("] [#] [");
  line.append(parameter).append("] [#] [").append(value).append("] [#] ");
  PadRight(line, 44);
  line.append(description).append(";");
  ++sheet.Step;
  sheet.Subheading.clear();
}

void VorsanPrgFileCreateLine(PrgSheet& sheet, int code, int element, int parameter, int value,
                             std::string_view description) {
  VorsanPrgFileCreateLine(sheet, N(code), N(element), N(parameter), N(value), description);
}

void VorsanPrgFileCloseBlock(PrgSheet& sheet) {
  if (sheet.Step == 2)
    NewPrgLine(sheet).assign("  элементы для настройки отсутствуют."_w);
  else
    NewPrgLine(sheet).assign("  ").append(N(sheet.Step)).append(") [10] [#]   сохранение конфигурации и рестарт."_w);
  NewPrgLine(sheet);
  sheet.Subheading.clear();
}

void BuildPrgSheet(PrgSheet& sheet, Host& host, const ImageArray& store, Variant variant) {
  // The old lines become spare storage, in reverse so that line i tends to
  // reuse the storage of an earlier line i.
  sheet.Spare.insert(sheet.Spare.end(), std::make_move_iterator(sheet.Lines.rbegin()),
                     std::make_move_iterator(sheet.Lines.rend()));
  sheet.Lines.clear();
  sheet.Step = 2;
  sheet.Subheading.clear();
  const ImageReader rd(host, store, variant);
  NewPrgLine(sheet).assign("Таблица изменения конфигурации ППК посредством системной клавиатуры"_w);
  NewPrgLine(sheet);
  PanelBlock(sheet, rd);
  const bool anyAdapter = AdapterBlock(sheet, rd);
  ZoneBlock(sheet, rd);
  OutputBlock(sheet, rd);
  GroupBlock(sheet, rd);
  const std::vector<int> tmList = UserBlock(sheet, rd);
  if (anyAdapter) NetNumberBlock(sheet, rd);
  if (!tmList.empty()) IdentifierBlock(sheet, tmList);
  NewPrgLine(sheet).assign("Изменение конфигурации ППК завершено."_w);
}

}  // namespace velkor
