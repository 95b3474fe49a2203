#include "ArticleRenumbering.h"

#include "ArticleBuffer.h"
#include "ArticleFiles.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

ArticleRenumbering::ArticleRenumbering(int count, const QList<int>& removed) : m_removed(removed)
{
    int passed = 0;  // removed articles before k
    for (int k = 0; k < count; ++k) {
        if (passed < m_removed.size() && m_removed[passed] == k)
            ++passed;
        else if (passed > 0)
            m_moves.push_back({k, k - int(passed)});
    }
}

QStringList ArticleRenumbering::kept(const QStringList& names) const
{
    QStringList result;
    qsizetype next = 0;
    for (int k = 0; k < names.size(); ++k) {
        if (next < m_removed.size() && m_removed[next] == k)
            ++next;
        else
            result << names[k];
    }
    return result;
}

std::vector<ArticleRenumbering::Rename> ArticleRenumbering::renames() const
{
    std::vector<Rename> result;
    result.reserve(m_moves.size() * ParagraphCount);
    for (const Move& move : m_moves)
        for (int j = 1; j <= ParagraphCount; ++j)
            result.push_back({move.from, move.to, j});
    return result;
}

QStringList ArticleRenumbering::createMissingSources(ArticleFiles& files) const
{
    QStringList errors;
    // A file the listing missed would be emptied: without a whole listing, each file is looked up.
    const std::optional<QSet<QString>> present = files.contentFilesPresent();
    for (const Rename& rename : renames()) {
        if (present ? present->contains(ArticleFiles::contentFileName(rename.from, rename.paragraph))
                    : QFileInfo::exists(files.contentPath(rename.from, rename.paragraph)))
            continue;
        if (const WriteResult result = files.writeContent(rename.from, rename.paragraph, QString()); !result)
            errors << result.error;
    }
    return errors;
}

WriteResult ArticleRenumbering::renameParagraphFiles(ArticleFiles& files, bool resume) const
{
    const std::vector<Rename> all = renames();
    size_t start = 0;
    if (resume) {
        for (size_t i = all.size(); i > 0; --i) {
            if (!QFileInfo::exists(files.contentPath(all[i - 1].from, all[i - 1].paragraph))) {
                start = i;
                break;
            }
        }
    }
    for (size_t i = start; i < all.size(); ++i) {
        const WriteResult result = renameStep(files, i);
        if (!result)
            return result;
    }
    return {};
}

size_t ArticleRenumbering::renameCount() const { return m_moves.size() * ParagraphCount; }

// Step i is paragraph i % ParagraphCount + 1 of move i / ParagraphCount, as renames() lists them.
WriteResult ArticleRenumbering::renameStep(ArticleFiles& files, size_t i) const
{
    const Move& move = m_moves[i / ParagraphCount];
    return files.renameContent(move.from, move.to, int(i % ParagraphCount) + 1);
}

std::optional<ArticleRenumbering::Source> ArticleRenumbering::renameInto(int to, int j) const
{
    const auto at = std::lower_bound(m_moves.begin(), m_moves.end(), to,
                                     [](const Move& move, int target) { return move.to < target; });
    if (at == m_moves.end() || at->to != to || j < 1 || j > ParagraphCount)
        return std::nullopt;
    return Source{size_t(at - m_moves.begin()) * ParagraphCount + size_t(j - 1), at->from};
}
