// The test dialog templates, read back from the module's resources byte by byte, and the
// window class that "Dlg3" names. Menu 300 is checked on the live windows.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "res/resource.h"
#include "support/test_support.h"
#include "testwin/testwin.h"

namespace {

// Reads the pieces of an extended dialog template in order, as the dialog manager does, and
// writes each piece into a one-line description.
class TemplateReader {
 public:
  explicit TemplateReader(const char* name) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (!found) return;
    data_ = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    size_ = SizeofResource(module, found);
  }
  bool ok() const { return data_ != nullptr && pos_ <= size_; }
  DWORD Word() { return Bytes(2); }
  DWORD Dword() { return Bytes(4); }
  int Short() { return static_cast<short>(Bytes(2)); }
  void AlignDword() { pos_ = (pos_ + 3) & ~3u; }
  // A zero-terminated UTF-16 string of ASCII characters.
  std::string String() {
    std::string s;
    for (DWORD c = Word(); ok() && c != 0; c = Word()) s += static_cast<char>(c);
    return s;
  }
  // "Name or ordinal": nothing, 0xFFFF and an ordinal ("#n"), or a string. Class names are
  // matched without regard to case and the resource compiler stores them in capitals, so the
  // strings come back in capitals, as do the predefined classes that an ordinal may name.
  std::string NameOrOrdinal() {
    DWORD first = Word();
    if (first == 0) return "";
    if (first == 0xFFFF) {
      DWORD ordinal = Word();
      return ordinal == 0x80 ? "BUTTON" : ordinal == 0x82 ? "STATIC" : "#" + std::to_string(ordinal);
    }
    pos_ -= 2;
    std::string s = String();
    CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
  }

 private:
  DWORD Bytes(DWORD n) {
    DWORD v = 0;
    for (DWORD i = 0; i < n && pos_ + n <= size_; ++i) v |= static_cast<DWORD>(data_[pos_ + i]) << (8 * i);
    pos_ += n;
    return v;
  }
  const BYTE* data_ = nullptr;
  DWORD size_ = 0, pos_ = 0;
};

std::string Format(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

// The header, the font and each control of a template, one line each.
std::vector<std::string> DescribeTemplate(const char* name) {
  TemplateReader r(name);
  std::vector<std::string> lines;
  DWORD version = r.Word(), signature = r.Word(), help = r.Dword(), ex = r.Dword(), style = r.Dword();
  DWORD count = r.Word();
  int x = r.Short(), y = r.Short(), cx = r.Short(), cy = r.Short();
  std::string menu = r.NameOrOrdinal(), cls = r.NameOrOrdinal(), title = r.String();
  lines.push_back(Format("version %lu %lX help %lu ex %lX style %lX, %lu items, at %d,%d size %dx%d, "
                         "menu '%s' class '%s' title '%s'",
                         version, signature, help, ex, style, count, x, y, cx, cy, menu.c_str(),
                         cls.c_str(), title.c_str()));
  if (style & DS_SETFONT) {
    DWORD points = r.Word(), weight = r.Word(), italicAndCharset = r.Word();
    std::string face = r.String();
    lines.push_back(Format("font %lu '%s' weight %lu italic %lu charset %lu", points, face.c_str(),
                           weight, italicAndCharset & 0xFF, italicAndCharset >> 8));
  }
  for (DWORD i = 0; i < count && r.ok(); ++i) {
    r.AlignDword();
    DWORD help = r.Dword(), ex = r.Dword(), style = r.Dword();
    int x = r.Short(), y = r.Short(), cx = r.Short(), cy = r.Short();
    DWORD id = r.Dword();
    std::string cls = r.NameOrOrdinal(), text = r.NameOrOrdinal();
    DWORD extra = r.Word();
    lines.push_back(Format("%lu %s '%s' style %lX ex %lX help %lu at %d,%d size %dx%d extra %lu", id,
                           cls.c_str(), text.c_str(), style, ex, help, x, y, cx, cy, extra));
  }
  if (!r.ok()) lines.push_back("(missing or cut short)");
  return lines;
}

// Both templates hold the same two controls: the owner label, twice as wide as the dialog and
// so cut by its edge, and the flat WS_POPUP push button, the only tab stop.
const char kFont[] = "font 8 'Tahoma' weight 0 italic 0 charset 1";
const char kLabel[] = "201 STATIC '' style 54000000 ex 0 help 0 at 4,16 size 400x14 extra 0";
const char kToggle[] =
    "202 BUTTON '+ / -   WS_POPUP' style 54018000 ex 0 help 0 at 50,42 size 100x14 extra 0";

}  // namespace

TEST(TestWindowResources, BothTemplatesHoldTheOwnerLabelAndThePopupButton) {
  // An extended template (version 1, signature FFFF) with menu 300 and an empty title.
  EXPECT_EQ(DescribeTemplate("Dlg2"),
            (std::vector<std::string>{"version 1 FFFF help 0 ex 0 style 92CF0040, 2 items, at 0,0 "
                                      "size 200x70, menu '#300' class '' title ''",
                                      kFont, kLabel, kToggle}));
  EXPECT_EQ(DescribeTemplate("Dlg3"),
            (std::vector<std::string>{"version 1 FFFF help 0 ex 0 style 92CF004B, 2 items, at 0,0 "
                                      "size 200x70, menu '#300' class 'SBUTTON' title ''",
                                      kFont, kLabel, kToggle}));
  // The styles spelt out: Dlg3 adds DS_ABSALIGN, DS_SYSMODAL and DS_FIXEDSYS.
  EXPECT_EQ(0x92CF0040u, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION |
                                            WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                                            WS_MAXIMIZEBOX | DS_SETFONT));
  EXPECT_EQ(0x92CF004Bu, 0x92CF0040u | DS_ABSALIGN | DS_SYSMODAL | DS_FIXEDSYS);
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
