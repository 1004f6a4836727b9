#pragma once
// Owning GDI handles: one move-only type per kind, freed once, never
// copied; the raw handle is the non-owning view. DCs come in one type per
// way of getting one, each giving it back its own way, and a selection
// guard puts back what it replaced in the DC it really selected into.
#include <windows.h>

#include <utility>

namespace gdi {

// How each kind of handle is freed.
struct DeleteObjectFree {
  static void Free(HGDIOBJ handle) { DeleteObject(handle); }
};
struct DestroyIconFree {
  static void Free(HICON handle) { DestroyIcon(handle); }
};

// Objects of each kind alive now, made through these types: a leak check.
int LiveObjects();

namespace detail {
void Counted(int delta);
}

template <typename Handle, typename Freer>
class TOwned {
public:
  TOwned() = default;
  // Takes ownership of a handle made elsewhere; none stays none.
  explicit TOwned(Handle handle) : handle_(handle) {
    if (handle_) detail::Counted(+1);
  }
  ~TOwned() { Reset(); }
  TOwned(TOwned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  TOwned& operator=(TOwned&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  TOwned(const TOwned&) = delete;
  TOwned& operator=(const TOwned&) = delete;

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Frees what it holds and takes the new one.
  void Reset(Handle handle = nullptr) {
    if (handle_ == handle) return;
    if (handle_) {
      Freer::Free(handle_);
      detail::Counted(-1);
    }
    handle_ = handle;
    if (handle_) detail::Counted(+1);
  }
  // Gives the handle to someone who frees it (the system, for a region set on a window).
  Handle Release() {
    if (handle_) detail::Counted(-1);
    return std::exchange(handle_, nullptr);
  }

private:
  Handle handle_ = nullptr;
};

using TBrush = TOwned<HBRUSH, DeleteObjectFree>;
using TPen = TOwned<HPEN, DeleteObjectFree>;
using TFontHandle = TOwned<HFONT, DeleteObjectFree>;
using TBitmap = TOwned<HBITMAP, DeleteObjectFree>;
using TIconHandle = TOwned<HICON, DestroyIconFree>;

// A region; one handed to a window belongs to the system from then on.
class TRegion : public TOwned<HRGN, DeleteObjectFree> {
public:
  using TOwned::TOwned;
  // SetWindowRgn; on success the system owns the region and this holds none.
  bool GiveToWindow(HWND window, bool redraw);
};

// Selects an object into a DC for the guard's life, then puts the old one back.
class TSelection {
public:
  TSelection(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~TSelection() {
    if (dc_ && old_) SelectObject(dc_, old_);
  }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

private:
  HDC dc_;
  HGDIOBJ old_;
};

// The DC of WM_PAINT: BeginPaint here, EndPaint at the end.
class TPaintDC {
public:
  explicit TPaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~TPaintDC() { EndPaint(window_, &paint_); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  HDC Get() const { return dc_; }
  const RECT& Dirty() const { return paint_.rcPaint; }

private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A window's client-area DC (GetDC), or the screen's for no window.
class TClientDC {
public:
  explicit TClientDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~TClientDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  TClientDC(const TClientDC&) = delete;
  TClientDC& operator=(const TClientDC&) = delete;
  HDC Get() const { return dc_; }

private:
  HWND window_;
  HDC dc_;
};

// A window's whole-window DC (GetWindowDC), frame included.
class TWindowDC {
public:
  explicit TWindowDC(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
  ~TWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const { return dc_; }

private:
  HWND window_;
  HDC dc_;
};

// A DC made like another, with no picture of its own (to draw a bitmap from).
class TCompatibleDC {
public:
  explicit TCompatibleDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
  ~TCompatibleDC() {
    if (dc_) DeleteDC(dc_);
  }
  TCompatibleDC(const TCompatibleDC&) = delete;
  TCompatibleDC& operator=(const TCompatibleDC&) = delete;
  HDC Get() const { return dc_; }

private:
  HDC dc_;
};

// An off-screen picture of a size, drawn into and then copied to a DC in
// one block transfer.
class TMemoryDC {
public:
  TMemoryDC(HDC like, int width, int height);
  ~TMemoryDC();
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Get() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Copies the whole picture to (x, y) of the target.
  bool CopyTo(HDC target, int x, int y) const;

private:
  HDC dc_;
  TBitmap bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
  int width_, height_;
};

} // namespace gdi
