#include "core/card_error.h"

#include <gtest/gtest.h>

#include "core/gbk.h"
#include "tests/core/card_helpers.h"

namespace quarn {
namespace {

TEST(CardError, TextsAreFormedExactly) {
  const std::vector<std::pair<int, std::string>> cases = {
      {13, "手上牌太多啦。[13]"},
      {5, "对牌必须连续。[5]"},
      {0, "未知错误。[0]"},
      {16, "非法的空地址调用。[16]"},
      {10, "这是错误的一把牌，不能出哦。[10]"},
      {17, "选牌错误或者操作发生错误：[17]"},
      {-1, "选牌错误或者操作发生错误：[-1]"},
      {-2147483647 - 1, "选牌错误或者操作发生错误：[-2147483648]"},
  };
  for (const auto& [code, text] : cases) EXPECT_EQ(CardErrorText(code), text);
  for (int code = 0; code < kCardErrorCount; ++code) {
    EXPECT_FALSE(CardErrorMessage(code).empty()) << code;
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk(CardErrorText(code))), CardErrorText(code)) << code;
  }
  EXPECT_TRUE(CardErrorMessage(17).empty());
  EXPECT_TRUE(CardErrorMessage(-1).empty());
}

TEST(CardError, ReportsGoToTheInstalledSinkOnly) {
  EXPECT_EQ(ReportCardError(3), 0);  // the default sink drops it without harm
  {
    testing::CapturedReports reports;
    EXPECT_EQ(ReportCardError(13), 0);
    {
      testing::CapturedReports inner;
      ReportCardError(7);
      EXPECT_EQ(inner.texts.size(), 1u);
    }
    ReportCardError(-1);  // the outer sink is back
    EXPECT_EQ(reports.texts,
              (std::vector<std::string>{"手上牌太多啦。[13]", "选牌错误或者操作发生错误：[-1]"}));
  }
  // A sink that replaces itself while running does not pull the rug from under the report.
  int calls = 0;
  SetCardErrorSink([&calls](std::string_view) {
    ++calls;
    SetCardErrorSink({});
  });
  ReportCardError(1);
  ReportCardError(1);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace quarn
