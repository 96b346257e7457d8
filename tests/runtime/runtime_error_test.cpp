#include "runtime/runtime_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

#include "patterns/runtime_error.h"

namespace runtime {
namespace {

constexpr std::string_view kTitle = "澜帆绘纹坊0.1版";

TEST(RuntimeErrorBox, NumberLineBlankLineThenText) {
  const ErrorBox box = FormatRuntimeError(kTitle, 13, "类型不匹配");
  EXPECT_EQ(box.title, "澜帆绘纹坊0.1版");
  EXPECT_EQ(box.text, "运行时错误 '13':\n\n类型不匹配");
  EXPECT_EQ(FormatRuntimeError(kTitle, 6, {}).text, "运行时错误 '6':\n\n溢出");
  EXPECT_EQ(FormatRuntimeError(kTitle, 5, "自己的话", "细节").text, "运行时错误 '5':\n\n自己的话\n\n细节");
  // A number without a text of its own still gets words, never an empty box.
  EXPECT_EQ(FormatRuntimeError(kTitle, 9999, {}).text,
            "运行时错误 '9999':\n\n应用程序定义的错误或对象定义的错误");
}

TEST(RuntimeErrorFile, BoxNamesPathAndReason) {
  const FileError error(kErrPathNotFound, "/媒体/无/图案.bmp", ENOENT);
  EXPECT_EQ(error.Reason(), std::strerror(ENOENT));
  const ErrorBox box = FormatRuntimeError(kTitle, error);
  EXPECT_EQ(box.text, std::string("运行时错误 '76':\n\n路径未找到\n\n文件：/媒体/无/图案.bmp\n原因：") +
                          std::strerror(ENOENT));
}

TEST(RuntimeErrorDescribe, EachCaughtKindGetsItsBox) {
  auto box_of = [](auto&& thrower) {
    try {
      thrower();
    } catch (...) {
      return DescribeError(kTitle, std::current_exception());
    }
    return ErrorBox{};
  };
  EXPECT_EQ(box_of([] { patterns::Raise(patterns::kErrTypeMismatch); }).text,
            "运行时错误 '13':\n\n类型不匹配");
  EXPECT_EQ(box_of([] { throw patterns::RuntimeError(6, "溢出"); }).text, "运行时错误 '6':\n\n溢出");

  const ErrorBox file = box_of([] { throw FileError(kErrDiskFull, "/x.bmp", ENOSPC); });
  EXPECT_NE(file.text.find("运行时错误 '61':\n\n磁盘已满"), std::string::npos);
  EXPECT_NE(file.text.find("/x.bmp"), std::string::npos);
  EXPECT_NE(file.text.find(std::strerror(ENOSPC)), std::string::npos);

  EXPECT_EQ(box_of([] { throw std::bad_alloc(); }).text, "运行时错误 '7':\n\n内存溢出");
  EXPECT_EQ(box_of([] { throw std::logic_error("oops"); }).text,
            "运行时错误 '1004':\n\n应用程序定义的错误或对象定义的错误\n\noops");
  EXPECT_EQ(box_of([] { throw 42; }).text, "运行时错误 '1004':\n\n应用程序定义的错误或对象定义的错误");
  EXPECT_EQ(box_of([] { throw 42; }).title, kTitle);
  EXPECT_EQ(DescribeError(kTitle, nullptr).title, kTitle);
}

}  // namespace
}  // namespace runtime
