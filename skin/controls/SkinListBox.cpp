#include "skin/controls/SkinListBox.h"

#include <algorithm>

#include "host/ui/ImgList.h"
#include "host/ui/Menus.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"

namespace qz {

namespace {

constexpr int kPlainBarThickness = 19;
constexpr uintptr_t kRepeatTimerId = 1;

}  // namespace

// ---------------------------------------------------------------------------
// TqzListBox

TqzListBox::TqzListBox(TComponent* AOwner, TqzSkinCustomListBox* Box)
    : TCustomListBox(AOwner), box_(Box) {
  SetStyle(lbOwnerDrawFixed);
  SetItemHeight(20);
  SetTabStop(true);
}

void TqzListBox::SetHorzOffset(int V) {
  if (V == horzOffset_) return;
  horzOffset_ = V;
  Invalidate();
}

// Each item is drawn into its own bitmap and copied once.
void TqzListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (Index < 0 || Index >= Count() || Rect.IsEmpty()) return;
  TComponentRef<TqzListBox> self(this);
  TBitmap item(Rect.Width(), Rect.Height());
  box_->DrawListItem(item.Canvas(), Index, {0, 0, Rect.Width(), Rect.Height()}, State);
  if (!self) return;
  item.Modified();
  Canvas().Draw(Rect.Left, Rect.Top, item);
}

void TqzListBox::PaintBackground(const TRect& Rect) { box_->PaintListBackground(Canvas(), Rect); }

void TqzListBox::ScrollStateChanged() {
  TComponentRef<TqzListBox> self(this);
  TCustomListBox::ScrollStateChanged();
  if (self) box_->UpdateScrollBars();
}

// Item widths decide the horizontal bar.
void TqzListBox::ItemsAltered() {
  if (box_->HorizontalExtent()) box_->UpdateScrollBars();
}

void TqzListBox::Dispatch(TMessage& m) {
  if (m.Msg == WM_MOUSEWHEEL && (box_->vBar_ || box_->hBar_)) {
    // One line a message with a vertical bar; the small change with only
    // a horizontal one.
    TComponentRef<TqzListBox> self(this);
    const int delta = static_cast<int16_t>(HIWORD(m.WParam));
    if (box_->vBar_) {
      // In column mode the list's one bar scrolls sideways.
      Perform(Columns() > 0 ? WM_HSCROLL : WM_VSCROLL, delta < 1 ? SB_LINEDOWN : SB_LINEUP);
    } else {
      TqzSkinScrollBar* bar = box_->hBar_;
      bar->SetPosition(bar->Position() + (delta < 1 ? bar->SmallChange() : -bar->SmallChange()));
    }
    if (self) box_->UpdateScrollBars();
    m.Result = 1;
    return;
  }
  TCustomListBox::Dispatch(m);
}

void TqzListBox::KeyDown(uint16_t& Key, TShiftState Shift) {
  if ((Key == VK_LEFT || Key == VK_RIGHT) && box_->hBar_) {
    // Across the list the keys scroll the horizontal bar.
    TComponentRef<TqzListBox> self(this);
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
    if (!self || Key == 0) return;
    TqzSkinScrollBar* bar = box_->hBar_;
    bar->SetPosition(bar->Position() + (Key == VK_LEFT ? -bar->SmallChange() : bar->SmallChange()));
    Key = 0;
    return;
  }
  TCustomListBox::KeyDown(Key, Shift);
}

QZ_PUBLISHED(TqzListBox, TCustomListBox) {}

// ---------------------------------------------------------------------------
// TqzSkinCustomListBox: construction and forwarding

TqzSkinCustomListBox::TqzSkinCustomListBox(TComponent* AOwner)
    : TqzSkinCustomControl(AOwner),
      tabWidths_(std::make_unique<TStringList>()),
      defaultCaptionFont_(std::make_unique<TFont>()),
      glyph_(std::make_unique<TBitmap>()) {
  controlStyle_ = {csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
  width_ = 120;
  height_ = 120;
  link_.skinDataName = "listbox";
  SetSkinControlDefaultFont(DefaultFont());
  DefaultFont().SetColor(clWindowText);
  SetSkinControlDefaultFont(*defaultCaptionFont_);
  tabWidths_->OnChange = [this](TObject*) { Invalidate(); list_->Invalidate(); };
  glyph_->OnChange = [this](TObject*) { if (captionMode_) Invalidate(); };

  list_ = new TqzListBox(this, this);
  list_->SetParent(this);
  list_->SetItemHeight(defaultItemHeight_);
  list_->OnClick = [this](TObject*) { FireListEvent([&] { if (OnListBoxClick) OnListBoxClick(this); }); };
  list_->OnDblClick = [this](TObject*) {
    FireListEvent([&] { if (OnListBoxDblClick) OnListBoxDblClick(this); });
  };
  list_->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int x, int y) {
    FireListEvent([&] { if (OnListBoxMouseDown) OnListBoxMouseDown(this, b, s, x, y); });
  };
  list_->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState s, int x, int y) {
    FireListEvent([&] { if (OnListBoxMouseUp) OnListBoxMouseUp(this, b, s, x, y); });
  };
  list_->OnMouseMove = [this](TObject*, TShiftState s, int x, int y) {
    FireListEvent([&] { if (OnListBoxMouseMove) OnListBoxMouseMove(this, s, x, y); });
  };
  list_->OnKeyDown = [this](TObject*, uint16_t& k, TShiftState s) {
    FireListEvent([&] { if (OnListBoxKeyDown) OnListBoxKeyDown(this, k, s); });
  };
  list_->OnKeyUp = [this](TObject*, uint16_t& k, TShiftState s) {
    FireListEvent([&] { if (OnListBoxKeyUp) OnListBoxKeyUp(this, k, s); });
  };
  list_->OnKeyPress = [this](TObject*, char32_t& k) {
    FireListEvent([&] { if (OnListBoxKeyPress) OnListBoxKeyPress(this, k); });
  };
  ForwardListDrags();
  list_->OnEnter = [this](TObject*) { Invalidate(); };
  list_->OnExit = [this](TObject*) { Invalidate(); };
  Relayout();
}

// The list and the bars call back into the box while they go: they go
// first, while the box is whole.
TqzSkinCustomListBox::~TqzSkinCustomListBox() {
  StopRepeat();
  DestroyComponents();
}

// The inner list's events reach user code through the box; the box is
// the sender.
bool TqzSkinCustomListBox::FireListEvent(const std::function<void()>& call) {
  TComponentRef<TqzSkinCustomListBox> self(this);
  call();
  return static_cast<bool>(self);
}

void TqzSkinCustomListBox::ForwardListDrags() {
  list_->OnStartDrag = [this](TObject*, TDragObject*& object) {
    FireListEvent([&] { if (OnListBoxStartDrag) OnListBoxStartDrag(this, object); });
  };
  list_->OnDragOver = [this](TObject*, TObject* source, int x, int y, TDragState state, bool& accept) {
    // The list's own handler is always there; the box's decides.
    accept = static_cast<bool>(OnListBoxDragOver);
    FireListEvent([&] { if (OnListBoxDragOver) OnListBoxDragOver(this, source, x, y, state, accept); });
  };
  list_->OnDragDrop = [this](TObject*, TObject* source, int x, int y) {
    FireListEvent([&] { if (OnListBoxDragDrop) OnListBoxDragDrop(this, source, x, y); });
  };
  list_->OnEndDrag = [this](TObject*, TObject* target, int x, int y) {
    FireListEvent([&] { if (OnListBoxEndDrag) OnListBoxEndDrag(this, target, x, y); });
  };
}

void TqzSkinCustomListBox::SetItems(const TStrings& V) {
  list_->SetItems(V);
  UpdateScrollBars();
}

const TqzDataSkinListBox* TqzSkinCustomListBox::ListDescription() const {
  if (SkinIndex == -1) return nullptr;
  return dynamic_cast<const TqzDataSkinListBox*>(SkinDescription());
}

// ---------------------------------------------------------------------------
// Properties

void TqzSkinCustomListBox::SetUseSkinItemHeight(bool V) {
  if (V == useSkinItemHeight_) return;
  useSkinItemHeight_ = V;
  ApplyItemHeight();
}

void TqzSkinCustomListBox::SetDefaultItemHeight(int V) {
  if (V < 1 || V == defaultItemHeight_) return;
  defaultItemHeight_ = V;
  ApplyItemHeight();
}

void TqzSkinCustomListBox::SetHorizontalExtent(bool V) {
  if (V == horizontalExtent_) return;
  horizontalExtent_ = V;
  UpdateScrollBars();
}

void TqzSkinCustomListBox::SetRowCount(int V) {
  rowCount_ = std::max(0, V);
  ApplyRowCount();
}

void TqzSkinCustomListBox::SetImages(TCustomImageList* V) {
  SetReference(images_, V);
  list_->Invalidate();
  UpdateScrollBars();
}

void TqzSkinCustomListBox::SetImageIndex(int V) {
  imageIndex_ = V;
  list_->Invalidate();
}

void TqzSkinCustomListBox::SetCaptionMode(bool V) {
  if (V == captionMode_) return;
  captionMode_ = V;
  ApplyRowCount();
  Relayout();
  Invalidate();
}

void TqzSkinCustomListBox::SetDefaultCaptionHeight(int V) {
  defaultCaptionHeight_ = std::max(0, V);
  ApplyRowCount();
  Relayout();
  Invalidate();
}

void TqzSkinCustomListBox::SetAlignment(TAlignment V) {
  alignment_ = V;
  Invalidate();
}

void TqzSkinCustomListBox::SetShowCaptionButtons(bool V) {
  showCaptionButtons_ = V;
  Invalidate();
}

void TqzSkinCustomListBox::SetGlyph(const TBitmap& V) {
  glyph_->Assign(V);
  Invalidate();
}

void TqzSkinCustomListBox::SetNumGlyphs(int V) {
  numGlyphs_ = std::clamp(V, 1, 4);
  Invalidate();
}

void TqzSkinCustomListBox::SetSpacing(int V) {
  spacing_ = V;
  Invalidate();
}

// The bar that scrolls a column list lies the other way: the bars start
// afresh in the new mode.
void TqzSkinCustomListBox::SetColumns(int V) {
  if (std::max(0, V) == list_->Columns()) return;
  DestroyBar(vBar_);
  DestroyBar(hBar_);
  list_->SetHorzOffset(0);
  list_->SetColumns(V);
  ApplyRowCount();
  Relayout();
  UpdateScrollBars();
  list_->Invalidate();
}

void TqzSkinCustomListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TqzSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == vBar_) vBar_ = nullptr;
  if (AComponent == hBar_) hBar_ = nullptr;
}

void TqzSkinCustomListBox::CMTextChanged(TMessage& m) {
  TqzSkinCustomControl::CMTextChanged(m);
  if (captionMode_) Invalidate();
}

void TqzSkinCustomListBox::CMEnabledChanged(TMessage& m) {
  TqzSkinCustomControl::CMEnabledChanged(m);
  if (captionMode_) Invalidate();  // the glyph's disabled frame
}

// ---------------------------------------------------------------------------
// Sizes and layout

int TqzSkinCustomListBox::CurrentItemHeight() const {
  const TqzDataSkinListBox* d = ListDescription();
  if (d && useSkinItemHeight_ && !d->ItemRect.IsEmpty()) return d->ItemRect.Height();
  return defaultItemHeight_;
}

void TqzSkinCustomListBox::ApplyItemHeight() {
  list_->SetItemHeight(CurrentItemHeight());
  ApplyRowCount();
  list_->Invalidate();
}

void TqzSkinCustomListBox::ApplyRowCount() {
  if (rowCount_ <= 0) return;
  const int rows = rowCount_ * CurrentItemHeight();
  int h;
  if (ListDescription())
    h = Geom.SkinRect.Height() + rows + Geom.ClientRect.Top - Geom.ClientRect.Bottom;
  else
    h = rows + 4 + (captionMode_ ? defaultCaptionHeight_ : 0);
  if (hBar_) h += hBar_->Height();
  if (vBar_ && Columns() > 0) h += vBar_->Height();  // lies across the bottom
  if (h != Height()) SetBounds(Left(), Top(), Width(), h);
}

int TqzSkinCustomListBox::CaptionHeight() const { return captionMode_ ? defaultCaptionHeight_ : 1; }

TRect TqzSkinCustomListBox::ListRect() const { return list_->BoundsRect(); }

void TqzSkinCustomListBox::Relayout() {
  if (!list_) return;
  const int W = Width(), H = Height();
  TRect r;
  if (!ListDescription()) {
    const int h = CaptionHeight();
    const int k = hBar_ ? hBar_->Height() - 1 : 0;
    if (hBar_) hBar_->SetBounds(1, H - 20, W - 2, kPlainBarThickness);
    if (vBar_ && Columns() > 0) {
      vBar_->SetBounds(1, H - 20, W - 2, kPlainBarThickness);
      r = {2, h + 1, W - 2, vBar_->Top()};
    } else if (vBar_) {
      vBar_->SetBounds(W - 20, h, kPlainBarThickness, H - h - k - 1);
      r = {2, h + 1, vBar_->Left(), H - k - 2};
    } else {
      r = {2, h + 1, W - 2, H - k - 2};
    }
  } else {
    r = Geom.ClientRect;
    r.Right += W - Geom.SkinRect.Width();
    r.Bottom += H - Geom.SkinRect.Height();
    if (hBar_) {
      const int hh = hBar_->Height() > 0 ? hBar_->Height() : kPlainBarThickness;
      hBar_->SetBounds(r.Left, r.Bottom - hh, r.Width(), hh);
      r.Bottom -= hh;
    }
    if (vBar_ && Columns() > 0) {
      const int bh = vBar_->Height() > 0 ? vBar_->Height() : kPlainBarThickness;
      vBar_->SetBounds(r.Left, r.Bottom - bh, r.Width(), bh);
      r.Bottom -= bh;
    } else if (vBar_) {
      const int vw = vBar_->Width() > 0 ? vBar_->Width() : kPlainBarThickness;
      vBar_->SetBounds(r.Right - vw, r.Top, vw, r.Height());
      r.Right -= vw;
    }
  }
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  list_->SetBoundsRect(r);
}

void TqzSkinCustomListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TComponentRef<TqzSkinCustomListBox> self(this);
  TqzSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!self) return;
  Relayout();
  if (self) UpdateScrollBars();
}

void TqzSkinCustomListBox::Loaded() {
  TComponentRef<TqzSkinCustomListBox> self(this);
  TqzSkinCustomControl::Loaded();
  if (!self) return;
  ApplyItemHeight();
  Relayout();
  if (self) UpdateScrollBars();
}

// ---------------------------------------------------------------------------
// Scroll bars

TqzSkinScrollBar* TqzSkinCustomListBox::MakeBar(bool vertical) {
  auto* bar = new TqzSkinScrollBar(this);
  // A column list's own bar scrolls its columns sideways.
  const bool columns = vertical && Columns() > 0;
  bar->SetKind(vertical && !columns ? sbVertical : sbHorizontal);
  bar->SetRange(0, 0, 0, 0);
  bar->SetCanFocused(false);
  if (vertical) {
    bar->OnChange = [this, columns](TObject* sender) {
      const int pos = static_cast<TqzSkinScrollBar*>(sender)->Position();
      list_->Perform(columns ? WM_HSCROLL : WM_VSCROLL,
                     SB_THUMBPOSITION | (static_cast<WPARAM>(pos & 0xFFFF) << 16), pos);
    };
  } else {
    bar->OnChange = [this](TObject* sender) {
      list_->SetHorzOffset(static_cast<TqzSkinScrollBar*>(sender)->Position());
    };
  }
  bar->SetParent(this);
  return bar;
}

void TqzSkinCustomListBox::DestroyBar(TqzSkinScrollBar*& bar) {
  if (!bar) return;
  TqzSkinScrollBar* gone = bar;
  bar = nullptr;
  gone->OnChange = nullptr;
  gone->Hide();
  delete gone;
}

// Gives the bars their descriptions: the horizontal one shares the corner
// with a vertical one while both exist.
void TqzSkinCustomListBox::NameBars() {
  const TqzDataSkinListBox* d = ListDescription();
  TqzSkinData* skin = d ? SkinData() : nullptr;
  if (vBar_) {
    vBar_->SetSkinDataName(!d ? std::string() : Columns() > 0 ? d->HScrollBarName : d->VScrollBarName);
    if (vBar_->SkinData() != skin) vBar_->SetSkinData(skin);
    else vBar_->ChangeSkinData();
  }
  if (hBar_) {
    hBar_->SetBoth(false);
    hBar_->SetBothSkinDataName(d ? d->BothHScrollBarName : std::string());
    hBar_->SetSkinDataName(d ? d->HScrollBarName : std::string());
    hBar_->SetBothMarkerWidth(!d && vBar_ ? kPlainBarThickness : 0);
    if (hBar_->SkinData() != skin) hBar_->SetSkinData(skin);
    else hBar_->ChangeSkinData();
    hBar_->SetBoth(vBar_ != nullptr);
  }
}

int TqzSkinCustomListBox::WidestItem() {
  TCanvas pc;
  UseItemFont(pc, {}, ListDescription() != nullptr);
  int widest = 0;
  for (int i = 0; i < list_->Count(); ++i) widest = std::max(widest, pc.TextWidth(list_->Items()[i]));
  return widest;
}

void TqzSkinCustomListBox::UpdateScrollBars() {
  if (updatingBars_ || !list_ || InState(csDestroying) || InState(csLoading)) return;
  TComponentRef<TqzSkinCustomListBox> self(this);
  updatingBars_ = true;
  // A bar that comes or goes changes the list's room, which may call for
  // the other bar: settle in a few rounds.
  for (int round = 0; round < 3 && self; ++round) {
    const bool hadV = vBar_ != nullptr, hadH = hBar_ != nullptr;
    const TqzDataSkinListBox* d = ListDescription();
    if (Columns() > 0) {
      if (UpdateColumnBar()) continue;
      break;
    }
    // Horizontal.
    bool wantH = false;
    int widest = 0, avail = 0;
    if (horizontalExtent_ && !inSkinChange_) {
      widest = WidestItem();
      avail = d ? list_->Width() + d->ItemTextRect.Width() - d->ItemRect.Width() : list_->Width() - 4;
      if (images_) avail -= images_->Width() + 4;
      wantH = widest > avail;
    }
    if (wantH && !hBar_) hBar_ = MakeBar(false);
    if (!wantH && hBar_) {
      DestroyBar(hBar_);
      list_->SetHorzOffset(0);
    }
    // Vertical.
    const int count = list_->Count();
    if (rowCount_ != count) {
      const TListScrollInfo info = list_->VertScrollInfo();
      const int rows = list_->Height() / std::max(1, list_->ItemHeight());
      const bool wantV = info.Max >= info.Min && info.Position <= info.Max && rows < count;
      if (wantV && !vBar_) vBar_ = MakeBar(true);
      if (!wantV && vBar_) DestroyBar(vBar_);
    }
    if (hadV != (vBar_ != nullptr) || hadH != (hBar_ != nullptr)) {
      NameBars();
      ApplyRowCount();
      Relayout();
      Invalidate();
      continue;
    }
    // Stable: mirror the state.
    if (hBar_) {
      TCanvas measure;
      UseItemFont(measure, {}, d != nullptr);
      hBar_->SetRange(0, widest, avail, hBar_->Position());
      const int zero = std::max(1, measure.TextWidth("0"));
      hBar_->SetSmallChange(zero);
      hBar_->SetLargeChange(zero);
      list_->SetHorzOffset(hBar_->Position());
    }
    if (vBar_) {
      const TListScrollInfo info = list_->VertScrollInfo();
      const int rows = std::max(1, list_->Height() / std::max(1, list_->ItemHeight()));
      vBar_->SetRange(0, info.Max, rows, list_->TopIndex());
      vBar_->SetLargeChange(rows);
    }
    break;
  }
  if (self) updatingBars_ = false;
}

// Column mode has one bar, across the bottom, counting columns. True when
// the bar came or went (the layout changed).
bool TqzSkinCustomListBox::UpdateColumnBar() {
  if (hBar_) {
    DestroyBar(hBar_);
    list_->SetHorzOffset(0);
  }
  const TListScrollInfo info = list_->HorzScrollInfo();
  const int rows = std::max(1, list_->Height() / std::max(1, list_->ItemHeight()));
  const bool want = info.Max >= info.Min && info.Max >= Columns() && rows * Columns() < list_->Count();
  const bool had = vBar_ != nullptr;
  if (want && !vBar_) vBar_ = MakeBar(true);
  if (!want && vBar_) DestroyBar(vBar_);
  if (had != want) {
    NameBars();
    ApplyRowCount();
    Relayout();
    Invalidate();
    return true;
  }
  if (vBar_) {
    vBar_->SetRange(0, info.Max, Columns(), info.Position);
    vBar_->SetLargeChange(Columns());
  }
  return false;
}

// ---------------------------------------------------------------------------
// Skin change

void TqzSkinCustomListBox::BeforeChangeSkinData() {
  TqzSkinCustomControl::BeforeChangeSkinData();
  inSkinChange_ = true;
}

void TqzSkinCustomListBox::ChangeSkinData() {
  TComponentRef<TqzSkinCustomListBox> self(this);
  inSkinChange_ = true;
  TqzSkinCustomControl::ChangeSkinData();
  if (!self) return;
  if (!ListDescription()) list_->SetFont(DefaultFont());
  list_->SetItemHeight(CurrentItemHeight());
  NameBars();
  ApplyRowCount();
  inSkinChange_ = false;
  Relayout();
  UpdateScrollBars();
  if (!self) return;
  Invalidate();
  list_->Invalidate();
}

// ---------------------------------------------------------------------------
// Item drawing

void TqzSkinCustomListBox::UseItemFont(TCanvas& Cnvs, TOwnerDrawState State, bool described) {
  const TqzDataSkinListBox* d = described ? ListDescription() : nullptr;
  if (d && UseSkinFont()) {
    Cnvs.Font().SetName(d->FontName);
    Cnvs.Font().SetHeight(d->FontHeight);
    Cnvs.Font().SetStyle(d->FontStyle);
    Cnvs.Font().SetCharset(DefaultFont().Charset());
  } else {
    Cnvs.SetFont(d ? DefaultFont() : list_->Font());
  }
  if (SkinData() && SkinData()->ResourceStrData())
    Cnvs.Font().SetCharset(static_cast<TFontCharset>(SkinData()->ResourceStrData()->CharSet()));
  if (d) {
    const bool selected = State.Contains(odSelected), focused = State.Contains(odFocused);
    Cnvs.Font().SetColor(selected && focused ? d->FocusFontColor
                         : selected          ? d->ActiveFontColor
                                             : d->FontColor);
  }
}

void TqzSkinCustomListBox::DrawListItem(TCanvas& Cnvs, int Index, const TRect& Rect,
                                        TOwnerDrawState State) {
  const TSize size{Rect.Width(), Rect.Height()};
  if (ListDescription() && Picture) DrawSkinItem(Cnvs, Index, size, State);
  else DrawPlainItem(Cnvs, Index, size, State);
}

void TqzSkinCustomListBox::DrawPlainItem(TCanvas& Cnvs, int Index, TSize Size, TOwnerDrawState State) {
  const TRect item{0, 0, Size.cx, Size.cy};
  UseItemFont(Cnvs, State, false);
  Cnvs.Brush().SetStyle(TBrushStyle::bsSolid);
  if (State.Contains(odSelected)) {
    Cnvs.Brush().SetColor(clHighlight);
    Cnvs.Font().SetColor(clHighlightText);
  } else {
    Cnvs.Brush().SetColor(clWindow);
  }
  Cnvs.FillRect(item);
  TComponentRef<TqzSkinCustomListBox> self(this);
  DrawItemContent(Cnvs, Index, {2, 0, Size.cx - 2, Size.cy}, State);
  if (!self) return;
  if (State.Contains(odFocused)) Cnvs.DrawFocusRect(item);
}

void TqzSkinCustomListBox::DrawSkinItem(TCanvas& Cnvs, int Index, TSize Size, TOwnerDrawState State) {
  const TqzDataSkinListBox& d = *ListDescription();
  const bool selected = State.Contains(odSelected), focused = State.Contains(odFocused);
  const TRect itemRect = d.ItemRect;
  const TRect activeRect = d.ActiveItemRect.IsEmpty() ? itemRect : d.ActiveItemRect;
  const TRect focusRect = d.FocusItemRect.IsEmpty() ? itemRect : d.FocusItemRect;
  TRect source = itemRect;
  bool stretch = false;
  if (focused && selected) {
    source = focusRect;
    stretch = d.StretchEffect;
  } else if (selected) {
    source = activeRect;
    stretch = d.StretchEffect;
  } else if (focused) {
    stretch = d.StretchEffect;
  }
  TBitmap look;
  TRect text = d.ItemTextRect;
  if (useSkinItemHeight_) {
    CreateHSkinImage(d.ItemLeftOffset, d.ItemRightOffset, look, stretch, Size.cx, source, *Picture);
    text.Right += Size.cx - itemRect.Width();
  } else {
    look.SetSize(Size.cx, Size.cy);
    const TRect inner = InflateRect(d.ItemTextRect, -1, -1);
    CreateStretchImage(look, *Picture, focused ? focusRect : selected ? activeRect : itemRect, inner, true);
    text.Right += Size.cx - itemRect.Width();
    text.Bottom += Size.cy - itemRect.Height();
  }
  Cnvs.Draw(0, 0, look);
  UseItemFont(Cnvs, State, true);
  TComponentRef<TqzSkinCustomListBox> self(this);
  DrawItemContent(Cnvs, Index, text, State);
  if (!self) return;
  if (focused && !selected) Cnvs.DrawFocusRect({0, 0, Size.cx, Size.cy});
}

void DrawTabbedText(TCanvas& Cnvs, std::string_view Text, int Left, int Y, const std::vector<int>& Stops) {
  // Each piece starts at the next stop from the text's left.
  int x = Left;
  size_t start = 0, stop = 0;
  for (;;) {
    const size_t tab = Text.find('\t', start);
    const std::string piece(Text.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    Cnvs.TextOut(x, Y, piece);
    if (tab == std::string_view::npos) break;
    const int end = x + Cnvs.TextWidth(piece);
    int next = end + 1;
    for (; stop < Stops.size(); ++stop)
      if (Left + Stops[stop] > end) {
        next = Left + Stops[stop];
        ++stop;
        break;
      }
    x = next;
    start = tab + 1;
  }
}

std::vector<int> TqzSkinCustomListBox::TabStops() const {
  std::vector<int> stops;
  for (int i = 0; i < tabWidths_->Count() && i < 10; ++i) {
    const std::string line = tabWidths_->Get(i);
    const bool digits = !line.empty() && std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; });
    stops.push_back(digits && line.size() < 10 ? std::stoi(line) : 0);
  }
  return stops;
}

void TqzSkinCustomListBox::DrawItemContent(TCanvas& Cnvs, int Index, const TRect& TextRect,
                                           TOwnerDrawState State) {
  if (OnDrawItem) {
    // The handler may free the box; the caller checks.
    OnDrawItem(Cnvs, Index, {Cnvs.Target() ? Cnvs.Target()->Width() : 0, Cnvs.Target() ? Cnvs.Target()->Height() : 0},
               TextRect, State);
    return;
  }
  const TqzDataSkinListBox* d = ListDescription();
  if (d && d->ShowFocus && State.Contains(odFocused)) {
    const TColor saved = Cnvs.Font().Color();
    Cnvs.Font().SetColor(SkinData()->SkinColors().cBtnFace);
    DrawSkinFocusRect(Cnvs, TextRect);
    Cnvs.Font().SetColor(saved);
  }
  const int offset = list_->HorzOffset();
  int imageOffset = 0;
  if (images_) {
    const int image = imageIndex_ < 0 ? Index : imageIndex_;
    if (image >= 0 && image < images_->Count())
      images_->Draw(Cnvs, TextRect.Left - offset, TextRect.Top + (TextRect.Height() - images_->Height()) / 2,
                    image, Enabled());
    imageOffset = images_->Width() + 2;
  }
  const std::string text = list_->Items()[Index];
  Cnvs.Brush().SetStyle(TBrushStyle::bsClear);
  Cnvs.SetBkMode(TRANSPARENT);
  const int saved = Cnvs.SaveDC();
  Cnvs.IntersectClipRect(TextRect);
  const std::vector<int> stops = Columns() > 0 ? std::vector<int>{} : TabStops();
  if (!stops.empty()) {
    int y = TextRect.Top + (TextRect.Height() - Cnvs.TextHeight("0")) / 2;
    if (Cnvs.GetTextMetrics().tmHeight % 2 != 0) y -= 1;
    DrawTabbedText(Cnvs, text, TextRect.Left + 2 + imageOffset - offset, y, stops);
  } else {
    TRect r = TextRect;
    r.Left += imageOffset - offset;
    DrawTextVCentered(Cnvs, text, r);
  }
  Cnvs.RestoreDC(saved);
}

void TqzSkinCustomListBox::PaintListBackground(TCanvas& Cnvs, const TRect& Rect) {
  if (!ListDescription() || !Picture || Geom.ClientRect.IsEmpty()) {
    Cnvs.Brush().SetStyle(TBrushStyle::bsSolid);
    Cnvs.Brush().SetColor(clWindow);
    Cnvs.FillRect(Rect);
    return;
  }
  const TRect piece = OffsetRect(Geom.ClientRect, Geom.SkinRect.Left, Geom.SkinRect.Top);
  TBitmap tile(piece.Width(), piece.Height());
  tile.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, Picture->Canvas(), piece);
  tile.Modified();
  const int saved = Cnvs.SaveDC();
  Cnvs.IntersectClipRect(Rect);
  // Tiled from the list's origin, so scrolling shows the same pattern.
  for (int y = 0; y < Rect.Bottom; y += tile.Height())
    for (int x = 0; x < Rect.Right; x += tile.Width())
      if (y + tile.Height() > Rect.Top && x + tile.Width() > Rect.Left) Cnvs.Draw(x, y, tile);
  Cnvs.RestoreDC(saved);
}

// ---------------------------------------------------------------------------
// The control's own painting: frame, caption and caption buttons

void TqzSkinCustomListBox::CreateControlDefaultImage(TBitmap& B) {
  TCanvas& c = B.Canvas();
  const int W = Width(), H = Height();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(clBtnShadow);
  c.FrameRect({0, 0, W, H});
  c.Brush().SetColor(list_->Color());
  c.FrameRect({1, 1, W - 1, H - 1});
  c.FillRect({2, 2, W - 2, H - 2});
  if (captionMode_) PaintCaption(c);
  B.Modified();
}

void TqzSkinCustomListBox::CreateControlSkinImage(TBitmap& B) {
  TqzSkinCustomControl::CreateControlSkinImage(B);
  if (captionMode_) PaintCaption(B.Canvas());
  B.Modified();
}

bool TqzSkinCustomListBox::ButtonsShown() const {
  if (!captionMode_ || !showCaptionButtons_) return false;
  const TqzDataSkinListBox* d = ListDescription();
  return !d || !d->UpButtonRect.IsEmpty() || !d->DownButtonRect.IsEmpty();
}

TRect TqzSkinCustomListBox::CaptionButtonRect(TqzCaptionButton Button) const {
  if (!ButtonsShown() || Button == TqzCaptionButton::None) return {};
  const int i = static_cast<int>(Button);
  if (const TqzDataSkinListBox* d = ListDescription()) {
    const TRect& r = i == 0 ? d->UpButtonRect : i == 1 ? d->DownButtonRect : d->CheckButtonRect;
    if (r.IsEmpty()) return {};
    return CalcNewRect(r);
  }
  int a = defaultCaptionHeight_ - 3;
  if (a > 16) a = 17;
  const int right = Width() - 2 - i * a;
  return {right - a, 2, right, 2 + a};
}

TRect TqzSkinCustomListBox::CaptionTextRect() const {
  if (!captionMode_) return {};
  if (const TqzDataSkinListBox* d = ListDescription()) {
    TRect text = CalcNewRect(d->CaptionRect);
    text.Left += 2;
    text.Right -= 2;
    return text;
  }
  int a = defaultCaptionHeight_ - 3;
  if (a > 16) a = 17;
  return {3, 2, ButtonsShown() ? Width() - 3 * a - 3 : Width() - 2, defaultCaptionHeight_ - 2};
}

void TqzSkinCustomListBox::UseCaptionFont(TCanvas& c) {
  if (const TqzDataSkinListBox* d = ListDescription()) {
    c.Font().SetName(d->CaptionFontName);
    c.Font().SetHeight(d->CaptionFontHeight);
    c.Font().SetStyle(d->CaptionFontStyle);
    c.Font().SetColor(d->CaptionFontColor);
  } else {
    c.SetFont(*defaultCaptionFont_);
  }
  if (SkinData() && SkinData()->ResourceStrData())
    c.Font().SetCharset(static_cast<TFontCharset>(SkinData()->ResourceStrData()->CharSet()));
}

TSize TqzSkinCustomListBox::GlyphSize() const {
  if (glyph_->Empty() || glyph_->Width() / numGlyphs_ <= 0) return {};
  return {glyph_->Width() / numGlyphs_, glyph_->Height()};
}

// Glyph, gap and text are one block placed by Alignment; the gap counts
// only when there is text after the glyph.
int TqzSkinCustomListBox::CaptionContentLeft(TCanvas& c, const TRect& text) {
  const TSize glyph = GlyphSize();
  const std::string caption = Caption();
  int content = glyph.cx;
  if (!caption.empty()) content += (glyph.cx > 0 ? spacing_ : 0) + c.TextWidth(caption);
  switch (alignment_) {
    case taRightJustify: return text.Right - content;
    case taCenter: return text.Left + (text.Width() - content) / 2;
    default: return text.Left;
  }
}

TRect TqzSkinCustomListBox::CaptionGlyphRect() {
  const TSize glyph = GlyphSize();
  const TRect text = CaptionTextRect();
  if (glyph.cx <= 0 || text.IsEmpty()) return {};
  TCanvas measure;
  UseCaptionFont(measure);
  const int left = CaptionContentLeft(measure, text);
  return Bounds(left, text.Top + (text.Height() - glyph.cy) / 2, glyph.cx, glyph.cy);
}

void TqzSkinCustomListBox::PaintCaption(TCanvas& c) {
  if (!ListDescription()) {
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(clBtnShadow);
    c.FillRect({0, 0, Width(), defaultCaptionHeight_});
  }
  const TRect text = CaptionTextRect();
  UseCaptionFont(c);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.SetBkMode(TRANSPARENT);
  const int saved = c.SaveDC();
  c.IntersectClipRect(text);
  const TRect glyph = CaptionGlyphRect();
  if (glyph.IsEmpty()) {
    DrawTextAligned(c, Caption(), text,
                    alignment_ == taRightJustify ? 1 : alignment_ == taCenter ? 2 : 0);
  } else {
    const int frame = numGlyphs_ >= 2 && !Enabled() ? 2 : 1;
    DrawGlyph(c, glyph.Left, glyph.Top, frame, numGlyphs_, *glyph_);
    DrawTextAligned(c, Caption(), {glyph.Right + spacing_, text.Top, text.Right, text.Bottom}, 0);
  }
  c.RestoreDC(saved);
  PaintCaptionButtons(c);
}

void TqzSkinCustomListBox::PaintCaptionButtons(TCanvas& c) {
  if (!ButtonsShown()) return;
  const TqzDataSkinListBox* d = ListDescription();
  for (int i = 0; i < 3; ++i) {
    const auto button = static_cast<TqzCaptionButton>(i);
    const TRect r = CaptionButtonRect(button);
    if (r.IsEmpty()) continue;
    const bool hot = hotButton_ == button, pressed = pressedButton_ == button && hot;
    if (d) {
      const TRect hotRect = i == 0 ? d->ActiveUpButtonRect : i == 1 ? d->ActiveDownButtonRect : d->ActiveCheckButtonRect;
      TRect downRect = i == 0 ? d->DownUpButtonRect : i == 1 ? d->DownDownButtonRect : d->DownCheckButtonRect;
      if (downRect.IsEmpty()) downRect = hotRect;
      const TRect chosen = pressed ? downRect : hot ? hotRect : TRect{};
      if (!chosen.IsEmpty() && Picture)
        c.CopyRect(r, Picture->Canvas(), chosen);
      continue;  // the normal look is part of the frame picture
    }
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(pressed ? kPlainLookDownFill : hot ? kPlainLookHotFill : clBtnShadow);
    c.FillRect(r);
    c.Brush().SetColor(hot || pressed ? kPlainLookHotFrame : clBtnShadow);
    c.FrameRect(r);
    if (i == 2) DrawCheckImage(c, r.Left + 4, r.Top + 4, clBtnText);
    else DrawArrowImage(c, r, clBtnText, i == 0 ? 3 : 4);
  }
}

// ---------------------------------------------------------------------------
// Caption buttons: hover, press, auto-repeat

TqzCaptionButton TqzSkinCustomListBox::ButtonAt(TPoint p) const {
  for (int i = 0; i < 3; ++i) {
    const auto b = static_cast<TqzCaptionButton>(i);
    if (CaptionButtonRect(b).Contains(p)) return b;
  }
  return TqzCaptionButton::None;
}

void TqzSkinCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TComponentRef<TqzSkinCustomListBox> self(this);
  if (Button == mbLeft && list_->CanFocus() && !list_->Focused()) {
    list_->SetFocus();
    if (!self) return;
  }
  const TqzCaptionButton b = Button == mbLeft ? ButtonAt({X, Y}) : TqzCaptionButton::None;
  if (b != TqzCaptionButton::None) {
    hotButton_ = pressedButton_ = b;
    Invalidate();
    const bool stepper = b != TqzCaptionButton::Check;
    const TNotifyEvent& e = b == TqzCaptionButton::Up ? OnUpButtonClick : OnDownButtonClick;
    if (stepper && !e) {
      repeatDirection_ = b == TqzCaptionButton::Up ? 1 : 2;
      StartRepeat(kListButtonRepeatDelayMs);
    }
  }
  TqzSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TqzSkinCustomListBox::MouseMove(TShiftState Shift, int X, int Y) {
  const TqzCaptionButton under = ButtonAt({X, Y});
  TqzCaptionButton hot = under;
  // A pressed button stays the only one that can be hot.
  if (pressedButton_ != TqzCaptionButton::None && under != pressedButton_) hot = TqzCaptionButton::None;
  if (hot != hotButton_) {
    hotButton_ = hot;
    Invalidate();
    if (repeatDirection_ != 0) {
      if (hot == pressedButton_) StartRepeat(kListButtonRepeatResumeMs);
      else StopRepeat();
    }
  }
  TqzSkinCustomControl::MouseMove(Shift, X, Y);
}

void TqzSkinCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TComponentRef<TqzSkinCustomListBox> self(this);
  if (Button == mbLeft && pressedButton_ != TqzCaptionButton::None) {
    const TqzCaptionButton pressed = pressedButton_;
    pressedButton_ = TqzCaptionButton::None;
    StopRepeat();
    repeatDirection_ = 0;
    if (ButtonAt({X, Y}) != pressed) hotButton_ = TqzCaptionButton::None;
    Invalidate();
    // Released on the button: its event, or one more built-in step.
    if (hotButton_ == pressed) RunButton(pressed);
    if (!self) return;
  }
  TqzSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TqzSkinCustomListBox::CMMouseLeave(TMessage& m) {
  if (hotButton_ != TqzCaptionButton::None && pressedButton_ == TqzCaptionButton::None) {
    hotButton_ = TqzCaptionButton::None;
    Invalidate();
  }
  TqzSkinCustomControl::CMMouseLeave(m);
}

void TqzSkinCustomListBox::RunButton(TqzCaptionButton B) {
  const TNotifyEvent& e = B == TqzCaptionButton::Up     ? OnUpButtonClick
                          : B == TqzCaptionButton::Down ? OnDownButtonClick
                                                        : OnCheckButtonClick;
  if (e) {
    e(this);
    return;
  }
  if (B == TqzCaptionButton::Up) StepSelection(-1);
  else if (B == TqzCaptionButton::Down) StepSelection(1);
  else list_->Click();
}

void TqzSkinCustomListBox::StepSelection(int delta) {
  const int index = list_->ItemIndex();
  if (delta < 0 && index > 0) list_->SetItemIndex(index - 1);
  if (delta > 0 && index + 1 < list_->Count()) list_->SetItemIndex(index + 1);
}

void TqzSkinCustomListBox::StartRepeat(unsigned ms) {
  if (!HandleAllocated()) return;
  SetTimer(Handle(), kRepeatTimerId, ms);
  repeatTimer_ = true;
}

void TqzSkinCustomListBox::StopRepeat() {
  if (repeatTimer_ && HandleAllocated()) KillTimer(HWND(this), kRepeatTimerId);
  repeatTimer_ = false;
}

void TqzSkinCustomListBox::RepeatTick() {
  if (repeatDirection_ == 0) {
    StopRepeat();
    return;
  }
  // After the first delay the rhythm is steady.
  StartRepeat(kListButtonRepeatIntervalMs);
  StepSelection(repeatDirection_ == 1 ? -1 : 1);
}

void TqzSkinCustomListBox::Dispatch(TMessage& m) {
  if (m.Msg == WM_TIMER && m.WParam == kRepeatTimerId) {
    RepeatTick();
    return;
  }
  TqzSkinCustomControl::Dispatch(m);
}

// ---------------------------------------------------------------------------

QZ_PUBLISHED(TqzSkinCustomListBox, TqzSkinCustomControl) {}

QZ_PUBLISHED(TqzSkinListBox, TqzSkinCustomListBox) {
  using O = TqzSkinListBox;
  b.Factory([](TComponent* owner) { return new TqzSkinListBox(owner); });
  b.Prop("SkinDataName", &O::SkinDataName,
         [](O& o, const std::string& v) { o.SetSkinDataName(v); }, std::string("listbox"));
  b.Strings("Items", [](O& o) -> TStrings& { return o.Items(); });
  b.Prop("ItemIndex", &O::ItemIndex, &O::SetItemIndex, -1);
  b.Prop("MultiSelect", &O::MultiSelect, &O::SetMultiSelect, false);
  b.Prop("ExtandedSelect", &O::ExtandedSelect, &O::SetExtandedSelect, true);
  b.Prop("Sorted", &O::Sorted, &O::SetSorted, false);
  b.Object("ListBoxFont", [](O& o) -> TFont& { return o.ListBoxFont(); });
  b.Prop("ListBoxTabOrder", &O::ListBoxTabOrder, &O::SetListBoxTabOrder, -1);
  b.Prop("ListBoxTabStop", &O::ListBoxTabStop, &O::SetListBoxTabStop, true);
  b.Ref<TPopupMenu>("ListBoxPopupMenu", &O::ListBoxPopupMenu, &O::SetListBoxPopupMenu);
  b.Enum("ListBoxDragMode", &O::ListBoxDragMode, &O::SetListBoxDragMode, dmManual);
  b.Enum("ListBoxDragKind", &O::ListBoxDragKind, &O::SetListBoxDragKind, dkDrag);
  b.Cursor("ListBoxDragCursor", &O::ListBoxDragCursor, &O::SetListBoxDragCursor, crDrag);
  b.Prop("UseSkinItemHeight", &O::UseSkinItemHeight, &O::SetUseSkinItemHeight, true);
  b.Prop("DefaultItemHeight", &O::DefaultItemHeight, &O::SetDefaultItemHeight, 20);
  b.Prop("HorizontalExtent", &O::HorizontalExtent, &O::SetHorizontalExtent, false);
  b.Strings("TabWidths", [](O& o) -> TStrings& { return o.TabWidths(); });
  b.Prop("Columns", &O::Columns, &O::SetColumns, 0);
  b.Prop("RowCount", &O::RowCount, &O::SetRowCount, 0);
  b.Ref<TCustomImageList>("Images", &O::Images, &O::SetImages);
  b.Prop("ImageIndex", &O::ImageIndex, &O::SetImageIndex, -1);
  b.Prop("CaptionMode", &O::CaptionMode, &O::SetCaptionMode, false);
  b.Prop("DefaultCaptionHeight", &O::DefaultCaptionHeight, &O::SetDefaultCaptionHeight, 20);
  b.Object("DefaultCaptionFont", [](O& o) -> TFont& { return o.DefaultCaptionFont(); });
  b.Enum("Alignment", &O::Alignment, &O::SetAlignment, taLeftJustify);
  b.Prop("ShowCaptionButtons", &O::ShowCaptionButtons, &O::SetShowCaptionButtons, true);
  b.Object("Glyph", [](O& o) -> TBitmap& { return o.Glyph(); });
  b.Prop("NumGlyphs", &O::NumGlyphs, &O::SetNumGlyphs, 1);
  b.Prop("Spacing", &O::Spacing, &O::SetSpacing, 2);
  b.Event<TNotifyEvent>("OnListBoxClick", &O::OnListBoxClick);
  b.Event<TNotifyEvent>("OnListBoxDblClick", &O::OnListBoxDblClick);
  b.Event<TMouseEvent>("OnListBoxMouseDown", &O::OnListBoxMouseDown);
  b.Event<TMouseEvent>("OnListBoxMouseUp", &O::OnListBoxMouseUp);
  b.Event<TMouseMoveEvent>("OnListBoxMouseMove", &O::OnListBoxMouseMove);
  b.Event<TKeyEvent>("OnListBoxKeyDown", &O::OnListBoxKeyDown);
  b.Event<TKeyEvent>("OnListBoxKeyUp", &O::OnListBoxKeyUp);
  b.Event<TKeyPressEvent>("OnListBoxKeyPress", &O::OnListBoxKeyPress);
  b.Event<TStartDragEvent>("OnListBoxStartDrag", &O::OnListBoxStartDrag);
  b.Event<TDragOverEvent>("OnListBoxDragOver", &O::OnListBoxDragOver);
  b.Event<TDragDropEvent>("OnListBoxDragDrop", &O::OnListBoxDragDrop);
  b.Event<TEndDragEvent>("OnListBoxEndDrag", &O::OnListBoxEndDrag);
  b.Event<TNotifyEvent>("OnUpButtonClick", &O::OnUpButtonClick);
  b.Event<TNotifyEvent>("OnDownButtonClick", &O::OnDownButtonClick);
  b.Event<TNotifyEvent>("OnCheckButtonClick", &O::OnCheckButtonClick);
  b.Event<TqzDrawSkinItemEvent>("OnDrawItem", &O::OnDrawItem);
}

}  // namespace qz
