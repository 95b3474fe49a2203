#pragma once

#include "ArticleBuffer.h"
#include "ArticleFiles.h"

#include <QItemSelectionModel>
#include <QObject>
#include <QStringListModel>

#include <optional>

class SettingsFile;

// The article library: the list of names (a QStringListModel with a
// QItemSelectionModel; the list box on screen is a view over both), the
// article buffer and every load and save of an article. Widget-free: the
// panel hands over its field texts and refills itself on
// currentArticleChanged().
//
// Writes land in the article the panel shows (shownIndex()), so an edit
// saved while the list's current item moves never reaches another article.
// A failed write is reported on writeFailed() and by the return value; the
// list in memory only changes once the stored data holds the change (for a
// delete: once the settings file holds its record, see ArticleDeleteJournal).
// The paragraph files of a delete move on a worker thread; operations that
// change the list wait for them. A delete that could not be finished is
// finished by the next load, or by the next operation that writes, which
// refuses to write until it is.
class ArticleStore : public QObject {
    Q_OBJECT
public:
    enum class EditMode {
        Update,
        Append
    };

    ArticleStore(SettingsFile& settings, const QString& dataFolder, QObject* parent = nullptr);
    ~ArticleStore() override;

    QStringListModel* model() { return &m_names; }
    QItemSelectionModel* selectionModel() { return &m_selection; }
    ArticleFiles& files() { return m_files; }

    int count() const { return m_names.rowCount(); }
    int currentIndex() const;  // the list's current item, -1 for none
    int shownIndex() const { return m_shown; }  // the article in the buffer and panel, -1 for none
    QString currentArticleName() const;  // of the shown article
    ArticleBuffer& buffer() { return m_buffer; }
    const ArticleBuffer& buffer() const { return m_buffer; }

    // Also finishes a delete that a crash or a failed write interrupted.
    void LoadArticleNames();
    // After an import replaced the files: read the list and show article n
    // (the stored SoftwareInd); the state shown before is not saved.
    void ReloadFromDisk(int n);
    bool SaveArticleNames();
    // Before another program or a copy reads the data folder: the files of a
    // delete are all in place once this returns true.
    bool waitForFiles();
    // The files of the last delete are all in place: its record goes, so it
    // can never be taken for an unfinished delete once another program has
    // changed the list. At exit, and when the renames end.
    bool forgetFinishedDelete();
    // Makes article n the only selected one and loads the current article;
    // n < 0 counts as 0, n past the end selects nothing.
    void SelectArticle(int n);
    void LoadCurrentArticle();
    // Writes the fields that texts marks as changed. False when one could
    // not be written; lastError() then names every file that failed and why.
    bool SaveCurrentArticle(const ArticlePanelTexts& texts);
    bool SaveClauseField(int i, const QString& text);
    bool SaveParagraphField(int j, const QString& text);
    bool DeleteSelectedArticles();
    // Reads the shown article again (another program may have changed its
    // files) into the buffer, and says which stored texts differ from what
    // the buffer held.
    struct StoredChanges {
        std::array<bool, ClauseCount + 1> clause{};
        std::array<bool, ParagraphCount + 1> paragraph{};
        bool captions = false;  // a clause name or paragraph title
    };
    StoredChanges RereadShownArticle();
    // Renames the shown article or appends a new one from the buffer, and
    // stores it whole. The buffer must have passed editedArticleProblem().
    bool ApplyEditedArticle(EditMode mode);

    // Why a name or the editor's texts cannot be stored; empty when they can.
    static QString nameProblem(const QString& name);
    // `storedName`: the name the article has now, which may stay as it is.
    static QString editedArticleProblem(const ArticleBuffer& article, const QString& storedName = {});

    QString lastError() const { return m_lastError; }

signals:
    // The buffer holds another article, or the shown one was reloaded,
    // renamed or emptied: the panel refills, the site-article identifier
    // is read again.
    void currentArticleChanged();
    void writeFailed(const QString& error);
    // The editor stored the shown article under a new name.
    void articleRenamed(const QString& oldName, const QString& newName);

private:
    void followCurrentItem(const QModelIndex& current);
    void showNothing();
    void selectOnly(int row);
    bool report(const QStringList& errors);
    bool writeNames(const QStringList& names);
    std::optional<QStringList> rollForward(const QStringList& namesOnDisk, QStringList& errors);
    bool listIsWritable();
    // The reasons an interrupted delete is still not finished; none once it is.
    QStringList completeInterruptedDelete();
    bool finishInterruptedDelete();
    QStringList paragraphWriteBlockers();
    bool finishDeleteBeforeParagraphWrite();
    void adoptList(const QStringList& names);

    SettingsFile& m_settings;
    ArticleFiles m_files;
    QStringListModel m_names;
    QItemSelectionModel m_selection;
    ArticleBuffer m_buffer;
    int m_shown = -1;
    bool m_changingList = false;  // the store moves the current item itself
    bool m_deleteUnfinished = false;  // the files still lag behind a recorded delete
    QString m_lastError;
};
