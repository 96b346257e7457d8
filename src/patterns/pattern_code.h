// Pattern codes: everything that decides how one curve pattern looks, in a
// short printable text that can be typed, pasted, used as a file name and
// read back bit for bit.
//
//   hwf1-1-0a1b2c-80ff80-<39 values><2 check>
//   │    │ │      │      └ the amplitude (a double) and the four random values
//   │    │ │      │        (singles), 192 bits in base 32, then a check of the
//   │    │ │      │        whole text that catches any one mistyped character
//   │    │ │      │        and any two swapped neighbours
//   │    │ │      └ canvas background, RRGGBB
//   │    │ └ line colour, RRGGBB
//   │    └ the drawing: 1 ("画图1") or 2 ("画图2")
//   └ the format's version
//
// 62 characters, ASCII, written in lower case and read in any case. The base
// 32 digits are 0-9 and the letters without i, l, o and u; when reading, i
// and l count as 1 and o as 0, the digits they are mistaken for.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "patterns/numeric.h"

namespace patterns {

inline constexpr std::string_view kPatternCodePrefix = "hwf1-";
inline constexpr std::size_t kPatternCodeLength = 62;

struct PatternCode {
  int drawing = 1;                 // 1: "画图1", 2: "画图2"
  double amplitude = 80.0;         // K, the amplitude text as a number
  std::array<float, 4> randoms{};  // R1 to R4, in the order drawn
  Colour line = 0;                 // icolor while the pattern was drawn
  Colour background = 0;           // the canvas's background colour

  // Bit for bit: -0.0 and 0.0 differ, as they would in the written code.
  bool SameAs(const PatternCode& other) const;
};

// The code's text. Colours keep their low 24 bits, all a colour of the
// drawings has.
std::string WritePatternCode(const PatternCode& code);

// The number of characters of the values part, check included.
inline constexpr std::size_t kPatternValueChars = 41;

// What is wrong with a text that is not a pattern code, for a message in
// whatever language the reader speaks.
struct CodeFault {
  enum Kind {
    kEmpty,
    kUnknownVersion,  // detail: the version read ("hwf2")
    kNoPrefix,
    kBadCharacter,      // a blank or a character outside printable ASCII
    kParts,             // not five parts joined by '-'
    kDrawing,           // detail: the drawing part
    kLineColour,        // detail: the colour part
    kBackgroundColour,  // detail: the colour part
    kValuesLength,      // number: the length found
    kValuesDigit,       // detail: the character
    kCheck,
    kPaddingBits,
    kAmplitude,    // not a finite number
    kRandomValue,  // number: which one, 1 to 4, lies outside [0, 1)
  };
  Kind kind = kEmpty;
  std::string detail;
  std::size_t number = 0;
};

// Reads a code written by WritePatternCode, in any case and with blanks
// around it. On failure returns nothing and says in `fault` what is wrong
// (the prefix, a part, a character, the check, a value out of range).
std::optional<PatternCode> ReadPatternCode(std::string_view text, CodeFault* fault);
// The same, with the fault told in English in `why`.
std::optional<PatternCode> ReadPatternCode(std::string_view text, std::string* why = nullptr);
std::string DescribeCodeFault(const CodeFault& fault);

// "#RRGGBB" of a colour 0x00BBGGRR, for people and tables.
std::string ColourText(Colour colour);

// The shortest text that reads back as exactly this double ("80", "-0",
// "1e+300").
std::string AmplitudeText(double amplitude);

}  // namespace patterns
