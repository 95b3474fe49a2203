#include "SiteStore.h"

#include "SettingsFile.h"
#include "SiteListJournal.h"
#include "SiteSection.h"
#include "StoredFile.h"
#include "TextCodec.h"

#include <QItemSelectionModel>
#include <QStringListModel>

#include <algorithm>
#include <vector>

namespace {

bool holdsControlCharacter(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 32; });
}

bool holdsLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

}  // namespace

// Marks the store's own changes of the current item and the marks.
class SiteStore::SelectionUpdate {
public:
    explicit SelectionUpdate(SiteStore& store) : m_store(store) { ++m_store.m_selectionUpdates; }
    ~SelectionUpdate() { --m_store.m_selectionUpdates; }

private:
    SiteStore& m_store;
};

SiteStore::SiteStore(SettingsFile& settings, const QString& dataFolder, QObject* parent)
    : QObject(parent),
      m_settings(settings),
      m_listPath(dataFolder + QStringLiteral("SDUrl.txt")),
      m_model(new QStringListModel(this)),
      m_selection(new QItemSelectionModel(m_model, this))
{
}

SiteStore::~SiteStore() = default;

int SiteStore::count() const { return m_model->rowCount(); }

int SiteStore::currentPosition() const
{
    const QModelIndex current = m_selection->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QString SiteStore::siteName(int position) const
{
    return m_model->data(m_model->index(position), Qt::DisplayRole).toString();
}

QStringList SiteStore::siteNames() const { return m_model->stringList(); }

QList<int> SiteStore::selectedPositions() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_selection->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QString SiteStore::siteProblem(const TMyURL& site)
{
    const QString name = site.siteName;
    // The name is the section of the site's identifiers: "[name]" must read back as name.
    if (name.isEmpty() || TextCodec::trimmed(name) != name || name.contains(QLatin1Char(']'))
        || holdsControlCharacter(name))
        return tr("网站名称“%1”无法保存：名称中不能有“]”、换行或控制字符，"
                  "首尾不能是空白。")
            .arg(name);
    // The settings file's own record sections of the site list and of article deletes.
    if (name.compare(SiteListJournal::sectionName(), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String("articles.txt"), Qt::CaseInsensitive) == 0)
        return tr("网站名称“%1”由程序自用，请换一个名称。").arg(name);
    if (holdsLineBreak(site.url) || holdsLineBreak(site.userName) || holdsLineBreak(site.password))
        return tr("网址、用户名和密码中不能有换行。");
    return {};
}

void SiteStore::LoadSiteList()
{
    QString readError;
    m_namesOnDisk = StoredFile::readLines(m_listPath, &readError);
    QStringList names = m_namesOnDisk;
    // An unreadable list is left alone: the file layer keeps it from being
    // written, and nothing is finished from the copy of the names.
    if (readError.isEmpty()) {
        if (const auto recovered = SiteListJournal::recover(m_settings, m_namesOnDisk)) {
            // The last change reached the settings file but not SDUrl.txt: finish it.
            names = *recovered;
            writeNameList(names);
        }
        forgetFinishedChange();
    }
    SelectionUpdate guard(*this);
    m_selection->clear();
    m_model->setStringList(names);
    // A fresh list has its focus mark on the first item, with nothing selected.
    if (!names.isEmpty())
        m_selection->setCurrentIndex(m_model->index(0), QItemSelectionModel::NoUpdate);
}

bool SiteStore::forgetFinishedChange()
{
    if (m_listBehind)
        return false;  // the copy still has to finish SDUrl.txt
    return SiteListJournal::close(m_settings) || reportSettingsFailure();
}

void SiteStore::markOnly(int position)
{
    SelectionUpdate guard(*this);
    const QModelIndex index = m_model->index(position);
    m_selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

namespace {

// A stored address without a scheme (or a drive) is a web address.
QString withScheme(const QString& url)
{
    if (url.isEmpty() || url.contains(QLatin1String(":\\")) || url.contains(QLatin1String("://")))
        return url;
    return QStringLiteral("http://%1").arg(url);
}

}  // namespace

QString SiteStore::addressToOpen(int k) const
{
    k = std::max(k, 0);
    if (k >= count())
        return {};
    return withScheme(TextCodec::trimmed(SiteSection::read(m_settings, k).url));
}

void SiteStore::SelectSite(int k)
{
    if (count() == 0)
        return;
    k = std::max(k, 0);
    if (k < count()) {
        markOnly(k);
    } else {
        // Past the end: nothing stays selected and the current item stays.
        SelectionUpdate guard(*this);
        m_selection->clearSelection();
    }
    FillCurrentSite();
}

void SiteStore::FillCurrentSite()
{
    const int p = currentPosition();
    if (p < 0)
        return;
    fill(p);
    LoadSiteArticleId();
}

void SiteStore::fill(int position)
{
    const SiteSection::Values stored = SiteSection::read(m_settings, position);
    m_record.siteName = siteName(position);
    m_record.url = TextCodec::trimmed(stored.url);
    m_record.userName = stored.user;
    m_record.password = stored.password;
    // The row always shows the current site: a stale row would be saved into
    // the wrong site when the user leaves one of its fields.
    emit credentialsChanged(m_record.userName, m_record.password);
    if (m_record.url.isEmpty())
        return;
    m_record.url = withScheme(m_record.url);
    emit addressToShow(m_record.url);
    emit urlToOpen(m_record.url);
}

// A list that could not be read may hold any number of sites: writing
// sections by position would overwrite theirs.
bool SiteStore::listIsWritable()
{
    const QString refusal = StoredFile::writeRefusal(m_listPath);
    if (refusal.isEmpty())
        return true;
    emit writeFailed(refusal);
    return false;
}

bool SiteStore::reportSettingsFailure()
{
    emit writeFailed(m_settings.lastError());
    return false;
}

bool SiteStore::commitSites(const QStringList& names, int from, int to, const std::function<SectionValues()>& sections)
{
    if (!listIsWritable())
        return false;
    SettingsFile::Batch batch(m_settings);
    const SectionValues written = sections();
    for (size_t i = 0; i < written.size(); ++i)
        SiteSection::write(m_settings, from + int(i), written[i]);
    // Sections a shorter list leaves behind lose the site's address and
    // credentials; their other keys may be the identifiers of a site named
    // by that number.
    for (int p = int(names.size()); p < to; ++p)
        SiteSection::remove(m_settings, p);
    SiteListJournal::write(m_settings, names, m_namesOnDisk, from, to, written);
    if (!batch.commit())
        return reportSettingsFailure();
    // From here the change is held by the settings file; should SDUrl.txt fail
    // now, the next load completes it from the copy of the names.
    writeNameList(names);
    return true;
}

void SiteStore::writeNameList(const QStringList& names)
{
    const WriteResult result = StoredFile::writeLines(m_listPath, names);
    m_listBehind = !result;
    if (result)
        m_namesOnDisk = names;
    else
        emit writeFailed(result.error);
}

bool SiteStore::StoreSite(bool update)
{
    const QString problem = siteProblem(m_record);
    if (!problem.isEmpty()) {
        emit writeFailed(problem);
        return false;
    }
    QStringList names = siteNames();
    int p = names.size();
    QString oldName;
    if (update) {
        p = currentPosition();
        if (p < 0)
            return false;
        oldName = names[p];
        names[p] = m_record.siteName;
    } else {
        names << m_record.siteName;
    }
    const SiteSection::Values values{m_record.url, m_record.userName, m_record.password};
    if (!commitSites(names, p, p + 1, [&] { return SectionValues{values}; }))
        return false;

    {
        SelectionUpdate guard(*this);
        if (update) {
            m_model->setData(m_model->index(p), m_record.siteName);
        } else {
            m_model->insertRows(p, 1);
            m_model->setData(m_model->index(p), m_record.siteName);
        }
    }
    if (update && oldName != m_record.siteName)
        emit siteRenamed(oldName, m_record.siteName);
    markOnly(p);
    emit credentialsChanged(m_record.userName, m_record.password);
    emit addressToShow(m_record.url);  // as entered: the "http://" rule is for opening a selected site
    LoadSiteArticleId();
    return true;
}

bool SiteStore::DeleteSelectedSites()
{
    const QList<int> selected = selectedPositions();
    const QStringList before = siteNames();
    const int n = int(before.size());
    const int first = selected.isEmpty() ? 0 : selected.first();
    const int from = selected.isEmpty() ? n : first;  // the first section that changes
    std::vector<bool> removed(size_t(n), false);
    for (int i : selected)
        removed[size_t(i)] = true;
    QStringList names;
    names.reserve(n - selected.size());
    for (int i = 0; i < n; ++i)
        if (!removed[size_t(i)])
            names << before.at(i);

    // Close the gap: every kept site after the first removed one moves up by
    // the number of removed sites before it. The sections past the new end
    // keep their old keys, as the Windows original leaves them.
    const auto closeGap = [&] {
        SectionValues kept;
        kept.reserve(size_t(names.size() - from));
        for (int i = from; i < n; ++i)
            if (!removed[size_t(i)])
                kept.push_back(SiteSection::read(m_settings, i));
        return kept;
    };
    if (!commitSites(names, from, n, closeGap))
        return false;

    {
        // Each run of adjacent rows goes at once, from the end.
        SelectionUpdate guard(*this);
        for (qsizetype k = selected.size(); k > 0;) {
            qsizetype start = k - 1;
            while (start > 0 && selected.at(start - 1) == selected.at(start) - 1)
                --start;
            m_model->removeRows(selected.at(start), int(k - start));
            k = start;
        }
    }
    // After removing the last sites, the new last site becomes current and selected.
    SelectSite(std::min(first, count() - 1));
    return true;
}

bool SiteStore::MoveSite(int step)
{
    const int p = currentPosition();
    const int q = p + step;
    if (p < 0 || (step != -1 && step != 1) || q < 0 || q >= count())
        return false;
    QStringList names = siteNames();
    names.swapItemsAt(p, q);
    const int low = std::min(p, q);
    const auto exchange = [&] {
        return SectionValues{SiteSection::read(m_settings, low + 1), SiteSection::read(m_settings, low)};
    };
    if (!commitSites(names, low, low + 2, exchange))
        return false;

    {
        // Moving the row carries the current item and the selection mark with
        // the site, so a following delete removes the site the user sees marked.
        SelectionUpdate guard(*this);
        m_model->moveRows(QModelIndex(), p, 1, QModelIndex(), step < 0 ? q : q + 1);
    }
    const SiteSection::Values moved = SiteSection::read(m_settings, q);
    m_record.userName = moved.user;
    m_record.password = moved.password;
    return true;
}

bool SiteStore::SaveUserName(const QString& fieldText)
{
    const QString text = TextCodec::trimmed(fieldText);
    m_record.userName = text;
    return saveSiteValue(SiteSection::userKey(), text);
}

bool SiteStore::SavePassword(const QString& fieldText)
{
    m_record.password = fieldText;
    return saveSiteValue(SiteSection::passwordKey(), fieldText);
}

bool SiteStore::saveSiteValue(const QString& key, const QString& value)
{
    const int p = currentPosition();
    if (p < 0)
        return true;  // an empty list has no section to write into
    if (!listIsWritable())
        return false;
    if (!m_listBehind)
        return m_settings.writeString(SiteSection::name(p), key, value) || reportSettingsFailure();
    // SDUrl.txt still holds an older list: the copy of the names must keep
    // agreeing with the sections, or the next start could not complete the list.
    return commitSites(siteNames(), p, p + 1, [&] {
        SiteSection::Values values = SiteSection::read(m_settings, p);
        (key == SiteSection::userKey() ? values.user : values.password) = value;
        return SectionValues{values};
    });
}

void SiteStore::LoadSiteArticleId()
{
    const int p = currentPosition();
    const QString article = m_articleName ? TextCodec::trimmed(m_articleName()) : QString();
    if (p < 0 || article.isEmpty())
        return;  // no current pair: the field keeps its text
    // Saving stores under the trimmed names; read them the same way.
    const QString site = TextCodec::trimmed(siteName(p));
    emit siteArticleIdLoaded(site.isEmpty() ? QString() : m_settings.readString(site, article));
}

bool SiteStore::SaveSiteArticleId(const QString& text)
{
    const int p = currentPosition();
    const QString site = p < 0 ? QString() : TextCodec::trimmed(siteName(p));
    const QString article = m_articleName ? TextCodec::trimmed(m_articleName()) : QString();
    if (site.isEmpty() || article.isEmpty())
        return true;
    // The article name is the key: a name from the Windows original may be
    // one that cannot be a key. Nothing typed, nothing to refuse.
    if (!SettingsFile::isStorableKey(article)) {
        if (text.isEmpty())
            return true;
        emit writeFailed(tr("文章名称“%1”含有“=”或以“[”、“;”开头，不能保存它在本网站的文章ID。").arg(article));
        return false;
    }
    return m_settings.writeString(site, article, text) || reportSettingsFailure();
}
