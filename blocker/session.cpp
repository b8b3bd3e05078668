#include "blocker/session.h"

#include <algorithm>
#include <utility>

#include "cipher/text_cipher.h"
#include "common/failure.h"

namespace qx::blocker {
namespace {

// What still holds after each kind of failure, in Duty's order.
constexpr const wchar_t* kStillHolds[kDuties] = {
    L"\n\nBlocking goes on, but other programs can end it.",
    L"\n\nBlocking goes on: it protected itself a moment later.",
    L"\n\nBlocking goes on until you log off.",
    L"",
    L"\n\nPrograms are still stopped when their windows appear.",
    L"",
};

}  // namespace

std::chrono::seconds DelayAfterFailures(int failures) {
  if (failures <= 0) return std::chrono::seconds(0);
  if (failures > 6) return std::chrono::seconds(60);  // 2^6 = 64 is past the cap
  return std::chrono::seconds(1LL << (failures - 1));
}

bool PasswordMatches(std::string_view encrypted, const std::optional<std::string>& typed) {
  return typed && !encrypted.empty() && DecryptText(kCipherKey, encrypted) == *typed;
}

bool AccountCanChange(std::uint32_t file_rights, std::uint32_t folder_rights) {
  using namespace rights;
  constexpr std::uint32_t kTakeOver = kWriteDac | kWriteOwner;
  return (file_rights & (kWriteData | kAppendData | kDelete | kTakeOver)) ||
         (folder_rights & (kDeleteChild | kTakeOver));
}

StopReply Session::Answer(const std::string& typed, Millis now, const LocalTime& when,
                          SessionHost& host) {
  if (now < next_attempt_) {
    return {StopAnswer::Wait, static_cast<int>((next_attempt_ - now + 999) / 1000)};
  }
  if (encrypted_password_.empty() || PasswordMatches(encrypted_password_, typed)) {
    host.StopWatches();
    try {
      host.RemoveLogonValues();
    } catch (const Failure& f) {
      still_at_logon_ = f.Message();
    }
    stopping_ = true;
    host.Log(LogLine(when, L"Stopped with the password", L""));
    return {StopAnswer::Stopped, 0};
  }
  const auto delay = DelayAfterFailures(++failures_);
  next_attempt_ = now + static_cast<Millis>(delay.count()) * 1000;
  host.Log(WrongPasswordLine(when, failures_));
  return {StopAnswer::Wrong, static_cast<int>(delay.count())};
}

std::optional<Millis> Session::CheckSoon(Millis now) {
  if (std::exchange(soon_pending_, true)) return std::nullopt;
  const Millis since = now - last_check_;
  return kSoonMs - std::min(since, kSoonMs);
}

std::optional<std::wstring> Session::FirstFailure(Duty duty, const std::wstring& reason) {
  const auto i = static_cast<std::size_t>(duty);
  if (std::exchange(said_[i], true)) return std::nullopt;
  return reason + kStillHolds[i];
}

}  // namespace qx::blocker
