#include "framework/Component.h"

#include "framework/Properties.h"

#include <algorithm>
#include <atomic>

namespace {
std::atomic<int> liveComponents{0};
// Components made on this thread whose owners have not been told yet.
thread_local std::vector<TComponent*> pendingInserts;

void ForgetPending(TComponent* component) {
  pendingInserts.erase(std::remove(pendingInserts.begin(), pendingInserts.end(), component), pendingInserts.end());
}
} // namespace

TComponent::TComponent(TComponent* owner) {
  ++liveComponents;
  if (owner) owner->Insert(this);
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  Leave(); // done already when it was deleted
  DestroyComponents();
  --liveComponents;
}

void TComponent::Leave() {
  ForgetPending(this);
  // Those who asked hear of it first, while this is still in its owner's list.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    other->freeNotifies_.erase(std::remove(other->freeNotifies_.begin(), other->freeNotifies_.end(), this),
                               other->freeNotifies_.end());
    other->Notification(this, TOperation::opRemove);
  }
  if (owner_) owner_->Remove(this);
}

void TComponent::NotifyInserted() {
  while (!pendingInserts.empty()) {
    TComponent* component = pendingInserts.front();
    pendingInserts.erase(pendingInserts.begin());
    if (component->owner_) component->owner_->Notification(component, TOperation::opInsert);
  }
}

void TComponent::operator delete(TComponent* component, std::destroying_delete_t) {
  component->BeforeDestruction();
  void* const whole = dynamic_cast<void*>(component);
  component->~TComponent();
  ::operator delete(whole);
}

void* TComponent::operator new(std::size_t size) { return ::operator new(size); }

void TComponent::operator delete(void* memory) noexcept { ::operator delete(memory); }

void TComponent::BeforeDestruction() {
  state_ |= csDestroying;
  Leave();
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) delete components_.back(); // each removes itself
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (TComponent* component : components_)
    if (component->Name == name) return component;
  return nullptr;
}

int TComponent::LiveCount() { return liveComponents; }

void TComponent::Notification(TComponent* component, TOperation operation) {
  // A copy: a handler may free components of this owner. Only then is each
  // one looked for again (a form of hundreds of components is told of each).
  const std::vector<TComponent*> owned = components_;
  const unsigned removalsBefore = removals_;
  for (TComponent* each : owned) {
    if (each == component) continue;
    if (removals_ != removalsBefore && std::find(components_.begin(), components_.end(), each) == components_.end())
      continue;
    each->Notification(component, operation);
  }
}

void TComponent::Loaded() {}

void TComponent::DefineProperties(TPropertyList& properties) {
  properties.Integer("Tag", [this](std::int32_t value) { Tag = value; });
}

void TComponent::SetDesigning(bool designing) {
  state_ = designing ? state_ | csDesigning : state_ & ~static_cast<unsigned>(csDesigning);
  for (TComponent* each : components_) each->SetDesigning(designing);
}

void TComponent::SetLoading(bool loading) {
  state_ = loading ? state_ | csLoading : state_ & ~static_cast<unsigned>(csLoading);
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) freeNotifies_.push_back(other);
  if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) == other->freeNotifies_.end())
    other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (!other) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
  other->freeNotifies_.erase(std::remove(other->freeNotifies_.begin(), other->freeNotifies_.end(), this),
                             other->freeNotifies_.end());
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
  if (Designing()) component->SetDesigning(true);
  pendingInserts.push_back(component); // told once it is made
}

void TComponent::Remove(TComponent* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
  ++removals_;
  component->owner_ = nullptr;
  Notification(component, TOperation::opRemove);
}
