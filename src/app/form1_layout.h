// Form1, the main window: its constant layout table and the texts that go
// with it.
#pragma once

#include <string_view>

#include "patterns/credit_line.h"
#include "runtime/layout.h"

namespace app {

inline constexpr std::string_view kForm1Caption = "澜帆绘纹坊0.1版";

// The maker's web page, opened by a click on the notice label Label11: the address the credit line
// prints.
inline constexpr std::string_view kMakerWebAddress = patterns::kMakerAddress;

// Label11's one-line maker's notice.
inline constexpr std::string_view kMakerNotice = "澜帆软件 版权所有";

// Text1's introduction: seven lines, each ended by CR LF, the last one too.
inline constexpr std::string_view kIntroductionText =
    "1：电脑自动生成图案。\r\n"
    "2：制作的图案数量巨大。\r\n"
    "3：也可手动生成图案。\r\n"
    "4：是美工设计必备软件。\r\n"
    "5：本软件实用价值巨大。\r\n"
    "6：是对图案学的巨大贡献。\r\n"
    "7：本软件是绿色软件。\r\n";

inline constexpr std::string_view kSaveFilter = "BMP Files(*.bmp)|*.bmp";

// The form row and its 33 controls, front to back.
const runtime::FormLayout& Form1Layout();

}  // namespace app
