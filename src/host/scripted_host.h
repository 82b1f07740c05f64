#pragma once
// A Host for tests and batch runs: records every message and question and
// answers questions from a queue (No once the queue is empty, as the default
// button would).

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host/host.h"

namespace velkor {

struct HostEvent {
  enum class Kind { Message, Question } kind;
  MessageIcon icon;
  std::string title;  // Windows-1251
  std::string text;   // Windows-1251
};

class ScriptedHost : public Host {
 public:
  void Message(MessageIcon icon, std::string_view title, std::string_view text) override;
  bool Ask(MessageIcon icon, std::string_view title, std::string_view text) override;

  void ConvertBegin() override;
  void ConvertEnd() override { convertOpen = false; }
  void ConvertStep(std::string_view text) override { steps.emplace_back(text); }
  void ConvertElement(std::string_view text) override { lastElement = std::string(text); }
  void ConvertPosition(int percent) override { positions.push_back(percent); }
  void ConvertCancelEnabled(bool enabled) override { cancelEnabled = enabled; }
  bool ConvertCancelled() override;
  void Pause(int milliseconds) override { pauses.push_back(milliseconds); }
  bool ShowNumberDialog(NumberDialogKind kind, NumberDialogs& fields) override;

  // What the user does in the next number dialogs, in order: fill the
  // fields and press OK, or press "Отмена" (an empty action). A filling
  // that fails the dialog's check is answered with its message box, and the
  // next action is taken in the same dialog. No action left: "Отмена".
  using DialogAction = std::function<void(NumberDialogs&)>;
  std::deque<DialogAction> dialogActions;
  // The dialogs shown, in order, with their fields as the command preset them.
  std::vector<std::pair<NumberDialogKind, NumberDialogs>> dialogsShown;

  // Answers for the next questions, in order.
  std::deque<bool> answers;
  // Press "Отменить" at the n-th poll (1-based); 0 never.
  int cancelAtPoll = 0;

  std::vector<HostEvent> events;
  std::vector<std::string> steps;
  std::vector<int> positions;
  std::vector<int> pauses;
  std::string lastElement;
  int polls = 0;
  bool convertOpen = false;
  bool cancelEnabled = true;

  // Messages only (questions left out), in order.
  std::vector<HostEvent> messages() const;
};

}  // namespace velkor
