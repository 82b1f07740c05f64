#include "host/scripted_host.h"

namespace velkor {

void ScriptedHost::Message(MessageIcon icon, std::string_view title, std::string_view text) {
  events.push_back({HostEvent::Kind::Message, icon, std::string(title), std::string(text)});
}

bool ScriptedHost::Ask(MessageIcon icon, std::string_view title, std::string_view text) {
  events.push_back({HostEvent::Kind::Question, icon, std::string(title), std::string(text)});
  if (answers.empty()) return false;
  bool answer = answers.front();
  answers.pop_front();
  return answer;
}

void ScriptedHost::ConvertBegin() {
  convertOpen = true;
  cancelEnabled = true;
}

bool ScriptedHost::ConvertCancelled() {
  ++polls;
  return cancelAtPoll > 0 && polls >= cancelAtPoll;
}

bool ScriptedHost::ShowNumberDialog(NumberDialogKind kind, NumberDialogs& fields) {
  dialogsShown.emplace_back(kind, fields);
  while (!dialogActions.empty()) {
    DialogAction action = std::move(dialogActions.front());
    dialogActions.pop_front();
    if (!action) return false;
    action(fields);
    auto failure = ValidateNumberDialog(kind, fields);
    if (!failure) return true;
    Message(MessageIcon::Error, failure->Title, failure->Message);
  }
  return false;
}

std::vector<HostEvent> ScriptedHost::messages() const {
  std::vector<HostEvent> out;
  for (const auto& e : events)
    if (e.kind == HostEvent::Kind::Message) out.push_back(e);
  return out;
}

}  // namespace velkor
