// The items: one per display name, in the order names were first added. A
// later file with an equal name (collation, case-blind) takes the item over in
// place. Display name and path are held apart, so any name, "=" included, can
// be found again.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "index/name_table.h"
#include "index/growing_array.h"
#include "platform/collation.h"

namespace wh {

// The display name of a file: the file name (after the last of
// `pathDelimiters`) less its extension (from the last "." on).
std::string_view DisplayNameOf(std::string_view fullPath, std::string_view pathDelimiters);

class ItemList {
 public:
  static constexpr std::uint32_t kNone = NameTable::kNone;

  // `pathDelimiters`: the characters that end a path's directory part
  // ("\\:" on Windows, "/" on Linux).
  ItemList(const Collation& collation, std::string pathDelimiters);

  // Makes `fullPath` an item: replaces the item of equal display name, or
  // appends one. Returns the item's position.
  std::uint32_t Add(std::string_view fullPath);
  // The same for a file that names itself (a launcher entry): `displayName`
  // instead of the file name less its extension.
  std::uint32_t AddNamed(std::string_view fullPath, std::string_view displayName);
  // The same for a file its folder gives a name of its own ("Editor" for
  // Notepad.lnk): shown as `displayName`, and found by a search under either.
  std::uint32_t AddLocalized(std::string_view fullPath, std::string_view displayName);

  // Adds several files, first to last, as Add one by one would; quicker,
  // since it looks the names up ahead of time. `onAdded` gets each file's own
  // display name and its item's position right after it was added.
  void AddMany(std::span<const std::string_view> fullPaths,
               const std::function<void(std::string_view name, std::uint32_t position)>& onAdded);

  // The position of the first item whose display name equals `displayName`,
  // or kNone.
  std::uint32_t Find(std::string_view displayName) const;

  std::size_t Count() const { return entries_.size(); }
  std::string_view Name(std::uint32_t position) const;
  std::string Path(std::uint32_t position) const;

  // Puts the items from position `from` on in a new order: `order[k]` is the
  // place, counted from `from`, of the item that goes k-th.
  void Reorder(std::uint32_t from, std::vector<std::uint32_t> order);

  // Empties the list, keeping room for as many items as the last load had.
  void Clear();
  // Gives back the room a load left unused, and the name table's until a
  // name is looked up or added again.
  void Compact();

  // For the search: every display name with its ASCII letters lower-cased,
  // each followed by a zero byte, in item order, and where each one starts.
  // A localized item's file name (less its extension) follows its display
  // name after a line break, which no typed pattern holds.
  const std::string& LowerNames() const;
  const std::vector<std::uint32_t>& LowerNameStarts() const;
  // How often each byte value occurs in LowerNames(); the zero bytes that end
  // the names are not counted, so a count of zero there means no name holds one.
  const std::array<std::uint32_t, 256>& LowerNameByteCounts() const;
  // The item positions in the order the item box shows names (ascending by
  // the collation), and each item's place in that order.
  const std::vector<std::uint32_t>& ItemBoxOrder() const;
  const std::vector<std::uint32_t>& ItemBoxRank() const;
  // Makes the names' search buffer now rather than at the first search. (The
  // item-box order waits for a search: a load needs no sorting.)
  void PrepareSearch() const;

  const std::string& PathDelimiters() const { return pathDelimiters_; }
  std::size_t MemoryBytes() const;

 private:
  struct Entry {
    std::uint32_t directory;  // position in directories_
    std::uint32_t file;       // offset of the file name in text_
    std::uint32_t fileLength;
    // The display name is the file name's start, or, with kOwnName set, the
    // text stored right after the file name.
    std::uint32_t nameLength;
  };
  static constexpr std::uint32_t kOwnName = 0x80000000u;
  // The search also looks at the file name.
  static constexpr std::uint32_t kAlsoFileName = 0x40000000u;
  static constexpr std::uint32_t kLengthMask = 0x3FFFFFFFu;
  struct Span {
    std::uint32_t offset;
    std::uint32_t length;
  };
  std::string_view TextOf(Span span) const { return {text_.data() + span.offset, span.length}; }
  std::uint32_t AddDirectoryPart(std::string_view directory);
  std::uint32_t AddShownAs(std::string_view fullPath, std::size_t fileStart,
                           std::string_view rawName);
  std::uint32_t AddKeyed(std::string_view fullPath, std::size_t fileStart, std::string_view name,
                         NameTable::Key key, std::uint32_t flags = 0);
  void Changed();
  void MakeOrder() const;
  // Gives the name table's room back; FillTable files every item again
  // before the next lookup.
  void DropTable();
  void FillTable() const;

  const Collation* collation_;
  std::string pathDelimiters_;
  // Files come directory by directory, so a directory's path is stored once
  // for all its files.
  GrowingArray<char> text_;
  std::vector<Span> directories_;
  std::vector<Entry> entries_;
  mutable NameTable table_;
  mutable bool tableDropped_ = false;
  std::size_t lastCount_ = 0, lastText_ = 0;

  mutable bool searchReady_ = false;
  mutable std::string lowerNames_;
  mutable std::vector<std::uint32_t> lowerStarts_;
  mutable std::array<std::uint32_t, 256> byteCounts_{};
  mutable bool orderReady_ = false;
  mutable std::vector<std::uint32_t> rank_;
  mutable std::vector<std::uint32_t> order_;
};

}  // namespace wh
