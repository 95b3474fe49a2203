#pragma once

#include "ArticleFiles.h"

#include <QtTest>

// An article whose every item names its tag, so a moved item shows where it came from.
inline ArticleBuffer articleTagged(const QString& tag)
{
    ArticleBuffer a;
    a.ArticleName = tag;
    for (int i = 1; i <= ClauseCount; ++i) {
        a.ClauseText[i] = QStringLiteral("%1 clause %2").arg(tag).arg(i);
        a.ClauseName[i] = QStringLiteral("%1 name %2").arg(tag).arg(i);
    }
    for (int j = 1; j <= ParagraphCount; ++j) {
        a.ParagraphTitle[j] = QStringLiteral("%1 title %2").arg(tag).arg(j);
        a.ParagraphText[j] = QStringLiteral("%1 line one %2\n%1 line two").arg(tag).arg(j);
    }
    return a;
}

// Fails the calling test function on the first difference (QCOMPARE returns from here only).
inline void compareStored(ArticleFiles& files, int n, const ArticleBuffer& expected)
{
    const ArticleBuffer got = files.read(n);
    for (int i = 1; i <= ClauseCount; ++i) {
        QCOMPARE(got.ClauseText[i], expected.ClauseText[i]);
        QCOMPARE(got.ClauseName[i], expected.ClauseName[i]);
    }
    for (int j = 1; j <= ParagraphCount; ++j) {
        QCOMPARE(got.ParagraphTitle[j], expected.ParagraphTitle[j]);
        QCOMPARE(got.ParagraphText[j], expected.ParagraphText[j]);
    }
}
