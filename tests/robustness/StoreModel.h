#pragma once

#include "ArticleBuffer.h"

#include <QByteArray>
#include <QString>
#include <vector>

// What the data folder should hold, kept apart from the stores: the kill test
// compares the files against it. Sites by position (name, URL, user name,
// password); articles by index with every item a load shows.
struct SiteData {
    QString name, url, user, password;
};

struct ArticleData {
    QString name;
    ArticleBuffer items;  // ClauseText, ClauseName, ParagraphTitle, ParagraphText
};

struct StoreModel {
    std::vector<SiteData> sites;
    std::vector<ArticleData> articles;

    // A digest over everything above, in one canonical form.
    QByteArray digest() const;
    // Reads a data folder with fresh stores, as the program does at start-up
    // (including the recovery of an interrupted site list change).
    static StoreModel load(const QString& folder);
};
