#pragma once

#include "ArticleBuffer.h"
#include "StoredFile.h"

#include <QString>

class SettingsFile;

// Where each stored item of article n lives, and reading and writing one
// article as a whole. Names follow the files the Windows original writes:
//   articles.txt                    the names, one a line
//   [software<n>]                   ShowClause<i>, ShowClauseDisplay<i>,
//                                   ShowrtClauseDisplayDefault<i>, DetailClauseDisplay1
//   [<data folder>Content<n>_1.txt] DetailClauseDisplay2
//   [<data folder>Content<n>_2.txt] DetailClauseDisplay3
//   Content<n>_<j>.txt              the text of paragraph j
class ArticleFiles {
public:
    ArticleFiles(SettingsFile& settings, const QString& dataFolder);

    QString articleListPath() const;
    QString contentPath(int n, int j) const;
    static QString articleSection(int n);
    static QString clauseTextKey(int i);
    // The section that holds the title of paragraph j (1..3) of article n.
    QString titleSection(int n, int j) const;
    static QString titleKey(int j);

    static QString defaultClauseName(int i);
    static QString defaultParagraphTitle(int j);

    // The title of paragraph j; when its section is missing (the data folder
    // was moved or imported), a section for the same content file under
    // another folder, else the default title.
    QString readTitle(int n, int j);
    // Every item of article n as the panel shows it: missing keys give their
    // defaults, a missing content file an empty paragraph.
    ArticleBuffer read(int n);

    // The settings keys of article n, in their stored order. Call inside a
    // SettingsFile::Batch; false when a value cannot be stored.
    bool writeKeys(int n, const ArticleBuffer& article);
    WriteResult writeContent(int n, int j, const QString& text);
    // Keys in one batch, then the three content files. Empty when all went
    // well, else every failure as "<file>: <reason>".
    QStringList write(int n, const ArticleBuffer& article);

private:
    SettingsFile& m_settings;
    QString m_dataFolder;  // with a trailing separator
};
