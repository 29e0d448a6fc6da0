// The keys the keyword and item boxes act on. Each front end turns its own
// key codes into these once; every other key is Other.
#pragma once

namespace wh {

enum class Key { Other, Enter, Escape, Up, Down };

}  // namespace wh
