#pragma once
// Every platform interface at once, scripted: dialogs answer from queues, and
// every box, input and program start is kept as one line of text.
#include <algorithm>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace qx::test {

template <typename T>
T Pop(std::deque<T>& queue, T none) {
  if (queue.empty()) return none;
  T front = queue.front();
  queue.pop_front();
  return front;
}

// Bytes that are there, but every read of them fails.
struct FailingSource : MemorySource {
  using MemorySource::MemorySource;
  bool Read(std::uint64_t, std::size_t, char*) const override { return false; }
};

struct FakeRuntime : Dialogs, Processes, Files, Registry, AnsiCodec {
  std::deque<int> answers;           // per MsgBox; vbOK when empty
  std::deque<std::wstring> entries;  // per InputBox; "" (Cancel) when empty
  std::vector<std::wstring> boxes;   // "prompt|style|title"; title "-": the application's
  std::vector<std::wstring> inputs;  // "prompt|title|default"
  std::vector<std::wstring> calls;   // "shell(style) line", "start(style) path", "open path"
  bool fail_start = false;           // Shell and StartExact throw Failure
  std::map<std::wstring, std::string> files;  // path -> contents
  std::optional<std::wstring> fail_write;     // the reason of a scripted write failure
  std::wstring unreadable;                    // a file whose reads fail
  // Below HKEY_LOCAL_MACHINE: (key, name) -> (type, data).
  std::map<std::pair<std::string, std::string>, std::pair<std::uint32_t, std::vector<std::uint8_t>>>
      registry;
  std::size_t reads = 0;
  AppFacts app{L"C:\\Program Files\\Quellanix"};
  Runtime rt{*this, *this, *this, *this, *this, app};

  int MsgBox(std::wstring_view prompt, int style, std::optional<std::wstring_view> title) override {
    boxes.push_back(std::wstring(prompt) + L"|" + std::to_wstring(style) + L"|" +
                    std::wstring(title.value_or(L"-")));
    return Pop(answers, vbOK);
  }
  std::wstring InputBox(std::wstring_view prompt, std::wstring_view title,
                        std::wstring_view default_text) override {
    inputs.push_back(std::wstring(prompt) + L"|" + std::wstring(title) + L"|" +
                     std::wstring(default_text));
    return Pop(entries, std::wstring());
  }

  void Shell(std::wstring_view line, int style) override { Start(L"shell(", line, style); }
  void StartExact(std::wstring_view path, int style) override { Start(L"start(", path, style); }
  void OpenDocument(std::wstring_view p) override { calls.push_back(L"open " + std::wstring(p)); }
  void Start(const wchar_t* how, std::wstring_view what, int style) {
    if (fail_start) throw Failure(L"Could not start a program.", L"scripted failure");
    calls.push_back(how + std::to_wstring(style) + L") " + std::wstring(what));
  }

  // All or nothing, like the real one: a failure leaves `files` unchanged.
  bool Exists(std::wstring_view path) override { return files.count(std::wstring(path)) != 0; }
  std::unique_ptr<ByteSource> OpenForReading(std::wstring_view path) override {
    const std::string& bytes = files.at(std::wstring(path));
    if (path == unreadable) return std::make_unique<FailingSource>(bytes);
    return std::make_unique<MemorySource>(bytes);
  }
  void ComposeFile(std::wstring_view source, std::wstring_view target,
                   const std::function<Composition(std::uint64_t)>& plan) override {
    const auto it = files.find(std::wstring(source));
    if (it == files.end()) throw Failure(L"Could not open.", L"The system cannot find the file.");
    const Composition c = plan(it->second.size());
    if (fail_write) throw Failure(L"Could not write " + std::wstring(target) + L".", *fail_write);
    files[std::wstring(target)] = it->second.substr(0, c.prefix_length) + c.tail;
  }

  // As the system reads: a missing value fails with 2, one over the buffer with 234.
  RegistryValue Read(std::uint32_t root, std::string_view key, std::string_view name,
                     std::size_t capacity) override {
    ++reads;
    const auto it = registry.find({std::string(key), std::string(name)});
    if (root != 0x80000002u || it == registry.end()) return {2, 0, {}};  // HKEY_LOCAL_MACHINE
    if (it->second.second.size() > capacity) return {234, it->second.first, {}};
    return {0, it->second.first, it->second.second};
  }

  // Windows-1252-like: code points below 256 map to themselves.
  std::optional<std::string> ToAnsi(std::wstring_view text) const override {
    if (std::ranges::any_of(text, [](wchar_t c) { return c > 0xFF; })) return std::nullopt;
    return std::string(text.begin(), text.end());
  }
  std::wstring FromAnsi(std::string_view bytes) const override {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    return std::wstring(data, data + bytes.size());
  }
};

}  // namespace qx::test
