// Finding the font file for a LOGFONTA.
//
// The program names Windows faces; Linux has other fonts. Known Windows faces
// are first mapped to a free face of the same style ("宋体" to a Song/Ming CJK
// face, "MS Sans Serif" to DejaVu Sans), then fontconfig picks the file, so
// any other name still lands on some installed face. If fontconfig has
// nothing to offer, a short list of well-known paths is tried; if that fails
// too the result is empty and text simply does not draw.
#pragma once

#include <string>
#include <string_view>

namespace platform::gdi {

enum class FontScript { Latin, Cjk };

struct FontFile {
  std::string path;  // empty: no font at all
  int index = 0;     // face index inside a collection (.ttc)
  std::string family;
  bool bold = false;    // the file itself is a bold face
  bool italic = false;  // the file itself is italic or oblique
};

// The family a Windows face name stands for ("" for names not in the table:
// those go to fontconfig as they are).
std::string_view MappedFamily(std::string_view windowsFace, bool fixedPitch);

// Which script a Windows face name is meant for, so the other script's face
// can stand in for missing glyphs.
FontScript ScriptOfFace(std::string_view windowsFace);

FontFile ResolveFontFile(std::string_view windowsFace, int weight, bool italic, bool fixedPitch);

// The face that fills in glyphs missing from a face of the given script:
// CJK text in a Latin face falls back to the CJK face and vice versa.
FontFile FallbackFontFile(FontScript primary);

}  // namespace platform::gdi

namespace platform::gdi {

// Fonts found on a well-known path, for machines where fontconfig finds
// nothing; empty path when none of them exists.
FontFile KnownPathFontFile(FontScript script, bool bold);

// Finds the files of the program's usual faces ahead of need: from the
// answers kept by an earlier run when nothing fontconfig reads has changed
// (font_answers.h), else by loading fontconfig on a thread of its own, so
// that the work overlaps whatever the program does next (opening the
// display), and keeping its answers for the next run. Look-ups made before
// the thread finishes wait for the configuration, then take its answers.
// Harmless to call more than once.
void StartFontLookup();

// Lets tests walk the fall-back paths of a machine without fonts. Both are
// on by default. Changing them drops every cached face (font_engine.h).
struct FontLookupSwitches {
  bool fontconfig = true;
  bool knownPaths = true;
};
void SetFontLookupForTesting(FontLookupSwitches switches);
FontLookupSwitches CurrentFontLookup();

}  // namespace platform::gdi
