#pragma once
// Whether a typed password is the one stored in the blocker: both as bytes of
// the ANSI code page the configurator encrypted in.
#include <optional>
#include <string>
#include <string_view>

namespace qx::blocker {

// `typed`: the typed text in the ANSI code page, nothing when some character
// has no code there (such a password could never have been set).
bool PasswordMatches(std::string_view encrypted, const std::optional<std::string>& typed);

}  // namespace qx::blocker
