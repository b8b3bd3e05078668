#include "app/win32/more_window.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>  // needs windows.h first
#include <commdlg.h>
// clang-format on

#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "app/win32/program_file.h"
#include "common/failure.h"
#include "runtime/win32/last_error.h"
#include "runtime/win32/system_function.h"
#include "ui/report.h"
#include "ui/window.h"

namespace qx::win {
namespace {

constexpr wchar_t kFailure[] = L"Could not show the More Applications dialog.";
// The main window's face: headers bold as its group headers, the rest plain.
constexpr FontSpec kHeaderFont{975, true};
constexpr FontSpec kTextFont{900, false};

constexpr int kMarginTwips = 240;
constexpr int kHeaderHeightTwips = 300;
constexpr int kGroupGapTwips = 60;
constexpr int kBoxHeightTwips = 285;
constexpr int kLeftWidthTwips = 3000;
constexpr int kRightLeftTwips = kMarginTwips + kLeftWidthTwips + kMarginTwips;
constexpr int kClientWidthTwips = 9240;
constexpr int kRightWidthTwips = kClientWidthTwips - kRightLeftTwips - kMarginTwips;
constexpr int kListTopTwips = kMarginTwips + kHeaderHeightTwips;
constexpr int kListHeightTwips = 3780;
constexpr int kNoteTopTwips = kListTopTwips + kListHeightTwips + 60;
constexpr int kNoteHeightTwips = 660;
constexpr int kButtonHeightTwips = 375;
constexpr int kButtonGapTwips = 90;
constexpr int kListButtonsTopTwips = kNoteTopTwips + kNoteHeightTwips + 60;
constexpr int kAddWidthTwips = 1650;
constexpr int kRemoveWidthTwips = 1125;
constexpr int kClientHeightTwips = 6660;
constexpr int kOkCancelTopTwips = kClientHeightTwips - kMarginTwips - kButtonHeightTwips;
constexpr int kOkCancelWidthTwips = 1125;
constexpr int kCancelLeftTwips = kClientWidthTwips - kMarginTwips - kOkCancelWidthTwips;
constexpr int kOkLeftTwips = kCancelLeftTwips - kButtonGapTwips - kOkCancelWidthTwips;
// The list's columns, in parts of its width: name, file name, what it stops.
constexpr int kColumnShares[] = {35, 27, 38};
constexpr UINT kSizeColumns = WM_APP + 1;
constexpr const wchar_t* kColumnTitles[] = {L"Program", L"File name", L"Renamed copies"};

// Every control, in tab order: the groups with their boxes down the left, the
// list of added programs with its buttons on the right, then OK and Cancel.
std::vector<ControlSpec> MoreControls() {
  std::vector<ControlSpec> c;
  int top = kMarginTwips - 60;
  // clang-format off
  for (std::size_t h = 0; h < kMoreGroupCount; ++h) {
    c.push_back({L"STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, kMoreGroupHeaders[h].caption,
                 MoreHeaderId(h), {kMarginTwips, top, kLeftWidthTwips, kHeaderHeightTwips},
                 kHeaderFont});
    top += kHeaderHeightTwips;
    for (std::size_t i = 0; i < kCommonCount; ++i) {
      if (kCommonPrograms[i].group != kMoreGroupHeaders[h].group) continue;
      c.push_back({L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, kCommonPrograms[i].caption,
                   MoreBoxId(i), {kMarginTwips + 120, top, kLeftWidthTwips - 120, kBoxHeightTwips},
                   kTextFont});
      top += kBoxHeightTwips;
    }
    top += kGroupGapTwips;
  }
  // clang-format on
  // clang-format off
  const ControlSpec right[] = {
      {L"STATIC", SS_LEFT, L"Other &programs:", kMoreListLabelId, {kRightLeftTwips, kMarginTwips - 60, kRightWidthTwips, kHeaderHeightTwips}, kHeaderFont},
      {WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP, L"", kMoreListId, {kRightLeftTwips, kListTopTwips, kRightWidthTwips, kListHeightTwips}, kTextFont, WS_EX_CLIENTEDGE},
      {L"STATIC", SS_LEFT, L"Ticked programs are blocked. A program with no version information, or built on a runtime that many programs share, is known by its file name only: a renamed copy of it is not recognised.", kMoreNoteId, {kRightLeftTwips, kNoteTopTwips, kRightWidthTwips, kNoteHeightTwips}, kTextFont},
      {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, L"&Add Program...", kMoreAddId, {kRightLeftTwips, kListButtonsTopTwips, kAddWidthTwips, kButtonHeightTwips}, kTextFont},
      {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, L"Add by &Name...", kMoreAddNameId, {kRightLeftTwips + kAddWidthTwips + kButtonGapTwips, kListButtonsTopTwips, kAddWidthTwips, kButtonHeightTwips}, kTextFont},
      {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, L"&Remove", kMoreRemoveId, {kRightLeftTwips + kRightWidthTwips - kRemoveWidthTwips, kListButtonsTopTwips, kRemoveWidthTwips, kButtonHeightTwips}, kTextFont},
      {L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, L"OK", IDOK, {kOkLeftTwips, kOkCancelTopTwips, kOkCancelWidthTwips, kButtonHeightTwips}, kTextFont},
      {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, L"Cancel", IDCANCEL, {kCancelLeftTwips, kOkCancelTopTwips, kOkCancelWidthTwips, kButtonHeightTwips}, kTextFont},
  };
  // clang-format on
  c.insert(c.end(), std::begin(right), std::end(right));
  return c;
}

// The system's Open dialog, filtered to programs; nothing when cancelled.
std::optional<std::wstring> AskForProgram(HWND owner) {
  static constexpr wchar_t kFilter[] = L"Programs (*.exe)\0*.exe\0All files (*.*)\0*.*\0";
  std::wstring path(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = path.data();
  ofn.nMaxFile = static_cast<DWORD>(path.size());
  ofn.lpstrTitle = L"Add Program";
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
              OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
  // The common dialogs, and the shell they bring, only once a program is browsed for.
  static const auto open =
      SystemFunction<decltype(GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
  static const auto error_of =
      SystemFunction<decltype(CommDlgExtendedError)>(L"comdlg32.dll", "CommDlgExtendedError");
  if (!open || !error_of) ThrowLastError(L"Could not show the Open dialog.");
  if (!open(&ofn)) {
    if (const DWORD error = error_of()) {
      throw Failure(L"Could not show the Open dialog.",
                    L"The system reported error " + std::to_wstring(error) + L".");
    }
    return std::nullopt;
  }
  path.resize(wcsnlen(path.c_str(), path.size()));
  return path;
}

class MoreWindow final : public Window {
 public:
  MoreWindow(HINSTANCE instance, Runtime& rt, const MoreChoices& choices,
             const std::vector<ControlSpec>& controls)
      : Window(instance, rt.dialogs,
               {.style = DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                .ex_style = WS_EX_DLGMODALFRAME,
                .client_width_twips = kClientWidthTwips,
                .client_height_twips = kClientHeightTwips,
                .controls = controls,
                .create_failure = kFailure,
                .controls_failure = kFailure}),
        rt_(rt),
        working_(choices) {}

  // The choices as OK left them, or nothing on Cancel.
  std::optional<MoreChoices> Run(HWND owner) {
    if (RunModal(owner, kMoreTitle) != IDOK) return std::nullopt;
    return working_;
  }

 private:
  void OnCreate() override {
    HWND list = Control(kMoreListId);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    for (int n = 0; n < static_cast<int>(std::size(kColumnTitles)); ++n) {
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT;
      column.pszText = const_cast<wchar_t*>(kColumnTitles[n]);
      ListView_InsertColumn(list, n, &column);
    }
    SizeColumns();
    ShowChoices();
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(MoreBoxId(0))), TRUE);
  }

  // The columns share the list's width, again whenever the DPI resizes it.
  void SizeColumns() {
    HWND list = Control(kMoreListId);
    RECT area{};
    GetClientRect(list, &area);
    const int width = area.right - GetSystemMetricsForDpi(SM_CXVSCROLL, static_cast<UINT>(dpi()));
    for (int n = 0; n < static_cast<int>(std::size(kColumnShares)); ++n) {
      ListView_SetColumnWidth(list, n, width * kColumnShares[n] / 100);
    }
  }

  void ShowChoices(int select = -1) {
    for (std::size_t i = 0; i < kCommonCount; ++i) {
      CheckDlgButton(hwnd(), MoreBoxId(i), working_.common[i] ? BST_CHECKED : BST_UNCHECKED);
    }
    HWND list = Control(kMoreListId);
    filling_ = true;
    ListView_DeleteAllItems(list);
    for (std::size_t n = 0; n < working_.added.size(); ++n) {
      const AddedProgram& p = working_.added[n].program;
      std::wstring cells[] = {p.caption, p.file_name,
                              p.original_name.empty() ? L"not recognised" : L"stopped too"};
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(n);
      item.pszText = cells[0].data();
      const int at = ListView_InsertItem(list, &item);
      for (int k = 1; k < 3; ++k) ListView_SetItemText(list, at, k, cells[k].data());
      ListView_SetCheckState(list, at, working_.added[n].ticked);
    }
    if (select >= 0) {
      ListView_SetItemState(list, select, LVIS_SELECTED | LVIS_FOCUSED,
                            LVIS_SELECTED | LVIS_FOCUSED);
      ListView_EnsureVisible(list, select, FALSE);
    }
    filling_ = false;
    EnableRemove();
  }

  void EnableRemove() {
    const bool selected = ListView_GetNextItem(Control(kMoreListId), -1, LVNI_SELECTED) >= 0;
    HWND remove = Control(kMoreRemoveId);
    if (!selected && GetFocus() == remove) {
      SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(kMoreListId)), TRUE);
    }
    EnableWindow(remove, selected);
  }

  void Add(const ProgramFile& file) {
    if (const auto refusal = AddProgram(working_, file)) {
      rt_.dialogs.MsgBox(*refusal, vbExclamation, kMoreTitle);
      return;
    }
    ShowChoices(static_cast<int>(working_.added.size()) - 1);
  }

  void AddFromFile() {
    if (const auto path = AskForProgram(hwnd())) Add(ReadProgramFile(rt_, *path));
  }

  void AddByName() {
    const std::wstring typed = rt_.dialogs.InputBox(
        L"Type the file name of the program to block, such as Fortnite.exe. Use this for "
        L"programs you cannot browse to, such as those installed in the child's own profile.",
        L"Add by Name", L"");
    if (typed.empty()) return;
    if (const auto file = TypedProgram(typed)) return Add(*file);
    rt_.dialogs.MsgBox(TypedNameRefusal(typed), vbExclamation, kMoreTitle);
  }

  void Remove() {
    const int at = ListView_GetNextItem(Control(kMoreListId), -1, LVNI_SELECTED);
    if (at < 0) return;
    working_.added.erase(working_.added.begin() + at);
    const int count = static_cast<int>(working_.added.size());
    ShowChoices(count == 0 ? -1 : std::min(at, count - 1));
  }

  void OnCommand(int id, int code) override {
    for (std::size_t i = 0; i < kCommonCount; ++i) {
      if (id == MoreBoxId(i) && code == BN_CLICKED) {
        working_.common[i] = IsDlgButtonChecked(hwnd(), id) == BST_CHECKED;
      }
    }
    for (std::size_t h = 0; h < kMoreGroupCount; ++h) {
      // A quick second click arrives as a double click; it is still a click.
      if (id == MoreHeaderId(h) && (code == STN_CLICKED || code == STN_DBLCLK)) {
        ToggleGroup(working_, kMoreGroupHeaders[h].group);
        ShowChoices();
      }
    }
    switch (id) {
      case kMoreAddId:
        return AddFromFile();
      case kMoreAddNameId:
        return AddByName();
      case kMoreRemoveId:
        return Remove();
      case IDOK:
      case IDCANCEL:
        EndDialog(hwnd(), id);
        return;
    }
  }

  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wparam, LPARAM lparam) override {
    if (msg == WM_NOTIFY) {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->idFrom != kMoreListId || header->code != LVN_ITEMCHANGED || filling_) {
        return std::nullopt;
      }
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(lparam);
      const auto at = static_cast<std::size_t>(change->iItem);
      if ((change->uChanged & LVIF_STATE) && at < working_.added.size()) {
        working_.added[at].ticked = ListView_GetCheckState(header->hwndFrom, change->iItem) != 0;
        EnableRemove();
      }
      return 0;
    }
    // The base resizes the dialog before its controls: the columns follow
    // once the list has its new size.
    if (msg == WM_SIZE) {
      PostMessageW(hwnd(), kSizeColumns, 0, 0);
      return std::nullopt;
    }
    if (msg == kSizeColumns) {
      SizeColumns();
      return 0;
    }
    if (msg != WM_CTLCOLORDLG && msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) {
      return std::nullopt;
    }
    HDC dc = reinterpret_cast<HDC>(wparam);
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  }

  Runtime& rt_;
  MoreChoices working_;
  bool filling_ = false;  // the list is being refilled: its changes are ours
};

}  // namespace

void RunMoreDialog(HINSTANCE instance, Runtime& rt, HWND owner, MoreChoices& choices) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  const std::vector<ControlSpec> table = MoreControls();
  MoreWindow dialog(instance, rt, choices, table);
  if (auto kept = dialog.Run(owner)) choices = std::move(*kept);
}

}  // namespace qx::win
