#include "builder/prop_bag.h"

#include <string>

#include "app/names.h"
#include "builder/bag_format.h"
#include "builder/blocker_image.h"
#include "builder/property_bag.h"
#include "builder/title_rules.h"

namespace qx {

void PropBag::BuildBlocker() {
  const std::wstring& folder = rt_.app.Path;
  const std::wstring blocker = folder + L"\\" + values_.ProgramTitle + kExeSuffix;
  // Refused before anything is read or written.
  if (auto problem = TitleProblem(folder, values_.ProgramTitle)) {
    throw Failure(L"Could not compile \"" + blocker + L"\".", *problem);
  }

  PropertyBag bag;
  for (std::size_t i : BagOrder()) bag.WriteProperty(kCatalogue[i].bag_key, values_.block[i]);
  const auto password = rt_.ansi.ToAnsi(values_.EncryptedPassword);
  if (!password) {
    throw Failure(L"Could not compile \"" + blocker + L"\".",
                  L"The encrypted password holds characters outside the ANSI code page.");
  }
  bag.WriteProperty(bag::kPasswordKey, *password);
  const std::string contents = bag.Contents();

  const std::wstring template_path = folder + L"\\" + kTemplateFileName;
  rt_.files.ComposeFile(template_path, blocker, [&](std::uint64_t length) {
    try {
      BlockerTail tail = PlanBlocker(length, contents);
      return Composition{tail.template_prefix, std::move(tail.bytes)};
    } catch (const Failure& f) {
      throw Failure(L"Could not use the blocker template \"" + template_path + L"\".", f.reason());
    }
  });
}

}  // namespace qx
