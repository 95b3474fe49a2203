#pragma once

#include "ArticleBuffer.h"
#include "ArticleRenumbering.h"
#include "BackgroundRenames.h"
#include "StoredFile.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class SettingsFile;

// Where each stored item of article n lives, and reading and writing one
// article as a whole. Names follow the files the Windows original writes:
//   articles.txt                    the names, one a line
//   [software<n>]                   ShowClause<i>, ShowClauseDisplay<i>,
//                                   ShowrtClauseDisplayDefault<i>, DetailClauseDisplay1
//   [<data folder>Content<n>_1.txt] DetailClauseDisplay2 (or [./Content<n>_1.txt]
//   [<data folder>Content<n>_2.txt] DetailClauseDisplay3  where "]" is in the path)
//   Content<n>_<j>.txt              the text of paragraph j
class ArticleFiles {
public:
    ArticleFiles(SettingsFile& settings, const QString& dataFolder);

    ~ArticleFiles();

    QString articleListPath() const;
    QString contentPath(int n, int j) const;
    static QString contentFileName(int n, int j);
    // The names of the paragraph files in the data folder, in one listing;
    // nullopt when the folder could not be listed whole.
    std::optional<QSet<QString>> contentFilesPresent() const;
    static QString articleSection(int n);
    static QString clauseTextKey(int i);
    // The section that holds the title of paragraph j (1..3) of article n.
    QString titleSection(int n, int j) const;
    static QString titleKey(int j);

    // The names a new article's clauses and paragraphs get, as stored: "短句3",
    // "段落1" in every interface language, as the Windows original writes them.
    static QString defaultClauseName(int i);
    static QString defaultParagraphTitle(int j);
    // A default name as the interface shows it ("Clause 3" in English), any
    // other name as it is; and back, for what the user confirmed in a field.
    static QString shownClauseName(int i, const QString& stored);
    static QString storedClauseName(int i, const QString& shown);
    static QString shownParagraphTitle(int j, const QString& stored);
    static QString storedParagraphTitle(int j, const QString& shown);

    // The title of paragraph j; when its section is missing (the data folder
    // was moved or imported), a section for the same content file under
    // another folder, else the default title.
    QString readTitle(int n, int j);
    // Every item of article n as the panel shows it: missing keys give their
    // defaults, a missing content file an empty paragraph.
    ArticleBuffer read(int n);
    // The same without the paragraph texts: what lives in the settings file.
    ArticleBuffer readKeys(int n);
    // Before reading the titles of many articles: looks the sections of other
    // data folders up in one pass, made when first needed, instead of one pass
    // per title. Holds until forgetTitleSections(); sections added meanwhile
    // under this data folder are found by name anyway.
    void indexTitleSections() { m_titleIndexWanted = true; }
    void forgetTitleSections()
    {
        m_titleIndexWanted = false;
        m_titleIndex.reset();
    }

    // The settings keys of article n, in their stored order. Call inside a
    // SettingsFile::Batch; false when a value cannot be stored.
    bool writeKeys(int n, const ArticleBuffer& article);
    // The settings keys of article `from` become those of article `to`: reads
    // of `to` then give what `from` gave, as writeKeys(to, readKeys(from))
    // leaves them, but the sections are copied as they stand instead of being
    // decoded and written again key by key. Call inside a SettingsFile::Batch.
    bool moveKeys(int from, int to);
    WriteResult writeContent(int n, int j, const QString& text);
    // Moves paragraph file j of article `from` to article `to` in one rename,
    // replacing what `to` held.
    WriteResult renameContent(int from, int to, int j);
    // Tests put a failing rename here: it gets the target path and returns a
    // reason to fail, an empty string to let the rename through.
    static void setRenameFault(StoredFile::WriteFault fault);

    // The renames of a recorded delete on a worker thread, then `last` (the
    // new articles.txt). Meanwhile read() and writeContent() find each
    // paragraph where it is. `finished` is called on the worker thread.
    void renameInBackground(const ArticleRenumbering& plan, BackgroundRenames::Last last,
                            BackgroundRenames::Finished finished);
    bool renamesRunning();
    // Waits for the renames; returns their failures. The files are then
    // where a plain run would have left them.
    QStringList waitForRenames();
    // Keys in one batch, then the three content files. Empty when all went
    // well, else every failure as "<file>: <reason>". `alsoInBatch` writes
    // more keys into the same batch.
    QStringList write(int n, const ArticleBuffer& article, const std::function<bool()>& alsoInBatch = {});

private:
    // Sections named by a path that ends with this content file name, in file order.
    QStringList sectionsNamedLike(const QString& fileName);
    QHash<QString, QStringList> titleSectionsByFileName();
    // Per clause: the display name and its copy are both stored, with the same bytes.
    std::array<bool, ClauseCount + 1> namesEqualCopies(const QString& section);

    // The file that holds paragraph j of article n now; with the renames' lock held.
    QString holderPath(int n, int j) const;

    SettingsFile& m_settings;
    QString m_dataFolder;  // with a trailing separator
    bool m_pathNamesSections = true;  // the folder's path can be part of a section name
    std::optional<ArticleRenumbering> m_renamePlan;
    std::unique_ptr<BackgroundRenames> m_renames;  // destroyed first: it waits for the worker
    bool m_titleIndexWanted = false;
    std::optional<QHash<QString, QStringList>> m_titleIndex;  // lower-case file name -> sections
};
