#include "SiteListJournal.h"

#include "SiteSection.h"

#include <QCryptographicHash>

#include <algorithm>
#include <string>

namespace SiteListJournal {

namespace {

QString countKey() { return QStringLiteral("Count"); }
QString partsKey() { return QStringLiteral("Parts"); }  // the names, in values "Names1", "Names2", ...
QString namesKey(int part) { return QStringLiteral("Names%1").arg(part); }

// Keeps every line of the file short, whatever reads it.
constexpr qsizetype kPartLength = 1024;

// The joined names cut into values of at most kPartLength characters, never
// between the two halves of a character outside the BMP.
QStringList cutIntoParts(const QString& joined)
{
    QStringList parts;
    qsizetype at = 0;
    do {
        qsizetype end = std::min(at + kPartLength, joined.size());
        if (end < joined.size() && end > at + 1 && joined.at(end - 1).isHighSurrogate())
            --end;
        parts << joined.mid(at, end - at);
        at = end;
    } while (at < joined.size());
    return parts;
}

// The stored names as one joined value, or nullopt when a part is missing.
std::optional<QString> readJoined(SettingsFile& settings, const QString& section)
{
    const int parts = settings.readInteger(section, partsKey(), -1);
    if (parts < 1)
        return std::nullopt;
    QString joined;
    for (int part = 1; part <= parts; ++part) {
        if (!settings.hasKey(section, namesKey(part)))
            return std::nullopt;
        joined += settings.readString(section, namesKey(part));
    }
    return joined;
}
QString beforeKey() { return QStringLiteral("Before"); }  // the list file the change started from
QString fromKey() { return QStringLiteral("From"); }  // the site sections the change wrote...
QString toKey() { return QStringLiteral("To"); }
QString sitesKey() { return QStringLiteral("Sites"); }  // ...and their digest as written

// What the digests hash: each text as a tag, its length and its code units,
// one byte each for an ASCII text and two (little-endian) otherwise, so texts
// that only join alike differ. Gathered in one buffer: the hash is fed once.
class DigestInput {
public:
    void add(QStringView text)
    {
        const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
        addNumber(ascii ? 'a' : 'u', text.size());
        for (QChar c : text) {
            const char16_t unit = c.unicode();
            m_bytes.push_back(char(unit & 0xFF));
            if (!ascii)
                m_bytes.push_back(char(unit >> 8));
        }
    }
    void add(const SiteSection::Values& values)
    {
        add(values.url);
        add(values.user);
        add(values.password);
    }
    QString digest() const
    {
        const QByteArrayView bytes(m_bytes.data(), qsizetype(m_bytes.size()));
        return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
    }

private:
    void addNumber(char tag, qsizetype n)
    {
        char digits[24];
        int count = 0;
        do {
            digits[count++] = char('0' + n % 10);
            n /= 10;
        } while (n > 0);
        m_bytes.push_back(tag);
        while (count > 0)
            m_bytes.push_back(digits[--count]);
        m_bytes.push_back(':');
    }

    std::string m_bytes;
};

QString listDigest(const QStringList& names)
{
    DigestInput input;
    input.add(QString::number(names.size()));
    input.add(joinNames(names));
    return input.digest();
}

QString sitesDigest(SettingsFile& settings, int from, int to, const std::vector<SiteSection::Values>& written)
{
    DigestInput input;
    for (const SiteSection::Values& values : written)
        input.add(values);
    for (int p = from + int(written.size()); p < to; ++p)
        input.add(SiteSection::read(settings, p));
    return input.digest();
}

void appendEscaped(QString& out, const QString& name)
{
    if (!name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char('\t'))) {
        out += name;
        return;
    }
    for (QChar c : name) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else
            out += c;
    }
}

}  // namespace

QString sectionName() { return QStringLiteral("SDUrl.txt"); }

// Names are separated by tabs; a tab or backslash inside a name is escaped.
QString joinNames(const QStringList& names)
{
    qsizetype length = 0;
    for (const QString& name : names)
        length += name.size() + 1;
    QString out;
    out.reserve(length);
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i > 0)
            out += QLatin1Char('\t');
        appendEscaped(out, names.at(i));
    }
    return out;
}

bool close(SettingsFile& settings) { return settings.removeSection(sectionName()); }

std::optional<QStringList> splitNames(const QString& value, int count)
{
    if (count < 0)
        return std::nullopt;
    QStringList names;
    if (count == 0)
        return value.isEmpty() ? std::optional<QStringList>(names) : std::nullopt;
    QString name;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\t')) {
            names << name;
            name.clear();
        } else if (c != QLatin1Char('\\')) {
            name += c;
        } else if (i + 1 < value.size() && value.at(i + 1) == QLatin1Char('t')) {
            name += QLatin1Char('\t');
            ++i;
        } else if (i + 1 < value.size() && value.at(i + 1) == QLatin1Char('\\')) {
            name += QLatin1Char('\\');
            ++i;
        } else {
            return std::nullopt;
        }
    }
    names << name;
    if (names.size() != count)
        return std::nullopt;
    return names;
}

bool write(SettingsFile& settings, const QStringList& names, const QStringList& namesOnDisk, int from, int to,
           const std::vector<SiteSection::Values>& written)
{
    const QString section = sectionName();
    const QStringList parts = cutIntoParts(joinNames(names));
    bool ok = settings.writeInteger(section, countKey(), int(names.size()))
        && settings.writeInteger(section, partsKey(), int(parts.size()));
    for (int part = 1; ok && part <= parts.size(); ++part)
        ok = settings.writeString(section, namesKey(part), parts.at(part - 1));
    return ok && settings.writeString(section, beforeKey(), listDigest(namesOnDisk))
        && settings.writeInteger(section, fromKey(), from) && settings.writeInteger(section, toKey(), to)
        && settings.writeString(section, sitesKey(), sitesDigest(settings, from, to, written));
}

std::optional<QStringList> recover(SettingsFile& settings, const QStringList& namesOnDisk)
{
    const QString section = sectionName();
    const int count = settings.readInteger(section, countKey(), -1);
    const std::optional<QString> joined = readJoined(settings, section);
    if (count < 0 || !joined)
        return std::nullopt;
    // The usual case at every start: the copy agrees with the list file.
    if (count == namesOnDisk.size() && *joined == joinNames(namesOnDisk))
        return std::nullopt;
    const auto names = splitNames(*joined, count);
    if (!names || *names == namesOnDisk)
        return std::nullopt;
    // Only an interrupted change of ours leaves the old list beside the
    // sections as it wrote them; anything else means another program wrote
    // the files since.
    const int from = settings.readInteger(section, fromKey(), -1);
    const int to = settings.readInteger(section, toKey(), -1);
    if (from < 0 || to < from || to > std::max(count, int(namesOnDisk.size())))
        return std::nullopt;
    if (settings.readString(section, beforeKey()) != listDigest(namesOnDisk)
        || settings.readString(section, sitesKey()) != sitesDigest(settings, from, to, {}))
        return std::nullopt;
    return names;
}

}  // namespace SiteListJournal
