// Stored skins and loaded skins.
//  - TqzCompressedStoredSkin: one skin as a zlib stream in memory (the form
//    resource's "CompressedData" block, byte for byte).
//  - TqzCompressedSkinList: a collection of skins, each stored in the form
//    resource as a compressed skin file ("Skin" block).
//  - TqzSkinData: one loaded skin: bitmaps, description objects, colours,
//    and the broadcast of skin changes to the application's forms.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/Messages.h"
#include "host/components/Collection.h"
#include "host/components/Component.h"
#include "host/components/Events.h"
#include "host/graphics/Bitmap.h"
#include "skin/data/ResourceStrData.h"
#include "skin/data/SkinColors.h"
#include "skin/base/SkinMessages.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinImageCache.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinObjectData.h"

namespace qz {

// ---------------------------------------------------------------------------
// Building a container from a description file and the BMP files beside it.

// The sections a description file must have to be built into a container.
extern const char* const kRequiredSkinSections[5];
// Reads the description file `iniPath`, loads the BMPs that its [PICTURES]
// names from the same folder and builds a version 2 container. Returns
// nullopt (and the first missing section's name in *missingSection) when a
// required section is missing. Raises EFOpenError / EInvalidGraphic for a
// missing or broken BMP file.
std::optional<std::vector<uint8_t>> BuildSkinContainerFromFile(const std::string& iniPath,
                                                              std::string* missingSection = nullptr);

// ---------------------------------------------------------------------------
class TqzCompressedStoredSkin : public TComponent {
  QZ_CLASS(TqzCompressedStoredSkin, TComponent)
 public:
  explicit TqzCompressedStoredSkin(TComponent* AOwner);

  const std::string& Description() const { return description_; }
  void SetDescription(const std::string& v) { description_ = v; }
  // While designed (not streamed in): builds the skin from a description file
  // and keeps only the file-name part; otherwise only stores the text.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& v);
  // While designed: loads a compressed skin file; otherwise stores the text.
  const std::string& CompressedFileName() const { return compressedFileName_; }
  void SetCompressedFileName(const std::string& v);

  // The zlib stream ("CompressedData").
  const std::vector<uint8_t>& CompressedData() const { return data_; }
  void SetCompressedData(std::vector<uint8_t> data) { data_ = std::move(data); }
  bool Empty() const { return data_.empty(); }
  void Clear() { data_.clear(); }

  // Builds and compresses a container from a description file (the design-
  // time FileName action). False, holder unchanged, when a section is missing.
  bool LoadFromSkinFile(const std::string& iniPath);
  // The compressed skin file layout. A file version above 3 empties the holder.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  void LoadFromCompressedFile(const std::string& path);
  void SaveToCompressedFile(const std::string& path) const;

 private:
  std::string description_, fileName_, compressedFileName_;
  std::vector<uint8_t> data_;
};

class TqzCompressedSkinList;

class TqzSkinListItem : public TCollectionItem {
  QZ_CLASS(TqzSkinListItem, TCollectionItem)
 public:
  explicit TqzSkinListItem(TCollection* collection);
  ~TqzSkinListItem() override;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& v) { name_ = v; }
  const std::string& Description() const { return skin_->Description(); }
  void SetDescription(const std::string& v) { skin_->SetDescription(v); }
  const std::string& FileName() const { return skin_->FileName(); }
  void SetFileName(const std::string& v);
  const std::string& CompressedFileName() const { return skin_->CompressedFileName(); }
  void SetCompressedFileName(const std::string& v);
  std::string DisplayName() const override { return name_; }

  // The holder this item owns.
  TqzCompressedStoredSkin* StoredSkin() const { return skin_.get(); }
  // The "Skin" block: the compressed skin file layout.
  std::vector<uint8_t> SkinBlock() const;
  void SetSkinBlock(const std::vector<uint8_t>& block);

 private:
  bool ListDesigning() const;
  std::string name_;
  std::unique_ptr<TqzCompressedStoredSkin> skin_;
};

class TqzSkinListItems : public TCollection {
  QZ_CLASS(TqzSkinListItems, TCollection)
 public:
  explicit TqzSkinListItems(TqzCompressedSkinList* owner);
  TqzSkinListItem* Items(int index) const { return ItemAs<TqzSkinListItem>(index); }
  TqzSkinListItem* Add() { return static_cast<TqzSkinListItem*>(TCollection::Add()); }
  TqzCompressedSkinList* List() const { return list_; }

 private:
  TqzCompressedSkinList* list_;
};

class TqzCompressedSkinList : public TComponent {
  QZ_CLASS(TqzCompressedSkinList, TComponent)
 public:
  explicit TqzCompressedSkinList(TComponent* AOwner);
  TqzSkinListItems& Skins() { return skins_; }
  const TqzSkinListItems& Skins() const { return skins_; }

 private:
  TqzSkinListItems skins_;
};

// ---------------------------------------------------------------------------
// Receivers of the skin messages. The broadcast asks for the application's
// forms in form order; each is identified (to serve the owner form first and
// to leave layered border windows out) and reached through `send`.
struct TqzSkinMessageTarget {
  const TComponent* form = nullptr;
  bool layerWindow = false;  // a layered border window: never a receiver
  std::function<void(uint32_t msg, WPARAM wParam, LPARAM lParam)> send;
};
using TqzSkinMessageTargetList = std::function<std::vector<TqzSkinMessageTarget>()>;
// Replaces the source of receivers (tests install counting receivers);
// an empty function restores the default (the host's forms when there are any).
void SetSkinMessageTargets(TqzSkinMessageTargetList targets);

// ---------------------------------------------------------------------------
class TqzSkinData : public TComponent, public TqzSkinFormInfo, public IqzSystemColorSource {
  QZ_CLASS(TqzSkinData, TComponent)
 public:
  explicit TqzSkinData(TComponent* AOwner);
  ~TqzSkinData() override;

  // --- published properties ---
  TqzCompressedStoredSkin* CompressedStoredSkin() const { return storedSkin_; }
  void SetCompressedStoredSkin(TqzCompressedStoredSkin* value);
  TqzCompressedSkinList* SkinList() const { return skinList_; }
  void SetSkinList(TqzCompressedSkinList* value);
  int SkinIndex() const { return skinIndex_; }
  void SetSkinIndex(int value);
  TqzResourceStrData* ResourceStrData() const { return resourceStrData_; }
  void SetResourceStrData(TqzResourceStrData* value);
  bool SkinnableForm() const { return skinnableForm_; }
  void SetSkinnableForm(bool value);
  bool ShowLayeredBorders() const { return showLayeredBorders_; }
  void SetShowLayeredBorders(bool value);
  bool AeroBlurEnabled() const { return aeroBlurEnabled_; }
  void SetAeroBlurEnabled(bool value);
  bool ChangeSystemColors() const { return changeSystemColors_; }
  void SetChangeSystemColors(bool value);
  TqzSystemColorHooks SystemColorHooks() const { return systemColorHooks_; }
  void SetSystemColorHooks(TqzSystemColorHooks value) { systemColorHooks_ = value; }

  bool EnableSkinEffects = true;
  bool ShowButtonGlowFrames = true;
  bool ShowCaptionButtonGlowFrames = true;
  bool AnimationForAllWindows = false;
  bool DlgTreeViewDrawSkin = true;
  bool DlgListViewDrawSkin = true;
  std::string DlgTreeViewItemSkinDataName = "listbox";
  std::string DlgListViewItemSkinDataName = "listbox";
  // Raised after a skin has been parsed, before the change messages.
  TNotifyEvent OnLoadData;

  // --- state ---
  bool Empty() const { return empty_; }
  bool LoadingSkin() const { return loadingSkin_; }
  int StartCursorIndex() const { return 1; }

  // --- loaded skin ---
  TBitmap& Picture() { return picture_; }
  TBitmap& InactivePicture() { return inactivePicture_; }
  TBitmap& Mask() { return mask_; }
  TBitmap& RollUpPicture() { return rollUpPicture_; }
  TBitmap& RollUpMask() { return rollUpMask_; }
  const TBitmap& Picture() const { return picture_; }
  const TBitmap& InactivePicture() const { return inactivePicture_; }
  const TBitmap& Mask() const { return mask_; }
  const TBitmap& RollUpPicture() const { return rollUpPicture_; }
  const TBitmap& RollUpMask() const { return rollUpMask_; }
  int ActivePictureCount() const { return static_cast<int>(activePictures_.size()); }
  // The active picture at `index`; null for -1 or an index past the end.
  TBitmap* ActivePicture(int index) const;
  const std::vector<std::string>& ActivePicturesNames() const { return activePicturesNames_; }

  // [PICTURES] names and [VERSION] strings (informative only).
  std::string PictureName, MaskName, RollUpPictureName, RollUpMaskName;
  std::string SkinName, SkinAuthor, AuthorEmail, AuthorURL, SkinComments;

  TqzDataSkinPopupWindow& PopupWindow() { return popupWindow_; }
  TqzDataSkinHintWindow& HintWindow() { return hintWindow_; }
  TqzDataSkinLayerFrame& LayerFrame() { return layerFrame_; }
  const TqzDataSkinPopupWindow& PopupWindow() const { return popupWindow_; }
  const TqzDataSkinHintWindow& HintWindow() const { return hintWindow_; }
  const TqzDataSkinLayerFrame& LayerFrame() const { return layerFrame_; }
  TqzSkinColors& SkinColors() { return skinColors_; }
  const TqzSkinColors& SkinColors() const { return skinColors_; }
  // Images rendered from the pictures for the descriptions (layer frame,
  // caption buttons and tabs); built while loading, dropped on clearing.
  const TqzSkinImageCache& ImageCache() const { return imageCache_; }

  // Description lists, owned by the skin data.
  const std::vector<std::unique_ptr<TqzDataSkinArea>>& AreaList() const { return areaList_; }
  const std::vector<std::unique_ptr<TqzDataSkinObject>>& ObjectList() const { return objectList_; }
  const std::vector<std::unique_ptr<TqzDataSkinControl>>& CtrlList() const { return ctrlList_; }

  // Index of the first entry with exactly that name (letter case counts); -1.
  int FindAreaIndex(std::string_view name) const;
  int FindObjectIndex(std::string_view name) const;
  int FindControlIndex(std::string_view name) const;

  // --- operations ---
  void LoadFromStoredSkin(TqzCompressedStoredSkin& holder);
  // Loads from a zlib stream (what LoadFromStoredSkin does with the holder's bytes).
  void LoadFromCompressedData(std::span<const uint8_t> compressed);
  // Loads an inflated container (same steps and messages, without inflating).
  void LoadFromContainer(std::span<const uint8_t> container);
  void ClearSkin();
  void ClearDescriptions();
  void SendSkinMessage(uint32_t msg);

  // Writes the loaded skin's description back as a text: every section this
  // data knows, with the words of its values ("sthorz", "tarightjustify" ...).
  void WriteData(TqzIniFile& ini);

  // IqzSystemColorSource
  bool SystemColorsLoaded() const override { return !empty_; }
  TqzSystemColorHooks SystemColorHookSet() const override { return systemColorHooks_; }
  const TqzSkinColors& SystemColorValues() const override { return skinColors_; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void LoadContainer(std::span<const uint8_t> container);
  void ReadPictures(const TqzSkinContainer& c);
  void ReadDescription(const TqzIniFile& ini);
  void ReadAreas(const TqzIniFile& ini);
  void ReadObjects(const TqzIniFile& ini);
  void ReadControls(const TqzIniFile& ini);
  bool Streaming() const;
  void ApplyChangeSystemColors();

  TqzCompressedStoredSkin* storedSkin_ = nullptr;
  TqzCompressedSkinList* skinList_ = nullptr;
  TqzResourceStrData* resourceStrData_ = nullptr;
  int skinIndex_ = 0;
  bool skinnableForm_ = true, showLayeredBorders_ = true, aeroBlurEnabled_ = true;
  bool changeSystemColors_ = false;
  TqzSystemColorHooks systemColorHooks_{qzschHighLight};

  bool empty_ = true;
  bool loadingSkin_ = false;
  TBitmap picture_, inactivePicture_, mask_, rollUpPicture_, rollUpMask_;
  std::vector<std::unique_ptr<TBitmap>> activePictures_;
  std::vector<std::string> activePicturesNames_;
  TqzDataSkinPopupWindow popupWindow_;
  TqzDataSkinHintWindow hintWindow_;
  TqzDataSkinLayerFrame layerFrame_;
  TqzSkinColors skinColors_;
  TqzSkinImageCache imageCache_;
  std::vector<std::unique_ptr<TqzDataSkinArea>> areaList_;
  std::vector<std::unique_ptr<TqzDataSkinObject>> objectList_;
  std::vector<std::unique_ptr<TqzDataSkinControl>> ctrlList_;
};

}  // namespace qz
