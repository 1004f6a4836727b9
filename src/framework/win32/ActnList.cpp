#include "framework/win32/ActnList.h"

#include <algorithm>

TAction::TAction(TComponent* owner) : TComponent(owner) {}

TAction::~TAction() {
  const auto clients = clients_;
  for (IActionClient* client : clients) client->ActionGone();
}

void TAction::SetCaption(const std::string& caption) {
  caption_ = caption;
  Changed();
}

void TAction::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Changed();
}

void TAction::SetVisible(bool visible) {
  visible_ = visible;
  Changed();
}

bool TAction::Execute() {
  if (!enabled_ || !OnExecute) return false;
  OnExecute(this);
  return true;
}

void TAction::AddClient(IActionClient* client) {
  clients_.push_back(client);
  client->ActionChanged(*this);
}

void TAction::RemoveClient(IActionClient* client) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

void TAction::Changed() {
  const auto clients = clients_;
  for (IActionClient* client : clients) client->ActionChanged(*this);
}

TAction* TActionList::Add(const std::string& name, const std::string& caption, const std::string& category,
                          TNotifyEvent onExecute) {
  auto* action = new TAction(this);
  action->Name = name;
  action->SetCaption(caption);
  action->Category = category;
  action->OnExecute = std::move(onExecute);
  return action;
}

void TActionList::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove) Images.Forget(component);
  TComponent::Notification(component, operation);
}
