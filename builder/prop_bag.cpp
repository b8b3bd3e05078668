#include "builder/prop_bag.h"

#include <optional>
#include <string>

#include "builder/title_rules.h"
#include "format/blocker_writer.h"
#include "format/settings_reader.h"

namespace qx {
namespace {

// A compile replaces only an older blocker: a file of that name in which no
// settings are found belongs to another program, and stays as it is.
std::optional<std::wstring> ExistingFileProblem(Files& files, const std::wstring& blocker) {
  if (!files.Exists(blocker)) return std::nullopt;
  const SettingsResult existing = ReadSettings(*files.OpenForReading(blocker));
  if (existing.fault == SettingsFault::Unreadable) {
    return L"A file of that name is already there, and reading it failed (" +
           std::wstring(existing.reason.begin(), existing.reason.end()) + L").";
  }
  if (!existing.no_settings()) return std::nullopt;
  return std::wstring(
      L"A file of that name is already there and it is not a blocker, so it may belong to "
      L"another program: it was left as it was. Please compile again and enter another name.");
}

}  // namespace

void PropBag::BuildBlocker() {
  const std::wstring& folder = rt_.app.Path;
  const std::wstring blocker = folder + L"\\" + std::wstring(program_title_) + kExeSuffix;
  const std::wstring refused = L"Could not compile \"" + blocker + L"\".";
  // Refused before anything is written; the title before a file of its name is read.
  auto problem = TitleProblem(folder, program_title_);
  if (!problem) problem = ExistingFileProblem(rt_.files, blocker);
  if (problem) throw Failure(refused, *problem);

  BlockerSettings settings;
  for (std::size_t i = 0; i < kEntryCount; ++i) settings.block[i] = block_[i] != 0;
  auto password = rt_.ansi.ToAnsi(encrypted_password_);
  if (!password) {
    throw Failure(refused, L"The encrypted password holds characters outside the ANSI code page.");
  }
  settings.encrypted_password = std::move(*password);
  settings.more = more_;

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
