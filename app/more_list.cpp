#include "app/more_list.h"

#include <algorithm>

#include "common/path_parts.h"
#include "common/text.h"

namespace qx {
namespace {

constexpr wchar_t kExe[] = L".exe";

std::wstring Trimmed(std::wstring_view text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  return std::wstring(text.substr(first, text.find_last_not_of(L" \t") - first + 1));
}

std::wstring Shown(const AddedProgram& p) {
  return p.caption == p.file_name ? p.caption : p.caption + L" (" + p.file_name + L")";
}

std::wstring RefusalText(Refusal refusal, const std::wstring& name) {
  switch (refusal) {
    case Refusal::GenericHost:
      return name +
             L" runs many different programs, so blocking it would stop more than you "
             L"chose. Add the program itself instead.";
    case Refusal::Windows:
      return name +
             L" is part of Windows: stopping it would break the child's desktop, so "
             L"Quellanix does not block it.";
    case Refusal::Quellanix:
      return name +
             L" is Quellanix, its blocker template or a blocker compiled with it, which "
             L"cannot block itself.";
    case Refusal::None:
      break;
  }
  return {};
}

}  // namespace

MoreSettings MoreChoices::Chosen() const {
  MoreSettings out;
  for (std::size_t i = 0; i < kCommonCount; ++i) {
    if (common[i]) out.common.push_back(i);
  }
  for (const ListedProgram& p : added) {
    if (p.ticked) out.added.push_back(p.program);
  }
  return out;
}

std::optional<std::wstring> AddProgram(MoreChoices& choices, const ProgramFile& file) {
  if (!file.is_program) {
    return L"\"" + file.file_name +
           L"\" is not a Windows program, so it cannot be blocked. Choose a program file (.exe).";
  }
  AddedProgram p{Trimmed(file.description), file.file_name,
                 IsGenericOriginal(file.original) ? std::wstring() : Trimmed(file.original)};
  if (p.caption.empty()) p.caption = Trimmed(file.product);
  if (p.caption.empty()) p.caption = file.file_name;
  if (const Refusal r = RefusalOf(p.file_name, file.original); r != Refusal::None) {
    return RefusalText(r, Shown(p));
  }
  for (const ListedProgram& listed : choices.added) {
    const AddedProgram& q = listed.program;
    if (EqualsIgnoringAsciiCase(q.file_name, p.file_name) ||
        (!p.original_name.empty() && EqualsIgnoringAsciiCase(q.original_name, p.original_name))) {
      return Shown(q) + L" is already in the list.";
    }
  }
  if (choices.added.size() >= kMaxAddedPrograms) {
    return L"The list already holds " + std::to_wstring(kMaxAddedPrograms) +
           L" programs, the most a blocker can check. Remove one to add another.";
  }
  choices.added.push_back({std::move(p), true});
  return std::nullopt;
}

std::optional<ProgramFile> TypedProgram(std::wstring_view typed) {
  std::wstring name = Trimmed(typed);
  if (name.find_first_of(L"\\/:*?\"<>|") != std::wstring::npos ||
      std::any_of(name.begin(), name.end(), [](wchar_t c) { return c < 0x20; })) {
    return std::nullopt;
  }
  if (name.find(L'.') == std::wstring::npos) name += kExe;
  const std::wstring_view ext(kExe);
  if (name.size() <= ext.size() ||
      !EqualsIgnoringAsciiCase(std::wstring_view(name).substr(name.size() - ext.size()), ext)) {
    return std::nullopt;
  }
  ProgramFile file;
  file.file_name = std::move(name);
  return file;
}

std::wstring TypedNameRefusal(std::wstring_view typed) {
  return L"\"" + std::wstring(typed) +
         L"\" is not a program's file name. Type the name of its file, such as Fortnite.exe, "
         L"without a folder.";
}

void ToggleGroup(MoreChoices& choices, MoreGroup group) {
  std::optional<bool> value;
  for (std::size_t i = 0; i < kCommonCount; ++i) {
    if (kCommonPrograms[i].group != group) continue;
    if (!value) value = !choices.common[i];
    choices.common[i] = *value;
  }
}

bool IsWindowsProgram(const ByteSource& file) {
  auto read = [&](std::uint64_t at, std::size_t length) {
    std::string bytes(length, '\0');
    if (at + length > file.Size() || !file.Read(at, length, bytes.data())) bytes.clear();
    return bytes;
  };
  auto number = [](const std::string& bytes, std::size_t at, std::size_t size) {
    std::uint32_t n = 0;
    for (std::size_t k = size; k-- > 0;) n = (n << 8) | static_cast<unsigned char>(bytes[at + k]);
    return n;
  };
  const std::string dos = read(0, 64);
  if (dos.size() != 64 || dos.compare(0, 2, "MZ") != 0) return false;
  // The PE signature, then the file header whose characteristics end it.
  const std::string pe = read(number(dos, 0x3C, 4), 24);
  if (pe.size() != 24 || pe.compare(0, 4, std::string("PE\0\0", 4)) != 0) return false;
  constexpr std::uint32_t kExecutable = 0x0002, kDll = 0x2000;
  const std::uint32_t characteristics = number(pe, 22, 2);
  return (characteristics & kExecutable) != 0 && (characteristics & kDll) == 0;
}

}  // namespace qx
