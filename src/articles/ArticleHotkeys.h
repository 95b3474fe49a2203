#pragma once

#include <QString>

// The Ctrl hotkey of each clause and paragraph, as shown in the captions of
// the content panel and the editor. There is no Ctrl+5: clause 5 is Ctrl+E.
namespace ArticleHotkeys {

// The key after "Ctrl+" for clause i (1..15): "1".."4", "E", "6", "7", "D", ...
inline QString clauseKey(int i)
{
    static const char* const keys[] = {"", "1", "2", "3", "4", "E", "6", "7", "D", "G", "H", "I", "J", "K", "L", "N"};
    return (i >= 1 && i <= 15) ? QString::fromLatin1(keys[i]) : QString();
}

// The digit of paragraph j (1..3): 8, 9, 0.
inline int paragraphDigit(int j) { return j == 1 ? 8 : j == 2 ? 9 : 0; }

// "(Ctrl+%d)" / "(Ctrl+E)": the suffix of clause i's caption.
inline QString clauseSuffix(int i) { return QStringLiteral("(Ctrl+%1)").arg(clauseKey(i)); }

// "%s(Ctrl+%d)" applied to a paragraph title.
inline QString paragraphCaption(const QString& title, int j)
{
    return title + QStringLiteral("(Ctrl+%1)").arg(paragraphDigit(j));
}

}  // namespace ArticleHotkeys
