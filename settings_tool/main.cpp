// quellanix-inspect FILE: prints a compiled blocker's settings as JSON.
// Exit 0 with the JSON; 1 with the reason when the settings are missing or
// damaged; 2 when the file cannot be opened or the arguments are wrong.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "format/settings_json.h"
#include "format/settings_reader.h"

namespace {

class StreamSource : public qx::ByteSource {
 public:
  StreamSource(std::ifstream& in, std::uint64_t size) : in_(in), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::size_t length, char* out) const override {
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(out, static_cast<std::streamsize>(length));
    return static_cast<std::size_t>(in_.gcount()) == length;
  }

 private:
  std::ifstream& in_;
  std::uint64_t size_;
};

int Inspect(const std::filesystem::path& path) {
  std::string shown;
  for (char8_t c : path.u8string()) shown.push_back(static_cast<char>(c));
  std::ifstream in(path, std::ios::binary);
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!in || ec) {
    std::cerr << "quellanix-inspect: cannot open " << shown << "\n";
    return 2;
  }
  StreamSource source(in, size);
  const qx::SettingsResult r = qx::ReadSettings(source);
  if (!r.ok()) {
    std::cerr << "quellanix-inspect: " << shown << ": "
              << (r.no_settings() ? "no settings found: " : "damaged settings: ") << r.reason
              << "\n";
    return 1;
  }
  std::cout << qx::SettingsJson(r);
  return 0;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
  if (argc != 2) {
    std::cerr << "usage: quellanix-inspect BLOCKER.exe\n";
    return 2;
  }
  return Inspect(std::filesystem::path(argv[1]));
}
