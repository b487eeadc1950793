#include "skin/data/SkinData.h"

#include <algorithm>
#include <filesystem>

#include "host/base/ColorHooks.h"
#include "host/components/Properties.h"
#include "skin/data/SkinMessageTargets.h"

namespace qz {

// ---------------------------------------------------------------------------
// Building a container from a description file

const char* const kRequiredSkinSections[5] = {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS",
                                              "SKINCONTROLS"};

namespace {

// The file's lines, each ended by CR LF (the last one too).
std::string NormalizeLines(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    out.append(text.substr(pos, end - pos));
    out += "\r\n";
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return out;
}

// A BMP file from disk, written again as the bitmap writer writes it.
std::vector<uint8_t> LoadBmpFile(const std::filesystem::path& folder, const std::string& name) {
  std::string path = (folder / name).string();
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  TBitmap bitmap;
  try {
    bitmap.LoadFromBytes(bytes);
  } catch (const EInvalidGraphic& e) {
    throw EInvalidGraphic("Bitmap \"" + path + "\": " + e.what());
  }
  if (bitmap.Empty()) throw EInvalidGraphic("Bitmap \"" + path + "\" is empty");
  return bitmap.SaveToBytes();
}

}  // namespace

std::optional<std::vector<uint8_t>> BuildSkinContainerFromFile(const std::string& iniPath,
                                                              std::string* missingSection) {
  std::vector<uint8_t> raw = ReadFileBytes(iniPath);
  std::string text = NormalizeLines({reinterpret_cast<const char*>(raw.data()), raw.size()});
  TqzIniFile ini(text);
  for (const char* section : kRequiredSkinSections) {
    if (!ini.SectionExists(section)) {
      if (missingSection) *missingSection = section;
      return std::nullopt;
    }
  }
  std::filesystem::path folder = std::filesystem::path(iniPath).parent_path();
  TqzIniReader pictures(ini, "PICTURES");
  static constexpr const char* kSlotKeys[kSkinSlotCount] = {"picture", "inactivepicture", "mask",
                                                            "rolluppicture", "rollupmask"};
  std::array<std::vector<uint8_t>, kSkinSlotCount> slotFiles;
  std::array<std::span<const uint8_t>, kSkinSlotCount> slots{};
  for (int s = 0; s < kSkinSlotCount; ++s) {
    std::string name = pictures.String(kSlotKeys[s]);
    if (name.empty()) continue;
    slotFiles[s] = LoadBmpFile(folder, name);
    slots[s] = slotFiles[s];
  }
  std::vector<std::vector<uint8_t>> activeFiles;
  for (const std::string& name : pictures.StringList("activepictures"))
    activeFiles.push_back(LoadBmpFile(folder, name));
  std::vector<std::span<const uint8_t>> active(activeFiles.begin(), activeFiles.end());
  return BuildSkinContainer(slots, active, text);
}

// ---------------------------------------------------------------------------
// TqzCompressedStoredSkin

TqzCompressedStoredSkin::TqzCompressedStoredSkin(TComponent* AOwner) : TComponent(AOwner) {}

static bool DesignedNotStreamed(const TComponent& c) {
  return c.InState(csDesigning) && !c.InState(csLoading) && !c.InState(csReading);
}

void TqzCompressedStoredSkin::SetFileName(const std::string& v) {
  if (DesignedNotStreamed(*this) && !v.empty()) {
    if (LoadFromSkinFile(v)) fileName_ = std::filesystem::path(v).filename().string();
    return;
  }
  fileName_ = v;
}

void TqzCompressedStoredSkin::SetCompressedFileName(const std::string& v) {
  if (DesignedNotStreamed(*this) && !v.empty()) {
    LoadFromCompressedFile(v);
    compressedFileName_ = std::filesystem::path(v).filename().string();
    return;
  }
  compressedFileName_ = v;
}

bool TqzCompressedStoredSkin::LoadFromSkinFile(const std::string& iniPath) {
  auto container = BuildSkinContainerFromFile(iniPath);
  if (!container) return false;
  data_ = DeflateSkinStream(*container);
  return true;
}

void TqzCompressedStoredSkin::LoadFromStream(TStream& stream) {
  std::vector<uint8_t> compressed;
  ReadCompressedSkinFile(stream, compressed);  // a newer version leaves it empty
  data_ = std::move(compressed);
}

void TqzCompressedStoredSkin::SaveToStream(TStream& stream) const {
  WriteCompressedSkinFile(stream, data_);
}

void TqzCompressedStoredSkin::LoadFromCompressedFile(const std::string& path) {
  TFileStream file(path, TFileMode::fmOpenRead);
  LoadFromStream(file);
}

void TqzCompressedStoredSkin::SaveToCompressedFile(const std::string& path) const {
  TFileStream file(path, TFileMode::fmCreate);
  SaveToStream(file);
}

QZ_PUBLISHED(TqzCompressedStoredSkin, TComponent) {
  b.Factory([](TComponent* owner) { return new TqzCompressedStoredSkin(owner); });
  b.Prop("Description", &TqzCompressedStoredSkin::Description,
         &TqzCompressedStoredSkin::SetDescription);
  b.Prop("FileName", &TqzCompressedStoredSkin::FileName, &TqzCompressedStoredSkin::SetFileName);
  b.Prop("CompressedFileName", &TqzCompressedStoredSkin::CompressedFileName,
         &TqzCompressedStoredSkin::SetCompressedFileName);
  b.Binary("CompressedData", &TqzCompressedStoredSkin::CompressedData,
           &TqzCompressedStoredSkin::SetCompressedData);
}

// ---------------------------------------------------------------------------
// Skin lists

TqzSkinListItem::TqzSkinListItem(TCollection* collection)
    : TCollectionItem(collection), skin_(std::make_unique<TqzCompressedStoredSkin>(nullptr)) {
  name_ = "qzSkin" + std::to_string(collection ? collection->Count() : 0);
}

TqzSkinListItem::~TqzSkinListItem() = default;

bool TqzSkinListItem::ListDesigning() const {
  auto* items = dynamic_cast<TqzSkinListItems*>(Collection());
  return items && items->List() && items->List()->InState(csDesigning) &&
         !items->List()->InState(csLoading) && !items->List()->InState(csReading);
}

void TqzSkinListItem::SetFileName(const std::string& v) {
  skin_->SetDesigning(ListDesigning());
  skin_->SetFileName(v);
  skin_->SetDesigning(false);
}

void TqzSkinListItem::SetCompressedFileName(const std::string& v) {
  skin_->SetDesigning(ListDesigning());
  skin_->SetCompressedFileName(v);
  skin_->SetDesigning(false);
}

std::vector<uint8_t> TqzSkinListItem::SkinBlock() const {
  if (skin_->Empty()) return {};
  TMemoryStream s;
  skin_->SaveToStream(s);
  return std::move(s.Data());
}

void TqzSkinListItem::SetSkinBlock(const std::vector<uint8_t>& block) {
  if (block.empty()) {
    skin_->Clear();
    return;
  }
  TBytesStream s(block.data(), block.size());
  skin_->LoadFromStream(s);
}

TqzSkinListItems::TqzSkinListItems(TqzCompressedSkinList* owner)
    : TCollection(owner, FactoryOf<TqzSkinListItem>()), list_(owner) {}

TqzCompressedSkinList::TqzCompressedSkinList(TComponent* AOwner)
    : TComponent(AOwner), skins_(this) {}

QZ_PUBLISHED(TqzSkinListItem, TCollectionItem) {
  b.Prop("Name", &TqzSkinListItem::Name, &TqzSkinListItem::SetName);
  b.Prop("Description", &TqzSkinListItem::Description, &TqzSkinListItem::SetDescription);
  b.Prop("FileName", &TqzSkinListItem::FileName, &TqzSkinListItem::SetFileName);
  b.Prop("CompressedFileName", &TqzSkinListItem::CompressedFileName,
         &TqzSkinListItem::SetCompressedFileName);
  b.Binary("Skin", &TqzSkinListItem::SkinBlock, &TqzSkinListItem::SetSkinBlock);
}

QZ_PUBLISHED(TqzCompressedSkinList, TComponent) {
  b.Factory([](TComponent* owner) { return new TqzCompressedSkinList(owner); });
  b.Collection("Skins", [](TqzCompressedSkinList& l) -> TCollection& { return l.Skins(); });
}

// ---------------------------------------------------------------------------
// TqzSkinData: properties

TqzSkinData::TqzSkinData(TComponent* AOwner) : TComponent(AOwner) {}

TqzSkinData::~TqzSkinData() {
  RemoveSystemColorHooks(this);
  ClearSkin();
}

bool TqzSkinData::Streaming() const {
  return InState(csDesigning) || InState(csLoading) || InState(csReading);
}

void TqzSkinData::SetCompressedStoredSkin(TqzCompressedStoredSkin* value) {
  SetReference(storedSkin_, value);
  if (value && !InState(csDesigning)) LoadFromStoredSkin(*value);
}

void TqzSkinData::SetSkinList(TqzCompressedSkinList* value) {
  SetReference(skinList_, value);
  if (value && !InState(csDesigning) && skinIndex_ >= 0 && skinIndex_ < value->Skins().Count())
    LoadFromStoredSkin(*value->Skins().Items(skinIndex_)->StoredSkin());
}

void TqzSkinData::SetSkinIndex(int value) {
  if (!skinList_) {
    skinIndex_ = value;
    return;
  }
  if (value < 0 || value >= skinList_->Skins().Count() || value == skinIndex_) return;
  skinIndex_ = value;
  if (!InState(csDesigning)) LoadFromStoredSkin(*skinList_->Skins().Items(value)->StoredSkin());
}

void TqzSkinData::SetResourceStrData(TqzResourceStrData* value) {
  SetReference(resourceStrData_, value);
  if (!InState(csDesigning)) SendSkinMessage(MSG_RESOURCE_STRINGS_CHANGED);
}

namespace {
// Flags whose change is told to the forms, unless designed or streamed in.
template <class Self>
void SetNotifyingFlag(Self& self, bool& field, bool value, bool streaming, uint32_t msg) {
  if (streaming) {
    field = value;
    return;
  }
  if (field == value) return;
  field = value;
  self.SendSkinMessage(msg);
}
}  // namespace

void TqzSkinData::SetSkinnableForm(bool value) {
  SetNotifyingFlag(*this, skinnableForm_, value, Streaming(), MSG_SKINNABLE_FORM_CHANGED);
}
void TqzSkinData::SetShowLayeredBorders(bool value) {
  SetNotifyingFlag(*this, showLayeredBorders_, value, Streaming(), MSG_LAYERED_BORDERS_CHANGED);
}
void TqzSkinData::SetAeroBlurEnabled(bool value) {
  SetNotifyingFlag(*this, aeroBlurEnabled_, value, Streaming(), MSG_AERO_BLUR_CHANGED);
}

void TqzSkinData::SetChangeSystemColors(bool value) {
  changeSystemColors_ = value;
  IqzSystemColorSource* owner = SystemColorHookOwner();
  if (value) {
    if (!InState(csDesigning) && !empty_ && !IsGetSysColorHooked() &&
        (owner == nullptr || owner == this))
      InstallSystemColorHooks(this);
  } else if (owner == this) {
    RemoveSystemColorHooks(this);
  }
}

void TqzSkinData::ApplyChangeSystemColors() { SetChangeSystemColors(changeSystemColors_); }

void TqzSkinData::Notification(TComponent* component, TOperation operation) {
  // References are cleared by SetReference's slots before this runs.
  inherited::Notification(component, operation);
}

// ---------------------------------------------------------------------------
// Lookups

TBitmap* TqzSkinData::ActivePicture(int index) const {
  if (index < 0 || index >= ActivePictureCount()) return nullptr;
  return activePictures_[static_cast<size_t>(index)].get();
}

namespace {
template <class List>
int FindByName(const List& list, std::string_view name) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i]->IDName == name) return static_cast<int>(i);
  }
  return -1;
}
}  // namespace

int TqzSkinData::FindAreaIndex(std::string_view name) const { return FindByName(areaList_, name); }
int TqzSkinData::FindObjectIndex(std::string_view name) const {
  return FindByName(objectList_, name);
}
int TqzSkinData::FindControlIndex(std::string_view name) const {
  return FindByName(ctrlList_, name);
}

// ---------------------------------------------------------------------------
// Clearing and loading

void TqzSkinData::ClearDescriptions() {
  imageCache_.Clear();  // its entries name the objects dropped here
  areaList_.clear();
  objectList_.clear();
  ctrlList_.clear();
  activePictures_.clear();
  activePicturesNames_.clear();
  popupWindow_.WindowPictureIndex = -1;
  hintWindow_.WindowPictureIndex = -1;
  layerFrame_.PictureIndex = -1;
  layerFrame_.InActivePictureIndex = -1;
  skinColors_.ResetToSystem();
}

void TqzSkinData::ClearSkin() {
  ClearDescriptions();
  for (TBitmap* b : {&picture_, &inactivePicture_, &mask_, &rollUpPicture_, &rollUpMask_})
    b->Clear();
  PictureName.clear();
  MaskName.clear();
  RollUpPictureName.clear();
  RollUpMaskName.clear();
  empty_ = true;
}

void TqzSkinData::LoadFromStoredSkin(TqzCompressedStoredSkin& holder) {
  if (holder.Empty()) return;
  LoadFromCompressedData(holder.CompressedData());
}

void TqzSkinData::LoadFromCompressedData(std::span<const uint8_t> compressed) {
  if (compressed.empty()) return;
  empty_ = true;
  loadingSkin_ = true;
  SendSkinMessage(MSG_SKIN_BEFORE_CHANGE);
  ClearSkin();
  TqzInflatedSkin container = InflateSkin(compressed);
  LoadContainer(container.Bytes());
}

void TqzSkinData::LoadFromContainer(std::span<const uint8_t> container) {
  empty_ = true;
  loadingSkin_ = true;
  SendSkinMessage(MSG_SKIN_BEFORE_CHANGE);
  ClearSkin();
  LoadContainer(container);
}

void TqzSkinData::LoadContainer(std::span<const uint8_t> bytes) {
  TqzSkinContainer container;
  if (!ParseSkinContainer(bytes, container)) return;  // a newer version: stays empty
  ReadPictures(container);
  {
    TqzIniFile ini(container.Text);
    ReadDescription(ini);
  }
  empty_ = false;
  if (OnLoadData) OnLoadData(this);
  ApplyChangeSystemColors();
  SendSkinMessage(MSG_SKIN_CHANGED);
  loadingSkin_ = false;
  SendSkinMessage(MSG_SKIN_AFTER_CHANGE);
}

void TqzSkinData::ReadPictures(const TqzSkinContainer& c) {
  TBitmap* slots[kSkinSlotCount] = {&picture_, &inactivePicture_, &mask_, &rollUpPicture_,
                                    &rollUpMask_};
  for (int s = 0; s < kSkinSlotCount; ++s) {
    if (c.Slots[s].empty()) slots[s]->Clear();
    else slots[s]->LoadFromBytes(c.Slots[s]);
  }
  activePictures_.reserve(c.ActivePictures.size());
  for (const auto& bmp : c.ActivePictures) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromBytes(bmp);
    activePictures_.push_back(std::move(bitmap));
  }
}

void TqzSkinData::ReadDescription(const TqzIniFile& ini) {
  TqzIniReader version(ini, "VERSION");
  SkinName = version.String("skinname");
  SkinAuthor = version.String("skinauthor");
  AuthorEmail = version.String("authoremail");
  AuthorURL = version.String("authorurl");
  SkinComments = version.String("skincomments");

  TqzIniReader pictures(ini, "PICTURES");
  PictureName = pictures.String("picture");
  MaskName = pictures.String("mask");
  RollUpPictureName = pictures.String("rolluppicture");
  RollUpMaskName = pictures.String("rollupmask");
  activePicturesNames_ = pictures.StringList("activepictures");

  ReadFormInfo(ini);
  AdjustFormInfo(!MaskName.empty());
  popupWindow_.ReadData(ini);
  layerFrame_.ReadData(ini);
  imageCache_.BuildLayerFrame(*this);
  hintWindow_.ReadData(ini);
  skinColors_.ReadData(ini);
  ReadAreas(ini);
  ReadObjects(ini);
  ReadControls(ini);
}

void TqzSkinData::ReadAreas(const TqzIniFile& ini) {
  for (const std::string& entry : TqzIniReader(ini, "SKINAREAS").StringList(""))
    areaList_.push_back(TqzDataSkinArea::Parse(entry));
}

void TqzSkinData::ReadObjects(const TqzIniFile& ini) {
  std::string name, kind;
  for (const std::string& entry : TqzIniReader(ini, "SKINOBJECTS").StringList("")) {
    if (!SplitSkinEntry(entry, name, kind)) continue;
    auto object = CreateSkinObjectData(kind, name);
    if (!object) continue;
    objectList_.push_back(std::move(object));
    objectList_.back()->ReadData(ini);
    imageCache_.BuildButton(*this, *objectList_.back());
  }
}

void TqzSkinData::ReadControls(const TqzIniFile& ini) {
  std::string name, kind;
  for (const std::string& entry : TqzIniReader(ini, "SKINCONTROLS").StringList("")) {
    if (!SplitSkinEntry(entry, name, kind)) continue;
    auto control = CreateSkinControlData(kind, name);
    if (!control) continue;
    ctrlList_.push_back(std::move(control));
    ctrlList_.back()->ReadData(ini);
  }
}

void TqzSkinData::WriteData(TqzIniFile& ini) {
  TqzIniWriter version(ini, "VERSION");
  version.String("skinname", SkinName);
  version.String("skinauthor", SkinAuthor);
  version.String("authoremail", AuthorEmail);
  version.String("authorurl", AuthorURL);
  version.String("skincomments", SkinComments);
  TqzIniWriter pictures(ini, "PICTURES");
  pictures.String("picture", PictureName);
  pictures.String("mask", MaskName);
  pictures.String("rolluppicture", RollUpPictureName);
  pictures.String("rollupmask", RollUpMaskName);
  pictures.StringList("activepictures", activePicturesNames_);
  WriteFormInfo(ini);
  popupWindow_.WriteData(ini);
  layerFrame_.WriteData(ini);
  hintWindow_.WriteData(ini);
  skinColors_.WriteData(ini);

  std::vector<std::string> entries;
  for (const auto& a : areaList_) entries.push_back(a->EntryText());
  ini.EraseSection("SKINAREAS");
  TqzIniWriter(ini, "SKINAREAS").StringList("", entries);

  entries.clear();
  for (const auto& o : objectList_) {
    entries.push_back(o->IDName + ":" + SkinObjectKindWord(*o));
    o->WriteData(ini);
  }
  ini.EraseSection("SKINOBJECTS");
  TqzIniWriter(ini, "SKINOBJECTS").StringList("", entries);

  entries.clear();
  for (const auto& c : ctrlList_) {
    entries.push_back(c->IDName + ":" + SkinControlKindWord(*c));
    c->WriteData(ini);
  }
  ini.EraseSection("SKINCONTROLS");
  TqzIniWriter(ini, "SKINCONTROLS").StringList("", entries);
}

// ---------------------------------------------------------------------------
// Broadcast

void TqzSkinData::SendSkinMessage(uint32_t msg) {
  std::vector<TqzSkinMessageTarget> forms = CurrentSkinMessageTargets();
  const TComponent* owner = Owner();
  const WPARAM self = reinterpret_cast<WPARAM>(static_cast<TqzSkinData*>(this));

  const bool ownerIsForm =
      owner && std::any_of(forms.begin(), forms.end(), [owner](const auto& t) {
        return t.form == owner && !t.layerWindow;
      });
  const bool ownerFirst = ownerIsForm && !showLayeredBorders_;
  std::vector<const TqzSkinMessageTarget*> order;
  for (const auto& t : forms) {
    if (t.layerWindow) continue;
    if (ownerFirst && t.form == owner) continue;
    order.push_back(&t);
  }
  if (showLayeredBorders_ && layerFrame_.PictureIndex != -1) std::reverse(order.begin(), order.end());

  if (ownerFirst) {
    for (const auto& t : forms)
      if (t.form == owner && t.send) {
        t.send(msg, self, kSkinMessageLParam);
        break;
      }
  }
  for (const TqzSkinMessageTarget* t : order)
    if (t->send) t->send(msg, self, kSkinMessageLParam);
}

QZ_ENUM(TqzSystemColorHook, "qzschHighLight", "qzschWindow");

QZ_PUBLISHED(TqzSkinData, TComponent) {
  using T = TqzSkinData;
  b.Factory([](TComponent* owner) { return new TqzSkinData(owner); });
  b.Ref<TqzCompressedStoredSkin>("CompressedStoredSkin", &T::CompressedStoredSkin,
                                 &T::SetCompressedStoredSkin);
  b.Ref<TqzCompressedSkinList>("SkinList", &T::SkinList, &T::SetSkinList);
  b.Prop("SkinIndex", &T::SkinIndex, &T::SetSkinIndex, 0);
  b.Ref<TqzResourceStrData>("ResourceStrData", &T::ResourceStrData, &T::SetResourceStrData);
  b.Prop("SkinnableForm", &T::SkinnableForm, &T::SetSkinnableForm, true);
  b.Prop("ShowLayeredBorders", &T::ShowLayeredBorders, &T::SetShowLayeredBorders, true);
  b.Prop("AeroBlurEnabled", &T::AeroBlurEnabled, &T::SetAeroBlurEnabled, true);
  b.Prop("EnableSkinEffects", &T::EnableSkinEffects, true);
  b.Prop("ShowButtonGlowFrames", &T::ShowButtonGlowFrames, true);
  b.Prop("ShowCaptionButtonGlowFrames", &T::ShowCaptionButtonGlowFrames, true);
  b.Prop("AnimationForAllWindows", &T::AnimationForAllWindows, false);
  b.Prop("DlgTreeViewDrawSkin", &T::DlgTreeViewDrawSkin, true);
  b.Prop("DlgListViewDrawSkin", &T::DlgListViewDrawSkin, true);
  b.Prop("DlgTreeViewItemSkinDataName", &T::DlgTreeViewItemSkinDataName, std::string("listbox"));
  b.Prop("DlgListViewItemSkinDataName", &T::DlgListViewItemSkinDataName, std::string("listbox"));
  b.Prop("ChangeSystemColors", &T::ChangeSystemColors, &T::SetChangeSystemColors, false);
  b.Set("SystemColorHooks", &T::SystemColorHooks, &T::SetSystemColorHooks,
        TqzSystemColorHooks{qzschHighLight});
  b.Event<TNotifyEvent>("OnLoadData", &T::OnLoadData);
}

}  // namespace qz
