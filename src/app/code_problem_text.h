// What is wrong with a pasted pattern code, in the window's language.
#pragma once

#include <string>
#include <string_view>

#include "patterns/pattern_code.h"

namespace app {

// One sentence on the fault: "校验字符不符：……".
std::string CodeFaultText(const patterns::CodeFault& fault);

// The whole message: the text that was pasted (cut short and on one line
// when it is long), then what is wrong with it.
std::string PastedCodeProblem(std::string_view pasted, const std::string& problem);

}  // namespace app
