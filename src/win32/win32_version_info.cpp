#include "win32/win32_version_info.h"

#include <windows.h>

#include <vector>

#include "win32/utf16.h"

namespace wh {

FileVersion Win32VersionInfo::GetFileVersion(const std::string& path) const {
  const std::wstring widePath = Utf8ToWide(path);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(widePath.c_str(), &ignored);
  if (size == 0) return {};

  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(widePath.c_str(), 0, size, block.data())) return {};

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
      fixed == nullptr || fixedSize < sizeof(VS_FIXEDFILEINFO)) {
    return {};
  }
  // A block whose signature is wrong is not version information at all.
  if (fixed->dwSignature != VS_FFI_SIGNATURE) return {};

  return FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                     HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
}

}  // namespace wh
