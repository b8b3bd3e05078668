#pragma once
// Mouse and keyboard input as a person gives it: through the system input queue
// (SendInput) to whatever window is in front, never by posting messages.
#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace qx::e2e {

// Makes `top` the foreground window and waits until it is.
void BringToFront(HWND top);

// Brings the control's window to the front, waits until the control is what
// the mouse would hit at its centre, moves the mouse there and clicks.
void Click(HWND control);

// One key press (down and up) to the focused window.
void PressKey(WORD vk);

// A key combination: the modifiers go down in the given order and are held
// until the system has them, then the last key is pressed and all go up, e.g.
// Chord({VK_MENU, 'F'}) or Chord({VK_SHIFT, VK_TAB}); one key alone is a press.
void Chord(std::initializer_list<WORD> keys);

// Empties the focused edit field as a person would without modifiers: End,
// then Backspace once per character; waits until it is empty.
void ClearField(HWND edit);

// Types text as Unicode characters (KEYEVENTF_UNICODE).
void TypeText(std::wstring_view text);

}  // namespace qx::e2e
