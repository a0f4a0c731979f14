#include "core/card_error.h"

#include <gtest/gtest.h>

#include "core/gbk.h"
#include "tests/core/card_helpers.h"

namespace quarn {
namespace {

TEST(CardError, TextsAreFormedExactly) {
  EXPECT_EQ(CardErrorText(13), "手上牌太多啦。[13]");
  EXPECT_EQ(CardErrorText(5), "对牌必须连续。[5]");
  EXPECT_EQ(CardErrorText(0), "未知错误。[0]");
  EXPECT_EQ(CardErrorText(16), "非法的空地址调用。[16]");
  EXPECT_EQ(CardErrorText(10), "这是错误的一把牌，不能出哦。[10]");
  EXPECT_EQ(CardErrorText(17), "选牌错误或者操作发生错误：[17]");
  EXPECT_EQ(CardErrorText(40), "选牌错误或者操作发生错误：[40]");
  EXPECT_EQ(CardErrorText(-1), "选牌错误或者操作发生错误：[-1]");
  EXPECT_EQ(CardErrorText(-2147483647 - 1), "选牌错误或者操作发生错误：[-2147483648]");
  for (int code = 0; code < kCardErrorCount; ++code) {
    EXPECT_FALSE(CardErrorMessage(code).empty()) << code;
    // Every message survives the trip to GBK unchanged.
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
    EXPECT_EQ(ReportCardError(-1), 0);
    ASSERT_EQ(reports.texts.size(), 2u);
    EXPECT_EQ(reports.texts[0], "手上牌太多啦。[13]");
    EXPECT_EQ(reports.texts[1], "选牌错误或者操作发生错误：[-1]");
    {
      testing::CapturedReports inner;
      ReportCardError(7);
      EXPECT_EQ(inner.texts.size(), 1u);
    }
    ReportCardError(8);
    EXPECT_EQ(reports.texts.size(), 3u);  // the outer sink is back
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
