// Reading the settings file's bytes: its lines, sections and keys.
#include "SettingsFile.h"
#include "SettingsLines.h"

#include "TextCodec.h"

#include <QCoreApplication>

namespace {

bool holdsLineBreak(const QString& text)
{
    for (QChar c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            return true;
    return false;
}

}  // namespace

namespace SettingsLines {

bool isAscii(const QString& text) noexcept
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

char16_t foldAscii(char16_t c) noexcept { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

QByteArray entryBytes(const QString& key, const QString& value)
{
    if (!isAscii(key) || !isAscii(value))
        return TextCodec::encode(key + QLatin1Char('=') + value);
    QByteArray out(key.size() + 1 + value.size(), Qt::Uninitialized);
    char* to = out.data();
    for (QChar c : key)
        *to++ = char(c.unicode());
    *to++ = '=';
    for (QChar c : value)
        *to++ = char(c.unicode());
    return out;
}

QString decodePart(const QByteArray& line, qsizetype from, qsizetype length)
{
    const QByteArrayView part = QByteArrayView(line).sliced(from, length);
    for (char c : part)
        if (static_cast<unsigned char>(c) >= 0x80)
            return TextCodec::decodeGb18030(part);
    return QString::fromLatin1(part);
}

std::optional<QByteArrayView> plainKeyBytes(QByteArrayView line, qsizetype eq)
{
    for (qsizetype i = 0; i < eq; ++i)
        if (static_cast<unsigned char>(line[i]) >= 0x80)
            return std::nullopt;
    qsizetype begin = 0;
    qsizetype end = eq;
    while (begin < end && static_cast<unsigned char>(line[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(line[end - 1]) <= 32)
        --end;
    return line.sliced(begin, end - begin);
}

QString keyOf(const QByteArray& line, qsizetype eq)
{
    if (const std::optional<QByteArrayView> plain = plainKeyBytes(line, eq))
        return QString::fromLatin1(*plain);
    return TextCodec::trimmed(decodePart(line, 0, eq));
}

bool isComment(QByteArrayView line)
{
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r')
            continue;
        return c == ';';
    }
    return false;
}

QString unstorableReason(const QString& section, const QString& key, const QString& value)
{
    if (!SettingsFile::isStorableSection(section))
        return QCoreApplication::translate("SettingsFile", "the section name \"%1\" cannot be stored").arg(section);
    if (!SettingsFile::isStorableKey(key))
        return QCoreApplication::translate("SettingsFile", "the key \"%1\" cannot be stored").arg(key);
    if (holdsLineBreak(value))
        return QCoreApplication::translate("SettingsFile", "the value of \"%1\" holds a line break").arg(key);
    return {};
}

qsizetype lineEnd(const QByteArray& bytes, qsizetype start, qsizetype* next)
{
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype end = start;
    while (end < size && data[end] != '\r' && data[end] != '\n')
        ++end;
    qsizetype after = end;
    if (after < size && data[after] == '\r')
        ++after;
    if (after < size && data[after] == '\n' && (after == end || data[end] == '\r'))
        ++after;
    *next = after;
    return end;
}

bool isSectionHeader(const char* data, qsizetype size)
{
    qsizetype i = 0;
    while (i < size && (data[i] == ' ' || data[i] == '\t'))
        ++i;
    return i < size && data[i] == '[';
}

}  // namespace SettingsLines

using namespace SettingsLines;

bool SettingsFile::isStorableSection(const QString& name)
{
    return !name.isEmpty() && TextCodec::trimmed(name) == name && !holdsLineBreak(name)
        && !name.contains(QLatin1Char(']'));
}

bool SettingsFile::isStorableKey(const QString& key)
{
    return !key.isEmpty() && TextCodec::trimmed(key) == key && !holdsLineBreak(key) && !key.contains(QLatin1Char('='))
        && !key.startsWith(QLatin1Char('[')) && !key.startsWith(QLatin1Char(';'));
}

// For an ASCII name, folding is lowering A to Z in place; any other name is
// folded whole first. Both hashes run over the folded code units, so names
// that fold alike hash alike, whichever way they were folded.
bool SettingsFile::FoldedName::same(const QString& a, const QString& b) noexcept
{
    if (a.size() == b.size()) {
        // Folding maps each code unit on its own, so the first pair of ASCII
        // units that differ after folding settles it without folding the rest.
        const auto* x = reinterpret_cast<const char16_t*>(a.constData());
        const auto* y = reinterpret_cast<const char16_t*>(b.constData());
        qsizetype i = 0;
        for (; i < a.size(); ++i) {
            if (x[i] == y[i])
                continue;
            if (x[i] >= 0x80 || y[i] >= 0x80)
                break;
            if (foldAscii(x[i]) != foldAscii(y[i]))
                return false;
        }
        if (i == a.size())
            return true;
    } else if (isAscii(a) && isAscii(b)) {
        return false;
    }
    return a.toCaseFolded() == b.toCaseFolded();
}

size_t SettingsFile::FoldedName::hash(const QString& name, size_t seed) noexcept
{
    // FNV-1a over the folded code units; plain ASCII is folded on the way.
    const auto mix = [seed](const QString& text, bool* sawNonAscii) {
        size_t h = size_t(14695981039346656037ULL) ^ seed;
        for (QChar c : text) {
            if (c.unicode() >= 0x80 && sawNonAscii) {
                *sawNonAscii = true;
                return h;
            }
            h ^= foldAscii(c.unicode());
            h *= size_t(1099511628211ULL);
        }
        return h;
    };
    bool nonAscii = false;
    const size_t h = mix(name, &nonAscii);
    return nonAscii ? mix(name.toCaseFolded(), nullptr) : h;
}

void SettingsFile::parse(const QByteArray& bytes)
{
    Section preamble;
    preamble.isPreamble = true;
    m_sections.push_back(std::move(preamble));

    qsizetype bodyStart = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype next = 0;
        const qsizetype end = lineEnd(bytes, start, &next);
        if (isSectionHeader(bytes.constData() + start, end - start)) {
            m_sections.back().rawBody = bytes.mid(bodyStart, start - bodyStart);
            Section section;
            section.rawHeader = bytes.mid(start, end - start);
            // ']' is looked for in the decoded text: 0x5D is also the second
            // byte of many GB18030 characters ("郵" is BE 5D).
            const QString lead = TextCodec::decodeGb18030(section.rawHeader.trimmed());
            const qsizetype close = lead.indexOf(QLatin1Char(']'));
            section.name = TextCodec::trimmed(lead.mid(1, close < 0 ? -1 : close - 1));
            const FoldedName name{section.name};
            if (!m_sectionIndex.contains(name))
                m_sectionIndex.insert(name, int(m_sections.size()));
            m_sections.push_back(std::move(section));
            bodyStart = next;
        }
        start = next;
    }
    m_sections.back().rawBody = bytes.mid(bodyStart);
}

void SettingsFile::ensureParsed(Section& section)
{
    if (section.parsed)
        return;
    section.parsed = true;
    forEachLine(section.rawBody, [&section](qsizetype start, QByteArrayView bytes, qsizetype eq) {
        Line line;
        line.raw = section.rawBody.mid(start, bytes.size());
        if (eq >= 0) {
            line.isEntry = true;
            line.key = keyOf(line.raw, eq);
            line.valueAt = eq + 1;
            ++section.entries;
        }
        section.lines.push_back(std::move(line));
    });
}

void SettingsFile::buildKeyIndex(Section& section)
{
    section.indexed = true;
    section.keyIndex.clear();
    section.keyIndex.reserve(section.entries);
    for (size_t i = 0; i < section.lines.size(); ++i) {
        const Line& line = section.lines[i];
        if (!line.isEntry)
            continue;
        const FoldedName key{line.key};
        if (!section.keyIndex.contains(key))
            section.keyIndex.insert(key, int(i));
    }
}

int SettingsFile::findKey(Section& section, const QString& key)
{
    if (section.entries > kSmallSection) {
        // Made at the first look-up: a section that is only copied or walked
        // through (an article's, during a delete) never needs it.
        if (!section.indexed)
            buildKeyIndex(section);
        const auto it = section.keyIndex.constFind(FoldedName{key});
        return it == section.keyIndex.constEnd() ? -1 : *it;
    }
    // A few keys (a site's section): a look along the lines beats a hash.
    for (size_t i = 0; i < section.lines.size(); ++i) {
        const Line& line = section.lines[i];
        if (line.isEntry && FoldedName::same(line.key, key))
            return int(i);
    }
    return -1;
}

const QString& SettingsFile::Line::text() const
{
    if (!decoded) {
        value = decodePart(raw, valueAt, raw.size() - valueAt);
        decoded = true;
    }
    return value;
}
