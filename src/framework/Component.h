#pragma once
// The root of the window classes: components own components, have a name
// and a tag, hear when components come and go, and can say what class they
// are (the skin engine matches on class names and on descent).
#include <functional>
#include <string>
#include <vector>

enum class TOperation { opInsert, opRemove };

class TComponent;
using TNotifyEvent = std::function<void(TComponent* sender)>;

class TComponent {
public:
  explicit TComponent(TComponent* owner);
  // Frees every component it owns (last first), then leaves its owner.
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)); }
  TComponent* FindComponent(const std::string& name) const;

  std::string Name;
  int Tag = 0;

  virtual const char* ClassName() const { return "TComponent"; }
  // Whether this is a T or derives from it.
  template <typename T>
  bool InheritsFrom() const {
    return dynamic_cast<const T*>(this) != nullptr;
  }

  // Components alive in the process: a leak check for tests.
  static int LiveCount();

protected:
  // Told about components inserted into or removed from the owner's list,
  // and about the component itself going away.
  virtual void Notification(TComponent* component, TOperation operation);

private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
};

// Declares the class name a component answers with.
#define PLIMET_CLASS_NAME(Name) \
  const char* ClassName() const override { return #Name; }
