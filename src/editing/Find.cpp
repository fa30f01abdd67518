#include "editing/Find.h"

#include <string>

namespace korv {

FindResult findSubtitle(const SubtitleList &list, QStringView pattern, int column, int from, LetterCase rule)
{
    const std::optional<WildcardPattern> compiled =
        WildcardPattern::compile(QStringLiteral("*") + pattern.toString() + QStringLiteral("*"), rule);
    if (!compiled)
        return {false, -1};
    if (column < ColStart || column > ColText)
        column = ColText;
    std::u32string lowered;
    for (int row = std::max(from, 0); row < list.count(); ++row) {
        lowerCaseInto(list.cell(row, column), rule, lowered);
        if (compiled->matches(lowered))
            return {true, row};
    }
    return {true, -1};
}

} // namespace korv
