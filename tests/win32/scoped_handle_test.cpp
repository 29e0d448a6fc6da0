// The owners release what they own exactly once, and a selection gives the
// DC its object back, so that the selected one can be deleted.
#include "win32/scoped_handle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <utility>

namespace wh {
namespace {

TEST(ScopedOwnerTest, ReleasesOnceWhoeverHoldsItLast) {
  HFONT font = CreateFontW(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
  HMENU menu = CreatePopupMenu();
  ASSERT_NE(font, nullptr);
  ASSERT_NE(menu, nullptr);
  {
    ScopedFont first(font);
    ScopedMenu firstMenu(menu);
    ScopedFont second;
    ScopedMenu secondMenu;
    {
      // The moved-from owners go here and must leave the handles alone.
      ScopedFont moved(std::move(first));
      ScopedMenu movedMenu(std::move(firstMenu));
      second = std::move(moved);
      secondMenu = std::move(movedMenu);
    }
    EXPECT_FALSE(first.Valid());
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    EXPECT_TRUE(IsMenu(menu));
  }
  EXPECT_EQ(GetObjectType(font), 0u);
  EXPECT_FALSE(IsMenu(menu));
}

TEST(ScopedSelectionTest, PutsThePreviousObjectBack) {
  const WindowDC screen(nullptr);
  const ScopedMemoryDC memory(CreateCompatibleDC(screen.Get()));
  ASSERT_TRUE(memory.Valid());
  HDC dc = memory.Get();
  HGDIOBJ before = GetCurrentObject(dc, OBJ_BITMAP);
  ScopedBitmap bitmap(CreateCompatibleBitmap(screen.Get(), 4, 4));
  {
    const ScopedSelection selection(dc, bitmap.Get());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), before);
  HBITMAP raw = bitmap.Get();
  bitmap.Reset();
  EXPECT_EQ(GetObjectType(raw), 0u);  // no longer selected, so it could go
}

// Counts the references a ComPtr takes and gives back.
class CountedUnknown : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  ULONG references = 1;
};

TEST(ComPtrTest, GivesBackEachReferenceOnce) {
  CountedUnknown a;
  CountedUnknown b;
  {
    ComPtr<IUnknown> first;
    *first.Receive() = &a;
    ComPtr<IUnknown> second(std::move(first));
    EXPECT_FALSE(first.Valid());
    EXPECT_EQ(a.references, 1u);
    // Receiving a new object lets go of the old one.
    *second.Receive() = &b;
    EXPECT_EQ(a.references, 0u);
    EXPECT_EQ(b.references, 1u);
  }
  EXPECT_EQ(b.references, 0u);
}

}  // namespace
}  // namespace wh
