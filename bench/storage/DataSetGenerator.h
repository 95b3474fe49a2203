#pragma once

#include <QString>

// Writes a data folder in the stored formats (GB18030, CR LF) the way a user
// who has worked with the program for years would have it: many sites with
// credentials and, for each site, the identifiers of 20 articles; full
// articles with 15 clauses, 3 paragraphs and their titles. The texts are
// deterministic, so every run measures the same data.
struct DataSetShape {
    int sites = 1000;
    int articles = 2000;
    int identifiersPerSite = 20;
    int storedSite = 0;  // SiteInd
    int storedArticle = 0;  // SoftwareInd
    // The URL of every site; "%1" is replaced by the site's position.
    QString urlPattern = QStringLiteral("http://127.0.0.1:9/site%1/post");
    // When set, the stored site opens this address instead.
    QString storedSiteUrl;
};

namespace DataSetGenerator {

// `folder` must exist and end with a separator. False when a file could not
// be written.
bool write(const QString& folder, const DataSetShape& shape);

QString siteName(int position);
QString articleName(int index);

}  // namespace DataSetGenerator
