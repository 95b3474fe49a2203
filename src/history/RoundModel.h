#pragma once

#include "PostHistory.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

// Every site of the list, in list order, with its state for one article.
class RoundModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        SiteColumn,
        StateColumn,
        TimeColumn,
        AddressColumn,
        ColumnCount
    };
    enum class Filter {
        All,
        NotYet,
        Posted
    };

    explicit RoundModel(QObject* parent = nullptr);

    // `claims`: sites a teammate is working on (site name -> the member).
    void setRound(const QStringList& sites, const QHash<QString, PostEntry>& posts,
                  const QHash<QString, QString>& claims = {});
    void setFilter(Filter filter);

    int postedCount() const { return m_postedCount; }
    int siteCount() const { return int(m_sites.size()); }
    bool isPosted(int position) const;
    // The site's position in the list for a row of the view, and back (-1: not shown).
    int positionOfRow(int row) const;
    int rowOfPosition(int position) const;
    QString postAddress(int row) const;
    // The first site after `position` that has no post, wrapping round to the
    // list's start; -1 when every site has one.
    int nextNotPosted(int position) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void rebuildRows();
    const PostEntry* postAt(int position) const;
    QString cellText(int position, int column) const;
    QString toolTip(int position, int column) const;

    QStringList m_sites;
    QHash<QString, PostEntry> m_posts;
    QHash<QString, QString> m_claims;
    std::vector<char> m_posted;  // per position
    std::vector<int> m_rows;  // positions shown, in order
    std::vector<int> m_rowOfPosition;
    Filter m_filter = Filter::All;
    int m_postedCount = 0;
};
