// Sections: successful saves; names; folders that cannot take the file;
// failures half way through. What is at the target (pipes, links, owners,
// protections) is tested in save_target_test.cpp.
#include <cstring>

#include "patterns/runtime_error.h"
#include "runtime/save_picture_fixture.h"

namespace runtime {
namespace {

// ---- successful saves ----------------------------------------------------------

TEST_F(SavePictureTest, WritesTheBitmapAndNothingElse) {
  SavePicture(Picture(), Path("a.bmp"));
  ExpectSavedPicture(Path("a.bmp"));
  EXPECT_EQ(ReadFileBytes(Path("a.bmp")), EncodeBmp24(Picture()));
  EXPECT_EQ(Entries(), (std::set<std::string>{"a.bmp"}));
}

TEST_F(SavePictureTest, ReplacesAnExistingFileKeepingItsPermissions) {
  WriteText(Path("old.bmp"), "previous content");
  ASSERT_EQ(::chmod(Path("old.bmp").c_str(), 0640), 0);
  SavePicture(Picture(), Path("old.bmp"));
  ExpectSavedPicture(Path("old.bmp"));
  struct stat st {};
  ASSERT_EQ(::stat(Path("old.bmp").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(), (std::set<std::string>{"old.bmp"}));
}

TEST_F(SavePictureTest, ShortAndInterruptedWritesStillCompleteTheFile) {
  FaultyOps ops;
  ops.max_write = 7;
  ops.eintr_writes = 3;
  SavePicture(Picture(), Path("slow.bmp"), ops);
  ExpectSavedPicture(Path("slow.bmp"));
  EXPECT_GT(ops.writes, 20) << "the cap should have forced many writes";
}

TEST_F(SavePictureTest, ALinkIsFollowedAndStaysALink) {
  WriteText(Path("real.bmp"), "old");
  fs::create_symlink(Path("real.bmp"), Path("link.bmp"));
  SavePicture(Picture(), Path("link.bmp"));
  EXPECT_TRUE(fs::is_symlink(Path("link.bmp")));
  ExpectSavedPicture(Path("real.bmp"));
}

TEST_F(SavePictureTest, TakenTemporaryNamesAreSkipped) {
  FaultyOps ops;
  ops.eexist_opens = 2;
  SavePicture(Picture(), Path("x.bmp"), ops);
  ExpectSavedPicture(Path("x.bmp"));
  ASSERT_GE(ops.opened.size(), 3u);
  EXPECT_NE(ops.opened[0], ops.opened[1]);
  EXPECT_NE(ops.opened[1], ops.opened[2]);
  EXPECT_EQ(fs::path(ops.opened[2]).parent_path(), fs::path(dir_)) << "temporary file beside the target";
}

TEST_F(SavePictureTest, AnUntouchedEffectPictureIsItsBackgroundColour) {
  // Picture1's background 0x00FF8080 (BGR) is red 0x80, green 0x80, blue 0xFF.
  SavePicture(patterns::Picture::Solid(737, 709, 0x00FF8080), Path("plain.bmp"));
  const auto decoded = DecodeBmp24(ReadFileBytes(Path("plain.bmp")));
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->width, 737);
  EXPECT_EQ(decoded->height, 709);
  EXPECT_EQ(std::count(decoded->pixels.begin(), decoded->pixels.end(), 0x008080FFu), 737 * 709);
}

TEST_F(SavePictureTest, AnEmptyPictureIsAnErrorAndWritesNothing) {
  try {
    SavePicture(patterns::Picture(), Path("empty.bmp"));
    ADD_FAILURE() << "saved an empty picture";
  } catch (const patterns::RuntimeError& e) {
    EXPECT_EQ(e.Number(), 5);
  }
  EXPECT_TRUE(Entries().empty());
}

// ---- names -----------------------------------------------------------------------

TEST_F(SavePictureTest, NameWithoutExtensionIsWrittenExactlyAsTyped) {
  SavePicture(Picture(), Path("图案"));
  EXPECT_EQ(Entries(), (std::set<std::string>{"图案"}));
  ExpectSavedPicture(Path("图案"));
}

TEST_F(SavePictureTest, LongUtf8NamesUpToTheSystemLimit) {
  std::string longest;
  for (int i = 0; i < 85; ++i) longest += "纹";  // 255 bytes, the usual name limit
  SavePicture(Picture(), Path(longest));
  ExpectSavedPicture(Path(longest));

  const std::string too_long = longest + "纹";
  const FileError e = SaveExpectingError(Path(too_long));
  EXPECT_EQ(e.OsError(), ENAMETOOLONG);
  EXPECT_EQ(e.Number(), kErrBadFileName);
  EXPECT_EQ(Entries(), (std::set<std::string>{longest}));
}

TEST_F(SavePictureTest, RelativePathIsTakenFromTheWorkingFolder) {
  const fs::path before = fs::current_path();
  fs::current_path(dir_);
  SavePicture(Picture(), "relative.bmp");
  fs::current_path(before);
  ExpectSavedPicture(Path("relative.bmp"));
  EXPECT_EQ(Entries(), (std::set<std::string>{"relative.bmp"}));
}

// ---- folders that cannot take the file -------------------------------------------

TEST_F(SavePictureTest, MissingFolderIsPathNotFound) {
  const std::string path = Path("no-such-folder/a.bmp");
  const FileError e = SaveExpectingError(path);
  EXPECT_EQ(e.Number(), kErrPathNotFound);
  EXPECT_EQ(e.OsError(), ENOENT);
  EXPECT_EQ(e.Path(), path);
  EXPECT_EQ(e.Reason(), std::strerror(ENOENT));
  EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
  EXPECT_TRUE(Entries().empty());
}

TEST_F(SavePictureTest, FolderThatIsAFileIsPathNotFound) {
  WriteText(Path("plain"), "x");
  const FileError e = SaveExpectingError(Path("plain/a.bmp"));
  EXPECT_EQ(e.OsError(), ENOTDIR);
  EXPECT_EQ(e.Number(), kErrPathNotFound);
  EXPECT_EQ(ReadText(Path("plain")), "x");
}

TEST_F(SavePictureTest, EmptyPathAndFolderNamesAreRefused) {
  EXPECT_EQ(SaveExpectingError("").Number(), kErrPathNotFound);
  fs::create_directory(Path("sub"));
  EXPECT_EQ(SaveExpectingError(Path("sub")).OsError(), EISDIR);
  EXPECT_EQ(SaveExpectingError(Path("sub") + "/").OsError(), EISDIR);
  EXPECT_TRUE(fs::is_directory(Path("sub")));
  EXPECT_TRUE(fs::is_empty(Path("sub")));
}

TEST_F(SavePictureTest, ANameWithANulByteIsRefusedNotCutShort) {
  const std::string path = Path("a") + std::string(1, '\0') + "b.bmp";
  const FileError e = SaveExpectingError(path);
  EXPECT_EQ(e.Number(), kErrBadFileName);
  EXPECT_EQ(e.Path(), path);
  EXPECT_TRUE(fs::is_empty(dir_)) << "nothing written under the part before the NUL";
}

// ---- failures half way through -------------------------------------------------------

TEST_F(SavePictureTest, EveryFailingStepLeavesTheOldFileAndNoTemporary) {
  struct Case {
    const char* step;
    void (*arm)(FaultyOps&);
    int os_error;
    int number;
  };
  const Case cases[] = {
      {"first write", [](FaultyOps& o) { o.fail_write_at = 1; }, ENOSPC, kErrDiskFull},
      {"second write", [](FaultyOps& o) { o.max_write = 16, o.fail_write_at = 2; }, ENOSPC, kErrDiskFull},
      {"write error", [](FaultyOps& o) { o.fail_write_at = 1, o.write_errno = EIO; }, EIO,
       kErrPathFileAccess},
      {"no progress", [](FaultyOps& o) { o.write_zero = true; }, ENOSPC, kErrDiskFull},
      {"fsync", [](FaultyOps& o) { o.fail_fsync = true; }, EIO, kErrPathFileAccess},
      {"close", [](FaultyOps& o) { o.fail_close = true; }, EIO, kErrPathFileAccess},
      {"rename", [](FaultyOps& o) { o.fail_rename = true; }, EXDEV, kErrPathFileAccess},
  };
  for (const Case& c : cases) {
    WriteText(Path("kept.bmp"), "earlier save");
    FaultyOps ops;
    c.arm(ops);
    const FileError e = SaveExpectingError(Path("kept.bmp"), ops);
    EXPECT_EQ(e.OsError(), c.os_error) << c.step;
    EXPECT_EQ(e.Number(), c.number) << c.step;
    EXPECT_EQ(e.Path(), Path("kept.bmp")) << c.step << ": the user's path, not the temporary one";
    EXPECT_EQ(ReadText(Path("kept.bmp")), "earlier save") << c.step;
    EXPECT_EQ(Entries(), (std::set<std::string>{"kept.bmp"})) << c.step;
  }
}

TEST_F(SavePictureTest, FailedFirstSaveLeavesNoFileAtAll) {
  FaultyOps ops;
  ops.fail_write_at = 1;
  SaveExpectingError(Path("new.bmp"), ops);
  EXPECT_TRUE(Entries().empty());
}

}  // namespace
}  // namespace runtime
