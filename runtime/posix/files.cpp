#include "runtime/posix/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "common/failure.h"
#include "common/utf8.h"

namespace qx::posix {
namespace {

constexpr std::size_t kChunk = 1 << 20;

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }
std::wstring Quoted(std::wstring_view path) { return L"\"" + std::wstring(path) + L"\""; }

[[noreturn]] void Throw(std::wstring operation, int error) {
  throw Failure(std::move(operation),
                Widen(std::strerror(error)) + L". (errno " + std::to_wstring(error) + L")");
}

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { Close(); }
  int get() const { return fd_; }
  int Close() {
    const int r = fd_ >= 0 ? ::close(fd_) : 0;
    fd_ = -1;
    return r;
  }
  void Release() { fd_ = -1; }
  void Reset(int fd) {
    Close();
    fd_ = fd;
  }

 private:
  int fd_;
};

// A temporary file beside the target, removed unless it was moved into place.
class TempFile {
 public:
  TempFile(const std::string& target, std::wstring_view shown) {
    const std::size_t slash = target.find_last_of('/');
    folder_ = slash == std::string::npos ? "." : target.substr(0, slash);
    path_ = folder_ + "/.~qxXXXXXX";
    fd_.Reset(::mkstemp(path_.data()));
    if (fd_.get() < 0) Throw(L"Could not write " + Quoted(shown) + L".", errno);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    fd_.Close();
    if (!kept_) ::unlink(path_.c_str());
  }
  int fd() const { return fd_.get(); }
  int Close() { return fd_.Close(); }
  const std::string& path() const { return path_; }
  const std::string& folder() const { return folder_; }
  void Kept() { kept_ = true; }

 private:
  std::string folder_;
  std::string path_;
  Fd fd_;
  bool kept_ = false;
};

void WriteAll(int fd, const char* data, std::size_t size, std::wstring_view shown) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, std::min(size, kChunk));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Throw(L"Could not write " + Quoted(shown) + L".", n < 0 ? errno : EIO);
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

// In-kernel copy where the system has one, plain reads and writes otherwise.
void CopyPrefix(int in, int out, std::uint64_t length, std::wstring_view source,
                std::wstring_view target) {
#ifdef __linux__
  // In slices, starting the write-back of each one, so that the final flush
  // finds most of the file already on its way to the disk.
  constexpr std::uint64_t kSlice = 32u << 20;
  off_t written = 0;
  while (length > 0) {
    const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr,
                                        static_cast<std::size_t>(std::min(length, kSlice)), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // unsupported here, or the source ended: finish the plain way
    ::sync_file_range(out, written, n, SYNC_FILE_RANGE_WRITE);
    written += n;
    length -= static_cast<std::uint64_t>(n);
  }
#endif
  std::vector<char> buffer(std::min<std::uint64_t>(length, kChunk));
  while (length > 0) {
    const ssize_t n = ::read(in, buffer.data(), std::min<std::uint64_t>(length, buffer.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Throw(L"Could not read " + Quoted(source) + L".", errno);
    if (n == 0) {
      throw Failure(L"Could not read " + Quoted(source) + L".",
                    L"The file ended before its expected length.");
    }
    WriteAll(out, buffer.data(), static_cast<std::size_t>(n), target);
    length -= static_cast<std::uint64_t>(n);
  }
}

// Reads at an offset (pread), so reads need no order and Read can stay const.
class PreadSource : public ByteSource {
 public:
  PreadSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::size_t length, char* out) const override {
    while (length > 0) {
      const ssize_t n =
          ::pread(fd_.get(), out, std::min(length, kChunk), static_cast<off_t>(offset));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      offset += static_cast<std::uint64_t>(n);
      out += n;
      length -= static_cast<std::size_t>(n);
    }
    return true;
  }

 private:
  Fd fd_;
  std::uint64_t size_;
};

}  // namespace

std::string NativePath(std::wstring_view path) {
  std::string out;
  AppendUtf8(out, path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

bool PosixFiles::Exists(std::wstring_view path) {
  struct stat st {};
  return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::unique_ptr<ByteSource> PosixFiles::OpenForReading(std::wstring_view path) {
  Fd in(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  if (in.get() < 0 || ::fstat(in.get(), &st) != 0) {
    Throw(L"Could not read " + Quoted(path) + L".", errno);
  }
  const int fd = in.get();
  in.Release();
  return std::make_unique<PreadSource>(fd, static_cast<std::uint64_t>(st.st_size));
}

void PosixFiles::ComposeFile(std::wstring_view source, std::wstring_view target,
                             const std::function<Composition(std::uint64_t)>& plan) {
  Fd in(::open(NativePath(source).c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) Throw(L"Could not open " + Quoted(source) + L".", errno);
  struct stat st {};
  if (::fstat(in.get(), &st) != 0) Throw(L"Could not read " + Quoted(source) + L".", errno);
  if (!S_ISREG(st.st_mode)) Throw(L"Could not read " + Quoted(source) + L".", EISDIR);
  const Composition c = plan(static_cast<std::uint64_t>(st.st_size));
  if (c.prefix_length > static_cast<std::uint64_t>(st.st_size)) {
    throw Failure(L"Could not read " + Quoted(source) + L".", L"The file is too short.");
  }

  const std::string native_target = NativePath(target);
  TempFile temp(native_target, target);
  CopyPrefix(in.get(), temp.fd(), c.prefix_length, source, target);
  WriteAll(temp.fd(), c.tail.data(), c.tail.size(), target);
  if (::fsync(temp.fd()) != 0) Throw(L"Could not write " + Quoted(target) + L".", errno);
  struct stat written {};
  if (::fstat(temp.fd(), &written) != 0) Throw(L"Could not write " + Quoted(target) + L".", errno);
  if (static_cast<std::uint64_t>(written.st_size) != c.prefix_length + c.tail.size()) {
    throw Failure(L"Could not write " + Quoted(target) + L".",
                  L"The written file does not have the expected length.");
  }
  ::fchmod(temp.fd(), 0755);
  if (temp.Close() != 0) Throw(L"Could not write " + Quoted(target) + L".", errno);
  if (::rename(temp.path().c_str(), native_target.c_str()) != 0) {
    Throw(L"Could not write " + Quoted(target) + L".", errno);
  }
  temp.Kept();
  // The rename itself reaches the disk with the folder.
  Fd folder(::open(temp.folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
}

}  // namespace qx::posix
