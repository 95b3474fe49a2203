#include "ArticleStore.h"

#include "ArticleMessages.h"
#include "InterfaceTexts.h"
#include "SettingsFile.h"
#include "TextCodec.h"

#include <vector>

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
    m_changingList = true;
    m_names.setStringList(StoredFile::readLines(m_files.articleListPath()));
    m_selection.clear();
    m_changingList = false;
    m_shown = -1;
}

void ArticleStore::ReloadFromDisk(int n)
{
    LoadArticleNames();
    if (count() == 0)
        showNothing();
    else
        SelectArticle(n);
}

bool ArticleStore::SaveArticleNames() { return writeNames(m_names.stringList()); }

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

bool ArticleStore::SaveCurrentArticle(const ArticlePanelTexts& texts)
{
    if (m_shown < 0)
        return true;
    ArticleBuffer article = m_buffer;
    article.ClauseText = texts.clause;
    article.ParagraphText = texts.paragraph;
    return report(m_files.write(m_shown, article));
}

bool ArticleStore::SaveClauseField(int i, const QString& text)
{
    if (m_shown < 0 || i < 1 || i > ClauseCount)
        return true;
    if (m_settings.writeString(ArticleFiles::articleSection(m_shown), ArticleFiles::clauseTextKey(i), text))
        return true;
    return report({m_settings.lastError()});
}

bool ArticleStore::SaveParagraphField(int j, const QString& text)
{
    if (m_shown < 0 || j < 1 || j > ParagraphCount)
        return true;
    const WriteResult result = m_files.writeContent(m_shown, j, text);
    return result ? true : report({result.error});
}

// Puts back the stored items of the targets from..upTo-1 as they were before
// a delete began (old[k - from] is article k's snapshot).
void ArticleStore::restore(int from, const std::vector<ArticleBuffer>& old, int upTo, bool keys)
{
    for (int t = from; t < upTo; ++t)
        for (int j = 1; j <= ParagraphCount; ++j)
            m_files.writeContent(t, j, old[size_t(t - from)].ParagraphText[j]);
    if (!keys)
        return;
    SettingsFile::Batch batch(m_settings);
    for (int t = from; t < upTo; ++t)
        m_files.writeKeys(t, old[size_t(t - from)]);
    batch.commit();
}

// Every article behind a removed one moves down. The order of the writes
// keeps every kept article's data on disk at all times: paragraph files go
// first, lowest target first, so a file is only replaced once its old text
// belongs to a removed article or has been copied lower; then the keys in one
// rewrite; articles.txt last, so until it is written the old list stands. A
// failed write undoes what was written and leaves the list as it was.
bool ArticleStore::DeleteSelectedArticles()
{
    const int total = count();
    std::vector<bool> selected(size_t(total), false);
    for (const QModelIndex& index : m_selection.selectedIndexes())
        if (index.row() >= 0 && index.row() < total)
            selected[size_t(index.row())] = true;

    QStringList kept;
    std::vector<std::pair<int, int>> moves;  // (from, to)
    int removed = 0;
    int first = -1;
    for (int k = 0; k < total; ++k) {
        if (selected[size_t(k)]) {
            if (first < 0)
                first = k;
            ++removed;
            continue;
        }
        kept << m_names.index(k).data().toString();
        if (removed > 0)
            moves.emplace_back(k, k - removed);
    }
    if (removed == 0)
        return SaveArticleNames();

    std::vector<ArticleBuffer> old;
    for (int k = first; k < total; ++k)
        old.push_back(m_files.read(k));

    QStringList errors;
    int contentDone = first;  // targets below this hold their new paragraph files
    for (const auto& [from, to] : moves) {
        for (int j = 1; j <= ParagraphCount && errors.isEmpty(); ++j) {
            const WriteResult result = m_files.writeContent(to, j, old[size_t(from - first)].ParagraphText[j]);
            if (!result)
                errors << result.error;
        }
        contentDone = to + 1;
        if (!errors.isEmpty())
            break;
    }
    if (errors.isEmpty()) {
        SettingsFile::Batch batch(m_settings);
        bool stored = true;
        for (const auto& [from, to] : moves)
            stored = m_files.writeKeys(to, old[size_t(from - first)]) && stored;
        if (!batch.commit() || !stored)
            errors << m_settings.lastError();
        else if (const WriteResult result = StoredFile::writeLines(m_files.articleListPath(), kept); !result) {
            errors << result.error;
            restore(first, old, contentDone, true);
            return report(errors);
        }
    }
    if (!errors.isEmpty()) {
        restore(first, old, contentDone, false);
        return report(errors);
    }

    m_changingList = true;
    m_names.setStringList(kept);
    m_selection.clear();
    m_changingList = false;
    if (kept.isEmpty())
        showNothing();
    else
        SelectArticle(first - 1);
    return true;
}

QString ArticleStore::nameProblem(const QString& name)
{
    const QString trimmed = TextCodec::trimmed(name);
    if (trimmed.isEmpty())
        return uiText(TextId::ArticleNameEmpty);
    // The name is a key of the site-article identifiers in the settings file.
    if (holdsLineBreak(trimmed) || trimmed.contains(QLatin1Char('=')) || trimmed.startsWith(QLatin1Char('['))
        || trimmed.startsWith(QLatin1Char(';')))
        return ArticleMessages::nameUnstorable();
    return {};
}

QString ArticleStore::editedArticleProblem(const ArticleBuffer& article)
{
    const QString problem = nameProblem(article.ArticleName);
    if (!problem.isEmpty())
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
    const QString problem = editedArticleProblem(m_buffer);
    if (!problem.isEmpty()) {
        m_lastError = problem;
        return false;
    }
    const int n = mode == EditMode::Update ? m_shown : count();
    if (n < 0)
        return false;
    // The article's items first: until articles.txt names it, an appended
    // article is only a leftover, and a renamed one keeps its old name.
    if (!report(m_files.write(n, m_buffer)))
        return false;
    QStringList names = m_names.stringList();
    if (mode == EditMode::Update)
        names[n] = m_buffer.ArticleName;
    else
        names << m_buffer.ArticleName;
    if (!writeNames(names))
        return false;

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
