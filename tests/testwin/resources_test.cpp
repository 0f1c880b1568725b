// The test dialog templates and their menu, read back from the module's resources byte by
// byte, and the window class that "Dlg3" names.
#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "res/resource.h"
#include "support/test_support.h"
#include "testwin/testwin.h"

namespace {

// Reads the pieces of a resource in order, as the dialog manager and the menu loader do.
class ResourceReader {
 public:
  ResourceReader(const BYTE* data, DWORD size) : data_(data), size_(size) {}
  bool ok() const { return ok_; }
  WORD Word() { return static_cast<WORD>(Bytes(2)); }
  DWORD Dword() { return static_cast<DWORD>(Bytes(4)); }
  short Short() { return static_cast<short>(Word()); }
  BYTE Byte() { return static_cast<BYTE>(Bytes(1)); }
  void AlignDword() { pos_ = (pos_ + 3) & ~static_cast<DWORD>(3); }
  // A zero-terminated UTF-16 string of ASCII characters.
  std::string String() {
    std::string s;
    for (WORD c = Word(); ok_ && c != 0; c = Word()) s += static_cast<char>(c);
    return s;
  }
  // "Name or ordinal": 0 for none, 0xFFFF and an ordinal, or a string. Ordinals come back as
  // "#n", and the predefined control classes by their names.
  std::string NameOrOrdinal() {
    WORD first = Word();
    if (first == 0) return "";
    if (first == 0xFFFF) {
      WORD ordinal = Word();
      switch (ordinal) {
        case 0x80: return "Button";
        case 0x82: return "Static";
        default:   return "#" + std::to_string(ordinal);
      }
    }
    pos_ -= 2;
    return String();
  }
  bool AtEnd() const { return pos_ >= size_; }

 private:
  DWORD Bytes(DWORD n) {
    if (pos_ + n > size_) {
      ok_ = false;
      return 0;
    }
    DWORD v = 0;
    for (DWORD i = 0; i < n; ++i) v |= static_cast<DWORD>(data_[pos_ + i]) << (8 * i);
    pos_ += n;
    return v;
  }
  const BYTE* data_;
  DWORD size_;
  DWORD pos_ = 0;
  bool ok_ = true;
};

// Class names are matched without regard to case; the resource compiler stores them in capitals.
std::string Upper(std::string s) {
  if (!s.empty()) CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

ResourceReader LoadResourceOf(const char* name, const char* type) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, name, type);
  if (!found) return ResourceReader(nullptr, 0);
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  return ResourceReader(data, SizeofResource(module, found));
}

struct ItemTemplate {
  DWORD helpId, exStyle, style;
  short x, y, cx, cy;
  DWORD id;
  std::string cls, text;
  WORD extraBytes;
};

struct DialogTemplate {
  WORD version, signature;
  DWORD helpId, exStyle, style;
  WORD itemCount;
  short x, y, cx, cy;
  std::string menu, cls, title;
  WORD pointSize, weight;
  BYTE italic, charset;
  std::string face;
  std::vector<ItemTemplate> items;
};

DialogTemplate ReadDialogTemplate(const char* name, bool* ok) {
  ResourceReader r = LoadResourceOf(name, MAKEINTRESOURCEA(5));  // RT_DIALOG
  DialogTemplate t{};
  t.version = r.Word();
  t.signature = r.Word();
  t.helpId = r.Dword();
  t.exStyle = r.Dword();
  t.style = r.Dword();
  t.itemCount = r.Word();
  t.x = r.Short();
  t.y = r.Short();
  t.cx = r.Short();
  t.cy = r.Short();
  t.menu = r.NameOrOrdinal();
  t.cls = r.NameOrOrdinal();
  t.title = r.String();
  if (t.style & DS_SETFONT) {
    t.pointSize = r.Word();
    t.weight = r.Word();
    t.italic = r.Byte();
    t.charset = r.Byte();
    t.face = r.String();
  }
  for (WORD i = 0; i < t.itemCount && r.ok(); ++i) {
    r.AlignDword();
    ItemTemplate item{};
    item.helpId = r.Dword();
    item.exStyle = r.Dword();
    item.style = r.Dword();
    item.x = r.Short();
    item.y = r.Short();
    item.cx = r.Short();
    item.cy = r.Short();
    item.id = r.Dword();
    item.cls = r.NameOrOrdinal();
    item.text = r.NameOrOrdinal();
    item.extraBytes = r.Word();
    t.items.push_back(item);
  }
  *ok = r.ok();
  return t;
}

void ExpectTestDialogTemplate(const char* name, DWORD style, const char* cls) {
  SCOPED_TRACE(name);
  bool ok = false;
  DialogTemplate t = ReadDialogTemplate(name, &ok);
  ASSERT_TRUE(ok) << "template missing or cut short";
  EXPECT_EQ(t.version, 1);  // an extended template
  EXPECT_EQ(t.signature, 0xFFFF);
  EXPECT_EQ(t.helpId, 0u);
  EXPECT_EQ(t.exStyle, 0u);
  EXPECT_EQ(t.style, style) << std::hex << t.style;
  EXPECT_EQ(t.x, 0);
  EXPECT_EQ(t.y, 0);
  EXPECT_EQ(t.cx, 200);
  EXPECT_EQ(t.cy, 70);
  EXPECT_EQ(t.menu, "#300");
  EXPECT_EQ(Upper(t.cls), Upper(cls));
  EXPECT_EQ(t.title, "");
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.weight, 0);
  EXPECT_EQ(t.italic, 0);
  EXPECT_EQ(t.charset, 1);
  EXPECT_EQ(t.face, "Tahoma");

  ASSERT_EQ(t.itemCount, 2);
  ASSERT_EQ(t.items.size(), 2u);
  const ItemTemplate& label = t.items[0];
  EXPECT_EQ(label.id, 201u);
  EXPECT_EQ(Upper(label.cls), "STATIC");
  EXPECT_EQ(label.style, 0x54000000u) << std::hex << label.style;  // left-aligned, no border
  EXPECT_EQ(label.exStyle, 0u);
  EXPECT_EQ(label.helpId, 0u);
  EXPECT_EQ(label.text, "");
  EXPECT_EQ(label.x, 4);
  EXPECT_EQ(label.y, 16);
  EXPECT_EQ(label.cx, 400);  // twice the dialog's width: cut by its edge
  EXPECT_EQ(label.cy, 14);
  EXPECT_EQ(label.extraBytes, 0);

  const ItemTemplate& toggle = t.items[1];
  EXPECT_EQ(toggle.id, 202u);
  EXPECT_EQ(Upper(toggle.cls), "BUTTON");
  EXPECT_EQ(toggle.style, 0x54018000u) << std::hex << toggle.style;  // flat push button, tab stop
  EXPECT_EQ(toggle.exStyle, 0u);
  EXPECT_EQ(toggle.helpId, 0u);
  EXPECT_EQ(toggle.text, "+ / -   WS_POPUP");
  EXPECT_EQ(toggle.x, 50);
  EXPECT_EQ(toggle.y, 42);
  EXPECT_EQ(toggle.cx, 100);
  EXPECT_EQ(toggle.cy, 14);
  EXPECT_EQ(toggle.extraBytes, 0);
}

// One menu template entry, flattened: the depth, the flags, the id (items only) and the text.
struct MenuEntry {
  int depth;
  WORD flags;
  WORD id;
  std::string text;
};

void ReadMenuLevel(ResourceReader& r, int depth, std::vector<MenuEntry>* out) {
  for (;;) {
    WORD flags = r.Word();
    if (!r.ok()) return;
    MenuEntry e{depth, flags, 0, ""};
    if (!(flags & MF_POPUP)) e.id = r.Word();
    e.text = r.String();
    out->push_back(e);
    if (flags & MF_POPUP) ReadMenuLevel(r, depth + 1, out);
    if (flags & MF_END) return;
  }
}

}  // namespace

TEST(TestWindowResources, BothTemplatesHoldTheOwnerLabelAndThePopupButton) {
  ExpectTestDialogTemplate("Dlg2", 0x92CF0040, "");  // the standard dialog class
  ExpectTestDialogTemplate("Dlg3", 0x92CF004B, "sButton");
  // The styles spelt out: Dlg3 adds DS_ABSALIGN, DS_SYSMODAL and DS_FIXEDSYS.
  EXPECT_EQ(0x92CF0040u, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION |
                                            WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                                            WS_MAXIMIZEBOX | DS_SETFONT));
  EXPECT_EQ(0x92CF004Bu, 0x92CF0040u | DS_ABSALIGN | DS_SYSMODAL | DS_FIXEDSYS);
}

TEST(TestWindowResources, Menu300IsOnePopupWithAnItemAndASubMenuOfTwoItems) {
  ResourceReader r = LoadResourceOf(MAKEINTRESOURCEA(IDM_TEST_MENU), MAKEINTRESOURCEA(4));  // RT_MENU
  WORD version = r.Word();
  WORD headerSize = r.Word();
  ASSERT_TRUE(r.ok()) << "menu 300 missing";
  EXPECT_EQ(version, 0);  // a standard menu template
  EXPECT_EQ(headerSize, 0);
  std::vector<MenuEntry> entries;
  ReadMenuLevel(r, 0, &entries);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(r.AtEnd());

  // Plain enabled strings: only MF_POPUP and the end-of-level mark may be set.
  const MenuEntry expected[] = {
      {0, MF_POPUP | MF_END, 0, " Menu"},
      {1, 0, 301, "MenuItem"},
      {1, MF_POPUP | MF_END, 0, " SubMenu"},
      {2, 0, 302, "MenuItem"},
      {2, MF_END, 303, "MenuItem"},
  };
  ASSERT_EQ(entries.size(), std::size(expected));
  for (size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE("entry " + std::to_string(i));
    EXPECT_EQ(entries[i].depth, expected[i].depth);
    EXPECT_EQ(entries[i].flags, expected[i].flags) << std::hex << entries[i].flags;
    EXPECT_EQ(entries[i].id, expected[i].id);
    EXPECT_EQ(entries[i].text, expected[i].text);
  }
}

TEST(TestWindowResources, SButtonIsTheSystemButtonClassWithDialogRoom) {
  AppState saved = app;
  app = AppState{};
  app.hInstance = GetModuleHandleA(nullptr);
  RegisterTestWindowClass();

  WNDCLASSEXA button{};
  button.cbSize = sizeof button;
  ASSERT_TRUE(GetClassInfoExA(nullptr, "Button", &button));
  WNDCLASSEXA mine{};
  mine.cbSize = sizeof mine;
  ASSERT_TRUE(GetClassInfoExA(app.hInstance, "sButton", &mine));

  EXPECT_EQ(mine.style, static_cast<UINT>(CS_DBLCLKS));
  EXPECT_NE(button.style, mine.style);  // the Button class has more bits, which are dropped
  EXPECT_EQ(mine.lpfnWndProc, &TestWindowProc);
  EXPECT_EQ(app.buttonClassProc, button.lpfnWndProc);
  EXPECT_NE(app.buttonClassProc, nullptr);
  EXPECT_EQ(mine.cbWndExtra, 30);
  // Enough for the dialog manager's own slots in this build.
  EXPECT_GE(mine.cbWndExtra, static_cast<int>(DWLP_USER + sizeof(LONG_PTR)));
  EXPECT_EQ(mine.hInstance, app.hInstance);
  EXPECT_EQ(mine.cbClsExtra, button.cbClsExtra);
  EXPECT_EQ(mine.hCursor, button.hCursor);
  EXPECT_EQ(mine.hbrBackground, button.hbrBackground);
  EXPECT_EQ(mine.hIcon, button.hIcon);
  EXPECT_EQ(mine.hIconSm, button.hIconSm);
  EXPECT_EQ(mine.lpszMenuName, button.lpszMenuName);
  app = saved;
}
