// The font engine against the fonts the project installs (fonts-arphic-uming,
// fonts-dejavu-core).
#include "platform/gdi/font_engine.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/gdi/font_answers.h"
#include "platform/gdi/font_object.h"
#include "platform/gdi/font_resolve.h"

namespace {

using platform::gdi::RealizedFont;
using platform::gdi::RealizeFont;

LOGFONTA Font(const char* face, int height, int weight = FW_NORMAL) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

bool HasInk(const platform::gdi::GlyphImage& g) {
  return std::any_of(g.coverage.begin(), g.coverage.end(), [](std::uint8_t c) { return c > 0; });
}

// 10.5 pt at 96 dpi, the main window's font.
constexpr int kSongHeight = -14;

TEST(FontResolve, WindowsFacesMapToTheInstalledFreeFaces) {
  EXPECT_TRUE(Contains(RealizeFont(Font("宋体", kSongHeight))->File().path, "uming"));
  EXPECT_TRUE(Contains(RealizeFont(Font("SimSun", kSongHeight))->File().path, "uming"));
  EXPECT_TRUE(Contains(RealizeFont(Font("新宋体", kSongHeight))->File().path, "uming"));
  for (const char* face : {"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Arial", "ms sans serif"}) {
    const std::string path = RealizeFont(Font(face, -11))->File().path;
    EXPECT_TRUE(Contains(path, "DejaVuSans")) << face << " -> " << path;
    EXPECT_FALSE(Contains(path, "Mono")) << face;
  }
  EXPECT_TRUE(Contains(RealizeFont(Font("Courier New", -13))->File().path, "DejaVuSansMono"));
}

TEST(FontResolve, UnknownFaceFallsBackToAnInstalledFace) {
  RealizedFont* f = RealizeFont(Font("No Such Face 42", -12));
  const std::string path = f->File().path;
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(access(path.c_str(), R_OK), 0);
  EXPECT_GT(f->Advance(U'A'), 0);
  EXPECT_TRUE(HasInk(f->Glyph(U'A')));
}

TEST(FontResolve, WithoutFontconfigTheWellKnownPathsAreUsed) {
  platform::gdi::SetFontLookupForTesting({false, true});
  EXPECT_TRUE(Contains(RealizeFont(Font("宋体", kSongHeight))->File().path, "uming.ttc"));
  EXPECT_TRUE(Contains(RealizeFont(Font("MS Sans Serif", -11))->File().path, "DejaVuSans.ttf"));
  EXPECT_TRUE(Contains(RealizeFont(Font("MS Sans Serif", -16, FW_BOLD))->File().path, "DejaVuSans-Bold.ttf"));
  platform::gdi::SetFontLookupForTesting({});
}

TEST(FontResolve, WithNoFontAtAllTextHasMetricsButNoInk) {
  platform::gdi::SetFontLookupForTesting({false, false});
  RealizedFont* f = RealizeFont(Font("宋体", kSongHeight));
  EXPECT_TRUE(f->File().path.empty());
  EXPECT_GT(f->Metrics().height, 0);
  EXPECT_FALSE(HasInk(f->Glyph(U'中')));
  EXPECT_FALSE(HasInk(f->Glyph(U'A')));
  platform::gdi::SetFontLookupForTesting({});
  EXPECT_TRUE(HasInk(RealizeFont(Font("宋体", kSongHeight))->Glyph(U'中'))) << "lookup restored";
}

TEST(FontMetrics, NegativeHeightIsTheCharacterHeightPositiveTheCell) {
  for (const char* face : {"宋体", "MS Sans Serif"}) {
    const auto& em = RealizeFont(Font(face, -14))->Metrics();
    EXPECT_EQ(em.height, em.ascent + em.descent) << face;
    EXPECT_EQ(em.height - em.internalLeading, 14) << face;
    EXPECT_GE(em.internalLeading, 0) << face;

    const auto& cell = RealizeFont(Font(face, 20))->Metrics();
    EXPECT_EQ(cell.height, 20) << face;
    EXPECT_EQ(cell.ascent + cell.descent, 20) << face;
  }
  // 12 pt bold and 8.25 pt regular of the picture boxes: -16 and -11.
  EXPECT_EQ(RealizeFont(Font("MS Sans Serif", -16, FW_BOLD))->Metrics().weight, FW_BOLD);
  EXPECT_GT(RealizeFont(Font("MS Sans Serif", -16))->Metrics().height,
            RealizeFont(Font("MS Sans Serif", -11))->Metrics().height);
  EXPECT_GT(RealizeFont(Font("MS Sans Serif", 0))->Metrics().height, 0) << "height 0 picks a default";
}

TEST(FontMetrics, AbsurdSizesAreHeldToScreenSizes) {
  for (int height : {-1000000, 1000000, INT_MIN + 1}) {
    RealizedFont* f = RealizeFont(Font("MS Sans Serif", height));
    EXPECT_GT(f->Metrics().height, 0) << height;
    EXPECT_LE(f->Metrics().height, 1400) << height;
    EXPECT_LE(f->Glyph(U'W').width, 1400) << height;
  }
  LOGFONTA wide = Font("MS Sans Serif", -12);
  wide.lfWidth = 1000000;
  EXPECT_LE(RealizeFont(wide)->Glyph(U'W').width, 2 * 1400);
}

TEST(FontMetrics, AverageAndMaximumWidthsAreSane) {
  const auto& m = RealizeFont(Font("MS Sans Serif", -11))->Metrics();
  EXPECT_GT(m.aveCharWidth, 0);
  EXPECT_LT(m.aveCharWidth, 11);
  EXPECT_GE(m.maxCharWidth, m.aveCharWidth);
  // A CJK face still reports a Latin-sized average (half an em or less),
  // as dialog units and tab stops are measured with it.
  const auto& song = RealizeFont(Font("宋体", kSongHeight))->Metrics();
  EXPECT_GT(song.aveCharWidth, 0);
  EXPECT_LE(song.aveCharWidth, 8);
  EXPECT_TRUE(RealizeFont(Font("Courier New", -13))->Metrics().fixedPitch);
  EXPECT_FALSE(m.fixedPitch);
}

TEST(FontBold, BoldIsSynthesisedWhereTheFaceHasNoBold) {
  RealizedFont* regular = RealizeFont(Font("宋体", kSongHeight, FW_NORMAL));
  RealizedFont* bold = RealizeFont(Font("宋体", kSongHeight, FW_BOLD));
  EXPECT_FALSE(regular->SyntheticBold());
  EXPECT_TRUE(bold->SyntheticBold()) << "AR PL UMing has no bold face";
  for (char32_t c : {U'中', U'图', U'A'}) EXPECT_GT(bold->Advance(c), regular->Advance(c));
  // Synthesis darkens the glyph: more total coverage.
  auto ink = [](const platform::gdi::GlyphImage& g) {
    long sum = 0;
    for (auto c : g.coverage) sum += c;
    return sum;
  };
  EXPECT_GT(ink(bold->Glyph(U'中')), ink(regular->Glyph(U'中')));

  // DejaVu Sans has a real bold file: no synthesis, still wider.
  RealizedFont* sansBold = RealizeFont(Font("MS Sans Serif", -16, FW_BOLD));
  EXPECT_FALSE(sansBold->SyntheticBold());
  EXPECT_TRUE(sansBold->File().bold);
  EXPECT_GT(sansBold->Advance(U'W') + sansBold->Advance(U'a'),
            RealizeFont(Font("MS Sans Serif", -16))->Advance(U'W') +
                RealizeFont(Font("MS Sans Serif", -16))->Advance(U'a'));
}

TEST(FontFallback, ChineseInALatinFaceComesFromTheCjkFace) {
  RealizedFont* sans = RealizeFont(Font("MS Sans Serif", -11));
  EXPECT_FALSE(sans->HasOwnGlyph(U'图'));
  EXPECT_TRUE(HasInk(sans->Glyph(U'图')));
  EXPECT_GT(sans->Advance(U'图'), sans->Advance(U'i'));
  // And the other way: a symbol AR PL UMing lacks comes from DejaVu Sans.
  RealizedFont* song = RealizeFont(Font("宋体", kSongHeight));
  EXPECT_FALSE(song->HasOwnGlyph(U'\u2603'));
  EXPECT_TRUE(HasInk(song->Glyph(U'\u2603')));
  // The replacement mark exists in some installed face and is drawn.
  EXPECT_TRUE(HasInk(RealizeFont(Font("宋体", kSongHeight))->Glyph(U'\uFFFD')));
  EXPECT_TRUE(HasInk(sans->Glyph(U'\uFFFD')));
}

TEST(FontGlyphs, ControlCharactersHaveNoWidthAndNoInk) {
  RealizedFont* f = RealizeFont(Font("MS Sans Serif", -11));
  for (char32_t c : {U'\r', U'\n', U'\t', char32_t{0}}) {
    EXPECT_EQ(f->Advance(c), 0);
    EXPECT_FALSE(HasInk(f->Glyph(c)));
  }
  const auto& g = f->Glyph(U'H');
  EXPECT_GT(g.top, 0) << "capitals stand on the baseline";
  EXPECT_LE(g.top, f->Metrics().ascent);
}

TEST(FontHandles, CreateFontKeepsTheLogFontAndStockFontsArePermanent) {
  const auto before = platform::LiveHandleCount(platform::HandleKind::Font);
  HFONT h = CreateFontA(-14, 0, 0, 0, FW_BOLD, TRUE, FALSE, TRUE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "宋体");
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(platform::LiveHandleCount(platform::HandleKind::Font), before + 1);
  const auto* obj = platform::gdi::LookupFont(h);
  ASSERT_NE(obj, nullptr);
  EXPECT_EQ(obj->logfont.lfHeight, -14);
  EXPECT_EQ(obj->logfont.lfWeight, FW_BOLD);
  EXPECT_EQ(obj->logfont.lfItalic, 1);
  EXPECT_EQ(obj->logfont.lfStrikeOut, 1);
  EXPECT_EQ(obj->logfont.lfCharSet, GB2312_CHARSET);
  EXPECT_STREQ(obj->logfont.lfFaceName, "宋体");
  EXPECT_FALSE(platform::gdi::IsStockFont(h));
  platform::ReleaseHandle(h);
  EXPECT_EQ(platform::gdi::LookupFont(h), nullptr);

  // An unterminated face name is cut, never read past.
  LOGFONTA lf{};
  std::memset(lf.lfFaceName, 'x', sizeof lf.lfFaceName);
  HFONT h2 = CreateFontIndirectA(&lf);
  EXPECT_EQ(std::strlen(platform::gdi::LookupFont(h2)->logfont.lfFaceName), LF_FACESIZE - 1u);
  platform::ReleaseHandle(h2);
  EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);

  for (int i : {OEM_FIXED_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, SYSTEM_FONT, DEVICE_DEFAULT_FONT,
                SYSTEM_FIXED_FONT, DEFAULT_GUI_FONT}) {
    HFONT s = platform::gdi::StockFont(i);
    ASSERT_NE(s, nullptr) << i;
    EXPECT_TRUE(platform::gdi::IsStockFont(s));
    EXPECT_EQ(platform::gdi::StockFont(i), s) << "made once";
  }
  EXPECT_EQ(platform::gdi::StockFont(15), nullptr);
  EXPECT_EQ(platform::gdi::StockFont(0), nullptr);
  EXPECT_TRUE(platform::gdi::LookupFont(platform::gdi::StockFont(ANSI_FIXED_FONT))->logfont.lfPitchAndFamily &
              FIXED_PITCH);
}

}  // namespace

namespace {

std::vector<std::uint8_t> Ink(RealizedFont* f, char32_t cp) { return f->Glyph(cp).coverage; }

// Sizes of one face share the face: each must still render at its own size
// whatever size rendered last.
TEST(FontFaces, SizesOfOneFaceRenderAtTheirOwnSizeWhenInterleaved) {
  platform::gdi::DropFontCaches();
  const std::vector<std::uint8_t> smallAlone = Ink(RealizeFont(Font("宋体", -12)), U'绘');
  const std::vector<std::uint8_t> largeAlone = Ink(RealizeFont(Font("宋体", -30)), U'纹');
  ASSERT_NE(smallAlone.size(), largeAlone.size());

  platform::gdi::DropFontCaches();
  RealizedFont* small = RealizeFont(Font("宋体", -12));
  RealizedFont* large = RealizeFont(Font("宋体", -30));
  EXPECT_EQ(small->File().path, large->File().path);
  EXPECT_EQ(Ink(large, U'纹'), largeAlone) << "the large size rendered after the small one was realised";
  EXPECT_EQ(Ink(small, U'绘'), smallAlone) << "the small size rendered after the large one";
  // The Latin face's fallback to the CJK face shares it too.
  RealizedFont* latin = RealizeFont(Font("MS Sans Serif", -12));
  EXPECT_EQ(Ink(latin, U'绘'), smallAlone) << "CJK in a Latin font of the same size falls back at that size";
}

// The answers kept between runs live under $XDG_CACHE_HOME; each test gets
// a folder of its own, and a configuration folder it can change.
class FontAnswersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/hwf-fontanswers-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    for (const char* name : {"XDG_CACHE_HOME", "XDG_CONFIG_HOME"})
      if (const char* v = std::getenv(name)) saved_.emplace_back(name, v);
    setenv("XDG_CACHE_HOME", (dir_ + "/cache").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
    platform::gdi::SetFontLookupForTesting({true, true});  // forgets every answer
  }
  void TearDown() override {
    platform::gdi::SetFontLookupForTesting({true, true});
    unsetenv("XDG_CACHE_HOME");
    unsetenv("XDG_CONFIG_HOME");
    for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
    std::filesystem::remove_all(dir_);
  }

  static std::vector<platform::gdi::FontFile> Usual() {
    std::vector<platform::gdi::FontFile> out;
    for (const char* face : {"宋体", "MS Sans Serif"})
      for (int weight : {FW_NORMAL, FW_BOLD})
        out.push_back(platform::gdi::ResolveFontFile(face, weight, false, false));
    return out;
  }
  // A new run: nothing remembered in memory, the usual look-up started.
  static void NewRun() {
    platform::gdi::SetFontLookupForTesting({true, true});
    platform::gdi::StartFontLookup();
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string dir_;
  std::vector<std::pair<std::string, std::string>> saved_;
};

void ExpectSameFiles(const std::vector<platform::gdi::FontFile>& a,
                     const std::vector<platform::gdi::FontFile>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].path, b[i].path) << i;
    EXPECT_EQ(a[i].index, b[i].index) << i;
    EXPECT_EQ(a[i].bold, b[i].bold) << i;
  }
}

TEST_F(FontAnswersTest, AnswersLookedUpAheadAreTheAnswersLookedUpOnDemand) {
  const std::vector<platform::gdi::FontFile> onDemand = Usual();
  NewRun();
  ExpectSameFiles(Usual(), onDemand);
  EXPECT_NE(onDemand[2].path, onDemand[3].path) << "regular and bold DejaVu Sans are kept apart";
  // Kept for the next run, and taken from there the same.
  platform::gdi::SetFontLookupForTesting({true, true});  // waits for the look-up
  const std::string kept = platform::gdi::FontAnswersPath();
  EXPECT_EQ(kept, dir_ + "/cache/huiwenfang/font-answers");
  EXPECT_NE(Read(kept).find("AR PL UMing CN\t700\t"), std::string::npos);
  NewRun();
  ExpectSameFiles(Usual(), onDemand);
}

TEST_F(FontAnswersTest, KeptAnswersAreTakenUntilSomethingFontconfigReadsChanges) {
  NewRun();
  const std::vector<platform::gdi::FontFile> fresh = Usual();
  platform::gdi::SetFontLookupForTesting({true, true});  // the file is written by now
  const std::string path = platform::gdi::FontAnswersPath();
  // The kept answer for the CJK face is made to name the sans file: a run
  // that takes it shows it came from the file, not from fontconfig.
  std::string text = Read(path);
  const std::string uming = fresh[0].path;
  for (std::size_t at; (at = text.find(uming)) != std::string::npos;)
    text.replace(at, uming.size(), fresh[2].path);
  { std::ofstream(path) << text; }
  NewRun();
  EXPECT_EQ(Usual()[0].path, fresh[2].path) << "the kept answer was taken";

  // A fontconfig folder of the user's appears: fontconfig is asked again and
  // the new answers are kept.
  std::filesystem::create_directories(dir_ + "/config/fontconfig");
  NewRun();
  EXPECT_EQ(Usual()[0].path, uming);
  platform::gdi::SetFontLookupForTesting({true, true});
  EXPECT_NE(Read(path).find(uming), std::string::npos);

  // A file that is not one of ours is passed over.
  {
    std::ofstream(path) << "huiwenfang font answers 1\n"
                        << platform::gdi::FontconfigStamp() << "--\nbroken\n";
  }
  NewRun();
  EXPECT_EQ(Usual()[0].path, uming);
}

TEST(FontAnswersFile, AnswersGoThroughTheFileAndNeedTheirStamp) {
  char tmpl[] = "/tmp/hwf-fontfile-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string path = std::string(tmpl) + "/sub/answers";
  platform::gdi::FontAnswers answers;
  platform::gdi::FontFile f;
  f.path = "/fonts/a b.ttc";
  f.index = 2;
  f.family = "Family B";
  f.bold = true;
  answers.emplace_back(platform::gdi::FontQuestion{"Family A", 700, true}, f);
  platform::gdi::FontFile tabbed = f;
  tabbed.path = "/fonts/tab\there.ttf";
  answers.emplace_back(platform::gdi::FontQuestion{"Tabbed", 400, false}, tabbed);
  ASSERT_TRUE(platform::gdi::WriteFontAnswers(path, "stamp 1\n", answers));
  auto read = platform::gdi::ReadFontAnswers(path, "stamp 1\n");
  ASSERT_TRUE(read.has_value());
  ASSERT_EQ(read->size(), 1u) << "an answer that is no single line is left out";
  EXPECT_EQ(std::get<0>((*read)[0].first), "Family A");
  EXPECT_EQ(std::get<1>((*read)[0].first), 700);
  EXPECT_TRUE(std::get<2>((*read)[0].first));
  EXPECT_EQ((*read)[0].second.path, "/fonts/a b.ttc");
  EXPECT_EQ((*read)[0].second.index, 2);
  EXPECT_EQ((*read)[0].second.family, "Family B");
  EXPECT_TRUE((*read)[0].second.bold);
  EXPECT_FALSE((*read)[0].second.italic);
  EXPECT_FALSE(platform::gdi::ReadFontAnswers(path, "stamp 2\n").has_value()) << "another stamp";
  EXPECT_FALSE(platform::gdi::ReadFontAnswers(path + ".missing", "stamp 1\n").has_value());
  EXPECT_FALSE(platform::gdi::WriteFontAnswers("", "stamp 1\n", answers)) << "no place to keep them";
  std::filesystem::remove_all(tmpl);
}

}  // namespace
