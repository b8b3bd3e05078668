#include "builder/prop_bag.h"

#include <string>

#include "builder/title_rules.h"
#include "format/blocker_writer.h"

namespace qx {

void PropBag::BuildBlocker() {
  const std::wstring& folder = rt_.app.Path;
  const std::wstring blocker = folder + L"\\" + std::wstring(program_title_) + kExeSuffix;
  // Refused before anything is read or written.
  if (auto problem = TitleProblem(folder, program_title_)) {
    throw Failure(L"Could not compile \"" + blocker + L"\".", *problem);
  }

  BlockerSettings settings;
  for (std::size_t i = 0; i < kEntryCount; ++i) settings.block[i] = block_[i] != 0;
  auto password = rt_.ansi.ToAnsi(encrypted_password_);
  if (!password) {
    throw Failure(L"Could not compile \"" + blocker + L"\".",
                  L"The encrypted password holds characters outside the ANSI code page.");
  }
  settings.encrypted_password = std::move(*password);

  const std::wstring template_path = folder + L"\\" + kTemplateFileName;
  rt_.files.ComposeFile(template_path, blocker, [&](std::uint64_t length) {
    try {
      BlockerTail tail = PlanBlocker(length, settings);
      return Composition{tail.template_prefix, std::move(tail.bytes)};
    } catch (const Failure& f) {
      throw Failure(L"Could not use the blocker template \"" + template_path + L"\".", f.reason());
    }
  });
}

}  // namespace qx
