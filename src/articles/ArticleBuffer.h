#pragma once

#include <QString>

#include <array>

// An article has exactly 15 clauses and 3 paragraphs; entries are numbered
// as the user sees them (1..15, 1..3), entry 0 is unused.
constexpr int ClauseCount = 15;
constexpr int ParagraphCount = 3;

using ClauseTexts = std::array<QString, ClauseCount + 1>;
using ParagraphTexts = std::array<QString, ParagraphCount + 1>;

// The current article's names and the values last loaded or confirmed in the
// editor. Clause names and paragraph titles have no field in the panel: this
// is their only copy between a load and a save. Paragraph texts use "\n".
struct ArticleBuffer {
    QString ArticleName;
    ClauseTexts ClauseText;
    ClauseTexts ClauseName;
    ParagraphTexts ParagraphTitle;
    ParagraphTexts ParagraphText;
    bool Confirmed = false;
};

// What the content panel's fields hold, handed to a save, and which of them
// the user changed since they were filled or saved (all, unless told).
struct ArticlePanelTexts {
    ClauseTexts clause;
    ParagraphTexts paragraph;  // "\n" line breaks
    std::array<bool, ClauseCount + 1> clauseChanged = allChanged<ClauseCount>();
    std::array<bool, ParagraphCount + 1> paragraphChanged = allChanged<ParagraphCount>();

    template <int Count>
    static constexpr std::array<bool, Count + 1> allChanged()
    {
        std::array<bool, Count + 1> changed{};
        for (int i = 1; i <= Count; ++i)
            changed[size_t(i)] = true;
        return changed;
    }
};
