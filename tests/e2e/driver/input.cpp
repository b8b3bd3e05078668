#include <cstdio>
#include <vector>

#include "tests/e2e/driver/driver.h"

namespace qx::e2e {
namespace {

void Send(std::vector<INPUT> inputs) {
  const UINT sent = ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent != inputs.size()) throw DriverError(L"SendInput refused the input");
}

INPUT Key(WORD vk, DWORD flags, WORD unicode = 0) {
  INPUT in{INPUT_KEYBOARD, {}};
  const auto scan = static_cast<WORD>(unicode ? unicode : ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki = {vk, scan, flags, 0, 0};
  return in;
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
  Await(
      [&] {
        HWND focus = FocusedControl(top);
        return ::GetForegroundWindow() == top && (focus == top || ::IsChild(top, focus));
      },
      L"the window did not come to the front");
  Settle();
}

void Click(HWND control) {
  RECT r{};
  ::GetWindowRect(control, &r);
  const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  BringToFront(::GetAncestor(control, GA_ROOT));
  Await(
      [&] {
        HWND hit = ::WindowFromPoint(at);
        return hit == control || ::IsChild(control, hit);
      },
      L"the control is covered or not shown at its centre");
  // Absolute mouse coordinates run 0..65535 across the primary screen; rounding
  // up makes the system's truncating conversion land on the very pixel. Every
  // event carries the position: under Wine a late pointer event from an
  // earlier move can put the cursor back where it was.
  const auto scale = [](LONG pixel, int metric) {
    const int extent = ::GetSystemMetrics(metric);
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + extent - 1) / extent);
  };
  const auto mouse = [x = scale(at.x, SM_CXSCREEN), y = scale(at.y, SM_CYSCREEN)](DWORD flags) {
    INPUT in{INPUT_MOUSE, {}};
    in.mi = {x, y, 0, flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0};
    return in;
  };
  // The mouse moves again until it stays there once the program has caught up.
  POINT now{};
  Await(
      [&] {
        Send({mouse(0)});
        Settle();
        return ::GetCursorPos(&now) && now.x == at.x && now.y == at.y;
      },
      L"the mouse did not arrive at the point to click");
  Send({mouse(MOUSEEVENTF_LEFTDOWN), mouse(MOUSEEVENTF_LEFTUP)});
}

void PressKey(WORD vk, WORD modifier) {
  Settle();
  if (!modifier) return Send({Key(vk, 0), Key(vk, KEYEVENTF_KEYUP)});
  Send({Key(modifier, 0), Key(vk, 0), Key(vk, KEYEVENTF_KEYUP), Key(modifier, KEYEVENTF_KEYUP)});
}

void TypeText(std::wstring_view text) {
  Settle();
  std::vector<INPUT> inputs;
  for (wchar_t ch : text) {
    inputs.insert(inputs.end(),
                  {Key(0, KEYEVENTF_UNICODE, ch), Key(0, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, ch)});
  }
  Send(inputs);
}

void GiveInput(const std::function<void()>& give, const std::function<bool()>& effect,
               const std::function<bool()>& untouched, std::wstring_view what,
               std::chrono::milliseconds timeout) {
  give();
  if (WaitUntil(effect, timeout)) return;
  if (!untouched()) throw DriverError(std::wstring(what) + L": arrived, but not as expected");
  std::fprintf(stderr, "[  AGAIN   ] %s: no effect, never arrived; given once more\n",
               Narrow(what).c_str());
  give();
  Await(effect, std::wstring(what) + L": lost twice", timeout);
}

}  // namespace qx::e2e
