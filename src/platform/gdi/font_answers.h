// fontconfig's answers kept from one run to the next. Loading fontconfig's
// configuration and caches costs more than the whole rest of a start-up's
// font work, and the program asks it the same few questions every time.
// The answers are taken again only while nothing fontconfig reads has
// changed: its configuration files and folders, the font folders, its cache
// folders, and the environment that steers it (the stamp). Any change and
// fontconfig is asked again, and the new answers are kept.
#pragma once

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/gdi/font_resolve.h"

namespace platform::gdi {

// A question put to fontconfig: family, weight, italic.
using FontQuestion = std::tuple<std::string, int, bool>;
using FontAnswers = std::vector<std::pair<FontQuestion, FontFile>>;

// Where the answers are kept ($XDG_CACHE_HOME, else ~/.cache, then
// huiwenfang/font-answers); "" when there is no such place.
std::string FontAnswersPath();

// Everything fontconfig's answers depend on, as text: the environment it
// reads and the modification times of its files and folders.
std::string FontconfigStamp();

// The answers in the file when it was written under the same stamp.
std::optional<FontAnswers> ReadFontAnswers(const std::string& path, const std::string& stamp);

// Replaces the file (written beside it, then renamed over it); false when
// it cannot be written. Answers that cannot be written as one line are
// left out.
bool WriteFontAnswers(const std::string& path, const std::string& stamp, const FontAnswers& answers);

}  // namespace platform::gdi
