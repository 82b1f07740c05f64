#pragma once
// Everything the core would show in a window goes through Host: message
// boxes, Yes/No questions and the conversion window's progress and cancel.
// The editor implements it with widgets, the command line with the terminal,
// the tests with ScriptedHost. All texts are Windows-1251 bytes.

#include <string>
#include <string_view>

#include "model/dialogs.h"
#include "text/cp1251.h"

namespace velkor {

enum class MessageIcon { Information, Warning, Error, Question };

class Host {
 public:
  virtual ~Host() = default;

  // A modal message box with one OK button.
  virtual void Message(MessageIcon icon, std::string_view title, std::string_view text) = 0;
  // A Yes/No question whose default button is No; true for Yes.
  virtual bool Ask(MessageIcon icon, std::string_view title, std::string_view text) = 0;

  // The conversion window: shown around a conversion, with a step text, an
  // element text, a bar of 0..100 and "Отменить".
  virtual void ConvertBegin() {}
  virtual void ConvertEnd() {}
  virtual void ConvertStep(std::string_view /*text*/) {}
  virtual void ConvertElement(std::string_view /*text*/) {}
  virtual void ConvertPosition(int /*percent*/) {}
  virtual void ConvertCancelEnabled(bool /*enabled*/) {}
  // Lets pending events run; true once "Отменить" has been pressed.
  virtual bool ConvertCancelled() { return false; }

  // A fixed pause of the conversions (the builder's closing 100 ms).
  virtual void Pause(int /*milliseconds*/) {}

  // Shows a number dialog modally over its fields. The dialog closes with OK
  // only once ValidateNumberDialog passes (it shows each failure itself);
  // true for OK, false for "Отмена".
  virtual bool ShowNumberDialog(NumberDialogKind /*kind*/, NumberDialogs& /*fields*/) { return false; }
};

inline constexpr std::string_view kTitleWarning = "Внимание"_w;
inline constexpr std::string_view kTitleError = "Ошибка"_w;
inline constexpr std::string_view kTitleConversion = "Ошибка конвертирования базы данных"_w;

inline void ShowWarning(Host& host, std::string_view text) {
  host.Message(MessageIcon::Warning, kTitleWarning, text);
}
inline void ShowError(Host& host, std::string_view text) {
  host.Message(MessageIcon::Error, kTitleError, text);
}
inline void ShowConversionError(Host& host, std::string_view text) {
  host.Message(MessageIcon::Error, kTitleConversion, text);
}

}  // namespace velkor
