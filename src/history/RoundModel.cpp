#include "RoundModel.h"

#include <QBrush>
#include <QFont>

RoundModel::RoundModel(QObject* parent) : QAbstractTableModel(parent) {}

void RoundModel::setRound(const QStringList& sites, const QHash<QString, PostEntry>& posts,
                          const QHash<QString, QString>& claims)
{
    beginResetModel();
    m_sites = sites;
    m_posts = posts;
    m_claims = claims;
    m_posted.assign(size_t(sites.size()), 0);
    m_postedCount = 0;
    for (int p = 0; p < sites.size(); ++p) {
        if (posts.contains(sites.at(p))) {
            m_posted[size_t(p)] = 1;
            ++m_postedCount;
        }
    }
    rebuildRows();
    endResetModel();
}

void RoundModel::setFilter(Filter filter)
{
    if (filter == m_filter)
        return;
    beginResetModel();
    m_filter = filter;
    rebuildRows();
    endResetModel();
}

void RoundModel::rebuildRows()
{
    m_rows.clear();
    m_rowOfPosition.assign(size_t(m_sites.size()), -1);
    for (int p = 0; p < m_sites.size(); ++p) {
        const bool posted = m_posted[size_t(p)];
        if (m_filter == Filter::All || (m_filter == Filter::Posted) == posted) {
            m_rowOfPosition[size_t(p)] = int(m_rows.size());
            m_rows.push_back(p);
        }
    }
}

bool RoundModel::isPosted(int position) const
{
    return position >= 0 && position < int(m_posted.size()) && m_posted[size_t(position)];
}

int RoundModel::positionOfRow(int row) const { return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)] : -1; }

int RoundModel::rowOfPosition(int position) const
{
    return position >= 0 && position < int(m_rowOfPosition.size()) ? m_rowOfPosition[size_t(position)] : -1;
}

const PostEntry* RoundModel::postAt(int position) const
{
    if (!isPosted(position))
        return nullptr;
    auto found = m_posts.constFind(m_sites.at(position));
    return found == m_posts.constEnd() ? nullptr : &found.value();
}

QString RoundModel::postAddress(int row) const
{
    const PostEntry* post = postAt(positionOfRow(row));
    return post ? post->postUrl : QString();
}

int RoundModel::nextNotPosted(int position) const
{
    const int count = siteCount();
    for (int step = 1; step <= count; ++step) {
        const int p = ((position < 0 ? -1 : position) + step) % count;
        if (!m_posted[size_t(p)])
            return p;
    }
    return -1;
}

int RoundModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int RoundModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString RoundModel::cellText(int position, int column) const
{
    const PostEntry* post = postAt(position);
    switch (column) {
    case SiteColumn: return m_sites.at(position);
    case StateColumn:
        if (!post) {
            const QString claimedBy = m_claims.value(m_sites.at(position));
            return claimedBy.isEmpty() ? tr("未发布") : tr("未发布（%1 正在发布）").arg(claimedBy);
        }
        if (post->isHeld())
            return tr("已发布（未保存）");
        if (!post->member.isEmpty())
            return post->byHand ? tr("已发布（%1，手动标记）").arg(post->member) : tr("已发布（%1）").arg(post->member);
        return post->byHand ? tr("已发布（手动标记）") : tr("已发布");
    case TimeColumn:
        return post ? post->postedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
    case AddressColumn: return post ? post->postUrl : QString();
    default: return {};
    }
}

QString RoundModel::toolTip(int position, int column) const
{
    const PostEntry* post = postAt(position);
    const QString text = column == StateColumn && post && post->isHeld()
        ? tr("尚未存入发布记录，下次保存时再试：%1").arg(post->heldBecause)
        : cellText(position, column);
    // Site names, addresses and reasons come from pages and files: as markup,
    // escaped, so a "<" in them stays a "<" (Qt takes a tooltip that starts
    // with a tag for rich text).
    return text.isEmpty() ? QString() : QStringLiteral("<qt>%1</qt>").arg(text.toHtmlEscaped());
}

QVariant RoundModel::data(const QModelIndex& index, int role) const
{
    const int position = positionOfRow(index.row());
    if (position < 0)
        return {};
    if (role == Qt::DisplayRole)
        return cellText(position, index.column());
    if (role == Qt::ToolTipRole)
        return toolTip(position, index.column());
    const PostEntry* post = postAt(position);
    if (index.column() == AddressColumn && post && !post->postUrl.isEmpty()) {
        // The address opens with a click: it looks like a link.
        if (role == Qt::ForegroundRole)
            return QBrush(QColor(0, 0, 238));
        if (role == Qt::FontRole) {
            QFont font;
            font.setUnderline(true);
            return font;
        }
    }
    // Not posted yet, or posted but not stored yet: both want the user's eye.
    if (role == Qt::ForegroundRole && index.column() == StateColumn && (!post || post->isHeld()))
        return QBrush(QColor(160, 60, 0));
    return {};
}

QVariant RoundModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case SiteColumn: return tr("站点");
    case StateColumn: return tr("状态");
    case TimeColumn: return tr("发布时间");
    case AddressColumn: return tr("帖子地址");
    default: return {};
    }
}
