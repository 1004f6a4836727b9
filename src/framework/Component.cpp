#include "framework/Component.h"

#include <algorithm>
#include <atomic>

namespace {
std::atomic<int> liveComponents{0};
}

TComponent::TComponent(TComponent* owner) {
  ++liveComponents;
  if (owner) owner->Insert(this);
}

TComponent::~TComponent() {
  while (!components_.empty()) delete components_.back(); // each removes itself
  if (owner_) owner_->Remove(this);
  --liveComponents;
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (TComponent* component : components_)
    if (component->Name == name) return component;
  return nullptr;
}

int TComponent::LiveCount() { return liveComponents; }

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, TOperation::opInsert);
}

void TComponent::Remove(TComponent* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
  component->owner_ = nullptr;
  Notification(component, TOperation::opRemove);
}
