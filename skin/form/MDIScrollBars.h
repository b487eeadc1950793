// The scroll bars of a skinned MDI form's client: a horizontal bar along
// the client's bottom and a vertical one along its right edge, each shown
// only when the visible children reach past the client on its axis. The
// bars are skinned scroll bars aligned beside the MDI client, so that (like
// the window system's own) they take their room from the client instead of
// covering children. Moving a bar moves every child by the same amount.
//
// The geometry is one pure function (CalcMDIScroll); the bars object only
// mirrors its result and applies the scrolling.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "host/base/Messages.h"
#include "host/base/Types.h"
#include "host/components/Component.h"

namespace qz {

class TCustomForm;
class TMDIClient;
class TqzSkinData;
class TqzSkinScrollBar;

struct TqzMDIScrollInput {
  // The client's size with the room of the bars shown now given back.
  TSize Area;
  // Bounds of the visible children in client coordinates.
  std::vector<TRect> Children;
  bool ChildrenMaximized = false;
  int HorzThickness = 19, VertThickness = 19;
};

// One bar: range 0 .. Max with the page the client's extent, Position the
// client's origin within the union of the client and the children.
struct TqzMDIScrollAxis {
  bool Visible = false;
  int Max = 0, Page = 0, Position = 0;
};

struct TqzMDIScrollLayout {
  TqzMDIScrollAxis Horz, Vert;
  TSize Client;  // what the client keeps next to the bars
};

TqzMDIScrollLayout CalcMDIScroll(const TqzMDIScrollInput& in);

class TqzMDIScrollBars {
 public:
  explicit TqzMDIScrollBars(TCustomForm& mdiForm);
  ~TqzMDIScrollBars();
  TqzMDIScrollBars(const TqzMDIScrollBars&) = delete;
  TqzMDIScrollBars& operator=(const TqzMDIScrollBars&) = delete;

  TMDIClient* Client() const;
  TqzSkinScrollBar* HorzBar() const;
  TqzSkinScrollBar* VertBar() const;
  const TqzMDIScrollLayout& Layout() const { return layout_; }

  void SetSkinData(TqzSkinData* skin);
  // Off: both bars stay hidden.
  void SetEnabled(bool enabled);
  // Recomputes from the children; `ignore` (a child's window handle, 0 for
  // none) is left out, as a child being destroyed must be. `maximized`: the
  // children are shown maximised (no bars then).
  void Update(uint64_t ignore, bool maximized);
  // Asked again on every client resize: whether the children are maximised.
  std::function<bool()> ChildrenMaximized;
  // Runs on every client resize before the bars are recomputed.
  std::function<void()> OnClientResized;

 private:
  void MakeBar(TComponentRef<TqzSkinScrollBar>& bar, bool vertical);
  void Apply(TqzSkinScrollBar* bar, const TqzMDIScrollAxis& axis);
  void BarMoved();
  void ScrollChildren(int dx, int dy);
  void HookClient();

  TCustomForm& form_;
  TComponentRef<TMDIClient> client_;
  TComponentRef<TqzSkinScrollBar> horz_, vert_;
  std::function<void(TMessage&)> oldClientProc_;
  bool hooked_ = false;
  bool enabled_ = true;
  bool updating_ = false, again_ = false, scrolling_ = false;
  uint64_t ignore_ = 0;
  bool maximized_ = false;
  TqzMDIScrollLayout layout_;
  // Cleared when this goes: handlers run while scrolling may free the form.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace qz
