#include "platform/gdi/font_resolve.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <future>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "platform/gdi/font_answers.h"
#include "platform/gdi/font_engine.h"
#include "platform/gdi/thread_locale.h"

namespace platform::gdi {
namespace {

constexpr std::string_view kCjkFamily = "AR PL UMing CN";
constexpr std::string_view kSansFamily = "DejaVu Sans";
constexpr std::string_view kMonoFamily = "DejaVu Sans Mono";
constexpr std::string_view kSerifFamily = "DejaVu Serif";

struct FaceMapping {
  std::string_view windowsFace;
  std::string_view family;
};

constexpr std::array<FaceMapping, 31> kFaceMap{{
    {"宋体", kCjkFamily},
    {"新宋体", kCjkFamily},
    {"SimSun", kCjkFamily},
    {"NSimSun", kCjkFamily},
    {"黑体", kCjkFamily},
    {"SimHei", kCjkFamily},
    {"楷体", kCjkFamily},
    {"KaiTi", kCjkFamily},
    {"仿宋", kCjkFamily},
    {"FangSong", kCjkFamily},
    {"微软雅黑", kCjkFamily},
    {"Microsoft YaHei", kCjkFamily},
    {"MS Sans Serif", kSansFamily},
    {"Microsoft Sans Serif", kSansFamily},
    {"Tahoma", kSansFamily},
    {"Arial", kSansFamily},
    {"System", kSansFamily},
    {"MS Shell Dlg", kSansFamily},
    {"MS Shell Dlg 2", kSansFamily},
    {"Segoe UI", kSansFamily},
    {"Verdana", kSansFamily},
    {"Courier", kMonoFamily},
    {"Courier New", kMonoFamily},
    {"Fixedsys", kMonoFamily},
    {"Terminal", kMonoFamily},
    {"Lucida Console", kMonoFamily},
    {"Consolas", kMonoFamily},
    {"Times New Roman", kSerifFamily},
    {"Times", kSerifFamily},
    {"MS Serif", kSerifFamily},
    {"Georgia", kSerifFamily},
}};

// Windows compares face names without regard to ASCII case.
bool SameFace(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

FontLookupSwitches& Switches() {
  static FontLookupSwitches s;
  return s;
}

// fontconfig answers the same question the same way for the whole run, and
// the program asks a handful of them (its two faces at several sizes).
struct MatchCache {
  std::mutex mutex;
  std::map<FontQuestion, FontFile> answers;
  // The look-up started ahead of need, if any (StartFontLookup).
  std::future<void> early;
  // Held around every call into fontconfig, which the early look-up and the
  // GUI thread may otherwise make at once.
  std::mutex fontconfig;
};

MatchCache& Matches() {
  static MatchCache cache;
  return cache;
}

// Loaded once and released at exit, so leak checkers see a clean process.
struct ConfigHolder {
  FcConfig* config = FcInitLoadConfigAndFonts();
  ~ConfigHolder() {
    // An early look-up still running would match against a freed config.
    if (MatchCache& cache = Matches(); cache.early.valid()) cache.early.wait();
    if (config != nullptr) FcConfigDestroy(config);
  }
};

FcConfig* Config() {
  static ConfigHolder holder;
  return holder.config;
}

FontFile MatchUncached(std::string_view family, int weight, bool italic) {
  FontFile result;
  FcConfig* config = Config();
  if (config == nullptr) return result;
  std::lock_guard lock(Matches().fontconfig);
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return result;
  const std::string familyZ(family);
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyZ.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult status = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &status);
  FcPatternDestroy(pattern);
  if (match == nullptr) return result;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
    result.path = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) result.index = index;
    FcChar8* matchedFamily = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch && matchedFamily)
      result.family = reinterpret_cast<const char*>(matchedFamily);
    int matchedWeight = FC_WEIGHT_REGULAR;
    if (FcPatternGetInteger(match, FC_WEIGHT, 0, &matchedWeight) == FcResultMatch)
      result.bold = matchedWeight >= FC_WEIGHT_DEMIBOLD;
    int slant = FC_SLANT_ROMAN;
    if (FcPatternGetInteger(match, FC_SLANT, 0, &slant) == FcResultMatch)
      result.italic = slant != FC_SLANT_ROMAN;
  }
  FcPatternDestroy(match);
  return result;
}

FontFile MatchWithFontconfig(std::string_view family, int weight, bool italic) {
  MatchCache& cache = Matches();
  auto key = std::make_tuple(std::string(family), weight, italic);
  {
    std::lock_guard lock(cache.mutex);
    if (auto it = cache.answers.find(key); it != cache.answers.end()) return it->second;
  }
  FontFile f = MatchUncached(family, weight, italic);
  std::lock_guard lock(cache.mutex);
  return cache.answers.emplace(std::move(key), std::move(f)).first->second;
}

bool Readable(const char* path) { return access(path, R_OK) == 0; }

}  // namespace

std::string_view MappedFamily(std::string_view windowsFace, bool fixedPitch) {
  if (windowsFace.empty()) return fixedPitch ? kMonoFamily : kSansFamily;
  for (const FaceMapping& m : kFaceMap) {
    if (SameFace(m.windowsFace, windowsFace)) return m.family;
  }
  return {};
}

FontScript ScriptOfFace(std::string_view windowsFace) {
  return MappedFamily(windowsFace, false) == kCjkFamily ? FontScript::Cjk : FontScript::Latin;
}

FontFile KnownPathFontFile(FontScript script, bool bold) {
  struct Known {
    const char* path;
    const char* family;
    bool bold;
  };
  static constexpr std::array<Known, 4> kLatin{{
      {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "DejaVu Sans", true},
      {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "DejaVu Sans", false},
      {"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", "Liberation Sans", false},
      {"/usr/share/fonts/truetype/freefont/FreeSans.ttf", "FreeSans", false},
  }};
  static constexpr std::array<Known, 3> kCjk{{
      {"/usr/share/fonts/truetype/arphic/uming.ttc", "AR PL UMing CN", false},
      {"/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc", "Noto Serif CJK SC", false},
      {"/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", "WenQuanYi Micro Hei", false},
  }};
  FontFile result;
  if (!Switches().knownPaths) return result;
  auto pick = [&](const auto& list) {
    for (const Known& k : list) {
      if (k.bold && !bold) continue;
      if (Readable(k.path)) {
        result.path = k.path;
        result.family = k.family;
        result.bold = k.bold;
        return true;
      }
    }
    return false;
  };
  if (script == FontScript::Cjk) {
    if (!pick(kCjk)) pick(kLatin);
  } else {
    if (!pick(kLatin)) pick(kCjk);
  }
  return result;
}

FontFile ResolveFontFile(std::string_view windowsFace, int weight, bool italic, bool fixedPitch) {
  if (weight <= 0) weight = FW_NORMAL;
  const std::string_view mapped = MappedFamily(windowsFace, fixedPitch);
  const std::string_view family = mapped.empty() ? windowsFace : mapped;
  if (Switches().fontconfig) {
    FontFile f = MatchWithFontconfig(family, weight, italic);
    if (!f.path.empty() && Readable(f.path.c_str())) return f;
  }
  return KnownPathFontFile(ScriptOfFace(windowsFace), weight >= FW_SEMIBOLD);
}

FontFile FallbackFontFile(FontScript primary) {
  const bool toCjk = primary == FontScript::Latin;
  if (Switches().fontconfig) {
    FontFile f = MatchWithFontconfig(toCjk ? kCjkFamily : kSansFamily, FW_NORMAL, false);
    if (!f.path.empty() && Readable(f.path.c_str())) return f;
  }
  return KnownPathFontFile(toCjk ? FontScript::Cjk : FontScript::Latin, false);
}

void StartFontLookup() {
  MatchCache& cache = Matches();
  std::lock_guard lock(cache.mutex);
  if (cache.early.valid() || !Switches().fontconfig) return;
  // The program's usual questions: its two families, regular and bold.
  std::vector<FontQuestion> usual;
  for (std::string_view family : {kSansFamily, kCjkFamily})
    for (int weight : {FW_NORMAL, FW_BOLD}) usual.emplace_back(std::string(family), weight, false);
  // The stamp is taken before fontconfig reads anything, so a change made
  // while it loads is seen as one on the next run.
  const std::string path = FontAnswersPath();
  std::string stamp = FontconfigStamp();
  if (std::optional<FontAnswers> kept = ReadFontAnswers(path, stamp)) {
    std::size_t known = 0;
    for (const FontQuestion& q : usual)
      for (const auto& [question, answer] : *kept)
        if (question == q) ++known;
    if (known == usual.size()) {
      for (auto& [question, answer] : *kept) cache.answers.emplace(question, std::move(answer));
      return;  // fontconfig is not started at all unless a new question comes
    }
  }
  cache.early = std::async(std::launch::async, [usual, path, stamp = std::move(stamp),
                                                locale = std::make_shared<ThreadLocale>()] {
    ThreadLocale::Use inLocale(*locale);
    // Loading the configuration is most of the work: its files, then the
    // caches of every font directory.
    if (Config() == nullptr) return;
    FontAnswers answers;
    for (const auto& [family, weight, italic] : usual)
      answers.emplace_back(FontQuestion{family, weight, italic}, MatchWithFontconfig(family, weight, italic));
    WriteFontAnswers(path, stamp, answers);
  });
}

void SetFontLookupForTesting(FontLookupSwitches switches) {
  {
    MatchCache& cache = Matches();
    if (cache.early.valid()) cache.early.get();
    std::lock_guard lock(cache.mutex);
    cache.answers.clear();
  }
  Switches() = switches;
  DropFontCaches();
}

FontLookupSwitches CurrentFontLookup() { return Switches(); }

}  // namespace platform::gdi
