// GetSaveFileNameA in temporary folders: prompts answered both ways,
// cancelling, moving between folders, names relative and absolute, a buffer
// too small, bad names, unreadable and vanishing folders; and the path
// arithmetic underneath.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "dlg_fixture.h"
#include "platform/dialogs/file_paths.h"

namespace {

using hwf::test::DialogTest;
namespace dlg = platform::dialogs;
namespace fs = std::filesystem;

// --- Paths, filters, names.

TEST(SavePaths, ResolveJoinsAndNormalisesWithoutTheDisk) {
  EXPECT_EQ(dlg::Resolve("/a/b", "c.bmp"), "/a/b/c.bmp");
  EXPECT_EQ(dlg::Resolve("/a/b", "../c"), "/a/c");
  EXPECT_EQ(dlg::Resolve("/a/b", ".."), "/a");
  EXPECT_EQ(dlg::Resolve("/a/b", "/x//y/./z/"), "/x/y/z");
  EXPECT_EQ(dlg::Resolve("/", "../../.."), "/");
  EXPECT_EQ(dlg::Resolve("/a", "子目录/图案.bmp"), "/a/子目录/图案.bmp");
  EXPECT_EQ(dlg::ParentOf("/a/b"), "/a");
  EXPECT_EQ(dlg::ParentOf("/a"), "/");
  EXPECT_EQ(dlg::ParentOf("/"), "/");
  EXPECT_EQ(dlg::NameOf("/a/b.c"), "b.c");
  EXPECT_EQ(dlg::Ancestors("/a/b"), (std::vector<std::string>{"/", "/a", "/a/b"}));
  EXPECT_EQ(dlg::Ancestors("/"), (std::vector<std::string>{"/"}));
}

TEST(SavePaths, FiltersParseInPairsAndPatternsMatchLikeWindows) {
  auto f = dlg::ParseFilter("BMP Files(*.bmp)\0*.bmp\0All\0*.*\0Lonely\0\0");
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].description, "BMP Files(*.bmp)");
  EXPECT_EQ(f[1].patterns, "*.*");
  EXPECT_TRUE(dlg::ParseFilter(nullptr).empty());

  EXPECT_TRUE(dlg::MatchesPatterns("a.BMP", "*.bmp"));
  EXPECT_FALSE(dlg::MatchesPatterns("a.bmp.txt", "*.bmp"));
  EXPECT_TRUE(dlg::MatchesPatterns("a.txt", "*.bmp; *.txt"));
  EXPECT_TRUE(dlg::MatchesPatterns("README", "*.*")) << "no dot still matches *.*";
  EXPECT_TRUE(dlg::MatchesPatterns("p1.bmp", "p?.bmp"));
  EXPECT_FALSE(dlg::MatchesPatterns("p12.bmp", "p?.bmp"));
  EXPECT_TRUE(dlg::MatchesPatterns("abcabd", "*ab*d"));
}

TEST(SavePaths, NamesWithControlCharactersBrokenUtf8OrLongPartsAreRefused) {
  EXPECT_EQ(dlg::NameProblem("图案 1.bmp"), "");
  EXPECT_EQ(dlg::NameProblem("dir/图案.bmp"), "");
  EXPECT_NE(dlg::NameProblem("a\x01"
                             "b"),
            "");
  EXPECT_NE(dlg::NameProblem("a\tb"), "");
  EXPECT_NE(dlg::NameProblem("\xE5\x9B"), "") << "a cut-off character";
  EXPECT_NE(dlg::NameProblem("\xC0\xAF"), "") << "an overlong slash";
  EXPECT_NE(dlg::NameProblem("\xFF"), "");
  EXPECT_NE(dlg::NameProblem(std::string(256, 'x')), "");
  EXPECT_EQ(dlg::NameProblem(std::string(255, 'x')), "");
}

// --- The dialog.

class SaveDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    char tmpl[] = "/tmp/hwf-save-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = fs::canonical(tmpl).string();
    fs::create_directory(dir_ + "/sub");
    std::ofstream(dir_ + "/existing.bmp") << "BM";
    std::ofstream(dir_ + "/other.txt") << "x";
    std::memset(file_, '#', sizeof file_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_ + "/locked", fs::perms::owner_all, ec);
    fs::remove_all(dir_, ec);
    DialogTest::TearDown();
  }

  OPENFILENAMEA Make(DWORD flags, const std::string& initial) {
    std::memcpy(file_, initial.c_str(), initial.size() + 1);
    OPENFILENAMEA o{};
    o.lStructSize = sizeof o;
    o.hwndOwner = owner_;
    o.lpstrFilter = "BMP Files(*.bmp)\0*.bmp\0所有文件(*.*)\0*.*\0\0";
    o.nFilterIndex = 1;
    o.lpstrFile = file_;
    o.nMaxFile = sizeof file_;
    o.lpstrTitle = "保存";
    o.Flags = flags;
    return o;
  }

  static HWND Item(int id) { return GetDlgItem(Active(), id); }
  static std::string Prompt() { return Text(GetDlgItem(Active(), 0xFFFF)); }
  static std::string ShownFolder() {
    HWND c = Item(cmb2);
    char buf[1024] = {};
    SendMessageA(c, CB_GETLBTEXT, static_cast<WPARAM>(SendMessageA(c, CB_GETCURSEL, 0, 0)),
                 reinterpret_cast<LPARAM>(buf));
    return buf;
  }
  static std::vector<std::string> ListedNames() {
    std::vector<std::string> out;
    HWND l = Item(lst1);
    for (LRESULT i = 0, n = SendMessageA(l, LB_GETCOUNT, 0, 0); i < n; ++i) {
      char buf[1024] = {};
      SendMessageA(l, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
      std::string row = buf;
      out.push_back(row.substr(0, row.find('\t')));
    }
    return out;
  }
  static void Enter(const std::string& name) {
    TypeInto(Item(edt1), name);
    Key(VK_RETURN);
  }
  static void DoubleClickItem(const std::string& name) {
    auto names = ListedNames();
    auto it = std::find(names.begin(), names.end(), name);
    ASSERT_NE(it, names.end()) << name;
    RECT r;
    SendMessageA(Item(lst1), LB_GETITEMRECT, static_cast<WPARAM>(it - names.begin()),
                 reinterpret_cast<LPARAM>(&r));
    DoubleClickOn(Item(lst1), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  std::string dir_;
  char file_[512];
};

TEST_F(SaveDialogTest, ANewNameWithTheCreatePromptAnsweredYes) {
  std::string prompt;
  // The main window's flags: OFN_FILEMUSTEXIST means nothing when saving.
  OPENFILENAMEA o =
      Make(OFN_CREATEPROMPT | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, dir_ + "/");
  Script({[] { Enter("新图案.bmp"); },
          [&] {
            prompt = Prompt();
            ClickOn(Item(IDYES));
          }});
  ASSERT_TRUE(GetSaveFileNameA(&o));
  const std::string want = dir_ + "/新图案.bmp";
  EXPECT_EQ(prompt, want + " 文件不存在。\n要创建该文件吗？");
  EXPECT_EQ(std::string(file_), want);
  EXPECT_EQ(o.nFileOffset, dir_.size() + 1);
  EXPECT_STREQ(file_ + o.nFileExtension, "bmp");
  EXPECT_FALSE(fs::exists(want)) << "the dialog only names the file";
}

TEST_F(SaveDialogTest, CreatePromptAnsweredNoReturnsToTheDialogWithTheNameKept) {
  HWND dialog = nullptr, activeAfterNo = nullptr;
  int focusAfterNo = 0;
  std::string nameAfterNo;
  OPENFILENAMEA o = Make(OFN_CREATEPROMPT, dir_ + "/keep.bmp");
  Script({[&] {
            dialog = Active();
            Enter("new.bmp");
          },
          [] { ClickOn(Item(IDNO)); },
          [&] {
            activeAfterNo = Active();
            focusAfterNo = GetDlgCtrlID(GetFocus());
            nameAfterNo = Text(Item(edt1));
            Key(VK_ESCAPE);
          }});
  EXPECT_FALSE(GetSaveFileNameA(&o));
  EXPECT_EQ(activeAfterNo, dialog);
  EXPECT_EQ(focusAfterNo, edt1) << "back in the name field";
  EXPECT_EQ(nameAfterNo, "new.bmp");
  EXPECT_EQ(std::string(file_), dir_ + "/keep.bmp") << "a cancelled dialog writes nothing";
}

TEST_F(SaveDialogTest, OverwritePromptAnsweredNoThenYes) {
  std::string prompt;
  HWND activeAfterNo = nullptr, dialog = nullptr;
  OPENFILENAMEA o = Make(OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT, dir_ + "/");
  Script({[&] {
            dialog = Active();
            Enter("existing.bmp");
          },
          [&] {
            prompt = Prompt();
            Key(VK_ESCAPE);  // Escape in a yes/no box is No
          },
          [&] {
            activeAfterNo = Active();
            Key(VK_RETURN);
          },
          [] { ClickOn(Item(IDYES)); }});
  ASSERT_TRUE(GetSaveFileNameA(&o));
  EXPECT_EQ(prompt, dir_ + "/existing.bmp 已存在。\n要替换它吗？");
  EXPECT_EQ(activeAfterNo, dialog);
  EXPECT_EQ(std::string(file_), dir_ + "/existing.bmp");
  EXPECT_EQ(StepsRun(), 4u);
}

TEST_F(SaveDialogTest, CancelEscapeAndCloseWriteNothing) {
  for (int how = 0; how < 3; ++how) {
    OPENFILENAMEA o = Make(0, dir_ + "/start.bmp");
    char before[sizeof file_];
    std::memcpy(before, file_, sizeof file_);
    Script({[] { TypeInto(Item(edt1), "changed.bmp"); },
            [how] {
              if (how == 0) ClickOn(Item(IDCANCEL));
              if (how == 1) Key(VK_ESCAPE);
              if (how == 2) platform::testing::RequestClose(Active());
            }});
    EXPECT_FALSE(GetSaveFileNameA(&o)) << how;
    EXPECT_EQ(std::memcmp(before, file_, sizeof file_), 0) << how;
    EXPECT_EQ(CommDlgExtendedError(), 0u);
  }
}

TEST_F(SaveDialogTest, OpensInTheInitialNamesFolderWithTheNameSelectedAndOnlyMatchingFilesListed) {
  std::string folder, name, title;
  std::vector<std::string> listed;
  HWND focus = nullptr, edit = nullptr, readOnly = nullptr;
  OPENFILENAMEA o = Make(OFN_HIDEREADONLY, dir_ + "/sub/../花纹.bmp");
  o.lpstrTitle = nullptr;
  Script({[&] {
    folder = ShownFolder();
    name = Text(Item(edt1));
    title = Text(Active());
    listed = ListedNames();
    focus = GetFocus();
    edit = Item(edt1);
    readOnly = Item(chx1);
    Key(VK_ESCAPE);
  }});
  EXPECT_FALSE(GetSaveFileNameA(&o));
  EXPECT_EQ(folder, dir_);
  EXPECT_EQ(name, "花纹.bmp");
  EXPECT_EQ(title, "另存为");
  EXPECT_EQ(listed, (std::vector<std::string>{"sub", "existing.bmp"}));
  EXPECT_EQ(focus, edit);
  EXPECT_EQ(readOnly, nullptr) << "OFN_HIDEREADONLY hides the check box";
}

TEST_F(SaveDialogTest, WithoutAFolderInTheNameItOpensInTheWorkingFolderAndTheReadOnlyBoxShows) {
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(dir_.c_str()), 0);
  std::string folder;
  bool hasReadOnly = false;
  OPENFILENAMEA o = Make(0, "plain.bmp");
  Script({[&] {
            folder = ShownFolder();
            hasReadOnly = Item(chx1) != nullptr;
            ClickOn(Item(chx1));
          },
          [] { ClickOn(Item(IDOK)); }});
  BOOL ok = GetSaveFileNameA(&o);
  ASSERT_EQ(chdir(cwd), 0);
  ASSERT_TRUE(ok);
  EXPECT_EQ(folder, dir_);
  EXPECT_TRUE(hasReadOnly);
  EXPECT_TRUE(o.Flags & OFN_READONLY);
  EXPECT_EQ(std::string(file_), dir_ + "/plain.bmp");
}

TEST_F(SaveDialogTest, DoubleClickingAFolderEntersItAndTheUpButtonLeavesIt) {
  std::string inside, afterUp;
  OPENFILENAMEA o = Make(0, dir_ + "/");
  Script({[] { DoubleClickItem("sub"); },
          [&] {
            inside = ShownFolder();
            ClickOn(Item(psh1));
          },
          [&] {
            afterUp = ShownFolder();
            DoubleClickItem("sub");
          },
          [] { Enter("a.bmp"); }});
  ASSERT_TRUE(GetSaveFileNameA(&o));
  EXPECT_EQ(inside, dir_ + "/sub");
  EXPECT_EQ(afterUp, dir_);
  EXPECT_EQ(std::string(file_), dir_ + "/sub/a.bmp");
}

TEST_F(SaveDialogTest, TypedFoldersRelativeAbsoluteAndDotDotAreEnteredAndRelativeNamesWork) {
  std::string afterSub, afterDots, afterAbsolute, nameAfterSub;
  OPENFILENAMEA o = Make(0, dir_ + "/");
  Script({[] { Enter("sub"); },
          [&] {
            afterSub = ShownFolder();
            nameAfterSub = Text(Item(edt1));
            Enter("..");
          },
          [&] {
            afterDots = ShownFolder();
            Enter(dir_ + "/sub/");
          },
          [&] {
            afterAbsolute = ShownFolder();
            Enter("../sub/图案");
          }});
  ASSERT_TRUE(GetSaveFileNameA(&o));
  EXPECT_EQ(afterSub, dir_ + "/sub");
  EXPECT_EQ(nameAfterSub, "") << "the folder name left the field";
  EXPECT_EQ(afterDots, dir_);
  EXPECT_EQ(afterAbsolute, dir_ + "/sub");
  EXPECT_EQ(std::string(file_), dir_ + "/sub/图案") << "no extension is added";
  EXPECT_EQ(o.nFileExtension, std::strlen(file_)) << "no extension: the offset of the terminator";
}

TEST_F(SaveDialogTest, ADefaultExtensionIsTheChosenTypesAndThePromptAsksAboutTheWholeName) {
  std::ofstream(dir_ + "/taken.svg") << "x";
  const char* filter = "PNG 图像 (*.png)\0*.png\0SVG 矢量图 (*.svg)\0*.svg\0所有文件\0*.*\0\0";
  std::string prompt, afterSub;
  OPENFILENAMEA o = Make(OFN_OVERWRITEPROMPT, dir_ + "/");
  o.lpstrFilter = filter;
  o.lpstrDefExt = "png";
  Script({[] {
            SetFocus(Item(cmb1));
            Key(VK_DOWN);  // the second type
            SetFocus(Item(edt1));
            Enter("taken");
          },
          [&] {
            prompt = Prompt();
            ClickOn(Item(IDYES));
          }});
  ASSERT_TRUE(GetSaveFileNameA(&o));
  EXPECT_EQ(prompt, dir_ + "/taken.svg 已存在。\n要替换它吗？");
  EXPECT_EQ(std::string(file_), dir_ + "/taken.svg");
  EXPECT_EQ(o.nFilterIndex, 2u) << "the type chosen comes back";

  // A type without one extension takes lpstrDefExt; a typed extension stays;
  // a folder's name still opens the folder.
  o = Make(0, dir_ + "/");
  o.lpstrFilter = filter;
  o.lpstrDefExt = "png";
  o.nFilterIndex = 3;
  Script({[] { Enter("plain"); }});
  ASSERT_TRUE(GetSaveFileNameA(&o));
  EXPECT_EQ(std::string(file_), dir_ + "/plain.png");
  EXPECT_EQ(o.nFilterIndex, 3u);
  o = Make(0, dir_ + "/");
  o.lpstrFilter = filter;
  o.lpstrDefExt = "png";
  Script({[&] { Enter("sub"); },
          [&] {
            afterSub = ShownFolder();
            Enter("图案.txt");
          }});
  ASSERT_TRUE(GetSaveFileNameA(&o));
  EXPECT_EQ(afterSub, dir_ + "/sub");
  EXPECT_EQ(std::string(file_), dir_ + "/sub/图案.txt");
}

TEST_F(SaveDialogTest, AResultLongerThanTheBufferFailsWithAMessageInsteadOfBeingCut) {
  std::string message;
  OPENFILENAMEA o = Make(0, dir_ + "/");
  o.nMaxFile = static_cast<DWORD>(dir_.size() + 6);  // room for "/a.bmp" less its terminator
  char before[sizeof file_];
  std::memcpy(before, file_, sizeof file_);
  Script({[] { Enter("a.bmp"); },
          [&] {
            message = Prompt();
            Key(VK_RETURN);
          }});
  EXPECT_FALSE(GetSaveFileNameA(&o));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
  EXPECT_NE(message.find("路径太长"), std::string::npos) << message;
  EXPECT_EQ(std::memcmp(before, file_, sizeof file_), 0);

  o.nMaxFile = static_cast<DWORD>(dir_.size() + 7);  // exactly enough
  Script({[] { Enter("a.bmp"); }});
  EXPECT_TRUE(GetSaveFileNameA(&o));
  EXPECT_EQ(std::string(file_), dir_ + "/a.bmp");
}

TEST_F(SaveDialogTest, BadNamesAndMissingFoldersAreExplainedAndTheDialogStays) {
  std::vector<std::string> messages;
  HWND dialog = nullptr;
  std::vector<HWND> activeAfter;
  OPENFILENAMEA o = Make(0, dir_ + "/");
  auto note = [&] {
    messages.push_back(Prompt());
    Key(VK_RETURN);
  };
  // Typing cannot produce control characters, but text put into the field
  // (a paste) can.
  auto put = [](const char* text) {
    SetWindowTextA(Item(edt1), text);
    SetFocus(Item(edt1));
    Key(VK_RETURN);
  };
  Script({[&] {
            dialog = Active();
            put("bad\x01name");
          },
          note,
          [&] {
            activeAfter.push_back(Active());
            put("a\tb.bmp");
          },
          note,
          [&] {
            activeAfter.push_back(Active());
            Enter("nowhere/x.bmp");
          },
          note,
          [&] {
            activeAfter.push_back(Active());
            Key(VK_ESCAPE);
          }});
  EXPECT_FALSE(GetSaveFileNameA(&o));
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_NE(messages[0].find("控制字符"), std::string::npos) << messages[0];
  EXPECT_NE(messages[1].find("控制字符"), std::string::npos) << messages[1];
  EXPECT_NE(messages[2].find("路径不存在"), std::string::npos) << messages[2];
  EXPECT_EQ(activeAfter, (std::vector<HWND>{dialog, dialog, dialog}));
}

TEST_F(SaveDialogTest, AnUnreadableFolderIsReportedAndTheDialogStaysWhereItWas) {
  fs::create_directory(dir_ + "/locked");
  fs::permissions(dir_ + "/locked", fs::perms::none);
  if (access((dir_ + "/locked").c_str(), R_OK) == 0) GTEST_SKIP() << "permissions do not bind this user";
  std::string message, folder;
  OPENFILENAMEA o = Make(0, dir_ + "/");
  Script({[] { Enter("locked"); },
          [&] {
            message = Prompt();
            Key(VK_RETURN);
          },
          [&] {
            folder = ShownFolder();
            Key(VK_ESCAPE);
          }});
  EXPECT_FALSE(GetSaveFileNameA(&o));
  EXPECT_NE(message.find("无法访问"), std::string::npos) << message;
  EXPECT_EQ(folder, dir_);
}

TEST_F(SaveDialogTest, AFolderThatVanishesWhileShownSendsTheDialogToItsNearestAncestor) {
  fs::create_directories(dir_ + "/gone/deeper");
  std::string message, folder;
  OPENFILENAMEA o = Make(0, dir_ + "/gone/deeper/");
  Script({[&] {
            fs::remove_all(dir_ + "/gone");
            Enter("x.bmp");
          },
          [&] {
            message = Prompt();
            Key(VK_RETURN);
          },
          [&] {
            folder = ShownFolder();
            Key(VK_RETURN);  // the typed name is still there: saved in the ancestor
          }});
  ASSERT_TRUE(GetSaveFileNameA(&o));
  EXPECT_NE(message.find("无法访问"), std::string::npos) << message;
  EXPECT_EQ(folder, dir_);
  EXPECT_EQ(std::string(file_), dir_ + "/x.bmp");
}

TEST_F(SaveDialogTest, AWildcardNameFiltersTheList) {
  std::vector<std::string> listed;
  OPENFILENAMEA o = Make(0, dir_ + "/");
  Script({[] { Enter("*.txt"); },
          [&] {
            listed = ListedNames();
            Key(VK_ESCAPE);
          }});
  EXPECT_FALSE(GetSaveFileNameA(&o));
  EXPECT_EQ(listed, (std::vector<std::string>{"sub", "other.txt"}));
}

TEST_F(SaveDialogTest, BadStructuresFail) {
  OPENFILENAMEA o = Make(0, "");
  o.lStructSize = 8;
  EXPECT_FALSE(GetSaveFileNameA(&o));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
  o = Make(0, "");
  o.nMaxFile = 0;
  EXPECT_FALSE(GetSaveFileNameA(&o));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_INITIALIZATION));
}

}  // namespace

namespace {

using SaveDialogKeys = SaveDialogTest;

TEST_F(SaveDialogKeys, TheFolderDropDownGoesUpAndReturnInAnOpenDropDownDoesNotSave) {
  std::string afterUp;
  bool droppedAfterF4 = false, openAfterReturn = false;
  HWND dialog = nullptr;
  OPENFILENAMEA o = Make(0, dir_ + "/sub/");
  Script({[&] {
            dialog = Active();
            SetFocus(Item(cmb2));
            Key(VK_UP);  // the parent is the entry above
          },
          [&] {
            afterUp = ShownFolder();
            SetFocus(Item(cmb1));
            Key(VK_F4);
          },
          [&] {
            droppedAfterF4 = SendMessageA(Item(cmb1), CB_GETDROPPEDSTATE, 0, 0) != 0;
            Key(VK_RETURN);  // closes the list, nothing more
          },
          [&] {
            openAfterReturn = IsWindow(dialog) && Active() == dialog;
            Key(VK_ESCAPE);
          }});
  EXPECT_FALSE(GetSaveFileNameA(&o));
  EXPECT_EQ(afterUp, dir_);
  EXPECT_TRUE(droppedAfterF4);
  EXPECT_TRUE(openAfterReturn);
}

TEST_F(SaveDialogKeys, AltWithALabelsLetterFocusesTheControlAfterTheLabel) {
  int afterAltT = 0, afterAltN = 0;
  OPENFILENAMEA o = Make(0, dir_ + "/");
  auto alt = [](UINT vk) {
    platform::testing::KeyDown(VK_MENU);
    Key(vk);
    platform::testing::KeyUp(VK_MENU);
  };
  Script({[&] { alt('T'); },
          [&] {
            afterAltT = GetDlgCtrlID(GetFocus());
            alt('N');
          },
          [&] {
            afterAltN = GetDlgCtrlID(GetFocus());
            Key(VK_ESCAPE);
          }});
  EXPECT_FALSE(GetSaveFileNameA(&o));
  EXPECT_EQ(afterAltT, cmb1);
  EXPECT_EQ(afterAltN, edt1);
}

}  // namespace
