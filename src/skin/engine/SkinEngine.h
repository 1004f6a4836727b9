#pragma once
// The skin engine: the component a form carries to have itself, the
// program's other forms and the system's dialogs painted from a skin
// archive. It owns the skin's reader and the resource sets cut from it,
// the frames of the windows it skins, the system menu they share and the
// metrics derived from the skin; the first engine of the thread hooks the
// creation of windows to find the dialogs.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Collection.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
#include "skin/FramePainter.h"
#include "skin/SkinReader.h"

class TSkinWindow;
class TSkinEngine;

// Messages every skinned window answers.
constexpr UINT WM_SKIN_QUERY = 0x2AAA;    // 1: skinned already
constexpr UINT WM_SKIN_ISACTIVE = 0x2AAB; // 1 drawn active, 2 inactive
constexpr UINT WM_SKIN_REPAINT = 0x2AAC;
constexpr UINT WM_SKIN_SETMDIMENU = WM_APP + 1000;
constexpr UINT WM_SKIN_MENUBARHEIGHT = WM_APP + 1001;
constexpr UINT WM_SKIN_REFRESHWINDOWLIST = WM_APP + 1002;
constexpr UINT WM_SKIN_GETTOP = WM_APP + 1003;
constexpr UINT WM_SKIN_GETBOTTOM = WM_APP + 1004;
constexpr UINT WM_SKIN_GETSIDE = WM_APP + 1005;

// A further skin stored with the form, with a reader of its own.
class TSkinCollectionItem : public TCollectionItem {
public:
  TSkinCollectionItem();
  const char* ClassName() const override { return "TSkinCollectionItem"; }
  void DefineProperties(TPropertyList& properties) override;
  std::string SkinFile;
  std::string Password;
  TSkinReader& Reader() { return reader_; }
  // What the stored "SkinData" holds: the bytes of SkinFile, when it exists.
  std::vector<std::uint8_t> StoredData() const;
  void LoadStoredData(const std::vector<std::uint8_t>& bytes);

private:
  TSkinReader reader_;
};

class TSkinCollection : public TCollection {
public:
  explicit TSkinCollection(TSkinEngine* owner);
  TSkinEngine* Owner() const { return owner_; }
  TSkinCollectionItem* Items(int index) const { return static_cast<TSkinCollectionItem*>(TCollection::Items(index)); }
  void Assign(const TSkinCollection& other);

private:
  TSkinEngine* owner_;
};

class TSkinEngine : public TComponent {
public:
  // The owner must be a form ("Must be placed on a Form").
  explicit TSkinEngine(TComponent* owner);
  ~TSkinEngine() override;
  PLIMET_CLASS_NAME(TSkinEngine)

  // --- Published properties, in their order.
  bool Active() const { return active_; }
  void SetActive(bool active);
  bool Ready() const { return reader_.Ready(); }
  std::string Password;
  const std::string& SkinFile() const { return skinFile_; }
  // Looks for the file (as given, then by name beside the program, in the
  // Windows folder, in the system folder) and loads it; a file found
  // nowhere changes nothing. A skin that fails to load clears SkinFile and
  // its error passes on.
  void SetSkinFile(const std::string& fileName);
  const std::string& ResSysMenuMin() const { return resSysMenuMin_; }
  void SetResSysMenuMin(const std::string& text);
  const std::string& ResSysMenuMax() const { return resSysMenuMax_; }
  void SetResSysMenuMax(const std::string& text);
  const std::string& ResSysMenuClose() const { return resSysMenuClose_; }
  void SetResSysMenuClose(const std::string& text);
  int DisabledTag = 9999;
  bool DrawScrollBar() const { return drawScrollBar_; }
  void SetDrawScrollBar(bool draw) { drawScrollBar_ = draw; }
  std::string Version() const { return "4.21"; }
  bool BuiltIn() const { return builtIn_; }
  void SetBuiltIn(bool builtIn);
  bool SkinDialogs = true;
  bool SkinAllForms() const { return skinAllForms_; }
  void SetSkinAllForms(bool skinAll);
  TSkinCollection& AdditionalBuiltInSkins() { return additional_; }
  void SetAdditionalBuiltInSkins(const TSkinCollection& skins) { additional_.Assign(skins); }
  TNotifyEvent OnSkinChanged;

  // Active, a skin loaded, not in design mode.
  bool InEffect() const { return active_ && Ready() && !Designing(); }

  // --- Frames.
  void Attach(HWND window, bool fromHook);
  void Detach(HWND window);
  bool Detaching() const { return detaching_; }
  TSkinWindow* FrameOf(HWND window) const;
  const std::vector<TSkinWindow*>& Frames() const { return frames_; }
  // A frame leaves the list when it is freed.
  void FrameGone(TSkinWindow* frame);
  void SkinAllFormsPass();
  void UnskinOtherForms();
  TForm* OwnerForm() const { return form_; }

  // --- Skin look-ups.
  TSkinReader& Reader() { return reader_; }
  const TSkinReader& Reader() const { return reader_; }
  TColor GetColor(TSkinColorKey key) const { return reader_.GetColor(key); }
  TBitmap* GetBitmap(TSkinBitmapKey key) const { return reader_.GetBitmap(key); }
  int GetMetric(TSkinMetricKey key) const { return reader_.GetMetric(key); }
  bool GetFlag(TSkinFlagKey key) const { return reader_.GetFlag(key); }
  // Skin bitmap `key` copied into `bitmap`, whole or as cell `cell` of
  // `cells` equal cells; false when the skin has no such bitmap.
  bool CopyBitmap(TSkinBitmapKey key, TBitmap& bitmap, int cells = 0, int cell = 0) const;
  TColor FormColor() const { return metrics_.FormColor; }
  HBRUSH FormBrush() const { return formBrush_.Get(); }
  const TSkinMetrics& Metrics() const { return metrics_; }
  TSkinScrollBtnRes& ScrollBtnRes() { return scrollBtnRes_; }
  TSkinProgressBarRes& ProgressBarRes() { return progressBarRes_; }
  TSkinTabRes& TabRes() { return tabRes_; }

  // --- The system menu the frames share.
  TPopupMenu* SystemMenu() const { return systemMenu_; }
  // Shown instead of the built-in one when set (not owned).
  TComponentRef<TPopupMenu> UserSystemMenu{this};
  TSkinWindow* SystemMenuTarget = nullptr;
  void PopupSystemMenu(int x, int y);

  // --- Owner-drawn menus.
  void MakeMenuOwnerDrawn(TMenu* menu);
  void MakeMenuPlain(TMenu* menu);
  void MeasureMenuItem(TMenuItem* item, HDC dc, int& width, int& height);
  void DrawMenuItem(TMenuItem* item, HDC dc, const RECT& rect, bool selected);
  // The process's check mark for checked items, and the image list given
  // to main menus that have none.
  static HIMAGELIST CheckMarkImages();
  static TImageList* MenuImages();
  // The engine whose creation installed the thread's hook, if any.
  static TSkinEngine* HookEngine();

  void Loaded() override;
  void BeforeDestruction() override;
  void DefineProperties(TPropertyList& properties) override;

  // The window whose frame was last detached by WM_DESTROY: the hook does
  // not attach it again on a late activation.
  static HWND LastDetached;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend LRESULT CALLBACK SkinCbtHook(int code, WPARAM wParam, LPARAM lParam);
  void SkinChanged();
  void BuildSystemMenu();
  void LoadStoredSkin(const std::vector<std::uint8_t>& bytes);
  std::vector<std::uint8_t> StoredSkin() const;

  TForm* form_;
  TSkinReader reader_;
  std::vector<TSkinWindow*> frames_;
  TSkinScrollBtnRes scrollBtnRes_;
  TSkinProgressBarRes progressBarRes_;
  TSkinTabRes tabRes_;
  TPopupMenu* systemMenu_ = nullptr; // owned as a component
  TSkinCollection additional_;
  TSkinMetrics metrics_{};
  gdi::TBrush formBrush_;
  bool detaching_ = false;
  bool active_ = false;
  std::string skinFile_;
  std::string resSysMenuMin_ = "Mi&nimize";
  std::string resSysMenuMax_ = "Ma&ximize/Restore";
  std::string resSysMenuClose_ = "&Close";
  bool drawScrollBar_ = true;
  bool builtIn_ = false;
  bool skinAllForms_ = true;
  bool hookOwner_ = false;
  bool loaded_ = false;
};

// Files named by a GUID in the temporary folder hold a stored skin while it loads.
std::string FreeTemporaryName(const std::string& folder, const std::string& stem, const std::string& extension);
