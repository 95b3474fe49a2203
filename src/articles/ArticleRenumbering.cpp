#include "ArticleRenumbering.h"

#include "ArticleBuffer.h"
#include "ArticleFiles.h"

#include <QFileInfo>

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
    for (const Rename& rename : renames()) {
        if (QFileInfo::exists(files.contentPath(rename.from, rename.paragraph)))
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
        const WriteResult result = files.renameContent(all[i].from, all[i].to, all[i].paragraph);
        if (!result)
            return result;
    }
    return {};
}
