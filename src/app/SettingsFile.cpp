#include "SettingsFile.h"

#include "TextCodec.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {

bool isAscii(const QString& text) noexcept
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

char16_t foldAscii(char16_t c) noexcept { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

bool holdsLineBreak(const QString& text)
{
    for (QChar c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            return true;
    return false;
}

// The line "key=value" in the stored encoding.
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

// Keys and values are mostly ASCII: decode those without a converter or a copy.
QString decodePart(const QByteArray& line, qsizetype from, qsizetype length)
{
    const QByteArrayView part = QByteArrayView(line).sliced(from, length);
    for (char c : part)
        if (static_cast<unsigned char>(c) >= 0x80)
            return TextCodec::decodeGb18030(part);
    return QString::fromLatin1(part);
}

// The bytes of a plain ASCII key (as nearly all are) before the "=" at `eq`,
// trimmed of codes up to 32; nullopt for a key of other bytes, which must be
// decoded before it is trimmed, since a broken GB18030 sequence may swallow a
// byte below 33.
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

// The key of an entry line, trimmed of codes up to 32.
QString keyOf(const QByteArray& line, qsizetype eq)
{
    if (const std::optional<QByteArrayView> plain = plainKeyBytes(line, eq))
        return QString::fromLatin1(*plain);
    return TextCodec::trimmed(decodePart(line, 0, eq));
}

// A line whose first non-blank byte is ";".
bool isComment(QByteArrayView line)
{
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r')
            continue;
        return c == ';';
    }
    return false;
}

// Why a section, key or value could not be stored so that it reads back the
// same, or an empty string when it can.
QString unstorableReason(const QString& section, const QString& key, const QString& value)
{
    if (section.isEmpty() || TextCodec::trimmed(section) != section)
        return QStringLiteral("the section name \"%1\" cannot be stored").arg(section);
    if (holdsLineBreak(section) || section.contains(QLatin1Char(']')))
        return QStringLiteral("the section name \"%1\" cannot be stored").arg(section);
    if (key.isEmpty() || TextCodec::trimmed(key) != key || holdsLineBreak(key)
        || key.contains(QLatin1Char('=')) || key.startsWith(QLatin1Char('['))
        || key.startsWith(QLatin1Char(';')))
        return QStringLiteral("the key \"%1\" cannot be stored").arg(key);
    if (holdsLineBreak(value))
        return QStringLiteral("the value of \"%1\" holds a line break").arg(key);
    return {};
}

}  // namespace

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

SettingsFile::SettingsFile(const QString& path, QObject* parent)
    : QObject(parent), m_path(path)
{
    load();
}

SettingsFile::~SettingsFile() = default;

void SettingsFile::rememberDiskState()
{
    const QFileInfo info(m_path);
    m_diskKnown = info.exists();
    m_diskTime = m_diskKnown ? info.lastModified() : QDateTime();
    m_diskSize = m_diskKnown ? info.size() : -1;
}

void SettingsFile::reloadIfChanged()
{
    if (m_batchDepth > 0)
        return;
    const QFileInfo info(m_path);
    const bool exists = info.exists();
    // A file that could not be read is tried again: the cause may be gone.
    if (!m_readFailed && exists == m_diskKnown
        && (!exists || (info.lastModified() == m_diskTime && info.size() == m_diskSize)))
        return;
    load();
}

void SettingsFile::load()
{
    m_sections.clear();
    m_sectionIndex.clear();
    m_lastSection = -1;
    m_dirty = false;
    rememberDiskState();
    // An unreadable file reads as empty, and the file layer refuses to write
    // over it until a read succeeds.
    const ReadResult file = StoredFile::read(m_path);
    m_readFailed = !file.ok();
    parse(file.bytes);
}

namespace {

// The end of the line starting at `start`, and where the next line begins
// (after CR, LF or CR LF).
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

}  // namespace

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

namespace {

// Calls `use` with each line of `body` (without its break) and where its "="
// stands, or -1 for a comment, a blank line or a line without "=".
template <class Use>
void forEachLine(const QByteArray& body, Use use)
{
    qsizetype start = 0;
    while (start < body.size()) {
        qsizetype next = 0;
        const qsizetype end = lineEnd(body, start, &next);
        const QByteArrayView line = QByteArrayView(body).sliced(start, end - start);
        const qsizetype eq = line.indexOf('=');
        use(start, line, eq >= 0 && !isComment(line) ? eq : -1);
        start = next;
    }
}

}  // namespace

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

SettingsFile::Section* SettingsFile::findSection(const QString& name)
{
    // Reads and writes come in runs on one section (a site's three keys).
    if (m_lastSection >= 0 && FoldedName::same(name, m_sections[size_t(m_lastSection)].name))
        return &m_sections[size_t(m_lastSection)];
    const auto it = m_sectionIndex.constFind(FoldedName{name});
    if (it == m_sectionIndex.constEnd())
        return nullptr;
    m_lastSection = *it;
    return &m_sections[size_t(*it)];
}

const SettingsFile::Line* SettingsFile::findLine(const QString& section, const QString& key)
{
    reloadIfChanged();
    Section* s = findSection(section);
    if (!s)
        return nullptr;
    ensureParsed(*s);
    const int at = findKey(*s, key);
    return at < 0 ? nullptr : &s->lines[size_t(at)];
}

QString SettingsFile::readString(const QString& section, const QString& key, const QString& def)
{
    const Line* line = findLine(section, key);
    return line ? line->text() : def;
}

int SettingsFile::readInteger(const QString& section, const QString& key, int def)
{
    const Line* line = findLine(section, key);
    if (!line)
        return def;
    const QString text = line->text().trimmed();
    bool ok = false;
    int value = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = int(text.mid(2).toUInt(&ok, 16));
    else if (text.startsWith(QLatin1String("-0x"), Qt::CaseInsensitive))
        value = int(0u - text.mid(3).toUInt(&ok, 16));  // negated unsigned: -0x80000000 is no overflow
    else
        value = text.toInt(&ok, 10);
    return ok ? value : def;
}

bool SettingsFile::readBool(const QString& section, const QString& key, bool def)
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

bool SettingsFile::hasSection(const QString& section)
{
    reloadIfChanged();
    return findSection(section) != nullptr;
}

bool SettingsFile::hasKey(const QString& section, const QString& key)
{
    return findLine(section, key) != nullptr;
}

void SettingsFile::visitStoredValues(const QString& section, const StoredValueVisitor& visit)
{
    reloadIfChanged();
    const Section* s = findSection(section);
    if (!s)
        return;
    const auto visitEntry = [&visit](QByteArrayView line, qsizetype eq) {
        const std::optional<QByteArrayView> plain = plainKeyBytes(line, eq);
        visit(plain.value_or(line.first(eq)), plain.has_value(), line.sliced(eq + 1));
    };
    // A section not read yet is walked as its bytes: nothing is decoded or kept.
    if (!s->parsed) {
        forEachLine(s->rawBody, [&visitEntry](qsizetype, QByteArrayView line, qsizetype eq) {
            if (eq >= 0)
                visitEntry(line, eq);
        });
        return;
    }
    for (const Line& line : s->lines)
        if (line.isEntry)
            visitEntry(line.raw, line.valueAt - 1);
}

const QString& SettingsFile::Line::text() const
{
    if (!decoded) {
        value = decodePart(raw, valueAt, raw.size() - valueAt);
        decoded = true;
    }
    return value;
}

QStringList SettingsFile::sectionNames()
{
    reloadIfChanged();
    QStringList names;
    for (const Section& s : m_sections)
        if (!s.isPreamble)
            names << s.name;
    return names;
}

bool SettingsFile::storeInMemory(const QString& section, const QString& key, const QString& value)
{
    const QString reason = unstorableReason(section, key, value);
    if (!reason.isEmpty()) {
        fail(QStringLiteral("%1: %2").arg(QFileInfo(m_path).absoluteFilePath(), reason));
        return false;
    }
    Section* s = findSection(section);
    if (!s)
        s = addSection(section);
    ensureParsed(*s);
    const int found = findKey(*s, key);
    if (found >= 0) {
        Line& line = s->lines[size_t(found)];
        if (line.text() == value)
            return true;
        // Keep the key as the file spells it.
        line.raw = entryBytes(line.key, value);
        line.valueAt = line.raw.indexOf('=') + 1;
        line.value = value;
        line.decoded = true;
        s->edited = true;
        m_dirty = true;
        return true;
    }
    // A new key goes after the last key of its section, ahead of any blank
    // lines or comments that separate it from the next section.
    int at = int(s->lines.size());
    while (at > 0 && !s->lines[size_t(at - 1)].isEntry)
        --at;
    Line line;
    line.raw = entryBytes(key, value);
    line.key = key;
    line.valueAt = line.raw.indexOf('=') + 1;
    line.value = value;
    line.decoded = true;
    line.isEntry = true;
    s->lines.insert(s->lines.begin() + at, std::move(line));
    // Only blank lines and comments follow `at`, and the index points at keys
    // alone: no index entry moves. (Walking the index here made a section of
    // n new keys cost n * n.)
    ++s->entries;
    if (s->indexed)
        s->keyIndex.insert(FoldedName{key}, at);
    s->edited = true;
    m_dirty = true;
    return true;
}

SettingsFile::Section* SettingsFile::addSection(const QString& name)
{
    Section fresh;
    fresh.name = name;
    fresh.rawHeader = TextCodec::encode(QLatin1Char('[') + name + QLatin1Char(']'));
    fresh.parsed = true;
    fresh.edited = true;
    m_sectionIndex.insert(FoldedName{name}, int(m_sections.size()));
    m_sections.push_back(std::move(fresh));
    m_dirty = true;
    return &m_sections.back();
}

bool SettingsFile::copyInMemory(const QString& from, const QString& to)
{
    if (FoldedName::same(from, to))
        return true;
    const QString reason = unstorableReason(to, QStringLiteral("k"), QString());
    if (!reason.isEmpty()) {
        fail(QStringLiteral("%1: %2").arg(QFileInfo(m_path).absoluteFilePath(), reason));
        return false;
    }
    const Section* source = findSection(from);
    const int sourceAt = source ? int(source - m_sections.data()) : -1;
    Section* target = findSection(to);
    if (!source && !target)
        return true;
    if (!target)
        target = addSection(to);  // may move the sections: the source is found again by position
    if (sourceAt < 0) {
        if (target->parsed && target->lines.empty())
            return true;
        target->rawBody.clear();
        target->lines.clear();
        target->keyIndex.clear();
        target->indexed = false;
        target->entries = 0;
        target->parsed = true;
        target->edited = true;
        m_dirty = true;
        return true;
    }
    source = &m_sections[size_t(sourceAt)];
    // Shared copies: the bytes and lines are not duplicated until one side is written.
    target->rawBody = source->rawBody;
    target->lines = source->lines;
    target->keyIndex = source->keyIndex;
    target->indexed = source->indexed;
    target->entries = source->entries;
    target->parsed = source->parsed;
    // An unedited source's bytes are its lines: the rewrite copies them as they are.
    target->edited = source->edited;
    m_dirty = true;
    return true;
}

bool SettingsFile::copySection(const QString& from, const QString& to)
{
    beginBatch();
    if (!copyInMemory(from, to))
        m_batchFailed = true;
    return endBatch();
}

bool SettingsFile::writeString(const QString& section, const QString& key, const QString& value)
{
    beginBatch();
    if (!storeInMemory(section, key, value))
        m_batchFailed = true;
    return endBatch();
}

bool SettingsFile::removeKey(const QString& section, const QString& key)
{
    beginBatch();
    if (Section* s = findSection(section)) {
        ensureParsed(*s);
        const auto before = s->lines.size();
        s->lines.erase(std::remove_if(s->lines.begin(), s->lines.end(),
                                      [&key](const Line& line) { return line.isEntry && FoldedName::same(line.key, key); }),
                       s->lines.end());
        if (s->lines.size() != before) {
            s->entries -= int(before - s->lines.size());
            s->keyIndex.clear();
            s->indexed = false;
            s->edited = true;
            m_dirty = true;
        }
    }
    return endBatch();
}

bool SettingsFile::writeInteger(const QString& section, const QString& key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool SettingsFile::writeBool(const QString& section, const QString& key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsFile::beginBatch()
{
    if (m_batchDepth == 0) {
        reloadIfChanged();
        m_batchFailed = false;
    }
    ++m_batchDepth;
}

bool SettingsFile::endBatch()
{
    if (--m_batchDepth > 0)
        return !m_batchFailed;
    if (m_batchFailed) {
        // Drop the whole batch: memory must not claim what the file lacks.
        load();
        return false;
    }
    if (!m_dirty)
        return true;
    if (!flush()) {
        load();
        return false;
    }
    return true;
}

bool SettingsFile::flush()
{
    qsizetype total = 0;
    for (const Section& s : m_sections) {
        total += s.rawHeader.size() + 2;
        if (!s.edited)
            total += s.rawBody.size() + 2;
        else
            for (const Line& line : s.lines)
                total += line.raw.size() + 2;
    }
    QByteArray bytes;
    bytes.reserve(total);
    auto endLine = [&bytes] {
        if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
            bytes += "\r\n";
    };
    // Where each edited section's lines landed, to keep them as its bytes.
    struct Placed {
        size_t section;
        qsizetype begin, end;
    };
    std::vector<Placed> editedBodies;
    for (size_t i = 0; i < m_sections.size(); ++i) {
        const Section& s = m_sections[i];
        if (!s.isPreamble) {
            endLine();
            bytes += s.rawHeader;
            bytes += "\r\n";
        }
        if (!s.edited) {
            bytes += s.rawBody;
            continue;
        }
        const qsizetype begin = bytes.size();
        for (const Line& line : s.lines) {
            bytes += line.raw;
            bytes += "\r\n";
        }
        editedBodies.push_back({i, begin, bytes.size()});
    }
    const WriteResult result = StoredFile::writeBytes(m_path, bytes);
    if (!result) {
        fail(result.error);
        return false;
    }
    // The sections now stand in the file as written: later rewrites copy them whole.
    for (const Placed& placed : editedBodies) {
        Section& s = m_sections[placed.section];
        s.rawBody = bytes.mid(placed.begin, placed.end - placed.begin);
        s.edited = false;
    }
    ++m_rewrites;
    m_bytesWritten += bytes.size();
    m_dirty = false;
    rememberDiskState();
    return true;
}

void SettingsFile::fail(const QString& error)
{
    m_lastError = error;
    emit writeFailed(error);
}

SettingsFile::Batch::Batch(SettingsFile& file) : m_file(&file) { m_file->beginBatch(); }

SettingsFile::Batch::~Batch()
{
    if (!m_done)
        commit();
}

bool SettingsFile::Batch::commit()
{
    if (m_done)
        return false;
    m_done = true;
    return m_file->endBatch();
}
