// The main dialog: its procedure, start-up and shut-down, and the command routes that the
// modules hand it.
#pragma once
#include <windows.h>

INT_PTR CALLBACK MainDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);

// One button of the main dialog: its control id and the handler its click runs, with the
// argument the table gives it (0 where the handler needs none).
struct CommandRoute {
  WORD id;
  void (*run)(LONG_PTR arg);
  LONG_PTR arg;
};

// A module's table of routes. Each module exports one, and the dialog walks them all: a control
// id is named in exactly one route.
struct CommandRoutes {
  const CommandRoute* first;
  size_t count;
  const CommandRoute* begin() const { return first; }
  const CommandRoute* end() const { return first + count; }
};

template <size_t N>
constexpr CommandRoutes RoutesOf(const CommandRoute (&routes)[N]) {
  return {routes, N};
}

// Runs a handler that takes no argument, in the shape a route wants.
template <void (*handler)()>
void WithoutArg(LONG_PTR) {
  handler();
}
