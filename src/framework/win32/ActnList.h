#pragma once
// Commands: named actions with a caption and a category, bound to menu
// items, buttons and tool buttons, which show the action's caption and
// state and run it when chosen.
#include <string>
#include <vector>

#include "framework/Component.h"

class TAction;

// Whatever shows an action: told when the action's caption or state changes.
class IActionClient {
public:
  virtual ~IActionClient() = default;
  virtual void ActionChanged(TAction& action) = 0;
  virtual void ActionGone() = 0;
};

class TAction : public TComponent {
public:
  explicit TAction(TComponent* owner);
  ~TAction() override;
  PLIMET_CLASS_NAME(TAction)

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  std::string Category;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  int ImageIndex = -1;
  // Runs OnExecute; false when there is none or the action is disabled.
  bool Execute();
  TNotifyEvent OnExecute;

  void AddClient(IActionClient* client);
  void RemoveClient(IActionClient* client);

private:
  void Changed();
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
  std::vector<IActionClient*> clients_;
};

class TActionList : public TComponent {
public:
  explicit TActionList(TComponent* owner) : TComponent(owner) {}
  PLIMET_CLASS_NAME(TActionList)
  TComponentRef<TComponent> Images{this};
  // A new action owned by the list.
  TAction* Add(const std::string& name, const std::string& caption, const std::string& category,
               TNotifyEvent onExecute);

protected:
  void Notification(TComponent* component, TOperation operation) override;
};
