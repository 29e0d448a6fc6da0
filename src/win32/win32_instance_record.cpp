#include "win32/win32_instance_record.h"

#include "win32/scoped_handle.h"
#include "win32/utf16.h"

namespace wh {
namespace {

class MappedView : public MappedInstanceRecord {
 public:
  MappedView(ScopedHandle mapping, ScopedMappedView<InstanceRecord> view)
      : mapping_(std::move(mapping)), view_(std::move(view)) {}
  InstanceRecord& Record() override { return *view_.Get(); }

 private:
  // The view goes before the mapping.
  ScopedHandle mapping_;
  ScopedMappedView<InstanceRecord> view_;
};

ScopedMappedView<InstanceRecord> MapRecord(HANDLE mapping) {
  return ScopedMappedView<InstanceRecord>(static_cast<InstanceRecord*>(
      MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(InstanceRecord))));
}

[[noreturn]] void ThrowLastError() {
  const DWORD code = GetLastError();
  throw SystemError(code, SystemMessageText(code));
}

}  // namespace

std::string SystemMessageText(DWORD code) {
  ScopedLocalMemory<wchar_t> buffer;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(buffer.Receive()), 0, nullptr);
  std::wstring text(buffer.Valid() ? buffer.Get() : L"", buffer.Valid() ? length : 0);
  while (!text.empty() && (text.back() <= L' ' || text.back() == L'.')) text.pop_back();
  return WideToUtf8(text);
}

std::uint32_t WindowToRecord(HWND window) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
}

HWND RecordToWindow(std::uint32_t value) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}

InstanceMappings::Created Win32InstanceMappings::Create(const std::string& name) {
  ScopedHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                          sizeof(InstanceRecord), Utf8ToWide(name).c_str()));
  if (!mapping.Valid()) ThrowLastError();
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  ScopedMappedView<InstanceRecord> view = MapRecord(mapping.Get());
  if (!view.Valid()) ThrowLastError();
  return {std::make_unique<MappedView>(std::move(mapping), std::move(view)), existed};
}

std::unique_ptr<MappedInstanceRecord> Win32InstanceMappings::Open(const std::string& name) {
  ScopedHandle mapping(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, Utf8ToWide(name).c_str()));
  if (!mapping.Valid()) return nullptr;
  ScopedMappedView<InstanceRecord> view = MapRecord(mapping.Get());
  if (!view.Valid()) return nullptr;
  return std::make_unique<MappedView>(std::move(mapping), std::move(view));
}

bool Win32InstanceWindows::IsMinimized(std::uint32_t window) const {
  return IsIconic(RecordToWindow(window)) != FALSE;
}

namespace {

// This start was the user's own action, so it may take the foreground; the
// first copy may only if that right is handed on to it before its window is
// restored, or its window would come back without the keyboard.
void HandForegroundTo(HWND hwnd) {
  DWORD processId = 0;
  if (GetWindowThreadProcessId(hwnd, &processId) != 0) AllowSetForegroundWindow(processId);
}

}  // namespace

void Win32InstanceWindows::Restore(std::uint32_t window) {
  HandForegroundTo(RecordToWindow(window));
  ShowWindow(RecordToWindow(window), SW_RESTORE);
}

void Win32InstanceWindows::BringToFront(std::uint32_t window) {
  HandForegroundTo(RecordToWindow(window));
  SetForegroundWindow(RecordToWindow(window));
}

}  // namespace wh
