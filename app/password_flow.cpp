#include <string>

#include "app/cipher.h"
#include "app/frm_main.h"

namespace qx {

namespace {
constexpr wchar_t kRequestPrompt[] =
    L"Please enter a password that can be used to disable Quellanix";
constexpr wchar_t kRequestTitle[] = L"Password Request";
constexpr wchar_t kChangeTitle[] = L"Password Change";
constexpr wchar_t kSetText[] = L"Password has been set and encrypted.";
constexpr wchar_t kSetTitle[] = L"Password Set";
constexpr wchar_t kNoneText[] = L"No Password has been set";
constexpr wchar_t kNoneTitle[] = L"No Password";
constexpr wchar_t kUnusableText[] =
    L"This password contains characters that the system's ANSI code page cannot represent, "
    L"so it could not be typed back to disable the blocker.\n\n"
    L"Nothing has been changed. Please choose a password without those characters.";
constexpr wchar_t kUnusableTitle[] = L"Password Not Set";
}  // namespace

void frmMain::SetPassword() {
  const std::wstring previous = values_.PlainPassword;
  const std::wstring entry = rt_.dialogs.InputBox(kRequestPrompt, kRequestTitle);

  // Refuse before asking anything else: substituted characters would give a
  // password nobody can type back.
  if (!entry.empty() && !rt_.ansi.ToAnsi(entry)) {
    rt_.dialogs.MsgBox(kUnusableText, vbCritical, kUnusableTitle);
    return;
  }

  if (!previous.empty() && entry != previous) {
    const std::wstring question = L"You have requested to change the password from " + previous +
                                  L" to " + entry + L". Do you wish to continue?";
    if (rt_.dialogs.MsgBox(question, vbYesNo, kChangeTitle) == vbNo) return;
  }

  if (entry.empty()) {
    // A removed password must not live on in the cipher text a compile writes.
    values_.PlainPassword.clear();
    values_.EncryptedPassword.clear();
    rt_.dialogs.MsgBox(kNoneText, vbCritical, kNoneTitle);
    return;
  }

  values_.PlainPassword = entry;
  try {
    cipher(values_, rt_.ansi).Encrypt();
  } catch (...) {
    // Keep the password and its cipher text in step.
    values_.PlainPassword = previous;
    throw;
  }
  rt_.dialogs.MsgBox(kSetText, vbOKOnly, kSetTitle);
}

}  // namespace qx
