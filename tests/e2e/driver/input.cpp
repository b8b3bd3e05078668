#include "tests/e2e/driver/input.h"

#include <vector>

#include "tests/e2e/driver/driver_error.h"
#include "tests/e2e/driver/wait.h"
#include "tests/e2e/driver/windows.h"

namespace qx::e2e {
namespace {

void Send(std::vector<INPUT>& inputs) {
  const UINT sent = ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent != inputs.size()) throw DriverError(L"SendInput refused the input");
}

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

INPUT Mouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.dwFlags = flags;
  return in;
}

// Absolute mouse coordinates run 0..65535 across the primary screen; rounding
// up makes the system's truncating conversion land on the very pixel.
LONG Normalised(LONG pixel, int extent) {
  return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + extent - 1) / extent);
}

bool IsSelfOrDescendant(HWND hit, HWND control) {
  return hit == control || ::IsChild(control, hit);
}

}  // namespace

void BringToFront(HWND top) {
  if (::GetForegroundWindow() != top) ::SetForegroundWindow(top);
  // Activation is asynchronous: keys sent before the window has taken the focus
  // back (from a closing dialog, say) would land wherever it was before.
  if (!WaitUntil([&] {
        HWND focus = FocusedControl(top);
        return ::GetForegroundWindow() == top && (focus == top || ::IsChild(top, focus));
      })) {
    throw DriverError(L"the window did not come to the front");
  }
}

void Click(HWND control) {
  BringToFront(::GetAncestor(control, GA_ROOT));
  RECT r{};
  ::GetWindowRect(control, &r);
  const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  if (!WaitUntil([&] { return IsSelfOrDescendant(::WindowFromPoint(centre), control); })) {
    throw DriverError(L"the control is covered or not shown at its centre");
  }
  const int cx = ::GetSystemMetrics(SM_CXSCREEN);
  const int cy = ::GetSystemMetrics(SM_CYSCREEN);
  const LONG x = Normalised(centre.x, cx);
  const LONG y = Normalised(centre.y, cy);
  std::vector<INPUT> move{Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y)};
  Send(move);
  POINT at{};
  if (!WaitUntil([&] { return ::GetCursorPos(&at) && at.x == centre.x && at.y == centre.y; })) {
    throw DriverError(L"the mouse did not arrive at the control");
  }
  // The press and release carry the position too: under Wine a late pointer
  // event from an earlier move can still put the cursor back where it was, and
  // the click would land there.
  constexpr DWORD kAt = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  std::vector<INPUT> click{Mouse(kAt | MOUSEEVENTF_LEFTDOWN, x, y),
                           Mouse(kAt | MOUSEEVENTF_LEFTUP, x, y)};
  Send(click);
}

void PressKey(WORD vk) { Chord({vk}); }

void Chord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD vk : keys) inputs.push_back(Key(vk, false));
  for (auto it = keys.end(); it != keys.begin();) inputs.push_back(Key(*--it, true));
  Send(inputs);
}

void TypeText(std::wstring_view text) {
  std::vector<INPUT> inputs;
  for (wchar_t ch : text) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = ch;
    in.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs.push_back(in);
    in.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  if (!inputs.empty()) Send(inputs);
}

}  // namespace qx::e2e
