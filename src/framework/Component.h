#pragma once
// The root of the window classes: components own components, have a name
// and a tag, hear when components come and go, and can say what class they
// are (the skin engine matches on class names and on descent).
#include <functional>
#include <new>
#include <string>
#include <vector>

enum class TOperation { opInsert, opRemove };

// What a component is going through.
enum TComponentStateFlag : unsigned {
  csLoading = 1,    // its form's stored properties are being read
  csDesigning = 2,  // shown in a designer, not running (tests set it)
  csDestroying = 4, // on its way out
};

class TComponent;
class TPropertyList;
using TNotifyEvent = std::function<void(TComponent* sender)>;

class TComponent {
public:
  explicit TComponent(TComponent* owner);
  // Frees every component it owns (last first), then leaves its owner.
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // `delete` first runs BeforeDestruction on the whole object, then the
  // destructors: a window can still go while every override of its
  // handlers is there to see it. (Objects not made by new skip it.)
  void operator delete(TComponent* component, std::destroying_delete_t);
  // The allocation it pairs with, and the release of an object whose
  // constructor threw.
  static void* operator new(std::size_t size);
  static void operator delete(void* memory) noexcept;

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

  unsigned ComponentState() const { return state_; }
  bool Designing() const { return (state_ & csDesigning) != 0; }
  // Design mode for this component and all it owns.
  void SetDesigning(bool designing);
  void SetLoading(bool loading);

  // Runs once the component and its stored properties are complete, before
  // its form's OnCreate. Forms call it on everything they own.
  virtual void Loaded();

  // Runs before the destructors, the object still whole: marks it
  // destroying, tells those linked to it and leaves its owner, so that all
  // who hear of it going still see what it is.
  virtual void BeforeDestruction();

  // Tells the owners of components made since the last call that they were
  // added. A component is told of only once its constructors have all run,
  // so that those hearing of it see what it is: forms do it before loading
  // their components, the application before every message it handles.
  static void NotifyInserted();

  // The properties a stored form may set on it, by name. A class adds its
  // own after its base's; TComponent publishes Tag.
  virtual void DefineProperties(TPropertyList& properties);

  // Asks to hear (by Notification, opRemove) when other goes away, also
  // across owners; the link is mutual and ends when either goes.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

protected:
  // Told about components inserted into or removed from the owner's list,
  // and about components it asked to hear of going away. The owner passes
  // each notification on to every component it owns, so that components
  // hear about each other. Both come while the component is whole: an
  // inserted one once it is made (see NotifyInserted), a removed one before
  // its destructors run (when it is deleted).
  virtual void Notification(TComponent* component, TOperation operation);

  // Frees every owned component, last first.
  void DestroyComponents();

private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  // Tells those linked by FreeNotification and leaves the owner.
  void Leave();

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  unsigned state_ = 0;
  unsigned removals_ = 0; // components that left this one's list so far
};

// A reference held by one component to another, perhaps of another owner
// (a control's popup menu, a form's default button, a bar's images):
// assigning it links the two, so that the holder hears when the other goes
// and forgets it in its Notification (Forget), instead of keeping a
// dangling pointer.
template <typename T>
class TComponentRef {
public:
  explicit TComponentRef(TComponent* holder) : holder_(holder) {}
  TComponentRef(const TComponentRef&) = delete;
  TComponentRef& operator=(const TComponentRef&) = delete;
  TComponentRef& operator=(T* value) {
    value_ = value;
    if (value) holder_->FreeNotification(value);
    return *this;
  }
  T* Get() const { return value_; }
  operator T*() const { return value_; }
  T* operator->() const { return value_; }
  // Forgets the referenced component when it is the one going.
  void Forget(const TComponent* going) {
    if (value_ && static_cast<const TComponent*>(value_) == going) value_ = nullptr;
  }

private:
  TComponent* holder_;
  T* value_ = nullptr;
};

// Declares the class name a component answers with.
#define PLIMET_CLASS_NAME(Name) \
  const char* ClassName() const override { return #Name; }
