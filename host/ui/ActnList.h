// Actions: one command (caption, enabled and checked state, hint, image,
// shortcut, handler) shared by every control that links to it.
//   TBasicAction   - OnExecute / OnUpdate and the links of its clients
//   TContainedAction - an action that belongs to a TActionList
//   TCustomAction / TAction - the properties a linked control takes
//   TActionList    - the actions of a form, with list-wide handlers that may
//                    take an action's Execute or Update first
// A client links through a TActionLink: the action tells every link of each
// change, and the client takes the action's properties. The application's
// idle processing runs Update on every action that has clients, so that
// OnUpdate handlers keep enabled and checked states current.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/components/Component.h"
#include "host/components/Events.h"
#include "host/components/Properties.h"

namespace qz {

class TActionLink;
class TActionList;
class TBasicAction;
class TCustomImageList;

// List-wide handlers: setting Handled keeps the action's own handler from running.
using TActionEvent = std::function<void(TBasicAction* Action, bool& Handled)>;

class TBasicAction : public TComponent {
  QZ_CLASS(TBasicAction, TComponent)
 public:
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;

  // Runs the action's command; false when nothing handled it. A handler may
  // free the action, its list or its clients.
  virtual bool Execute();
  // Refreshes the action's state (OnUpdate); false when nothing handled it.
  virtual bool Update();

  TNotifyEvent OnExecute, OnUpdate;

  int ClientCount() const { return int(clients_.size()); }

 protected:
  // Tells every client that a property changed.
  void Change();

 private:
  friend class TActionLink;
  void AddClient(TActionLink* link);
  void RemoveClient(TActionLink* link);
  std::vector<TActionLink*> clients_;  // not owned: each link removes itself
};

class TContainedAction : public TBasicAction {
  QZ_CLASS(TContainedAction, TBasicAction)
 public:
  explicit TContainedAction(TComponent* AOwner);
  ~TContainedAction() override;

  TActionList* ActionList() const { return actionList_; }
  void SetActionList(TActionList* list);
  const std::string& Category() const { return category_; }
  void SetCategory(const std::string& v) { category_ = v; }
  // Position in the list (-1 without a list).
  int Index() const;

  // A form resource nests actions inside their list.
  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const override;

  // The list's OnExecute first, then the action's own.
  bool Execute() override;
  // The list's OnUpdate first, then the action's own.
  bool Update() override;

 private:
  TActionList* actionList_ = nullptr;  // not owned: the list drops us when it goes
  std::string category_;
};

class TCustomAction : public TContainedAction {
  QZ_CLASS(TCustomAction, TContainedAction)
 public:
  explicit TCustomAction(TComponent* AOwner);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  // Checking an action of a GroupIndex > 0 unchecks the others of its list
  // in the same group.
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  uint16_t ShortCut() const { return shortCut_; }
  void SetShortCut(uint16_t v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v);
  // Execute toggles Checked first.
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool v) { autoCheck_ = v; }

  // Updates first; a disabled action does not run.
  bool Execute() override;

 private:
  void UncheckGroup();
  std::string caption_, hint_;
  bool enabled_ = true, checked_ = false, visible_ = true, autoCheck_ = false;
  int imageIndex_ = -1, groupIndex_ = 0;
  uint16_t shortCut_ = 0;
};

class TAction : public TCustomAction {
  QZ_CLASS(TAction, TCustomAction)
 public:
  using TCustomAction::TCustomAction;
};

class TActionList : public TComponent {
  QZ_CLASS(TActionList, TComponent)
 public:
  explicit TActionList(TComponent* AOwner);
  ~TActionList() override;

  int ActionCount() const { return int(actions_.size()); }
  TContainedAction* Actions(int i) const { return actions_[size_t(i)]; }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);

  // Runs OnExecute / OnUpdate for an action of the list; true when handled.
  bool ExecuteAction(TBasicAction* action);
  bool UpdateAction(TBasicAction* action);
  // The first action of the list with that shortcut (0 finds nothing).
  TCustomAction* FindShortCut(uint16_t shortCut) const;

  TActionEvent OnExecute, OnUpdate;

 private:
  friend class TContainedAction;
  std::vector<TContainedAction*> actions_;  // not owned: actions leave when they go
  TCustomImageList* images_ = nullptr;
};

// A client's tie to one action. The client passes what it does when the
// action changes; the link keeps the action's client list right whichever
// of the two goes first.
class TActionLink {
 public:
  using TChangeHandler = std::function<void(TBasicAction& action)>;
  explicit TActionLink(TChangeHandler onChange) : onChange_(std::move(onChange)) {}
  ~TActionLink();
  TActionLink(const TActionLink&) = delete;
  TActionLink& operator=(const TActionLink&) = delete;

  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* action);
  // Executes the action; false when there is none or nothing handled it.
  // The link (and its client) may be gone when this returns.
  bool Execute();

 private:
  friend class TBasicAction;
  void ActionChanged() {
    if (action_ && onChange_) onChange_(*action_);
  }
  void Detach() { action_ = nullptr; }
  TBasicAction* action_ = nullptr;  // not owned
  TChangeHandler onChange_;
};

// Runs Update on every action that has clients; the application calls it
// when it goes idle.
void UpdateActions();

// Executes the first action of `owner`'s action lists with that shortcut;
// true when one ran (a disabled action lets the key go on). Forms ask it
// for every key before their controls see it.
bool ExecuteActionShortCut(TComponent& owner, uint16_t shortCut);

}  // namespace qz
