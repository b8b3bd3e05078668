#pragma once
// The builder: writes the compiled blocker from what the compile flow hands it.
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

#include "catalogue/catalogue.h"
#include "format/blocker_settings.h"
#include "runtime/runtime.h"

namespace qx {

// Beside the program: the template every blocker is a copy of.
inline constexpr wchar_t kTemplateFileName[] = L"quellanix.ext";
inline constexpr wchar_t kExeSuffix[] = L".exe";
// The title offered, and used when the answer is empty.
inline constexpr wchar_t kDefaultProgramTitle[] = L"Brindlecor";

class PropBag {
 public:
  // The 35 block flags in catalogue order (0 is False), the encrypted password
  // and the program title, which must outlive the builder; and the programs
  // chosen beyond the catalogue, of which none are written when none are chosen.
  PropBag(Runtime& rt, std::span<const std::int16_t, kEntryCount> block,
          std::wstring_view encrypted_password, std::wstring_view program_title,
          MoreSettings more = {})
      : rt_(rt),
        block_(block),
        encrypted_password_(encrypted_password),
        program_title_(program_title),
        more_(std::move(more)) {}

  // Writes the block flags in bag order and the encrypted password into a new
  // bag and the blocker named by the program title into the application
  // folder, replacing only an older blocker of that name. Throws Failure
  // (title refused, another program's file in the way, template unusable,
  // write failed); a failure leaves no new or partial file behind.
  void BuildBlocker();

 private:
  Runtime& rt_;
  std::span<const std::int16_t, kEntryCount> block_;
  std::wstring_view encrypted_password_;
  std::wstring_view program_title_;
  MoreSettings more_;
};

}  // namespace qx
