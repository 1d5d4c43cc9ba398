#include "tables/line_problem.h"

namespace tira {

std::string_view lineProblemText(LineProblem problem) noexcept
{
    switch (problem) {
    case LineProblem::None: return "問題なし (no problem)";
    case LineProblem::TooFewFields: return "項目が足りません (too few fields)";
    case LineProblem::DateNeedsTwoSlashes:
        return "日付に「/」が二つありません (a date without two \"/\")";
    case LineProblem::DateNeedsOneSlash:
        return "月/日 に「/」が一つだけではありません (a month/day without exactly one \"/\")";
    case LineProblem::DateNotNumber:
        return "日付の一部が数ではありません (a part of a date that is not a number)";
    case LineProblem::NotNumber:
        return "数の項目が数ではありません (a number field that is not a number)";
    case LineProblem::AdvanceNotNumber:
        return "「+」の後が数ではありません (an advance field that is not a number)";
    case LineProblem::SumNotPositive: return "数の合計が 0 以下です (a sum of 0 or less)";
    case LineProblem::RangeEndNotNumber:
        return "範囲の終わりが数ではありません (a range end that is not a number)";
    case LineProblem::ValueOutOfRange:
        return "日・曜日・週・月が負か大きすぎます (a day, weekday, week or month below 0 or too "
               "large)";
    case LineProblem::HolidayTableFull: return "祝日は 30 件までです (more than 30 holidays)";
    case LineProblem::LfLineEnds:
        return "CR のない LF 改行で、次の行がこの行の続きになります (a line end of LF alone: the "
               "next line is read as part of this one)";
    case LineProblem::TextAfterCtrlZ:
        return "Ctrl-Z の後ろは読まれません (nothing after a Ctrl-Z is read)";
    case LineProblem::LineTooLong: return "行が長すぎます (line too long)";
    }
    return "?";
}

} // namespace tira
