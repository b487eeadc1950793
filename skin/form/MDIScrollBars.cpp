#include "skin/form/MDIScrollBars.h"

#include <algorithm>

#include "host/ui/Forms.h"
#include "host/ui/MDI.h"
#include "skin/controls/SkinScrollBar.h"

namespace qz {

namespace {

TqzMDIScrollAxis AxisFor(int low, int high, int extent) {
  // The range spans the client and the children together.
  const int from = std::min(low, 0), to = std::max(high, extent);
  TqzMDIScrollAxis axis;
  axis.Visible = true;
  axis.Max = to - from - 1;
  axis.Page = std::max(extent, 1);
  axis.Position = -from;
  return axis;
}

}  // namespace

TqzMDIScrollLayout CalcMDIScroll(const TqzMDIScrollInput& in) {
  TqzMDIScrollLayout out;
  out.Client = in.Area;
  if (in.ChildrenMaximized || in.Children.empty()) return out;
  TRect all = in.Children.front();
  for (const TRect& r : in.Children) {
    all.Left = std::min(all.Left, r.Left);
    all.Top = std::min(all.Top, r.Top);
    all.Right = std::max(all.Right, r.Right);
    all.Bottom = std::max(all.Bottom, r.Bottom);
  }
  // Each bar that appears takes room from the other axis: settle both.
  bool horz = false, vert = false;
  for (int pass = 0; pass < 3; ++pass) {
    const int w = in.Area.cx - (vert ? in.VertThickness : 0);
    const int h = in.Area.cy - (horz ? in.HorzThickness : 0);
    const bool needH = all.Left < 0 || all.Right > w, needV = all.Top < 0 || all.Bottom > h;
    if (needH == horz && needV == vert) break;
    horz = horz || needH;
    vert = vert || needV;
  }
  out.Client = {in.Area.cx - (vert ? in.VertThickness : 0), in.Area.cy - (horz ? in.HorzThickness : 0)};
  if (horz) out.Horz = AxisFor(all.Left, all.Right, out.Client.cx);
  if (vert) out.Vert = AxisFor(all.Top, all.Bottom, out.Client.cy);
  return out;
}

// ---------------------------------------------------------------------------

TqzMDIScrollBars::TqzMDIScrollBars(TCustomForm& mdiForm) : form_(mdiForm), client_(mdiForm.MDIClient()) {
  MakeBar(horz_, false);
  MakeBar(vert_, true);
  HookClient();
}

TqzMDIScrollBars::~TqzMDIScrollBars() {
  *alive_ = false;
  if (hooked_ && client_) client_->WindowProc = oldClientProc_;
  // The bars are controls of the form; a form being destroyed frees them itself.
  if (!form_.InState(csDestroying)) {
    delete horz_.Get();
    delete vert_.Get();
  }
}

TMDIClient* TqzMDIScrollBars::Client() const { return client_.Get(); }
TqzSkinScrollBar* TqzMDIScrollBars::HorzBar() const { return horz_.Get(); }
TqzSkinScrollBar* TqzMDIScrollBars::VertBar() const { return vert_.Get(); }

void TqzMDIScrollBars::MakeBar(TComponentRef<TqzSkinScrollBar>& ref, bool vertical) {
  auto* bar = new TqzSkinScrollBar(nullptr);
  ref = bar;
  if (vertical) bar->SetKind(sbVertical);
  bar->SetVisible(false);
  bar->SetAlign(vertical ? alRight : alBottom);
  bar->SetParent(&form_);
  bar->OnChange = [this](TObject*) { BarMoved(); };
}

// The client's size changes when the form is sized, the menu bar wraps, or
// a bar comes or goes: every change asks again.
void TqzMDIScrollBars::HookClient() {
  if (!client_) return;
  oldClientProc_ = client_->WindowProc;
  client_->WindowProc = [this](TMessage& m) {
    const uint32_t msg = m.Msg;
    auto old = oldClientProc_;  // the client may go inside
    const std::shared_ptr<bool> alive = alive_;
    old(m);
    if (msg != WM_SIZE || !*alive || !client_) return;
    if (OnClientResized) OnClientResized();
    if (*alive && client_) Update(0, ChildrenMaximized ? ChildrenMaximized() : maximized_);
  };
  hooked_ = true;
}

void TqzMDIScrollBars::SetSkinData(TqzSkinData* skin) {
  if (horz_) horz_->SetSkinData(skin);
  if (vert_) vert_->SetSkinData(skin);
  Update(0, maximized_);
}

void TqzMDIScrollBars::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update(0, maximized_);
}

void TqzMDIScrollBars::Update(uint64_t ignore, bool maximized) {
  maximized_ = maximized;
  if (updating_) {
    again_ = true;  // a child moved by the realignment: once more afterwards
    return;
  }
  if (!client_ || !horz_ || !vert_ || scrolling_) return;
  updating_ = true;
  ignore_ = ignore;
  for (int round = 0; round < 3; ++round) {
    again_ = false;
    TqzMDIScrollInput in;
    in.Area = {client_->ClientWidth() + (vert_->Visible() ? vert_->Width() : 0),
               client_->ClientHeight() + (horz_->Visible() ? horz_->Height() : 0)};
    in.ChildrenMaximized = maximized_;
    in.HorzThickness = horz_->Height();
    in.VertThickness = vert_->Width();
    for (int i = 0; i < client_->ChildCount(); ++i) {
      TCustomForm* child = client_->Children(i);
      if (!child->Visible() || child->InState(csDestroying)) continue;
      if (ignore_ != 0 && child->HandleAllocated() && child->Handle().Value() == ignore_) continue;
      in.Children.push_back(child->BoundsRect());
    }
    layout_ = enabled_ ? CalcMDIScroll(in) : TqzMDIScrollLayout{{}, {}, in.Area};
    const std::shared_ptr<bool> alive = alive_;
    Apply(horz_.Get(), layout_.Horz);
    if (!*alive) return;
    Apply(vert_.Get(), layout_.Vert);
    if (!*alive) return;
    // The horizontal bar leaves the corner free beside the vertical one.
    if (horz_ && vert_) {
      horz_->SetBothMarkerWidth(layout_.Vert.Visible ? vert_->Width() : 0);
      horz_->SetBoth(layout_.Vert.Visible && layout_.Horz.Visible);
    }
    if (!again_ || !client_ || !horz_ || !vert_) break;
  }
  ignore_ = 0;
  updating_ = false;
}

void TqzMDIScrollBars::Apply(TqzSkinScrollBar* bar, const TqzMDIScrollAxis& axis) {
  if (!bar) return;
  if (axis.Visible) bar->SetRange(0, axis.Max, axis.Page, axis.Position);
  if (bar->Visible() != axis.Visible) bar->SetVisible(axis.Visible);
}

void TqzMDIScrollBars::BarMoved() {
  if (updating_ || scrolling_ || !horz_ || !vert_) return;
  const int dx = layout_.Horz.Visible ? layout_.Horz.Position - horz_->Position() : 0;
  const int dy = layout_.Vert.Visible ? layout_.Vert.Position - vert_->Position() : 0;
  if (dx == 0 && dy == 0) return;
  ScrollChildren(dx, dy);
}

// Every child moves; the moves report back, so the bars are recomputed
// once at the end.
void TqzMDIScrollBars::ScrollChildren(int dx, int dy) {
  const std::shared_ptr<bool> alive = alive_;
  scrolling_ = true;
  std::vector<TComponentRef<TCustomForm>> children;
  for (int i = 0; client_ && i < client_->ChildCount(); ++i) children.emplace_back(client_->Children(i));
  for (const auto& child : children)
    if (child && child->Visible()) {
      child->SetBounds(child->Left() + dx, child->Top() + dy, child->Width(), child->Height());
      if (!*alive) return;
    }
  scrolling_ = false;
  Update(0, maximized_);
}

}  // namespace qz
