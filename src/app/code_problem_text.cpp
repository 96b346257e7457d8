#include "app/code_problem_text.h"

namespace app {
namespace {

// Where a quote of the pasted text is cut: about two lines of the box.
constexpr std::size_t kQuoteBytes = 80;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::string CodeFaultText(const patterns::CodeFault& f) {
  using patterns::CodeFault;
  switch (f.kind) {
    case CodeFault::kEmpty:
      return "剪贴板上只有空白，没有图案编号。";
    case CodeFault::kUnknownVersion:
      return "这是“" + f.detail + "”格式的编号，本版本只认得 hwf1 格式的图案编号。";
    case CodeFault::kNoPrefix:
      return "图案编号以“hwf1-”开头。";
    case CodeFault::kBadCharacter:
      return "编号中有空格或字母、数字、“-”以外的字符。";
    case CodeFault::kParts:
      return "图案编号由“-”连接的五部分组成：hwf1、图的种类、线条颜色、背景颜色和数值。";
    case CodeFault::kDrawing:
      return "图的种类应为 1 或 2，这里是“" + f.detail + "”。";
    case CodeFault::kLineColour:
      return "线条颜色应为六位十六进制数字（RRGGBB），这里是“" + f.detail + "”。";
    case CodeFault::kBackgroundColour:
      return "背景颜色应为六位十六进制数字（RRGGBB），这里是“" + f.detail + "”。";
    case CodeFault::kValuesLength:
      return "数值部分应有 " + std::to_string(patterns::kPatternValueChars) + " 个字符，这里有 " +
             std::to_string(f.number) + " 个：编号不完整或多了字符。";
    case CodeFault::kValuesDigit:
      return "数值部分中的“" + f.detail + "”不是编号所用的字符。";
    case CodeFault::kCheck:
      return "校验字符不符：编号中有字符抄错、漏掉或前后颠倒。";
    case CodeFault::kPaddingBits:
      return "数值部分的最后一个字符不对：任何编号都不会以它结尾。";
    case CodeFault::kAmplitude:
      return "编号中的振幅不是有限的数。";
    case CodeFault::kRandomValue:
      return "编号中的第 " + std::to_string(f.number) + " 个随机数不在 0 到 1 之间。";
  }
  return "这不是图案编号。";
}

std::string PastedCodeProblem(std::string_view pasted, const std::string& problem) {
  std::string quote;
  // One line: tabs, line breaks and other control characters become blanks.
  for (char c : pasted) quote += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
  while (!quote.empty() && quote.back() == ' ') quote.pop_back();
  while (!quote.empty() && quote.front() == ' ') quote.erase(0, 1);
  if (quote.size() > kQuoteBytes) {
    std::size_t cut = kQuoteBytes;
    while (cut > 0 && IsContinuation(static_cast<unsigned char>(quote[cut]))) --cut;
    quote = quote.substr(0, cut) + "…";
  }
  if (quote.empty()) return "无法粘贴图案编号。\n\n" + problem;
  return "无法粘贴图案编号：\n“" + quote + "”\n\n" + problem;
}

}  // namespace app
