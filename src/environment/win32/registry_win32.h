#pragma once
// What the Windows registry behind the Registry seam and the tools' writing side share, so that a
// key means the same to both: the hive, the view flag and what a Handle holds. Both go through the
// ANSI functions: names and data are 8-bit strings in the system code page.
#include <windows.h>

#include <string_view>

#include "environment/registry.h"

namespace updater::environment::win32 {

inline HKEY RootKey(RegRoot root) {
    return root == RegRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

inline REGSAM ViewFlag(RegView view) {
    return view == RegView::k32Bit ? KEY_WOW64_32KEY : 0;
}

inline HKEY ToHkey(Registry::Handle handle) {
    return reinterpret_cast<HKEY>(handle);
}

inline Registry::Handle FromHkey(HKEY key) {
    return reinterpret_cast<Registry::Handle>(key);
}

// A NUL inside a name would silently name another key or value.
inline bool HasNul(std::string_view text) {
    return text.find('\0') != std::string_view::npos;
}

}  // namespace updater::environment::win32
