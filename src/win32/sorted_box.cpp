#include "win32/sorted_box.h"

#include "win32/utf16.h"

namespace wh {

void FillSortedBox(HWND box, const std::vector<std::string>& entries, bool numbered) {
  // Drawing waits until all are in: the list is a window of its own, which
  // redraws and updates its scroll bar at each entry unless told not to.
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  GetComboBoxInfo(box, &info);
  SendMessageW(box, WM_SETREDRAW, FALSE, 0);
  if (info.hwndList) SendMessageW(info.hwndList, WM_SETREDRAW, FALSE, 0);
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  std::size_t bytes = 0;
  for (const std::string& entry : entries) bytes += (entry.size() + 1) * sizeof(wchar_t);
  SendMessageW(box, CB_INITSTORAGE, entries.size(), bytes);

  // The box places each added entry by a binary search of its own, comparing
  // by its locale with case ignored. An entry that compares greater than
  // the last one belongs at the end, where inserting keeps the list sorted;
  // anything else (equal, or out of order) is left to the box.
  const LCID locale = static_cast<LCID>(SendMessageW(box, CB_GETLOCALE, 0, 0));
  std::wstring last, wide;
  bool empty = true;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    wide = Utf8ToWide(entries[i]);
    const bool atEnd = empty || CompareStringW(locale, NORM_IGNORECASE, wide.c_str(), -1,
                                               last.c_str(), -1) == CSTR_GREATER_THAN;
    LRESULT place = CB_ERR;
    if (atEnd) {
      place = SendMessageW(box, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(wide.c_str()));
      last.swap(wide);
      empty = false;
    } else {
      place = SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    if (numbered && place >= 0) {
      SendMessageW(box, CB_SETITEMDATA, static_cast<WPARAM>(place), static_cast<LPARAM>(i));
    }
  }
  if (info.hwndList) SendMessageW(info.hwndList, WM_SETREDRAW, TRUE, 0);
  SendMessageW(box, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(box, nullptr, TRUE);
}

}  // namespace wh
