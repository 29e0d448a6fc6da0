#include "win32/win32_file_system.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <unordered_set>

#include "win32/scoped_handle.h"
#include "win32/utf16.h"

namespace wh {

namespace {

bool HasRawPrefix(std::wstring_view path) {
  return path.starts_with(LR"(\\?\)") || path.starts_with(LR"(\\.\)") ||
         path.starts_with(LR"(\??\)");
}

std::optional<DirectoryId> IdentityOf(const std::wstring& dir) {
  // Backup semantics opens a directory; no access right is needed to ask for
  // its file information.
  ScopedHandle handle(CreateFileW(dir.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.Valid()) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle.Get(), &info)) return std::nullopt;
  DirectoryId id;
  id.volume = info.dwVolumeSerialNumber;
  id.file = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  // Some network file systems give no index at all; then nothing can be told.
  if (id.volume == 0 && id.file == 0) return std::nullopt;
  return id;
}

DWORD AttributesOf(const std::string& path) {
  const std::wstring wide = ExtendedLengthPath(path);
  if (wide.empty()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(wide.c_str());
}

// A name beside `target` that no other writer uses: the process id and a
// running count keep two writers of the same file apart.
std::wstring TemporaryNameFor(const std::wstring& target) {
  static std::atomic<unsigned> counter{0};
  wchar_t suffix[48];
  swprintf(suffix, sizeof suffix / sizeof suffix[0], L".%lx-%x.tmp",
           static_cast<unsigned long>(GetCurrentProcessId()), counter.fetch_add(1));
  return target + suffix;
}

// Removes the temporary file unless the move has taken it over.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  const std::wstring& Path() const { return path_; }
  void Keep() { path_.clear(); }

 private:
  std::wstring path_;
};

bool WriteAll(HANDLE file, std::string_view contents) {
  constexpr std::size_t kPiece = 1u << 30;
  while (!contents.empty()) {
    const DWORD toWrite = static_cast<DWORD>(std::min(contents.size(), kPiece));
    DWORD written = 0;
    if (!WriteFile(file, contents.data(), toWrite, &written, nullptr) || written != toWrite) {
      return false;
    }
    contents.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::wstring ExtendedLengthPath(std::string_view path) {
  std::wstring wide = Utf8ToWide(path);
  if (wide.empty() || HasRawPrefix(wide)) return wide;
  // The "\\?\" form turns off the system's own normalisation, so do it first.
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return wide;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return wide;
  full.resize(length);
  if (HasRawPrefix(full)) return full;
  if (full.starts_with(LR"(\\)")) return LR"(\\?\UNC\)" + full.substr(2);
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return LR"(\\?\)" + full;
  return full;
}

namespace {

// Hands every entry of the directory `wideDir` to `each`; false when it
// can't be listed.
template <typename Each>
bool ForEachEntry(const std::wstring& wideDir, Each&& each) {
  std::wstring pattern = wideDir;
  if (pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  ScopedFindHandle search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                           FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
  if (!search.Valid()) return false;
  do {
    each(data);
  } while (FindNextFileW(search.Get(), &data));
  return true;
}

}  // namespace

bool Win32FileSystem::ListDirectory(const std::string& dir, const DirectoryEntrySink& sink,
                                    std::optional<DirectoryId>* id) const {
  const std::wstring wideDir = ExtendedLengthPath(dir);
  if (id != nullptr) *id = wideDir.empty() ? std::nullopt : IdentityOf(wideDir);
  if (wideDir.empty()) return false;

  return ForEachEntry(wideDir, [&](const WIN32_FIND_DATAW& data) {
    sink(WideToUtf8(data.cFileName), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  });
}

namespace {

// What a directory is, from a handle to it: its identity and the path the
// system resolves it to, every reparse point followed.
struct OpenedIdentity {
  std::optional<DirectoryId> id;
  std::wstring finalPath;  // ends with "\"; empty where the system can't tell
};

OpenedIdentity Identify(const std::wstring& dir) {
  OpenedIdentity result;
  ScopedHandle handle(CreateFileW(dir.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.Valid()) return result;
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileInformationByHandle(handle.Get(), &info)) {
    DirectoryId id;
    id.volume = info.dwVolumeSerialNumber;
    id.file = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    if (id.volume != 0 || id.file != 0) result.id = id;
  }
  std::wstring path(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD length =
        GetFinalPathNameByHandleW(handle.Get(), path.data(), static_cast<DWORD>(path.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return result;
    if (length < path.size()) {
      path.resize(length);
      if (path.back() != L'\\') path += L'\\';
      result.finalPath = std::move(path);
      return result;
    }
    path.assign(length + 1, L'\0');
  }
  return result;
}

class Win32ListingSession : public ListingSession {
 public:
  bool List(const std::string& dir, const DirectoryEntrySink& sink,
            std::optional<DirectoryId>* id) override {
    std::string key = dir;
    if (key.empty() || key.back() != '\\') key.push_back('\\');
    const bool first = !started_;
    started_ = true;
    const bool linked = !first && linked_.erase(key) > 0;
    const std::wstring wideDir = ExtendedLengthPath(dir);
    if (wideDir.empty()) return false;
    if (id != nullptr) id->reset();
    if (first || linked) {
      OpenedIdentity identity = Identify(wideDir);
      if (first) {
        rootFinal_ = identity.finalPath;
      } else if (WithinRootsOrdinaryTree(identity.finalPath)) {
        return false;
      }
      if (id != nullptr) *id = identity.id;
    }

    return ForEachEntry(wideDir, [&](const WIN32_FIND_DATAW& data) {
      const std::string name = WideToUtf8(data.cFileName);
      const bool isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      // Below a reparse point every directory may be one the walk knows.
      if (isDirectory && (linked || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) &&
          name != "." && name != "..") {
        linked_.insert(key + name + "\\");
      }
      sink(name, isDirectory);
    });
  }

 private:
  // True when `finalPath` is a directory of the first one's tree that the
  // walk reaches without a reparse point: below it, through no hidden folder.
  bool WithinRootsOrdinaryTree(const std::wstring& finalPath) const {
    if (rootFinal_.empty() || finalPath.size() <= rootFinal_.size() ||
        !finalPath.starts_with(rootFinal_)) {
      return false;
    }
    for (std::size_t at = rootFinal_.size(); at < finalPath.size();) {
      if (finalPath[at] == L'.') return false;
      at = finalPath.find(L'\\', at) + 1;
    }
    return true;
  }

  bool started_ = false;
  std::wstring rootFinal_;
  std::unordered_set<std::string> linked_;  // directories listed but not yet entered
};

}  // namespace

std::unique_ptr<ListingSession> Win32FileSystem::BeginListing() const {
  return std::make_unique<Win32ListingSession>();
}

bool Win32FileSystem::DirectoryExists(const std::string& path) const {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::FileExists(const std::string& path) const {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> Win32FileSystem::ReadWholeFile(const std::string& path,
                                                          std::size_t maxBytes) const {
  const std::wstring widePath = ExtendedLengthPath(path);
  if (widePath.empty()) return std::nullopt;
  // Without backup semantics a directory doesn't open.
  ScopedHandle file(CreateFileW(widePath.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.Valid()) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
    return std::nullopt;
  }

  // Read to the end rather than to the size asked before: the file may grow
  // or shrink while it is read.
  std::string contents;
  contents.reserve(static_cast<std::size_t>(size.QuadPart));
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    if (contents.size() + got > maxBytes) return std::nullopt;
    contents.append(buffer, got);
  }
  return contents;
}

namespace {

bool WriteWhole(HANDLE file, std::string_view contents) {
  LARGE_INTEGER start{};
  return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && WriteAll(file, contents) &&
         SetEndOfFile(file) && FlushFileBuffers(file);
}

// For a file that may be written in a folder that may not (the program's
// folder, with a settings file made writable for its users): no new file can
// go beside it, so the file itself is rewritten. Should that write fail part
// way, the old contents are put back.
bool RewriteInPlace(const std::wstring& target, std::string_view contents) {
  ScopedHandle file(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file.Valid() || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > (1 << 26)) {
    return false;
  }
  std::string old(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!old.empty() &&
      (!ReadFile(file.Get(), old.data(), static_cast<DWORD>(old.size()), &read, nullptr) ||
       read != old.size())) {
    return false;
  }
  if (WriteWhole(file.Get(), contents)) return true;
  WriteWhole(file.Get(), old);
  return false;
}

}  // namespace

void Win32FileSystem::WriteFileReplacing(const std::string& path, std::string_view contents) const {
  const std::wstring target = ExtendedLengthPath(path);
  if (target.empty()) throw FileWriteError{path};
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    throw FileWriteError{path};
  }

  // A fresh name: CREATE_NEW never takes over a file another writer is using.
  ScopedHandle file;
  std::wstring temporaryPath;
  for (int attempt = 0; attempt < 100 && !file.Valid(); ++attempt) {
    temporaryPath = TemporaryNameFor(target);
    file.Reset(CreateFileW(temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid() && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (!file.Valid()) {
    if (attributes != INVALID_FILE_ATTRIBUTES && RewriteInPlace(target, contents)) return;
    throw FileWriteError{path};
  }

  TemporaryFile temporary(temporaryPath);
  const bool written = WriteAll(file.Get(), contents) && FlushFileBuffers(file.Get());
  file.Reset();
  if (!written || !MoveFileExW(temporary.Path().c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw FileWriteError{path};
  }
  temporary.Keep();
}

// Tried, not read from the access lists: the answer then takes in every
// rule that applies (group rights, inherited entries, a read-only share).
bool Win32FileSystem::CanWriteFile(const std::string& path) const {
  const std::wstring target = ExtendedLengthPath(path);
  if (target.empty()) return false;
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return false;
  }
  const ScopedHandle file(CreateFileW(target.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.Valid();
}

bool Win32FileSystem::CanCreateIn(const std::string& dir) const {
  std::string probe = dir;
  if (!probe.empty() && probe.back() != '\\' && probe.back() != '/') probe += '\\';
  probe += "wordhopper-write-test-" + std::to_string(GetCurrentProcessId()) + ".tmp";
  const std::wstring target = ExtendedLengthPath(probe);
  if (target.empty()) return false;
  const ScopedHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                      nullptr));
  return file.Valid();
}

bool Win32FileSystem::MakeDirectories(const std::string& dir) const {
  std::string path = dir;
  while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  if (path.empty() || DirectoryExists(path)) return DirectoryExists(path);
  // The folders above are made first; a drive or a share that isn't there
  // fails below as the folder itself would.
  const std::size_t separator = path.find_last_of("\\/");
  if (separator != std::string::npos && separator > 0) {
    const std::string parent = path.substr(0, separator);
    if (parent.back() != ':' && parent.find_first_not_of("\\/") != std::string::npos) {
      MakeDirectories(parent);
    }
  }
  const std::wstring target = ExtendedLengthPath(path);
  return !target.empty() &&
         (CreateDirectoryW(target.c_str(), nullptr) != 0 ||
          GetLastError() == ERROR_ALREADY_EXISTS) &&
         DirectoryExists(path);
}

}  // namespace wh
