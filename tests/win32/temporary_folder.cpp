#include "win32/temporary_folder.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "win32/scoped_handle.h"
#include "win32/utf16.h"
#include "win32/win32_file_system.h"

namespace wh::testing {

namespace {

#ifndef SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
#define SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE 0x2
#endif

bool IsLink(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool MakeJunction(const std::wstring& link, const std::wstring& target) {
  if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
  ScopedHandle handle(CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                  nullptr));
  // The mount-point form of REPARSE_DATA_BUFFER, which the SDK headers of
  // user mode don't declare.
  std::wstring print = target;
  if (print.starts_with(LR"(\\?\)")) print.erase(0, 4);
  const std::wstring substitute = LR"(\??\)" + print;
  const std::size_t pathBytes = (substitute.size() + 1 + print.size() + 1) * sizeof(wchar_t);
  std::vector<unsigned char> buffer(16 + pathBytes);
  auto put16 = [&](std::size_t at, std::size_t value) {
    buffer[at] = static_cast<unsigned char>(value & 0xFF);
    buffer[at + 1] = static_cast<unsigned char>(value >> 8);
  };
  const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
  std::memcpy(buffer.data(), &tag, 4);
  put16(4, 8 + pathBytes);                               // ReparseDataLength
  put16(8, 0);                                           // SubstituteNameOffset
  put16(10, substitute.size() * sizeof(wchar_t));        // SubstituteNameLength
  put16(12, (substitute.size() + 1) * sizeof(wchar_t));  // PrintNameOffset
  put16(14, print.size() * sizeof(wchar_t));             // PrintNameLength
  std::memcpy(buffer.data() + 16, substitute.c_str(), (substitute.size() + 1) * sizeof(wchar_t));
  std::memcpy(buffer.data() + 16 + (substitute.size() + 1) * sizeof(wchar_t), print.c_str(),
              (print.size() + 1) * sizeof(wchar_t));
  DWORD returned = 0;
  const bool made =
      handle.Valid() &&
      DeviceIoControl(handle.Get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                      static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
  handle.Reset();
  if (!made) RemoveDirectoryW(link.c_str());
  return made;
}

// Wine runs Unix programs given to CreateProcessW and maps Windows paths to
// Unix ones through an export of its kernel32. Neither exists on Windows.
std::string UnixName(const std::wstring& path) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  std::string result;
  if (toUnix == nullptr) return result;
  if (char* name = toUnix(path.c_str())) {
    result = name;
    HeapFree(GetProcessHeap(), 0, name);
  }
  return result;
}

// Runs `program` with `arguments` on the Linux side and waits until `done`
// says that it has had its effect: a Unix child can't be waited for through
// its process handle.
template <typename Done>
bool RunUnixProgram(const std::wstring& program, const std::vector<std::string>& arguments,
                    Done done) {
  std::wstring command = L"\"" + program + L"\"";
  for (const std::string& argument : arguments) command += L" \"" + Utf8ToWide(argument) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring image = L"Z:" + program;
  for (wchar_t& c : image) c = c == L'/' ? L'\\' : c;
  if (!CreateProcessW(image.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  ScopedHandle processHandle(process.hProcess);
  ScopedHandle threadHandle(process.hThread);
  for (int i = 0; i < 200; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return false;
}

bool MakeUnixLink(const std::wstring& link, const std::wstring& target) {
  // The link doesn't exist yet: name its folder and add the leaf.
  const std::size_t cut = link.find_last_of(L'\\');
  const std::string linkParent = UnixName(link.substr(0, cut));
  const std::string unixTarget = UnixName(target);
  if (linkParent.empty() || unixTarget.empty()) return false;
  return RunUnixProgram(
      L"/bin/ln", {"-s", unixTarget, linkParent + "/" + WideToUtf8(link.substr(cut + 1))},
      [&] { return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

// Deletes the tree at `path` without going through links.
void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  ScopedFindHandle search(FindFirstFileExW((path + L"\\*").c_str(), FindExInfoBasic, &data,
                                           FindExSearchNameMatch, nullptr, 0));
  if (search.Valid()) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      const DWORD attributes = data.dwFileAttributes;
      if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        if (!RemoveDirectoryW(child.c_str())) DeleteFileW(child.c_str());
      } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(search.Get(), &data));
  }
  search.Reset();
  RemoveDirectoryW(path.c_str());
}

}  // namespace

TemporaryFolder::TemporaryFolder(const std::string& stem) {
  wchar_t base[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, base);
  if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary folder");
  for (unsigned attempt = 0;; ++attempt) {
    const std::wstring candidate = std::wstring(base, length) + Utf8ToWide(stem) + L"-" +
                                   std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(attempt);
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      path_ = WideToUtf8(candidate) + "\\";
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS || attempt > 1000) {
      throw std::runtime_error("can't make a temporary folder");
    }
  }
}

TemporaryFolder::~TemporaryFolder() {
  std::wstring path = ExtendedLengthPath(path_);
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  RemoveTree(path);
  // Wine can remove a Unix link neither as a directory nor as a file: what
  // is left goes from the Linux side, where rm doesn't follow links.
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    const std::string unixPath = UnixName(path);
    if (!unixPath.empty()) {
      RunUnixProgram(L"/bin/rm", {"-rf", unixPath},
                     [&] { return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES; });
    }
  }
}

void WriteTestFile(const std::string& path, const std::string& contents) {
  ScopedHandle file(CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file.Valid()) << "can't create " << path << ", error " << GetLastError();
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file.Get(), contents.data(), static_cast<DWORD>(contents.size()), &written,
                        nullptr));
  ASSERT_EQ(written, contents.size());
}

void MakeTestDirectory(const std::string& path) {
  ASSERT_TRUE(CreateDirectoryW(ExtendedLengthPath(path).c_str(), nullptr))
      << "can't create " << path << ", error " << GetLastError();
}

std::string MakeDirectoryLink(const std::string& link, const std::string& target) {
  const std::wstring wideLink = ExtendedLengthPath(link);
  const std::wstring wideTarget = ExtendedLengthPath(target);
  // Wine 8 answers TRUE here without making anything, so look for the link.
  if (CreateSymbolicLinkW(
          wideLink.c_str(), wideTarget.c_str(),
          SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
      IsLink(wideLink)) {
    return "symbolic link";
  }
  if (MakeJunction(wideLink, wideTarget) && IsLink(wideLink)) return "junction";
  if (MakeUnixLink(wideLink, wideTarget) && IsLink(wideLink)) return "Unix symbolic link";
  return {};
}

}  // namespace wh::testing
