#include "client/model/card_texts.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "client/model/shown_text.h"
#include "core/tpoker.h"

namespace quarn::client {

namespace {

constexpr const char* kGenericError = Marked("Cards", "选牌错误或者操作发生错误：");

// The code of a report "<message>[<code>]"; none when it does not end so.
std::optional<int> ReportCode(std::string_view report) {
  const std::size_t open = report.rfind('[');
  if (open == std::string_view::npos || !report.ends_with(']')) return std::nullopt;
  int code = 0;
  const char* first = report.data() + open + 1;
  const char* last = report.data() + report.size() - 1;
  const auto [end, ec] = std::from_chars(first, last, code);
  if (ec != std::errc() || end != last) return std::nullopt;
  return code;
}

// The suits and the two jokers' names, as the core spells them.
constexpr std::array<const char*, 6> kCardWords = {
    Marked("Cards", "方块"), Marked("Cards", "梅花"), Marked("Cards", "红心"),
    Marked("Cards", "黑桃"), Marked("Cards", "小王"), Marked("Cards", "大王"),
};

std::string ShownCardWord(std::string_view word) {
  for (const char* known : kCardWords) {
    if (word == known) return Shown(kCardTextContext, known);
  }
  return std::string(word);
}

}  // namespace

const std::array<const char*, 17> kCardErrorTexts = {
    Marked("Cards", "未知错误。"),
    Marked("Cards", "单张牌错误。"),
    Marked("Cards", "对牌错误。"),
    Marked("Cards", "组牌错误。"),
    Marked("Cards", "炸弹牌错误。"),
    Marked("Cards", "对牌必须连续。"),
    Marked("Cards", "组牌必须连续。"),
    Marked("Cards", "非法的飞牌。"),
    Marked("Cards", "飞牌中不能带王。"),
    Marked("Cards", "对牌中不能带王。"),
    Marked("Cards", "这是错误的一把牌，不能出哦。"),
    Marked("Cards", "未知的一把牌，不给出。"),
    Marked("Cards", "取到一张非法的扑克。"),
    Marked("Cards", "手上牌太多啦。"),
    Marked("Cards", "发牌时出现内部错误！"),
    Marked("Cards", "扑克图形索引出现错误。"),
    Marked("Cards", "非法的空地址调用。"),
};

const std::array<const char*, 26> kCombinationNames = {
    Marked("Cards", "非法牌型"), Marked("Cards", "两对"),       Marked("Cards", "炸弹带花"),
    Marked("Cards", "单张"),     Marked("Cards", "一对"),       Marked("Cards", "一组"),
    Marked("Cards", "炸弹"),     Marked("Cards", "天炸"),       Marked("Cards", "单飞"),
    Marked("Cards", "三姊妹"),   Marked("Cards", "双三"),       Marked("Cards", "小火箭"),
    Marked("Cards", "小导弹"),   Marked("Cards", "大火箭"),     Marked("Cards", "双飞"),
    Marked("Cards", "超级火箭"), Marked("Cards", "大导弹"),     Marked("Cards", "超级导弹"),
    Marked("Cards", "三飞"),     Marked("Cards", "超级大火箭"), Marked("Cards", "超级大导弹"),
    Marked("Cards", "四飞"),     Marked("Cards", "地飞"),       Marked("Cards", "无敌大火箭"),
    Marked("Cards", "天飞"),     Marked("Cards", "无敌大导弹"),
};

std::string ShownCardError(std::string_view report) {
  const std::optional<int> code = ReportCode(report);
  if (!code) return std::string(report);
  const bool known = *code >= 0 && *code < static_cast<int>(kCardErrorTexts.size());
  const char* message = known ? kCardErrorTexts[static_cast<std::size_t>(*code)] : kGenericError;
  return Shown(kCardTextContext, message) + "[" + std::to_string(*code) + "]";
}

std::string ShownCards(const std::vector<std::uint8_t>& cards) {
  std::string text;
  for (const std::uint8_t number : cards) {
    TPoker card;
    card.SetCard(number);
    if (!text.empty()) text += ' ';
    if (!card.IsPresent()) {
      text += '?';
      continue;
    }
    text += ShownCardWord(SuitName(SuitOf(number)));
    text += ShownCardWord(RankName(RankOf(number)));
  }
  return text;
}

std::string ShownCombination(std::string_view name) {
  const auto* found = std::find_if(kCombinationNames.begin(), kCombinationNames.end(),
                                   [name](const char* known) { return name == known; });
  return found != kCombinationNames.end() ? Shown(kCardTextContext, *found) : std::string(name);
}

}  // namespace quarn::client
