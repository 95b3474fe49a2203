// The settings file's reads, writes and batches, and its trips to the disk.
#include "SettingsFile.h"
#include "SettingsLines.h"

#include "TextCodec.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

using namespace SettingsLines;

SettingsFile::SettingsFile(const QString& path, QObject* parent) : QObject(parent), m_path(path) { load(); }

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

bool SettingsFile::hasKey(const QString& section, const QString& key) { return findLine(section, key) != nullptr; }

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
    // The target holds the same lines already: nothing for a rewrite to do.
    if (!source->edited && !target->edited && source->rawBody == target->rawBody)
        return true;
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
        s->lines.erase(
            std::remove_if(s->lines.begin(), s->lines.end(),
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

bool SettingsFile::removeSection(const QString& section)
{
    reloadIfChanged();
    if (!findSection(section))
        return true;
    beginBatch();
    m_sections.erase(
        std::remove_if(m_sections.begin(), m_sections.end(),
                       [&section](const Section& s) { return !s.isPreamble && FoldedName::same(s.name, section); }),
        m_sections.end());
    m_sectionIndex.clear();
    for (size_t i = 0; i < m_sections.size(); ++i)
        if (!m_sections[i].isPreamble && !m_sectionIndex.contains(FoldedName{m_sections[i].name}))
            m_sectionIndex.insert(FoldedName{m_sections[i].name}, int(i));
    m_lastSection = -1;
    m_dirty = true;
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
