#include "framework/Component.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

// A component that writes down what it hears, and what the other is.
class Listener : public TComponent {
public:
  PLIMET_CLASS_NAME(Listener)
  Listener(TComponent* owner, std::string name, std::vector<std::string>& log) : TComponent(owner), log_(log) {
    Name = std::move(name);
  }
  void Loaded() override { log_.push_back(Name + " loaded"); }

protected:
  void Notification(TComponent* component, TOperation operation) override {
    log_.push_back(Name + (operation == TOperation::opInsert ? " +" : " -") + component->Name + ":" +
                   component->ClassName());
    TComponent::Notification(component, operation);
  }

private:
  std::vector<std::string>& log_;
};

} // namespace

TEST(Components, EveryComponentOfTheOwnerHearsOthersComeAndGoSeeingWhatTheyAre) {
  std::vector<std::string> log;
  auto form = std::make_unique<Listener>(nullptr, "form", log);
  auto* menu = new Listener(form.get(), "menu", log);
  auto* engine = new Listener(form.get(), "engine", log);
  EXPECT_TRUE(log.empty()) << "nobody hears of a component while it is being made";
  TComponent::NotifyInserted();
  // The owner, then every other component of it, each seeing the newcomer's class and name.
  EXPECT_EQ(log, (std::vector<std::string>{"form +menu:Listener", "engine +menu:Listener", "form +engine:Listener",
                                           "menu +engine:Listener"}));
  log.clear();
  auto* second = new TComponent(form.get());
  second->Name = "second";
  TComponent::NotifyInserted();
  EXPECT_EQ(log, (std::vector<std::string>{"form +second:TComponent", "menu +second:TComponent",
                                           "engine +second:TComponent"}));
  log.clear();
  delete new Listener(form.get(), "gone", log); // freed before its making was told: only its going is heard
  TComponent::NotifyInserted();
  EXPECT_EQ(log, (std::vector<std::string>{"form -gone:Listener", "menu -gone:Listener", "engine -gone:Listener"}));
  log.clear();
  delete menu;
  EXPECT_EQ(log, (std::vector<std::string>{"form -menu:Listener", "engine -menu:Listener"}))
      << "the one going is not told of itself, and is still what it is";
  log.clear();
  delete engine;
  EXPECT_EQ(log, (std::vector<std::string>{"form -engine:Listener"}));
  log.clear();
  form.reset();
  EXPECT_TRUE(log.empty()) << "an owner going away does not hear of its own components leaving";
}

TEST(Components, FreeNotificationReachesAcrossOwnersAndEndsWithEitherSide) {
  std::vector<std::string> log;
  const int live = TComponent::LiveCount();
  auto first = std::make_unique<TComponent>(nullptr);
  auto second = std::make_unique<TComponent>(nullptr);
  auto* control = new Listener(first.get(), "control", log);
  auto* popup = new Listener(second.get(), "popup", log);
  popup->Name = "popup";
  control->FreeNotification(popup);
  log.clear();
  second.reset(); // the popup goes with its owner
  EXPECT_EQ(log, (std::vector<std::string>{"control -popup:Listener"})) << "still what it is, though its owner is going";
  // The link ends with the side that goes first: nothing hears of a component already gone.
  auto third = std::make_unique<TComponent>(nullptr);
  auto* other = new Listener(third.get(), "other", log);
  control->FreeNotification(other);
  control->RemoveFreeNotification(other);
  control->FreeNotification(other);
  log.clear();
  first.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"other -control:Listener"})) << "told once, though linked twice";
  log.clear();
  third.reset();
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(TComponent::LiveCount(), live);
}

TEST(Components, DesignModeReachesEverythingOwnedAndNewcomers) {
  TComponent form(nullptr);
  auto* child = new TComponent(&form);
  auto* grandchild = new TComponent(child);
  EXPECT_FALSE(grandchild->Designing());
  form.SetDesigning(true);
  EXPECT_TRUE(child->Designing());
  EXPECT_TRUE(grandchild->Designing());
  EXPECT_TRUE((new TComponent(child))->Designing()) << "a component added in design mode is designed too";
  form.SetDesigning(false);
  EXPECT_EQ(grandchild->ComponentState() & csDesigning, 0u);
  form.SetLoading(true);
  EXPECT_EQ(form.ComponentState(), static_cast<unsigned>(csLoading));
}

namespace {
// A component that tells, before its destructors, what it still is.
class Base : public TComponent {
public:
  Base(TComponent* owner, std::vector<std::string>& log) : TComponent(owner), log_(log) {}
  ~Base() override { log_.push_back("~Base"); }
  void BeforeDestruction() override {
    TComponent::BeforeDestruction();
    log_.push_back(std::string("before, as ") + ClassName() +
                   ((ComponentState() & csDestroying) ? ", destroying" : ""));
  }

protected:
  std::vector<std::string>& log_;
};

class Derived : public Base {
public:
  PLIMET_CLASS_NAME(Derived)
  Derived(TComponent* owner, std::vector<std::string>& log, bool fail) : Base(owner, log) {
    if (fail) throw std::runtime_error("not made");
  }
  ~Derived() override { log_.push_back("~Derived"); }
};
} // namespace

TEST(Components, DeleteRunsBeforeDestructionOnTheWholeObjectAndAFailedMakeFreesItsMemory) {
  std::vector<std::string> log;
  TComponent* owner = new TComponent(nullptr);
  new Derived(owner, log, false);
  delete owner; // the owned one goes through delete too
  EXPECT_EQ(log, (std::vector<std::string>{"before, as Derived, destroying", "~Derived", "~Base"}));
  log.clear();
  const int live = TComponent::LiveCount();
  EXPECT_THROW(new Derived(nullptr, log, true), std::runtime_error); // the sanitizers see a leak or a bad free
  EXPECT_EQ(TComponent::LiveCount(), live);
  EXPECT_EQ(log, std::vector<std::string>{"~Base"});
}
