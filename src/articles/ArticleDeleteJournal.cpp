#include "ArticleDeleteJournal.h"

#include "SettingsFile.h"

#include <QCryptographicHash>

namespace ArticleDeleteJournal {

namespace {

QString pendingKey() { return QStringLiteral("Pending"); }
QString removedKey() { return QStringLiteral("Removed"); }
QString beforeKey() { return QStringLiteral("Before"); }
QString afterKey() { return QStringLiteral("After"); }

std::optional<int> index(QStringView text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 && !text.startsWith(QLatin1Char('+')) ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

QString sectionName() { return QStringLiteral("articles.txt"); }

QString digest(const QStringList& names)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(names.size()));
    for (const QString& name : names) {
        const QByteArray bytes = name.toUtf8();
        hash.addData(QByteArray::number(bytes.size()) + ':');
        hash.addData(bytes);
    }
    return QString::fromLatin1(hash.result().toHex());
}

QString encodeIndices(const QList<int>& indices)
{
    QStringList parts;
    for (qsizetype i = 0; i < indices.size();) {
        qsizetype end = i;
        while (end + 1 < indices.size() && indices[end + 1] == indices[end] + 1)
            ++end;
        parts << (end == i ? QString::number(indices[i]) : QStringLiteral("%1-%2").arg(indices[i]).arg(indices[end]));
        i = end + 1;
    }
    return parts.join(QLatin1Char(','));
}

std::optional<QList<int>> decodeIndices(const QString& text, int count)
{
    QList<int> indices;
    if (text.isEmpty())
        return indices;
    for (const QStringView part : QStringView(text).split(QLatin1Char(','))) {
        const qsizetype dash = part.indexOf(QLatin1Char('-'));
        const auto first = index(dash < 0 ? part : part.left(dash));
        const auto last = dash < 0 ? first : index(part.mid(dash + 1));
        if (!first || !last || *last < *first || *last >= count || (!indices.isEmpty() && *first <= indices.last()))
            return std::nullopt;
        for (int k = *first; k <= *last; ++k)
            indices << k;
    }
    return indices;
}

bool write(SettingsFile& settings, const QStringList& before, const QList<int>& removed, const QStringList& after)
{
    const QString section = sectionName();
    return settings.writeString(section, removedKey(), encodeIndices(removed))
        && settings.writeString(section, beforeKey(), digest(before))
        && settings.writeString(section, afterKey(), digest(after)) && settings.writeInteger(section, pendingKey(), 1);
}

std::optional<Entry> pending(SettingsFile& settings, int count)
{
    const QString section = sectionName();
    if (settings.readInteger(section, pendingKey(), 0) != 1)
        return std::nullopt;
    const auto removed = decodeIndices(settings.readString(section, removedKey()), count);
    if (!removed || removed->isEmpty())
        return std::nullopt;
    return Entry{*removed, settings.readString(section, beforeKey()), settings.readString(section, afterKey())};
}

bool close(SettingsFile& settings) { return settings.removeSection(sectionName()); }

}  // namespace ArticleDeleteJournal
