#include "skin/engine/SkinEngine.h"

#include <objbase.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "framework/Properties.h"
#include "platform/Errors.h"
#include "platform/Services.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/engine/SkinWindow.h"
#include "skin/engine/SkinWindowFramework.h"
#include "skin/engine/SkinWindowWnd.h"

HWND TSkinEngine::LastDetached = nullptr;

namespace {

// The thread's window-creation hook and the engine that installed it:
// a hook procedure has no other way to find its engine.
struct THookState {
  HHOOK hook = nullptr;
  TSkinEngine* engine = nullptr;
};
THookState& Hook() {
  static THookState state;
  return state;
}

// What every engine of the process shares: the check mark of checked
// menu items and the empty image list of main menus that have none.
struct TSharedImages {
  HIMAGELIST checkMarks = nullptr;
  std::unique_ptr<TImageList> menuImages;
  TSharedImages() {
    checkMarks = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
    const gdi::TBitmap mark(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), "SKIN_MENU_CHECKED", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (mark) ImageList_AddMasked(checkMarks, mark.Get(), RGB(255, 255, 255));
  }
  ~TSharedImages() {
    if (checkMarks) ImageList_Destroy(checkMarks);
  }
};
TSharedImages& Shared() {
  static TSharedImages shared;
  return shared;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string ClassNameOf(HWND window) {
  char name[101] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string FileNamePart(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::string WindowsFolder() {
  char folder[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
  return length && length < MAX_PATH ? WithSlash(folder) : std::string();
}

std::string SystemFolder() {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  return length && length < MAX_PATH ? WithSlash(folder) : std::string();
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (!length || length >= MAX_PATH) return {};
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

std::string NewGuidText() {
  GUID guid{};
  if (CoCreateGuid(&guid) != S_OK) return "SKIN";
  char text[40];
  snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
           static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
           guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

std::string TempFolderPath() {
  char folder[MAX_PATH] = {};
  const DWORD length = GetTempPathA(MAX_PATH, folder);
  return length && length < MAX_PATH ? WithSlash(folder) : std::string();
}

// Saves a stored skin to a free temporary file and answers its name. A
// folder that takes no file at all ends the tries with an error instead
// of trying for ever.
std::string SaveTemporarySkin(const std::vector<std::uint8_t>& bytes, bool guidNames) {
  const std::string folder = TempFolderPath();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name =
        FreeTemporaryName(folder, guidNames ? NewGuidText() : std::string("SKINTMP"), ".skt");
    if (WriteWholeFile(name, bytes)) return name;
  }
  throw EPlimetError("Unable to write the stored skin to the temporary folder " + folder);
}

COLORREF Rgb(TColor color) { return skin::ToRgb(color); }

class TFontFromLog {
public:
  explicit TFontFromLog(const LOGFONTA& font) : font_(CreateFontIndirectA(&font)) {}
  HFONT Get() const { return font_.Get(); }

private:
  gdi::TFontHandle font_;
};

LOGFONTA MenuLogFont(bool bold) {
  LOGFONTA font{};
  if (!skin::MenuFont(font)) {
    font.lfHeight = -11;
    lstrcpyA(font.lfFaceName, "Tahoma");
  }
  if (bold) font.lfWeight = FW_BOLD;
  return font;
}

int TextWidth(HDC dc, const std::string& text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

} // namespace

std::string FreeTemporaryName(const std::string& folder, const std::string& stem, const std::string& extension) {
  std::string name = folder + stem + extension;
  for (int n = 1; FileExists(name); ++n) name = folder + stem + std::to_string(n) + extension;
  return name;
}

// --- the hook ----------------------------------------------------------------------

LRESULT CALLBACK SkinCbtHook(int code, WPARAM wParam, LPARAM lParam) {
  THookState& hook = Hook();
  TSkinEngine* engine = hook.engine;
  if (code > 0 && engine && engine->InEffect()) {
    auto* window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND) {
      // A size grip would sit on top of the skinned frame's corner.
      const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
      if (Upper(ClassNameOf(window)) == "SCROLLBAR" && (create->lpcs->style & SBS_SIZEGRIP) &&
          create->lpcs->dwExStyle != WS_EX_NOPARENTNOTIFY)
        return 1;
    } else if (code == HCBT_ACTIVATE) {
      const std::string name = ClassNameOf(window);
      if (name == "TTabDockHost" || name == "TConjoinDockHost") {
        if (SendMessageA(window, WM_SKIN_QUERY, 0, 0) == 0) engine->Attach(window, true);
      } else if (name != "TMessageForm" && name != "#32770") {
        if ((name == "TSelectDirDlg" || name == "TForm") && SendMessageA(window, WM_SKIN_QUERY, 0, 0) == 0)
          engine->Attach(window, false);
      } else {
        if (window != TSkinEngine::LastDetached && engine->SkinDialogs &&
            SendMessageA(window, WM_SKIN_QUERY, 0, 0) == 0)
          engine->Attach(window, true);
        TSkinEngine::LastDetached = nullptr;
      }
    }
  }
  return CallNextHookEx(hook.hook, code, wParam, lParam);
}

// --- the stored skins ---------------------------------------------------------------

TSkinCollectionItem::TSkinCollectionItem() : reader_("", "") {}

void TSkinCollectionItem::DefineProperties(TPropertyList& properties) {
  properties.String("SkinFile", [this](const std::string& value) { SkinFile = value; });
  properties.String("Password", [this](const std::string& value) { Password = value; });
  properties.Binary("SkinData", [this](const std::vector<std::uint8_t>& bytes) { LoadStoredData(bytes); });
}

std::vector<std::uint8_t> TSkinCollectionItem::StoredData() const {
  return FileExists(SkinFile) ? ReadWholeFile(SkinFile) : std::vector<std::uint8_t>{};
}

void TSkinCollectionItem::LoadStoredData(const std::vector<std::uint8_t>& bytes) {
  const std::string name = SaveTemporarySkin(bytes, false);
  struct TRemove {
    std::string path;
    ~TRemove() { DeleteFileA(path.c_str()); }
  } remove{name};
  reader_.Load(name, Password);
}

TSkinCollection::TSkinCollection(TSkinEngine* owner)
    : TCollection([] { return std::make_unique<TSkinCollectionItem>(); }), owner_(owner) {}

void TSkinCollection::Assign(const TSkinCollection& other) {
  if (&other == this) return;
  Clear();
  for (int i = 0; i < other.Count(); ++i) {
    auto* item = static_cast<TSkinCollectionItem*>(Add());
    item->SkinFile = other.Items(i)->SkinFile;
    item->Password = other.Items(i)->Password;
  }
}

// --- the engine ----------------------------------------------------------------------

TSkinEngine::TSkinEngine(TComponent* owner)
    : TComponent(owner), form_(dynamic_cast<TForm*>(owner)), reader_("", ""), additional_(this) {
  if (!form_) throw EPlimetError("Must be placed on a Form");
  // Told here rather than when the form hears of it later: whoever adds
  // the second engine learns it at once.
  for (int i = 0; i < owner->ComponentCount(); ++i)
    if (owner->Components(i) != this && dynamic_cast<TSkinEngine*>(owner->Components(i)))
      throw EPlimetError("One form can only catch one TSkinEngine!");
  reader_.OnChange = [this](TSkinReader&) { SkinChanged(); };
  BuildSystemMenu();
  THookState& hook = Hook();
  if (!Designing() && !hook.hook) {
    hook.hook = SetWindowsHookExA(WH_CBT, SkinCbtHook, nullptr, GetCurrentThreadId());
    if (hook.hook) {
      hook.engine = this;
      hookOwner_ = true;
    }
  }
}

TSkinEngine::~TSkinEngine() = default;

void TSkinEngine::BeforeDestruction() {
  THookState& hook = Hook();
  if (hookOwner_ && hook.engine == this) {
    UnhookWindowsHookEx(hook.hook);
    hook.hook = nullptr;
    hook.engine = nullptr;
  }
  hookOwner_ = false;
  // Each frame leaves the list as it is freed.
  while (!frames_.empty()) delete frames_.back();
  TComponent::BeforeDestruction();
}

void TSkinEngine::BuildSystemMenu() {
  systemMenu_ = new TPopupMenu(this);
  systemMenu_->SetAutoHotkeys(true);
  const auto add = [this](const std::string& caption, std::function<void(TSkinWindow&)> action) {
    auto* item = new TMenuItem(systemMenu_);
    item->SetCaption(caption);
    if (action)
      item->OnClick = [this, action](TComponent*) {
        if (SystemMenuTarget) action(*SystemMenuTarget);
      };
    systemMenu_->Items()->Add(item);
  };
  add(resSysMenuMin_, [](TSkinWindow& frame) { frame.DoMinimize(); });
  add(resSysMenuMax_, [](TSkinWindow& frame) { frame.DoMaximizeRestore(); });
  add("-", nullptr);
  add(resSysMenuClose_, [](TSkinWindow& frame) { frame.DoClose(); });
  systemMenu_->OnPopup = [this](TComponent*) {
    if (!SystemMenuTarget) return;
    TMenuItem* items = systemMenu_->Items();
    items->Items(3)->SetEnabled(SystemMenuTarget->CloseButtonShown);
    items->Items(1)->SetEnabled(SystemMenuTarget->MaxItemEnabled);
    items->Items(0)->SetEnabled(SystemMenuTarget->MinButtonShown);
  };
  MakeMenuOwnerDrawn(systemMenu_);
}

void TSkinEngine::PopupSystemMenu(int x, int y) {
  TPopupMenu* menu = UserSystemMenu ? UserSystemMenu.Get() : systemMenu_;
  menu->Popup(x, y);
}

void TSkinEngine::SetActive(bool active) {
  active_ = active;
  if (Designing()) return;
  for (TSkinWindow* frame : std::vector<TSkinWindow*>(frames_)) frame->SetSkinned(active);
}

void TSkinEngine::SetSkinFile(const std::string& fileName) {
  std::string found = fileName;
  if (!FileExists(found)) {
    const std::string name = FileNamePart(fileName);
    found.clear();
    for (const std::string& folder : {ProgramFolder(), WindowsFolder(), SystemFolder()})
      if (!folder.empty() && FileExists(folder + name)) {
        found = folder + name;
        break;
      }
    if (found.empty()) return;
  }
  skinFile_ = found;
  try {
    reader_.Load(found, Password);
  } catch (...) {
    skinFile_.clear();
    if (!Designing()) throw;
  }
}

void TSkinEngine::SetResSysMenuMin(const std::string& text) {
  resSysMenuMin_ = text;
  if (systemMenu_->Items()->Count() > 0) systemMenu_->Items()->Items(0)->SetCaption(text);
}
void TSkinEngine::SetResSysMenuMax(const std::string& text) {
  resSysMenuMax_ = text;
  if (systemMenu_->Items()->Count() > 1) systemMenu_->Items()->Items(1)->SetCaption(text);
}
void TSkinEngine::SetResSysMenuClose(const std::string& text) {
  resSysMenuClose_ = text;
  if (systemMenu_->Items()->Count() > 3) systemMenu_->Items()->Items(3)->SetCaption(text);
}

void TSkinEngine::SetBuiltIn(bool builtIn) {
  const bool loading = (ComponentState() & csLoading) != 0;
  if (!Designing() && !loading) throw EPlimetError("BuiltIn property only can be specified at design time!");
  if (builtIn && !loading && !FileExists(skinFile_)) throw EPlimetError("Please specify the SkinFile property first!");
  builtIn_ = builtIn;
}

void TSkinEngine::SetSkinAllForms(bool skinAll) {
  skinAllForms_ = skinAll;
  if (Designing() || (ComponentState() & csLoading)) return;
  if (skinAll)
    SkinAllFormsPass();
  else
    UnskinOtherForms();
}

void TSkinEngine::SkinChanged() {
  formBrush_.Reset();
  metrics_ = ComputeSkinMetrics(reader_);
  formBrush_.Reset(CreateSolidBrush(Rgb(metrics_.FormColor)));
  scrollBtnRes_.SetReader(&reader_);
  progressBarRes_.SetReader(&reader_);
  tabRes_.SetReader(&reader_);
  TBitmap check;
  if (CopyBitmap(TSkinBitmapKey::SKIN2_CHECKEDMENUICON, check) && !check.Empty()) {
    check.SetTransparent(true);
    HIMAGELIST marks = CheckMarkImages();
    if (ImageList_GetImageCount(marks) > 0) ImageList_Remove(marks, 0);
    // The image list keeps its own copy of the pixels.
    ImageList_AddMasked(marks, static_cast<HBITMAP>(check.Handle()), Rgb(metrics_.TransparentColor));
  }
  const auto frames = frames_;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    TSkinWindow* frame = frames[i];
    if (std::find(frames_.begin(), frames_.end(), frame) == frames_.end()) continue;
    if (active_) {
      HWND window = frame->Handle();
      const bool visible = IsWindowVisible(window) != FALSE;
      if (!skin::LateGetAncestor(window, GA_PARENT)) ShowWindow(window, SW_HIDE);
      frame->SetSkinned(false);
      frame->SetSkinned(true);
      if (visible) {
        ShowWindow(window, SW_SHOWNA);
        if (i == 0) SetActiveWindow(window);
      }
    }
    frame->ApplySkinOptions();
  }
  if (OnSkinChanged) OnSkinChanged(this);
}

bool TSkinEngine::CopyBitmap(TSkinBitmapKey key, TBitmap& bitmap, int cells, int cell) const {
  const TBitmap* source = reader_.GetBitmap(key);
  if (!source) return false;
  if (cells > 0)
    ExtractCell(source, bitmap, cells, cell);
  else
    bitmap.Assign(*source);
  return true;
}

// --- frames ----------------------------------------------------------------------------

TSkinWindow* TSkinEngine::FrameOf(HWND window) const {
  for (TSkinWindow* frame : frames_)
    if (frame->Handle() == window) return frame;
  return nullptr;
}

void TSkinEngine::Attach(HWND window, bool fromHook) {
  if (!window || FrameOf(window)) return;
  TSkinWindow* frame;
  if (TForm* form = skin::FormOfHandle(window)) {
    frame = new TSkinWindowFramework(form == form_ ? nullptr : form, fromHook, *this);
  } else {
    frame = new TSkinWindowWnd(nullptr, fromHook, *this);
  }
  frames_.push_back(frame);
  try {
    frame->Create(window);
  } catch (...) {
    delete frame;
    throw;
  }
  frame->ApplySkinOptions();
}

void TSkinEngine::Detach(HWND window) {
  TSkinWindow* frame = FrameOf(window);
  if (!frame) return;
  const bool was = std::exchange(detaching_, true);
  delete frame;
  detaching_ = was;
}

void TSkinEngine::FrameGone(TSkinWindow* frame) {
  frames_.erase(std::remove(frames_.begin(), frames_.end(), frame), frames_.end());
  if (SystemMenuTarget == frame) SystemMenuTarget = nullptr;
}

void TSkinEngine::SkinAllFormsPass() {
  if (!Application) return;
  for (TForm* form : std::vector<TForm*>(Application->Forms())) {
    if (form->Tag == DisabledTag || std::string(form->ClassName()) == "TfrmMSNPopForm") continue;
    if (!form->HandleAllocated()) continue;
    if (SendMessageA(form->Handle(), WM_SKIN_QUERY, 0, 0) == 0) Attach(form->Handle(), false);
  }
}

void TSkinEngine::UnskinOtherForms() {
  HWND own = form_->HandleAllocated() ? form_->Handle() : nullptr;
  for (TSkinWindow* frame : std::vector<TSkinWindow*>(frames_))
    if (frame->Handle() != own) Detach(frame->Handle());
}

void TSkinEngine::Loaded() {
  TComponent::Loaded();
  loaded_ = true;
  if (!Designing()) Attach(form_->Handle(), false);
}

void TSkinEngine::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove) UserSystemMenu.Forget(component);
  if (Designing() || component == this || component->Owner() != form_) return;
  if (operation == TOperation::opInsert) {
    if (!InEffect()) return;
    if (auto* menu = dynamic_cast<TMenu*>(component)) MakeMenuOwnerDrawn(menu);
    if (auto* item = dynamic_cast<TMenuItem*>(component))
      skin::SetMenuItemHandlers(
          item, [this](TMenuItem* i, HDC dc, int& w, int& h) { MeasureMenuItem(i, dc, w, h); },
          [this](TMenuItem* i, HDC dc, const RECT& r, bool s) { DrawMenuItem(i, dc, r, s); });
  } else if (auto* menu = dynamic_cast<TMenu*>(component)) {
    if (!(component->ComponentState() & csDestroying)) MakeMenuPlain(menu);
  }
}

// --- owner-drawn menus -------------------------------------------------------------

HIMAGELIST TSkinEngine::CheckMarkImages() { return Shared().checkMarks; }

TImageList* TSkinEngine::MenuImages() {
  TSharedImages& shared = Shared();
  if (!shared.menuImages) shared.menuImages.reset(new TImageList(nullptr));
  return shared.menuImages.get();
}

TSkinEngine* TSkinEngine::HookEngine() { return Hook().engine; }

void TSkinEngine::MakeMenuOwnerDrawn(TMenu* menu) {
  if (!menu) return;
  if (dynamic_cast<TMainMenu*>(menu) && !menu->Images) menu->Images = MenuImages();
  skin::SetMenuItemHandlers(
      menu->Items(), [this](TMenuItem* i, HDC dc, int& w, int& h) { MeasureMenuItem(i, dc, w, h); },
      [this](TMenuItem* i, HDC dc, const RECT& r, bool s) { DrawMenuItem(i, dc, r, s); });
  menu->SetOwnerDraw(true);
}

void TSkinEngine::MakeMenuPlain(TMenu* menu) {
  if (!menu) return;
  if (menu->Images.Get() == MenuImages()) menu->Images = nullptr;
  skin::SetMenuItemHandlers(menu->Items(), nullptr, nullptr);
  menu->SetOwnerDraw(false);
}

void TSkinEngine::MeasureMenuItem(TMenuItem* item, HDC dc, int& width, int& height) {
  TMenu* menu = item->OwningMenu();
  // The bar shows the top level of a main menu; it keeps the framework's size.
  if (menu && dynamic_cast<TMainMenu*>(menu) && item->Parent() == menu->Items()) return;
  const TFontFromLog font(MenuLogFont(item->Default()));
  const gdi::TSelection selected(dc, font.Get());
  const std::string& caption = item->Caption();
  SIZE size{};
  GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
  height = caption == "-" ? 5 : std::max<int>(size.cy, 21);
  width = size.cx + TextWidth(dc, ShortCutToText(item->ShortCut)) + 66;
}

void TSkinEngine::DrawMenuItem(TMenuItem* item, HDC dc, const RECT& rect, bool selected) {
  TMenu* menu = item->OwningMenu();
  const bool rtl = menu && menu->IsRightToLeft();
  // Horizontal positions are mirrored in a right-to-left menu.
  const auto place = [&](RECT r) {
    if (rtl) {
      const int left = rect.left + rect.right - r.right, right = rect.left + rect.right - r.left;
      r.left = left;
      r.right = right;
    }
    return r;
  };
  const auto fill = [dc](const RECT& r, TColor color) {
    const gdi::TBrush brush(CreateSolidBrush(Rgb(color)));
    FillRect(dc, &r, brush.Get());
  };
  const RECT bar = place({rect.left, rect.top, rect.left + 26, rect.bottom});
  const RECT rest = place({rect.left + 26, rect.top, rect.right, rect.bottom});
  const auto plainBackground = [&] {
    fill(bar, GetColor(TSkinColorKey::SKIN2_LEFTBARSTARTCOLOR));
    fill(rest, GetColor(TSkinColorKey::SKIN2_MENUITEMCOLOR));
  };
  if (item->Caption() == "-") {
    plainBackground();
    const gdi::TPen pen(CreatePen(PS_SOLID, 1, RGB(0x84, 0x82, 0x84)));
    const gdi::TSelection chosen(dc, pen.Get());
    const RECT line = place({rect.left + 30, rect.top + 2, rect.right - 2, rect.top + 3});
    MoveToEx(dc, line.left, line.top, nullptr);
    LineTo(dc, line.right, line.top);
    return;
  }
  const bool enabled = item->Enabled();
  if (selected && enabled) {
    fill(rect, GetColor(TSkinColorKey::SKIN2_SELECTEDMENUCOLOR));
    const gdi::TBrush border(CreateSolidBrush(Rgb(GetColor(TSkinColorKey::SKIN2_SELECTEDMENUBORDERCOLOR))));
    FrameRect(dc, &rect, border.Get());
  } else {
    plainBackground();
  }
  const TFontFromLog font(MenuLogFont(item->Default()));
  const gdi::TSelection chosenFont(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, !enabled  ? RGB(0x80, 0x80, 0x80)
                   : selected ? Rgb(GetColor(TSkinColorKey::SKIN2_SELECTEDMENUFONTCOLOR))
                              : Rgb(GetColor(TSkinColorKey::SKIN2_MENUITEMFONTCOLOR)));
  const std::string caption = item->NativeCaption();
  RECT textRect = rtl ? RECT{rect.left + 30, rect.top, rect.right - 4, rect.bottom}
                      : RECT{rect.left + 30, rect.top, rect.right, rect.bottom};
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
            DT_SINGLELINE | DT_VCENTER | (rtl ? DT_RIGHT | DT_RTLREADING : DT_LEFT));
  if (item->ShortCut) {
    const std::string shortcut = ShortCutToText(item->ShortCut);
    const int width = TextWidth(dc, shortcut);
    RECT keyRect = place({rect.right - width - 16, rect.top, rect.right - 16, rect.bottom});
    DrawTextA(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &keyRect, DT_SINGLELINE | DT_VCENTER);
  }
  auto* images = menu ? dynamic_cast<TImageList*>(menu->Images.Get()) : nullptr;
  const bool hasImage = item->ImageIndex != -1 && images && item->ImageIndex < images->Count();
  if (item->Checked()) {
    if (hasImage) {
      const gdi::TBrush black(CreateSolidBrush(RGB(0, 0, 0)));
      const RECT frame = place({rect.left + 2, rect.top + 1, rect.left + 21, rect.top + 20});
      FrameRect(dc, &frame, black.Get());
      fill(place({rect.left + 3, rect.top + 2, rect.left + 20, rect.top + 19}),
           GetColor(TSkinColorKey::SKIN2_MENUITEMCOLOR));
    } else {
      const RECT at = place({rect.left + 4, rect.top + 3, rect.left + 20, rect.top + 19});
      ImageList_DrawEx(CheckMarkImages(), 0, dc, at.left, at.top, 0, 0, CLR_NONE,
                       enabled ? CLR_DEFAULT : GetSysColor(COLOR_BTNFACE), enabled ? ILD_TRANSPARENT : ILD_BLEND50);
    }
  }
  const RECT glyph = place({rect.left + 4, rect.top + 3, rect.left + 20, rect.top + 19});
  if (item->ImageIndex != -1 && images) {
    if (item->ImageIndex < images->Count()) images->Draw(dc, glyph.left, glyph.top, item->ImageIndex, enabled);
  } else if (item->Bitmap) {
    BITMAP info{};
    if (GetObjectA(item->Bitmap, sizeof info, &info)) {
      const gdi::TCompatibleDC from(dc);
      const gdi::TSelection picked(from.Get(), item->Bitmap);
      SetStretchBltMode(dc, HALFTONE);
      StretchBlt(dc, glyph.left, glyph.top, 16, 16, from.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
  }
}

// --- stored properties --------------------------------------------------------------

std::vector<std::uint8_t> TSkinEngine::StoredSkin() const {
  return builtIn_ && FileExists(skinFile_) ? ReadWholeFile(skinFile_) : std::vector<std::uint8_t>{};
}

void TSkinEngine::LoadStoredSkin(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return;
  const std::string name = SaveTemporarySkin(bytes, true);
  struct TRemove {
    std::string path;
    ~TRemove() { DeleteFileA(path.c_str()); }
  } remove{name};
  const std::string previous = skinFile_;
  SetSkinFile(name);
  skinFile_ = previous;
}

void TSkinEngine::DefineProperties(TPropertyList& properties) {
  TComponent::DefineProperties(properties);
  properties.Boolean("Active", [this](bool value) { SetActive(value); });
  properties.String("Password", [this](const std::string& value) { Password = value; });
  properties.String("SkinFile", [this](const std::string& value) { SetSkinFile(value); });
  properties.String("ResSysMenuMin", [this](const std::string& value) { SetResSysMenuMin(value); });
  properties.String("ResSysMenuMax", [this](const std::string& value) { SetResSysMenuMax(value); });
  properties.String("ResSysMenuClose", [this](const std::string& value) { SetResSysMenuClose(value); });
  properties.Integer("DisabledTag", [this](std::int32_t value) { DisabledTag = value; });
  properties.Boolean("DrawScrollBar", [this](bool value) { SetDrawScrollBar(value); });
  properties.Boolean("BuiltIn", [this](bool value) { SetBuiltIn(value); });
  properties.Boolean("SkinDialogs", [this](bool value) { SkinDialogs = value; });
  properties.Boolean("SkinAllForms", [this](bool value) { SetSkinAllForms(value); });
  properties.Collection("AdditionalBuiltInSkins", additional_);
  properties.Binary("SkinData", [this](const std::vector<std::uint8_t>& bytes) { LoadStoredSkin(bytes); });
}
