#include "tests/support/fake_runtime.h"

namespace qx::test {

int FakeDialogs::MsgBox(std::wstring_view prompt, int style,
                        std::optional<std::wstring_view> title) {
  boxes.push_back({std::wstring(prompt), style,
                   title ? std::optional<std::wstring>(std::wstring(*title)) : std::nullopt});
  if (msgbox_answers.empty()) return vbOK;
  const int answer = msgbox_answers.front();
  msgbox_answers.pop_front();
  return answer;
}

std::wstring FakeDialogs::InputBox(std::wstring_view prompt, std::wstring_view title,
                                   std::wstring_view default_text) {
  inputs.push_back({std::wstring(prompt), std::wstring(title), std::wstring(default_text)});
  if (input_answers.empty()) return {};
  std::wstring answer = input_answers.front();
  input_answers.pop_front();
  return answer;
}

void FakeProcesses::Shell(std::wstring_view command_line, int) {
  if (fail_start) throw Failure(L"Could not start a program.", L"scripted failure");
  shell_calls.emplace_back(command_line);
}

void FakeProcesses::StartExact(std::wstring_view program, int) {
  if (fail_start) throw Failure(L"Could not start a program.", L"scripted failure");
  started_exact.emplace_back(program);
}

void FakeProcesses::OpenDocument(std::wstring_view path) { opened_documents.emplace_back(path); }

void FakeFiles::ComposeFile(std::wstring_view source, std::wstring_view target,
                            const std::function<Composition(std::uint64_t)>& plan) {
  const auto it = files.find(std::wstring(source));
  if (it == files.end()) {
    throw Failure(L"Could not open \"" + std::wstring(source) + L"\".",
                  L"The system cannot find the file specified.");
  }
  const Composition c = plan(it->second.size());
  if (c.prefix_length > it->second.size()) {
    throw Failure(L"Could not copy \"" + std::wstring(source) + L"\".", L"The file is shorter.");
  }
  if (fail_write) throw Failure(L"Could not write \"" + std::wstring(target) + L"\".", *fail_write);
  files[std::wstring(target)] = it->second.substr(0, c.prefix_length) + c.tail;
}

std::optional<std::string> Latin1Codec::ToAnsi(std::wstring_view text) const {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (static_cast<unsigned long>(c) > 0xFF) return std::nullopt;
    out.push_back(static_cast<char>(static_cast<unsigned char>(c)));
  }
  return out;
}

std::wstring Latin1Codec::FromAnsi(std::string_view bytes) const {
  std::wstring out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace qx::test
