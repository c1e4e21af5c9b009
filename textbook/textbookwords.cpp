#include "textbook/textbookwords.h"

#include "state/moretexts.h"

namespace velmora::textbook {

Words wordsOfLanguage() {
    Words words;
    const std::pair<MoreText, QString*> lines[] = {
        {MoreText::TextbookLet, &words.let},
        {MoreText::TextbookOneRoot, &words.oneRoot},
        {MoreText::TextbookNoRealRoots, &words.noRealRoots},
        {MoreText::TextbookRejected, &words.rejected},
        {MoreText::TextbookLinear, &words.linear},
        {MoreText::TextbookNoSolution, &words.noSolution},
        {MoreText::TextbookAnyNumber, &words.anyNumber},
        {MoreText::TextbookFactored, &words.factored},
        {MoreText::TextbookCheck, &words.check},
        {MoreText::TextbookAnswer, &words.answer},
        {MoreText::TextbookAnswerEach, &words.answerEach},
        {MoreText::TextbookAnswerJoin, &words.answerJoin},
        {MoreText::TextbookNoRoots, &words.noRoots},
        {MoreText::TextbookUnsimplified, &words.unsimplified},
        {MoreText::FormOpenBrackets, &words.openBrackets},
        {MoreText::FormMultiplyBoth, &words.multiplyBoth},
        {MoreText::FormMoveToLeft, &words.moveToLeft},
        {MoreText::FormCollect, &words.collect},
        {MoreText::FormDivideBoth, &words.divideBoth},
        {MoreText::FormChangeSigns, &words.changeSigns},
        {MoreText::FormIdentity, &words.identity},
        {MoreText::FormContradiction, &words.contradiction},
        {MoreText::FormFactorOut, &words.factorOut},
        {MoreText::FormZeroProduct, &words.zeroProduct},
    };
    for (const auto& [line, word] : lines) {
        const QString text = moreText(line);
        if (!text.isEmpty())
            *word = text;
    }
    return words;
}

graph::GraphTexts graphTextsOfLanguage() {
    graph::GraphTexts t;
    const std::pair<MoreText, QString*> lines[] = {
        {MoreText::GraphName, &t.name},
        {MoreText::GraphParabolaUp, &t.parabolaUp},
        {MoreText::GraphParabolaDown, &t.parabolaDown},
        {MoreText::GraphQuarticUp, &t.quarticUp},
        {MoreText::GraphQuarticDown, &t.quarticDown},
        {MoreText::GraphLine, &t.line},
        {MoreText::GraphPoint, &t.point},
        {MoreText::GraphVertex, &t.vertex},
        {MoreText::GraphMinimum, &t.minimum},
        {MoreText::GraphMaximum, &t.maximum},
        {MoreText::GraphCrossesX, &t.crossesX},
        {MoreText::GraphTouchesX, &t.touchesX},
        {MoreText::GraphNoCrossing, &t.noCrossing},
        {MoreText::GraphCrossesY, &t.crossesY},
        {MoreText::GraphJoin, &t.join},
        {MoreText::GraphTooClose, &t.tooClose},
        {MoreText::GraphTooLarge, &t.tooLarge},
    };
    for (const auto& [line, text] : lines)
        *text = moreText(line);
    return t;
}

} // namespace velmora::textbook
