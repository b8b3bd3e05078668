#include <vector>

#include "tests/e2e/driver/driver.h"

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

// Wine's windows live on the X server too, and a program learns of X focus and
// pointer-crossing changes only when its thread next waits for messages. Left
// for later, such news cancels an open menu (WM_CANCELMODE) or drops held
// modifier keys that the X server never saw. Two sent-message round trips to
// the foreground window's thread: the first lets it flush its own X requests
// as it goes idle, the second has it take in the X server's answers.
void Settle() {
  for (int trip = 0; trip < 2; ++trip) {
    // The foreground may change or close meanwhile: no answer is no news.
    if (HWND front = ::GetForegroundWindow()) Answers(front);
  }
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
  Settle();
}

void Click(HWND control) {
  BringToFront(::GetAncestor(control, GA_ROOT));
  RECT r{};
  ::GetWindowRect(control, &r);
  const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  if (!WaitUntil([&] {
        HWND hit = ::WindowFromPoint(centre);
        return hit == control || ::IsChild(control, hit);
      })) {
    throw DriverError(L"the control is covered or not shown at its centre");
  }
  const LONG x = Normalised(centre.x, ::GetSystemMetrics(SM_CXSCREEN));
  const LONG y = Normalised(centre.y, ::GetSystemMetrics(SM_CYSCREEN));
  std::vector<INPUT> move{Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y)};
  // Under Wine a late pointer event from an earlier move can put the cursor
  // back where it was: the mouse moves again until it stays on the control
  // once the program has caught up.
  POINT at{};
  if (!WaitUntil([&] {
        Send(move);
        Settle();
        return ::GetCursorPos(&at) && at.x == centre.x && at.y == centre.y;
      })) {
    throw DriverError(L"the mouse did not arrive at the control");
  }
  // The press and release carry the position too, for the same reason.
  constexpr DWORD kAt = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  std::vector<INPUT> click{Mouse(kAt | MOUSEEVENTF_LEFTDOWN, x, y),
                           Mouse(kAt | MOUSEEVENTF_LEFTUP, x, y)};
  Send(click);
}

void PressKey(WORD vk) {
  Settle();
  std::vector<INPUT> inputs{Key(vk, false), Key(vk, true)};
  Send(inputs);
}

void ClearField(HWND edit) {
  PressKey(VK_END);
  const std::size_t length = Text(edit).size();
  if (length > 0) {
    std::vector<INPUT> inputs;
    for (std::size_t i = 0; i < length; ++i) {
      inputs.push_back(Key(VK_BACK, false));
      inputs.push_back(Key(VK_BACK, true));
    }
    Send(inputs);
  }
  if (!WaitUntil([&] { return Text(edit).empty(); })) {
    throw DriverError(L"the field did not empty");
  }
}

void TypeText(std::wstring_view text) {
  Settle();
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
