#include "tree/tree_helpers.h"

#include <cstdio>

std::vector<ListRow> ListRows() {
  std::vector<ListRow> rows;
  LRESULT count = SendMessageA(app.hTreeCombo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendMessageA(app.hTreeCombo, CB_GETLBTEXTLEN, i, 0);
    std::vector<char> buffer(length + 1 > 1 ? length + 1 : 1, '\0');
    SendMessageA(app.hTreeCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
    rows.push_back({buffer.data(), SendMessageA(app.hTreeCombo, CB_GETITEMDATA, i, 0)});
  }
  return rows;
}

int RowIndexOf(HWND w) {
  std::vector<ListRow> rows = ListRows();
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].data == reinterpret_cast<LRESULT>(w)) return static_cast<int>(i);
  return -1;
}

std::string RowLineOf(HWND w) {
  int index = RowIndexOf(w);
  return index < 0 ? "(no row)" : ListRows()[index].line;
}

std::string CountLabel() {
  char text[256] = "";
  GetDlgItemTextA(app.hMainDlg, IDC_TREECOUNT, text, sizeof text);
  return text;
}

std::string ExpectedRow(HWND w, char topMark, const std::string& prefix, const std::string& cls,
                        const std::string& text) {
  char line[512];
  snprintf(line, sizeof line, "%08lX  %c %s %s      \"%s\"",
           static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w) & 0xFFFFFFFFu), topMark,
           prefix.c_str(), cls.c_str(), text.c_str());
  return line;
}

HWND HighestNonTopmost() {
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (!(GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST)) return w;
  return nullptr;
}

char ExpectedTopMark(HWND w) { return w == HighestNonTopmost() ? '=' : ' '; }

namespace {

struct Counts {
  int resets, additions, itemData, selections, labelWrites;
};
Counts counts;
WNDPROC comboProc;
WNDPROC labelProc;

LRESULT CALLBACK CountingComboProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case CB_RESETCONTENT: ++counts.resets; break;
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_DELETESTRING: ++counts.additions; break;
    case CB_SETITEMDATA: ++counts.itemData; break;
    case CB_SETCURSEL: ++counts.selections; break;
    default: break;
  }
  return CallWindowProcA(comboProc, w, msg, wp, lp);
}

LRESULT CALLBACK CountingLabelProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETTEXT) ++counts.labelWrites;
  return CallWindowProcA(labelProc, w, msg, wp, lp);
}

}  // namespace

ListChangeCounter::ListChangeCounter() {
  counts = Counts{};
  comboProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      app.hTreeCombo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingComboProc)));
  labelProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(GetDlgItem(app.hMainDlg, IDC_TREECOUNT), GWLP_WNDPROC,
                        reinterpret_cast<LONG_PTR>(CountingLabelProc)));
}

ListChangeCounter::~ListChangeCounter() {
  SetWindowLongPtrA(app.hTreeCombo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(comboProc));
  SetWindowLongPtrA(GetDlgItem(app.hMainDlg, IDC_TREECOUNT), GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(labelProc));
}

int ListChangeCounter::resets() const { return counts.resets; }
int ListChangeCounter::additions() const { return counts.additions; }
int ListChangeCounter::itemData() const { return counts.itemData; }
int ListChangeCounter::selections() const { return counts.selections; }
int ListChangeCounter::labelWrites() const { return counts.labelWrites; }

namespace {
constexpr UINT kRunMessage = WM_APP + 17;
}

GuiThread::GuiThread() {
  thread_ = std::thread([this] {
    MSG m;
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts
    idAtomic_ = GetCurrentThreadId();
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
      if (m.hwnd == nullptr && m.message == kRunMessage) {
        auto* job = reinterpret_cast<std::pair<const std::function<void()>*, std::atomic<bool>*>*>(m.lParam);
        (*job->first)();
        *job->second = true;
        continue;
      }
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  });
  PumpUntil([&] { return idAtomic_ != 0; });
  id_ = idAtomic_;
}

void GuiThread::Run(const std::function<void()>& fn) {
  std::atomic<bool> done{false};
  std::pair<const std::function<void()>*, std::atomic<bool>*> job{&fn, &done};
  PostThreadMessageA(id_, kRunMessage, 0, reinterpret_cast<LPARAM>(&job));
  // Window creation across threads sends messages to this thread: keep answering them.
  PumpUntil([&] { return done.load(); }, 20000);
  ASSERT_TRUE(done.load()) << "the second thread did not finish its job";
}

GuiThread::~GuiThread() {
  PostThreadMessageA(id_, WM_QUIT, 0, 0);
  std::atomic<bool> joined{false};
  std::thread joiner([&] {
    thread_.join();
    joined = true;
  });
  PumpUntil([&] { return joined.load(); }, 20000);
  joiner.join();
}

void RegisterPlainClass(const char* name) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExA(GetModuleHandleA(nullptr), name, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  RegisterClassExA(&wc);
}

void TreeTest::SelectRow(int index) {
  SendMessageA(app.hTreeCombo, CB_SETCURSEL, index, 0);
  SendMessageA(dlg_, WM_COMMAND, MAKEWPARAM(IDC_TREECOMBO, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(app.hTreeCombo));
}

void TreeTest::RightClickRow(int index) {
  // Only a row in view has a point in the list: scroll it to the top first.
  SendMessageA(app.hTreeList, LB_SETTOPINDEX, index, 0);
  RECT r{};
  SendMessageA(app.hTreeList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  SendMessageA(app.hTreeList, WM_RBUTTONDOWN, MK_RBUTTON,
               MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  SendMessageA(app.hTreeList, WM_RBUTTONUP, 0,
               MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

void TreeTest::ShowFreeList() {
  if (!IsWindowVisible(app.hTreeList)) Click(IDC_MONITOR);
  PumpUntil([] { return IsWindowVisible(app.hTreeList) != FALSE; });
}
