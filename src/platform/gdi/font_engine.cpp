// Sections:
//   1. FreeType library and face ownership
//   2. Sizing and Win32 metrics of a face
//   3. Glyph rendering (synthetic bold and italic, fallback face)
//   4. The cache of realised fonts
#include "platform/gdi/font_engine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <map>
#include <unordered_map>

#include "platform/gdi/font_object.h"

namespace platform::gdi {
namespace {

// ---- 1. FreeType library and face ownership --------------------------------

FT_Library Library();

// A face is opened once per file and shared by every size realised from it:
// each realised font keeps an FT_Size of its own and makes it the face's
// active size before it measures or renders.
using SharedFace = std::shared_ptr<FT_FaceRec_>;

struct SizedFace {
  SharedFace face;
  FT_Size size = nullptr;

  SizedFace() = default;
  explicit SizedFace(SharedFace f) : face(std::move(f)) {
    if (face && FT_New_Size(face.get(), &size) != 0) size = nullptr;
  }
  SizedFace(const SizedFace&) = delete;
  SizedFace& operator=(const SizedFace&) = delete;
  SizedFace(SizedFace&& o) noexcept : face(std::move(o.face)), size(o.size) { o.size = nullptr; }
  SizedFace& operator=(SizedFace&& o) noexcept {
    std::swap(face, o.face);
    std::swap(size, o.size);
    return *this;
  }
  ~SizedFace() {
    if (size) FT_Done_Size(size);
  }
  explicit operator bool() const { return face && size; }
  FT_Face get() const { return face.get(); }
  // The face, set to this font's size.
  FT_Face Use() const {
    FT_Activate_Size(size);
    return face.get();
  }
};

FT_Library Library();

// FreeType maps a font file into memory by default, and every glyph it
// reads then faults in the pages around it: the CJK face (21 MB) grew the
// program by 10 MB for a few hundred glyphs. Read through a stream instead,
// only the bytes FreeType asks for reach memory.
unsigned long ReadFontBytes(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                            unsigned long count) {
  const int fd = static_cast<int>(stream->descriptor.value);
  unsigned long done = 0;
  while (done < count) {
    const ssize_t n = pread(fd, buffer + done, count - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<unsigned long>(n);
  }
  // A seek (count 0) succeeds inside the file; FreeType takes a non-zero
  // result for a failed one.
  return count == 0 ? (offset > stream->size ? 1 : 0) : done;
}

void CloseFontStream(FT_Stream stream) {
  close(static_cast<int>(stream->descriptor.value));
  delete stream;
}

// Opens face `index` of the file read through ReadFontBytes; the face owns
// the stream from then on (FT_OPEN_STREAM with a close function).
FT_Face OpenStreamedFace(const std::string& path, int index) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) {
    close(fd);
    return nullptr;
  }
  auto* stream = new FT_StreamRec{};
  stream->size = static_cast<unsigned long>(st.st_size);
  stream->descriptor.value = fd;
  stream->read = ReadFontBytes;
  stream->close = CloseFontStream;
  FT_Open_Args args{};
  args.flags = FT_OPEN_STREAM;
  args.stream = stream;
  FT_Face face = nullptr;
  // FreeType closes the stream even when opening fails.
  if (FT_Open_Face(Library(), &args, index, &face) != 0) return nullptr;
  return face;
}

// Whether the file itself is bold. The face decides, not fontconfig: its
// synthetic rules report a face they would embolden as bold.
bool FaceIsBold(FT_Face face) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  return (face->style_flags & FT_STYLE_FLAG_BOLD) != 0 ||
         (os2 != nullptr && os2->version != 0xFFFF && os2->usWeightClass >= FW_SEMIBOLD);
}

std::map<std::pair<std::string, int>, std::weak_ptr<FT_FaceRec_>>& OpenFaces();

// The shared face of the file, opened if no font holds it now, sized for a
// new font; records whether the file itself is bold or italic.
SizedFace OpenFace(FontFile* file) {
  if (file->path.empty() || Library() == nullptr) return {};
  std::weak_ptr<FT_FaceRec_>& slot = OpenFaces()[{file->path, file->index}];
  SharedFace face = slot.lock();
  if (!face) {
    FT_Face opened = OpenStreamedFace(file->path, file->index);
    if (opened == nullptr) return {};
    if (!FT_IS_SCALABLE(opened) || FT_Select_Charmap(opened, FT_ENCODING_UNICODE) != 0) {
      FT_Done_Face(opened);
      return {};
    }
    face = SharedFace(opened, FT_Done_Face);
    slot = face;
  }
  file->bold = FaceIsBold(face.get());
  file->italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  return SizedFace(std::move(face));
}

// ---- 2. Sizing and Win32 metrics of a face ---------------------------------

// A height of 0 asks for "a reasonable default": 9 points at 96 dpi.
constexpr double kDefaultEmPixels = 12.0;
// A LOGFONTA is caller data: a height of a million pixels would ask
// FreeType for glyph bitmaps of terabytes. Sizes are held to what a screen
// can show.
constexpr double kMaxEmPixels = 1024.0;
constexpr double kMaxWidthPixels = 1024.0;

struct VerticalUnits {
  double ascent;  // font units
  double descent;
};

// Windows measures TrueType cells by the OS/2 usWin* values; fall back to
// the hhea numbers FreeType exposes when a font has no OS/2 table.
VerticalUnits CellUnits(FT_Face face) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
    return {static_cast<double>(os2->usWinAscent), static_cast<double>(os2->usWinDescent)};
  return {static_cast<double>(face->ascender), static_cast<double>(-face->descender)};
}

double EmPixelsFor(FT_Face face, LONG lfHeight) {
  if (lfHeight < 0) return -static_cast<double>(lfHeight);
  if (lfHeight == 0) return kDefaultEmPixels;
  const VerticalUnits cell = CellUnits(face);
  return lfHeight * static_cast<double>(face->units_per_EM) / (cell.ascent + cell.descent);
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

// ---- 3. Glyph rendering ----------------------------------------------------

bool IsControl(char32_t cp) { return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0); }

class FtFont final : public RealizedFont {
 public:
  FtFont(const LOGFONTA& lf, FontFile file, SizedFace face)
      : lf_(lf), file_(std::move(file)), face_(std::move(face)) {
    wantBold_ = lf.lfWeight >= FW_SEMIBOLD;
    synthBold_ = face_ && wantBold_ && !file_.bold;
    primaryScript_ = ScriptOfFace(lf.lfFaceName);
    if (face_) {
      emPixels_ = EmPixelsFor(face_.get(), lf.lfHeight);
    } else if (lf.lfHeight != 0) {
      emPixels_ = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight * 0.85;
    }
    emPixels_ = std::clamp(emPixels_, 1.0, kMaxEmPixels);
    if (face_) SizeFace(face_);
    ComputeMetrics();
  }

  const FontMetrics& Metrics() const override { return metrics_; }
  const FontFile& File() const override { return file_; }
  bool SyntheticBold() const override { return synthBold_; }

  bool HasOwnGlyph(char32_t cp) override {
    return face_ && FT_Get_Char_Index(face_.get(), static_cast<FT_ULong>(cp)) != 0;
  }

  const GlyphImage& Glyph(char32_t cp) override {
    auto it = glyphs_.find(cp);
    if (it != glyphs_.end()) return it->second;
    return glyphs_.emplace(cp, Render(cp)).first->second;
  }

 private:
  void SizeFace(const SizedFace& sized) {
    FT_Face face = sized.Use();
    const FT_F26Dot6 height = std::max<FT_F26Dot6>(64, static_cast<FT_F26Dot6>(std::lround(emPixels_ * 64)));
    FT_F26Dot6 width = 0;
    if (lf_.lfWidth > 0) {
      const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      if (os2 != nullptr && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
        width = static_cast<FT_F26Dot6>(
            std::lround(std::min<double>(lf_.lfWidth, kMaxWidthPixels) * 64.0 * face->units_per_EM /
                        static_cast<double>(os2->xAvgCharWidth)));
    }
    FT_Set_Char_Size(face, width, height, 72, 72);
  }

  // Bold is smeared sideways by about 1/24 em, never less than a pixel, so
  // a synthesised bold is always measurably wider than the regular face.
  FT_Pos BoldStrength() const { return std::max<FT_Pos>(64, (std::lround(emPixels_ * 64 / 24) + 32) & ~63); }

  void ComputeMetrics() {
    FontMetrics& m = metrics_;
    m.weight = lf_.lfWeight == 0 ? FW_NORMAL : lf_.lfWeight;
    m.italic = lf_.lfItalic != 0;
    m.underline = lf_.lfUnderline != 0;
    m.strikeout = lf_.lfStrikeOut != 0;
    m.fixedPitch = face_ ? FT_IS_FIXED_WIDTH(face_.get()) : (lf_.lfPitchAndFamily & 3) == FIXED_PITCH;
    if (!face_) {
      m.ascent = Round(emPixels_ * 0.8);
      m.descent = Round(emPixels_) - m.ascent;
      m.height = m.ascent + m.descent;
      return;
    }
    FT_Face face = face_.get();
    const double scale = emPixels_ / face->units_per_EM;
    const VerticalUnits cell = CellUnits(face);
    m.ascent = Round(cell.ascent * scale);
    m.descent = Round(cell.descent * scale);
    if (lf_.lfHeight > 0 && lf_.lfHeight >= m.ascent && lf_.lfHeight <= m.height + 1)
      m.descent = lf_.lfHeight - m.ascent;
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - Round(emPixels_));
    // face->height is the hhea line spacing; what it adds beyond the cell is
    // the leading Windows reports as external.
    m.externalLeading = std::max(0, Round((face->height - (cell.ascent + cell.descent)) * scale));
    const int boldExtra = synthBold_ ? static_cast<int>(BoldStrength() / 64) : 0;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    // CJK fonts declare the average over their full-width ideographs; like
    // Windows, report the width of the Latin letters the UI is measured in.
    const int latinAverage = LatinAverage();
    if (os2 != nullptr && os2->version != 0xFFFF && os2->xAvgCharWidth > 0 &&
        os2->xAvgCharWidth < face->units_per_EM * 0.6) {
      m.aveCharWidth = Round(os2->xAvgCharWidth * scale) + boldExtra;
    } else {
      m.aveCharWidth = latinAverage;
    }
    if (m.aveCharWidth <= 0) m.aveCharWidth = std::max(1, Round(emPixels_ / 2));
    m.maxCharWidth = std::max(m.aveCharWidth, Round(face->max_advance_width * scale) + boldExtra);
    m.underlineThickness = std::max(1, Round(face->underline_thickness * scale));
    m.underlineOffset = std::clamp(Round(-face->underline_position * scale), 1, std::max(1, m.descent - 1));
    m.strikeoutOffset = Round(m.ascent / 3.0);
    if (os2 != nullptr && os2->version != 0xFFFF && os2->yStrikeoutPosition > 0)
      m.strikeoutOffset = Round(os2->yStrikeoutPosition * scale);
  }

  int LatinAverage() {
    int sum = 0, n = 0;
    for (char32_t c = 'a'; c <= 'z'; ++c) {
      if (FT_Get_Char_Index(face_.get(), c) == 0) continue;
      sum += Glyph(c).advance;
      ++n;
    }
    return n == 0 ? 0 : Round(static_cast<double>(sum) / n);
  }

  const SizedFace* FallbackFace() {
    if (!fallbackTried_) {
      fallbackTried_ = true;
      fallbackFile_ = FallbackFontFile(primaryScript_);
      if (fallbackFile_.path != file_.path || fallbackFile_.index != file_.index) {
        fallback_ = OpenFace(&fallbackFile_);
        if (fallback_) SizeFace(fallback_);
      }
    }
    return fallback_ ? &fallback_ : nullptr;
  }

  GlyphImage Render(char32_t cp) {
    GlyphImage g;
    if (!face_ || IsControl(cp)) return g;
    const SizedFace* sized = &face_;
    bool faceIsBold = file_.bold;
    bool faceIsItalic = file_.italic;
    FT_UInt index = FT_Get_Char_Index(face_.get(), static_cast<FT_ULong>(cp));
    if (index == 0) {
      const SizedFace* other = FallbackFace();
      const FT_UInt otherIndex = other ? FT_Get_Char_Index(other->get(), static_cast<FT_ULong>(cp)) : 0;
      if (otherIndex != 0) {
        sized = other;
        index = otherIndex;
        faceIsBold = fallbackFile_.bold;
        faceIsItalic = fallbackFile_.italic;
      }
    }
    FT_Face face = sized->Use();
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) return g;
    FT_GlyphSlot slot = face->glyph;
    FT_Pos advance = slot->advance.x;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      if (wantBold_ && !faceIsBold) {
        const FT_Pos strength = BoldStrength();
        FT_Outline_EmboldenXY(&slot->outline, strength, 0);
        FT_Outline_Translate(&slot->outline, strength / 2, 0);
        advance += strength;
      }
      if (lf_.lfItalic && !faceIsItalic) FT_GlyphSlot_Oblique(slot);
    }
    g.advance = static_cast<int>((advance + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_GRAY || bm.width == 0 || bm.rows == 0) return g;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.height = static_cast<int>(bm.rows);
    g.coverage.resize(static_cast<std::size_t>(g.width) * g.height);
    const bool hardEdges = lf_.lfQuality == NONANTIALIASED_QUALITY;
    for (int y = 0; y < g.height; ++y) {
      const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
      std::uint8_t* dst = g.coverage.data() + static_cast<std::size_t>(y) * g.width;
      for (int x = 0; x < g.width; ++x) dst[x] = hardEdges ? (src[x] >= 128 ? 255 : 0) : src[x];
    }
    return g;
  }

  LOGFONTA lf_;
  FontFile file_;
  SizedFace face_;
  FontFile fallbackFile_;
  SizedFace fallback_;
  bool fallbackTried_ = false;
  bool wantBold_ = false;
  bool synthBold_ = false;
  FontScript primaryScript_ = FontScript::Latin;
  double emPixels_ = kDefaultEmPixels;
  FontMetrics metrics_;
  std::unordered_map<char32_t, GlyphImage> glyphs_;
};

// ---- 4. The cache of realised fonts ----------------------------------------

std::string CacheKey(const LOGFONTA& lf) {
  std::string key;
  for (const char* p = lf.lfFaceName; *p != '\0'; ++p)
    key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*p))));
  key += '|' + std::to_string(lf.lfHeight) + '|' + std::to_string(lf.lfWidth) + '|' +
         std::to_string(lf.lfWeight) + '|' + std::to_string(lf.lfItalic != 0) +
         std::to_string(lf.lfUnderline != 0) + std::to_string(lf.lfStrikeOut != 0) +
         std::to_string(lf.lfQuality == NONANTIALIASED_QUALITY) + std::to_string(lf.lfPitchAndFamily & 3);
  return key;
}

// Faces must close before the library, so all live in one object.
struct Engine {
  FT_Library library = nullptr;
  std::map<std::pair<std::string, int>, std::weak_ptr<FT_FaceRec_>> faces;
  std::map<std::string, std::unique_ptr<RealizedFont>> fonts;
  Engine() {
    if (FT_Init_FreeType(&library) != 0) library = nullptr;
  }
  ~Engine() {
    fonts.clear();
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

Engine& TheEngine() {
  static Engine engine;
  return engine;
}

FT_Library Library() { return TheEngine().library; }

std::map<std::pair<std::string, int>, std::weak_ptr<FT_FaceRec_>>& OpenFaces() { return TheEngine().faces; }

}  // namespace

RealizedFont* RealizeFont(const LOGFONTA& input) {
  LOGFONTA lf = input;
  lf.lfFaceName[LF_FACESIZE - 1] = '\0';
  if (lf.lfWeight == 0) lf.lfWeight = FW_NORMAL;
  Engine& engine = TheEngine();
  const std::string key = CacheKey(lf);
  auto it = engine.fonts.find(key);
  if (it != engine.fonts.end()) return it->second.get();
  const bool fixedPitch = (lf.lfPitchAndFamily & 3) == FIXED_PITCH;
  FontFile file = ResolveFontFile(lf.lfFaceName, lf.lfWeight, lf.lfItalic != 0, fixedPitch);
  SizedFace face = OpenFace(&file);
  if (!face && !file.path.empty()) {
    // fontconfig named a file FreeType cannot use; try the well-known ones.
    file = KnownPathFontFile(ScriptOfFace(lf.lfFaceName), lf.lfWeight >= FW_SEMIBOLD);
    face = OpenFace(&file);
  }
  if (!face) file = FontFile{};
  auto font = std::make_unique<FtFont>(lf, std::move(file), std::move(face));
  return engine.fonts.emplace(key, std::move(font)).first->second.get();
}

RealizedFont* RealizeFontHandle(HFONT font) {
  const FontObject* obj = LookupFont(font);
  if (obj == nullptr) obj = LookupFont(StockFont(SYSTEM_FONT));
  if (obj == nullptr) return RealizeFont(LOGFONTA{});
  return RealizeFont(obj->logfont);
}

void DropFontCaches() {
  TheEngine().fonts.clear();
  TheEngine().faces.clear();
}

}  // namespace platform::gdi
