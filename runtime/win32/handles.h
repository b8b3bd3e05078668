#pragma once
// Move-only owners for the handle kinds the program uses, and scoped restorers
// for device-context state.
#include <windows.h>

#include <cstdint>
#include <utility>

namespace qx::win {

// Win32 calls fail with null (OpenProcess, CreateThread, RegOpenKeyEx...) or
// with INVALID_HANDLE_VALUE (CreateFile, FindFirstFile, snapshots), and no
// handle of any kind is either. Every owner refuses both, so whichever call
// filled it, `if (!h)` sees the failure.
constexpr bool IsFailureValue(std::uintptr_t bits) { return bits == 0 || bits == UINTPTR_MAX; }

// Generic owner: `Traits` names the handle type and how to close it.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return !IsFailureValue(reinterpret_cast<std::uintptr_t>(h_)); }
  Handle release() { return std::exchange(h_, nullptr); }
  void reset(Handle h = nullptr) {
    if (*this) Traits::Close(h_);
    h_ = h;
  }
  // For out-parameters: closes what is held and hands out the slot.
  Handle* put() {
    reset();
    return &h_;
  }

 private:
  Handle h_ = nullptr;
};

struct KernelHandleTraits {  // files, processes, threads, snapshots
  using Handle = HANDLE;
  static void Close(Handle h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static void Close(Handle h) { ::FindClose(h); }
};
struct RegKeyTraits {
  using Handle = HKEY;
  static void Close(Handle h) { ::RegCloseKey(h); }
};
template <typename T>
struct GdiTraits {
  using Handle = T;
  static void Close(Handle h) { ::DeleteObject(h); }
};
struct IconTraits {
  using Handle = HICON;
  static void Close(Handle h) { ::DestroyIcon(h); }
};

// One owner for every kernel handle: there is no file owner to mispair with a
// process.
using FileHandle = UniqueHandle<KernelHandleTraits>;
using ProcessHandle = UniqueHandle<KernelHandleTraits>;
using EventHandle = UniqueHandle<KernelHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
using Font = UniqueHandle<GdiTraits<HFONT>>;
using Bitmap = UniqueHandle<GdiTraits<HBITMAP>>;
using Icon = UniqueHandle<IconTraits>;

// GetDC/ReleaseDC pair.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Selects an object into a DC for one scope and puts the old one back.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace qx::win
