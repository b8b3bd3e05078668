#pragma once
// Scripted stand-ins for the runtime: dialogs answer from a queue and record
// every box they were asked to show.
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/frm_main.h"
#include "runtime/runtime.h"

namespace qx::test {

struct ShownBox {
  std::wstring prompt;
  int style;
  std::optional<std::wstring> title;  // nullopt: the application title
};

struct ShownInput {
  std::wstring prompt;
  std::wstring title;
  std::wstring default_text;
};

class FakeDialogs : public Dialogs {
 public:
  std::deque<int> msgbox_answers;        // popped per MsgBox; vbOK when empty
  std::deque<std::wstring> input_answers;  // popped per InputBox; "" (Cancel) when empty
  std::vector<ShownBox> boxes;
  std::vector<ShownInput> inputs;

  int MsgBox(std::wstring_view prompt, int style,
             std::optional<std::wstring_view> title) override;
  std::wstring InputBox(std::wstring_view prompt, std::wstring_view title,
                        std::wstring_view default_text) override;
};

class FakeProcesses : public Processes {
 public:
  std::vector<std::wstring> shell_calls;
  std::vector<std::wstring> started_exact;
  std::vector<std::wstring> opened_documents;
  bool fail_start = false;  // every start throws Failure

  void Shell(std::wstring_view command_line, int window_style) override;
  void StartExact(std::wstring_view program, int window_style) override;
  void OpenDocument(std::wstring_view path) override;
};

class FakeFiles : public Files {
 public:
  std::map<std::wstring, std::string> files;  // path -> contents
  bool Exists(std::wstring_view path) override { return files.count(std::wstring(path)) != 0; }

  // In memory, all or nothing: a missing source, a refusing plan or a scripted
  // write failure leaves `files` unchanged.
  std::optional<std::wstring> fail_write;  // reason of a scripted write failure
  void ComposeFile(std::wstring_view source, std::wstring_view target,
                   const std::function<Composition(std::uint64_t)>& plan) override;
};

// Values by root, key and value name, read the way the system reads them: a
// missing one fails with 2, one larger than the buffer with 234.
class FakeRegistry : public Registry {
 public:
  struct Stored {
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };
  std::map<std::tuple<std::uint32_t, std::string, std::string>, Stored> values;
  std::vector<std::pair<std::string, std::string>> reads;  // key, value name

  void Set(std::string key, std::string name, std::uint32_t type, std::vector<std::uint8_t> data) {
    values[{kHKeyLocalMachine, std::move(key), std::move(name)}] = {type, std::move(data)};
  }
  RegistryValue Read(std::uint32_t root, std::string_view key, std::string_view value,
                     std::size_t capacity) override {
    reads.emplace_back(key, value);
    const auto it = values.find({root, std::string(key), std::string(value)});
    if (it == values.end()) return {2, 0, {}};
    if (it->second.data.size() > capacity) return {234, it->second.type, {}};
    return {0, it->second.type, it->second.data};
  }
};

// Windows-1252-like stand-in: code points below 256 map to themselves.
class Latin1Codec : public AnsiCodec {
 public:
  std::optional<std::string> ToAnsi(std::wstring_view text) const override;
  std::wstring FromAnsi(std::string_view bytes) const override;
};

class FakeView : public MainView {
 public:
  std::array<int, kEntryCount> values{};
  int about_shown = 0;
  int ended = 0;

  int Value(std::size_t i) const override { return values.at(i); }
  void SetValue(std::size_t i, int v) override { values.at(i) = v; }
  void ShowAbout() override { ++about_shown; }
  void EndProgram() override { ++ended; }
};

// One bundle of stand-ins with the application folder set.
struct FakeRuntime {
  FakeDialogs dialogs;
  FakeProcesses processes;
  FakeFiles files;
  FakeRegistry registry;
  Latin1Codec ansi;
  AppFacts app{L"C:\\Program Files\\Quellanix"};
  Runtime rt{dialogs, processes, files, registry, ansi, app};
};

}  // namespace qx::test
