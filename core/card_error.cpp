#include "core/card_error.h"

#include <array>
#include <utility>

namespace quarn {
namespace {

constexpr std::array<std::string_view, kCardErrorCount> kMessages = {
    "未知错误。",
    "单张牌错误。",
    "对牌错误。",
    "组牌错误。",
    "炸弹牌错误。",
    "对牌必须连续。",
    "组牌必须连续。",
    "非法的飞牌。",
    "飞牌中不能带王。",
    "对牌中不能带王。",
    "这是错误的一把牌，不能出哦。",
    "未知的一把牌，不给出。",
    "取到一张非法的扑克。",
    "手上牌太多啦。",
    "发牌时出现内部错误！",
    "扑克图形索引出现错误。",
    "非法的空地址调用。",
};

constexpr std::string_view kGenericMessage = "选牌错误或者操作发生错误：";

CardErrorSink& Sink() {
  static CardErrorSink sink;
  return sink;
}

// How many SilencedCardErrors live on this thread.
thread_local int silencedDepth = 0;

}  // namespace

std::string_view CardErrorMessage(int code) {
  if (code < 0 || code >= kCardErrorCount) return {};
  return kMessages[code];
}

std::string CardErrorText(int code) {
  const std::string_view message =
      (code >= 0 && code < kCardErrorCount) ? kMessages[code] : kGenericMessage;
  std::string text(message);
  text += '[';
  text += std::to_string(code);
  text += ']';
  return text;
}

CardErrorSink SetCardErrorSink(CardErrorSink sink) {
  return std::exchange(Sink(), std::move(sink));
}

SilencedCardErrors::SilencedCardErrors() {
  ++silencedDepth;
}

SilencedCardErrors::~SilencedCardErrors() {
  --silencedDepth;
}

int ReportCardError(int code) {
  if (silencedDepth > 0) return 0;
  // Copy first: the sink may install another sink while it runs.
  if (const CardErrorSink sink = Sink()) sink(CardErrorText(code));
  return 0;
}

}  // namespace quarn
