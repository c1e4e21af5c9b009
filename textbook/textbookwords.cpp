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
    };
    for (const auto& [line, word] : lines) {
        const QString text = moreText(line);
        if (!text.isEmpty())
            *word = text;
    }
    return words;
}

} // namespace velmora::textbook
