#include "ArticleStore.h"

#include "ArticleDeleteJournal.h"
#include "ArticleMessages.h"
#include "ArticleRenumbering.h"
#include "InterfaceTexts.h"
#include "SettingsFile.h"
#include "TextCodec.h"

#include <algorithm>

namespace {

bool holdsLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

}  // namespace

ArticleStore::ArticleStore(SettingsFile& settings, const QString& dataFolder, QObject* parent)
    : QObject(parent), m_settings(settings), m_files(settings, dataFolder), m_selection(&m_names)
{
    connect(&m_selection, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { followCurrentItem(current); });
}

// The renames of a delete may still run: they end before the store goes.
ArticleStore::~ArticleStore() { m_files.waitForRenames(); }

int ArticleStore::currentIndex() const
{
    const QModelIndex current = m_selection.currentIndex();
    return current.isValid() ? current.row() : -1;
}

QString ArticleStore::currentArticleName() const
{
    return m_shown >= 0 && m_shown < count() ? m_names.index(m_shown).data().toString() : QString();
}

// A click or a key in the list moved the current item: show that article.
void ArticleStore::followCurrentItem(const QModelIndex& current)
{
    if (m_changingList)
        return;
    if (!current.isValid() || current.row() != m_shown)
        LoadCurrentArticle();
}

void ArticleStore::selectOnly(int row)
{
    m_selection.setCurrentIndex(m_names.index(row), QItemSelectionModel::ClearAndSelect);
}

void ArticleStore::showNothing()
{
    m_shown = -1;
    m_buffer = ArticleBuffer();
    emit currentArticleChanged();
}

bool ArticleStore::report(const QStringList& errors)
{
    if (errors.isEmpty())
        return true;
    m_lastError = errors.join(QLatin1Char('\n'));
    for (const QString& error : errors)
        emit writeFailed(error);
    return false;
}

bool ArticleStore::writeNames(const QStringList& names)
{
    const WriteResult result = StoredFile::writeLines(m_files.articleListPath(), names);
    return result ? true : report({result.error});
}

void ArticleStore::LoadArticleNames()
{
    m_files.waitForRenames();  // a failed run is finished from the record below
    QString readError;
    QStringList names = StoredFile::readLines(m_files.articleListPath(), &readError);
    QStringList errors;
    // An unreadable list is left alone; the file layer keeps it from being written.
    if (readError.isEmpty()) {
        if (const auto finished = rollForward(names, errors))
            names = *finished;  // the keys belong to this list even when a file lags behind
    }
    m_deleteUnfinished = !errors.isEmpty();
    // Finished now, or nothing to finish: the record must not outlive the delete.
    if (readError.isEmpty() && errors.isEmpty() && !ArticleDeleteJournal::close(m_settings))
        errors << m_settings.lastError();
    adoptList(names);
    m_shown = -1;
    report(errors);
}

void ArticleStore::ReloadFromDisk(int n)
{
    LoadArticleNames();
    if (count() == 0)
        showNothing();
    else
        SelectArticle(n);
}

bool ArticleStore::SaveArticleNames()
{
    if (!listIsWritable() || !finishInterruptedDelete())
        return false;
    return writeNames(m_names.stringList());
}

bool ArticleStore::waitForFiles() { return finishInterruptedDelete(); }

bool ArticleStore::forgetFinishedDelete()
{
    if (!finishInterruptedDelete())
        return false;
    return ArticleDeleteJournal::close(m_settings) || report({m_settings.lastError()});
}

void ArticleStore::SelectArticle(int n)
{
    if (count() == 0)
        return;
    n = qMax(n, 0);
    m_changingList = true;
    if (n < count())
        selectOnly(n);
    else
        m_selection.clearSelection();
    m_changingList = false;
    LoadCurrentArticle();
}

void ArticleStore::LoadCurrentArticle()
{
    const int c = currentIndex();
    if (c < 0) {
        showNothing();
        return;
    }
    m_buffer = m_files.read(c);
    m_buffer.ArticleName = m_names.index(c).data().toString();
    m_shown = c;
    emit currentArticleChanged();
}

// Only the fields the user changed: a field written back unchanged would
// undo what another program (a sync tool, an editor) stored meanwhile, and
// a read-only data folder would refuse a save that changes nothing.
bool ArticleStore::SaveCurrentArticle(const ArticlePanelTexts& texts)
{
    if (m_shown < 0)
        return true;
    QStringList errors;
    const QString section = ArticleFiles::articleSection(m_shown);
    {
        SettingsFile::Batch batch(m_settings);
        bool stored = true;
        for (int i = 1; i <= ClauseCount; ++i)
            if (texts.clauseChanged[size_t(i)])
                stored =
                    m_settings.writeString(section, ArticleFiles::clauseTextKey(i), texts.clause[size_t(i)]) && stored;
        if (batch.commit() && stored) {
            for (int i = 1; i <= ClauseCount; ++i)
                if (texts.clauseChanged[size_t(i)])
                    m_buffer.ClauseText[size_t(i)] = texts.clause[size_t(i)];
        } else {
            errors << m_settings.lastError();
        }
    }
    const bool paragraphChanged =
        std::any_of(texts.paragraphChanged.begin() + 1, texts.paragraphChanged.end(), [](bool c) { return c; });
    // The paragraphs wait for an unfinished delete; why is told with the
    // clauses' failures, so the caller learns every reason from one answer.
    if (const QStringList blocked = paragraphChanged ? paragraphWriteBlockers() : QStringList(); !blocked.isEmpty())
        return report(errors << blocked);
    for (int j = 1; j <= ParagraphCount && paragraphChanged; ++j) {
        if (!texts.paragraphChanged[size_t(j)])
            continue;
        if (const WriteResult result = m_files.writeContent(m_shown, j, texts.paragraph[size_t(j)]); result)
            m_buffer.ParagraphText[size_t(j)] = texts.paragraph[size_t(j)];
        else
            errors << result.error;
    }
    return report(errors);
}

bool ArticleStore::SaveClauseField(int i, const QString& text)
{
    if (m_shown < 0 || i < 1 || i > ClauseCount)
        return true;
    if (!m_settings.writeString(ArticleFiles::articleSection(m_shown), ArticleFiles::clauseTextKey(i), text))
        return report({m_settings.lastError()});
    m_buffer.ClauseText[size_t(i)] = text;
    return true;
}

bool ArticleStore::SaveParagraphField(int j, const QString& text)
{
    if (m_shown < 0 || j < 1 || j > ParagraphCount)
        return true;
    if (!finishDeleteBeforeParagraphWrite())
        return false;
    const WriteResult result = m_files.writeContent(m_shown, j, text);
    if (!result)
        return report({result.error});
    m_buffer.ParagraphText[size_t(j)] = text;
    return true;
}

ArticleStore::StoredChanges ArticleStore::RereadShownArticle()
{
    StoredChanges changes;
    if (m_shown < 0)
        return changes;
    const ArticleBuffer stored = m_files.read(m_shown);
    for (int i = 1; i <= ClauseCount; ++i) {
        const auto at = size_t(i);
        changes.clause[at] = stored.ClauseText[at] != m_buffer.ClauseText[at];
        changes.captions = changes.captions || stored.ClauseName[at] != m_buffer.ClauseName[at];
    }
    for (int j = 1; j <= ParagraphCount; ++j) {
        const auto at = size_t(j);
        changes.paragraph[at] = stored.ParagraphText[at] != m_buffer.ParagraphText[at];
        changes.captions = changes.captions || stored.ParagraphTitle[at] != m_buffer.ParagraphTitle[at];
    }
    const QString name = m_buffer.ArticleName;
    m_buffer = stored;
    m_buffer.ArticleName = name;
    return changes;
}

// Finishes the delete the settings file records when articles.txt still holds
// the list that delete started from: the paragraph renames not yet done, then
// the new list. Returns the list the stored data now belongs to, or nullopt
// when there is nothing to finish. Running it again does no harm.
std::optional<QStringList> ArticleStore::rollForward(const QStringList& namesOnDisk, QStringList& errors)
{
    const auto entry = ArticleDeleteJournal::pending(m_settings, int(namesOnDisk.size()));
    if (!entry || entry->before != ArticleDeleteJournal::digest(namesOnDisk))
        return std::nullopt;  // done, or another program changed the list since
    const ArticleRenumbering plan(int(namesOnDisk.size()), entry->removed);
    const QStringList kept = plan.kept(namesOnDisk);
    if (entry->after != ArticleDeleteJournal::digest(kept))
        return std::nullopt;
    if (const WriteResult result = plan.renameParagraphFiles(m_files, true); !result)
        errors << result.error;
    else if (const WriteResult written = StoredFile::writeLines(m_files.articleListPath(), kept); !written)
        errors << written.error;
    return kept;
}

// A list that could not be read may name any number of articles: a change
// by position would overwrite theirs.
bool ArticleStore::listIsWritable()
{
    const QString refusal = StoredFile::writeRefusal(m_files.articleListPath());
    return refusal.isEmpty() || report({refusal});
}

QStringList ArticleStore::completeInterruptedDelete()
{
    if (!m_files.waitForRenames().isEmpty())
        m_deleteUnfinished = true;  // the failure was reported when the run ended
    if (!m_deleteUnfinished)
        return {};
    QStringList errors;
    rollForward(StoredFile::readLines(m_files.articleListPath()), errors);
    m_deleteUnfinished = !errors.isEmpty();
    return errors;
}

bool ArticleStore::finishInterruptedDelete() { return report(completeInterruptedDelete()); }

// A paragraph written while the renames of a delete run lands where the
// paragraph is at that moment, and moves with it. A paragraph file written
// while an interrupted delete waits to be finished could be moved to another
// article by the rest of its renames, so that delete is finished first.
QStringList ArticleStore::paragraphWriteBlockers()
{
    return m_files.renamesRunning() ? QStringList() : completeInterruptedDelete();
}

bool ArticleStore::finishDeleteBeforeParagraphWrite() { return report(paragraphWriteBlockers()); }

void ArticleStore::adoptList(const QStringList& names)
{
    m_changingList = true;
    m_names.setStringList(names);
    m_selection.clear();
    m_changingList = false;
}

// Every article behind a removed one moves down. The moved keys and the
// record of the delete go into the settings file in one rewrite; from then on
// the delete counts as made, and the paragraph files follow by rename, then
// articles.txt, on a worker thread (thousands of renames would hold the
// window up). Whatever stops it after the rewrite, the next load (or the
// next write) finishes it from the record, so every kept article's clauses,
// names, titles and paragraphs stay together under its name. A failure before
// the rewrite changes nothing.
bool ArticleStore::DeleteSelectedArticles()
{
    if (!listIsWritable() || !finishInterruptedDelete())
        return false;
    const int total = count();
    QList<int> removed;
    for (const QModelIndex& index : m_selection.selectedIndexes())
        if (index.row() >= 0 && index.row() < total)
            removed << index.row();
    std::sort(removed.begin(), removed.end());
    removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
    if (removed.isEmpty())
        return SaveArticleNames();

    const QStringList before = m_names.stringList();
    const ArticleRenumbering plan(total, removed);
    const QStringList kept = plan.kept(before);
    if (!report(plan.createMissingSources(m_files)))
        return false;
    {
        SettingsFile::Batch batch(m_settings);
        bool stored = true;
        m_files.indexTitleSections();
        // Lowest target first: a source is read before any move writes over it.
        for (const ArticleRenumbering::Move& move : plan.moves())
            stored = m_files.moveKeys(move.from, move.to) && stored;
        m_files.forgetTitleSections();
        stored = ArticleDeleteJournal::write(m_settings, before, removed, kept) && stored;
        if (!batch.commit() || !stored)
            return report({m_settings.lastError()});
    }

    m_files.renameInBackground(
        plan, [path = m_files.articleListPath(), kept] { return StoredFile::writeLines(path, kept); },
        [this](const QStringList& failures) {
            QMetaObject::invokeMethod(
                this,
                [this, failures] {
                    if (!failures.isEmpty())
                        report(failures);
                    else if (!m_files.renamesRunning())  // no later delete has started meanwhile
                        forgetFinishedDelete();
                },
                Qt::QueuedConnection);
        });

    adoptList(kept);
    if (kept.isEmpty())
        showNothing();
    else
        SelectArticle(plan.firstRemoved() - 1);
    return true;
}

QString ArticleStore::nameProblem(const QString& name)
{
    const QString trimmed = TextCodec::trimmed(name);
    if (trimmed.isEmpty())
        return uiText(TextId::ArticleNameEmpty);
    // The name is a key of the site-article identifiers in the settings file.
    if (!SettingsFile::isStorableKey(trimmed))
        return ArticleMessages::nameUnstorable();
    return {};
}

QString ArticleStore::editedArticleProblem(const ArticleBuffer& article, const QString& storedName)
{
    // A name the Windows original accepted may hold what a new name may not
    // ("=", a leading "[" or ";"): kept as it is, the article stays editable;
    // only its per-site identifiers cannot be stored.
    const bool keptName =
        !storedName.isEmpty() && TextCodec::trimmed(article.ArticleName) == TextCodec::trimmed(storedName);
    if (const QString problem = nameProblem(article.ArticleName); !problem.isEmpty() && !keptName)
        return problem;
    for (int i = 1; i <= ClauseCount; ++i)
        if (holdsLineBreak(article.ClauseText[i]) || holdsLineBreak(article.ClauseName[i]))
            return ArticleMessages::textHoldsLineBreak();
    for (int j = 1; j <= ParagraphCount; ++j)
        if (holdsLineBreak(article.ParagraphTitle[j]))
            return ArticleMessages::textHoldsLineBreak();
    return {};
}

bool ArticleStore::ApplyEditedArticle(EditMode mode)
{
    m_buffer.ArticleName = TextCodec::trimmed(m_buffer.ArticleName);
    const QString problem = editedArticleProblem(m_buffer, mode == EditMode::Update ? currentArticleName() : QString());
    if (!problem.isEmpty()) {
        m_lastError = problem;
        return false;
    }
    const int n = mode == EditMode::Update ? m_shown : count();
    if (n < 0 || !listIsWritable() || !finishInterruptedDelete())
        return false;
    // The article's items first: until articles.txt names it, an appended
    // article is only a leftover, and a renamed one keeps its old name. The
    // list is about to change, so the record of an earlier delete is closed
    // with the keys: it must never be replayed on a list that happens to equal
    // the one it started from.
    if (!report(m_files.write(n, m_buffer, [this] { return ArticleDeleteJournal::close(m_settings); })))
        return false;
    QStringList names = m_names.stringList();
    const QString oldName = mode == EditMode::Update ? names[n] : QString();
    if (mode == EditMode::Update)
        names[n] = m_buffer.ArticleName;
    else
        names << m_buffer.ArticleName;
    if (!writeNames(names))
        return false;
    if (mode == EditMode::Update && oldName != m_buffer.ArticleName)
        emit articleRenamed(oldName, m_buffer.ArticleName);

    m_changingList = true;
    if (mode == EditMode::Append)
        m_names.insertRows(n, 1);
    m_names.setData(m_names.index(n), m_buffer.ArticleName);
    selectOnly(n);
    m_changingList = false;
    m_shown = n;
    emit currentArticleChanged();
    return true;
}
