// Every query that tells a window's parent, owner or root, read and checked at once, so that a
// failure names each query that disagrees rather than the first one.
#pragma once
#include <windows.h>

#include <source_location>
#include <string>

#include <gtest/gtest.h>

#include "support/test_support.h"

// What each relation query answers for one window.
struct Relations {
  HWND owner = nullptr;        // GetWindow(GW_OWNER): 0 for a child, which cannot be owned
  HWND hwndParent = nullptr;   // GWLP_HWNDPARENT: the parent, but the owner of a window of the desktop
  HWND getParent = nullptr;    // GetParent: the parent of a WS_CHILD window, the owner of a WS_POPUP one
  HWND gaParent = nullptr;     // GetAncestor(GA_PARENT): the parent, the desktop or the message root
  HWND gaRoot = nullptr;       // GetAncestor(GA_ROOT): the last parent below the desktop, or the window
  HWND gaRootOwner = nullptr;  // GetAncestor(GA_ROOTOWNER): the end of the chain that GetParent walks
};

namespace relations_detail {

// Wrappers, as the Win32 functions are stdcall and a plain function pointer is not in 32-bit code.
inline HWND Owner(HWND w) { return GetWindow(w, GW_OWNER); }
inline HWND HwndParent(HWND w) { return reinterpret_cast<HWND>(GetWindowLongPtrA(w, GWLP_HWNDPARENT)); }
inline HWND Parent(HWND w) { return GetParent(w); }
inline HWND AncestorParent(HWND w) { return GetAncestor(w, GA_PARENT); }
inline HWND Root(HWND w) { return GetAncestor(w, GA_ROOT); }
inline HWND RootOwner(HWND w) { return GetAncestor(w, GA_ROOTOWNER); }

struct Query { const char* name; HWND Relations::*field; HWND (*read)(HWND); };
inline constexpr Query kQueries[] = {
    {"GW_OWNER", &Relations::owner, Owner},
    {"GWLP_HWNDPARENT", &Relations::hwndParent, HwndParent},
    {"GetParent", &Relations::getParent, Parent},
    {"GA_PARENT", &Relations::gaParent, AncestorParent},
    {"GA_ROOT", &Relations::gaRoot, Root},
    {"GA_ROOTOWNER", &Relations::gaRootOwner, RootOwner},
};

}  // namespace relations_detail

// Every relation query of w as it answers now: kept before a change, compared after its undo.
inline Relations RelationsNow(HWND w) {
  Relations now;
  for (const relations_detail::Query& q : relations_detail::kQueries) now.*q.field = q.read(w);
  return now;
}

// Checks every relation query of w; each one that differs fails on its own, named, at the caller's line.
inline void ExpectRelations(HWND w, const Relations& expected,
                            std::source_location at = std::source_location::current()) {
  ::testing::ScopedTrace caller(at.file_name(), static_cast<int>(at.line()), "relations of " + Hex8(w));
  for (const relations_detail::Query& q : relations_detail::kQueries)
    EXPECT_EQ(Hex8(q.read(w)), Hex8(expected.*q.field)) << q.name;
}

// A WS_CHILD window right under an unowned top-level window: every query but GW_OWNER names that window.
inline Relations ChildOfTop(HWND top) {
  return {.owner = nullptr, .hwndParent = top, .getParent = top, .gaParent = top, .gaRoot = top,
          .gaRootOwner = top};
}
// A WS_POPUP window owned by an unowned top-level window: a root of its own that its owner's walk ends at.
inline Relations PopupOwnedBy(HWND popup, HWND owner) {
  return {.owner = owner, .hwndParent = owner, .getParent = owner, .gaParent = GetDesktopWindow(),
          .gaRoot = popup, .gaRootOwner = owner};
}
