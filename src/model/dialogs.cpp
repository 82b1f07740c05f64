#include "model/dialogs.h"

#include <cerrno>
#include <cstdlib>

#include "text/cp1251.h"

namespace velkor {

std::optional<long> DialogNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  std::size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size()) return std::nullopt;
  for (std::size_t k = i; k < text.size(); ++k)
    if (text[k] < '0' || text[k] > '9') return std::nullopt;
  errno = 0;
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  if (errno == ERANGE || end != text.c_str() + text.size()) return std::nullopt;
  return value;
}

namespace {

struct Rule {
  const DialogEdit* edit;
  long min, max;
  std::string_view message, title, field;
};

constexpr long kNoMax = 2147483647L;

constexpr std::string_view kGroupMessage = "Значение в поле номера группы должно быть в пределах от 1 до 128"_w;
constexpr std::string_view kGroupTitle = "Ошибка номера группы"_w;

std::optional<DialogFailure> FirstFailure(std::initializer_list<Rule> rules) {
  for (const Rule& r : rules) {
    auto n = DialogNumber(r.edit->Text);
    if (!n || *n < r.min || *n > r.max)
      return DialogFailure{std::string(r.message), std::string(r.title), std::string(r.field)};
  }
  return std::nullopt;
}

}  // namespace

std::optional<DialogFailure> ValidateNumberDialog(NumberDialogKind kind, const NumberDialogs& d) {
  switch (kind) {
    case NumberDialogKind::Adapter:
      return FirstFailure({{&d.EditSaNumber, 1, 31,
                            "Значение в поле номера адаптера должно быть в пределах от 1 до 31"_w,
                            "Ошибка номера адаптера"_w, "EditSaNumber"}});
    case NumberDialogKind::Controller: return std::nullopt;
    case NumberDialogKind::Zone:
      return FirstFailure({{&d.EditZoneNumber, 1, kNoMax, "Неправильное значение в поле номера шлейфа"_w,
                            "Ошибка номера шлейфа"_w, "EditZoneNumber"},
                           {&d.EditZoneGroupNumber, 1, 128, kGroupMessage, kGroupTitle, "EditZoneGroupNumber"}});
    case NumberDialogKind::Output:
      return FirstFailure({{&d.EditOutputNumber, 1, kNoMax,
                            "Неправильное значение в поле номера управляемого выхода"_w,
                            "Ошибка номера управляемого выхода"_w, "EditOutputNumber"}});
    case NumberDialogKind::SetInput:
      return FirstFailure(
          {{&d.EditSetInputNumber, 1, kNoMax, "Неправильное значение в поле номера входа SET"_w,
            "Ошибка номера входа SET"_w, "EditSetInputNumber"},
           {&d.EditSetInputGroupNumber, 1, 128, kGroupMessage, kGroupTitle, "EditSetInputGroupNumber"}});
    case NumberDialogKind::IDReader: {
      Rule number{&d.EditIDReaderNumber, 1, kNoMax, "Неправильное значение в поле номера ID считывателя"_w,
                  "Ошибка номера ID считывателя"_w, "EditIDReaderNumber"};
      if (!d.IDReaderGroupCheck) return FirstFailure({number});
      return FirstFailure(
          {number, {&d.EditIDReaderGroupNumber, 1, 128, kGroupMessage, kGroupTitle, "EditIDReaderGroupNumber"}});
    }
    case NumberDialogKind::Group:
      return FirstFailure({{&d.EditGroupNumber, 1, 128, kGroupMessage, kGroupTitle, "EditGroupNumber"}});
    case NumberDialogKind::User:
      return FirstFailure({{&d.EditUserNumber, 1, 128,
                            "Значение в поле номера пользователя должно быть в пределах от 1 до 128"_w,
                            "Ошибка номера пользователя"_w, "EditUserNumber"}});
  }
  return std::nullopt;
}

}  // namespace velkor
