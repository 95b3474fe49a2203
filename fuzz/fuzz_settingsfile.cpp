// The settings file (defualt.ini): any bytes load without harm; reads answer;
// one write rewrites the file so that every section it did not write comes
// back byte for byte (also those only read), the written section keeps its
// other lines, and the written value reads back in a fresh reader.
#include "FuzzSupport.h"
#include "SettingsFile.h"
#include "TextCodec.h"

#include <QSet>

#include <cstdint>
#include <vector>

using namespace FuzzSupport;

namespace {

// The file as lines and sections, split here independently of SettingsFile.
struct RawSection {
    QByteArray header;  // the header line without its break; empty for the preamble
    QByteArray body;  // the lines that follow, breaks included
    std::vector<QByteArray> lines;  // the same lines without breaks
};

std::vector<RawSection> splitSections(const QByteArray& bytes)
{
    std::vector<RawSection> sections(1);
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n')
            ++end;
        qsizetype next = end;
        if (next < bytes.size())
            next += bytes.mid(next, 2) == "\r\n" ? 2 : 1;
        const QByteArray line = bytes.mid(start, end - start);
        qsizetype lead = 0;
        while (lead < line.size() && (line.at(lead) == ' ' || line.at(lead) == '\t'))
            ++lead;
        if (lead < line.size() && line.at(lead) == '[') {
            sections.push_back({line, {}, {}});
        } else {
            sections.back().body += bytes.mid(start, next - start);
            sections.back().lines.push_back(line);
        }
        start = next;
    }
    return sections;
}

// The keys of a section's lines, as a reader of the format sees them.
QString keyOf(const QByteArray& line)
{
    const qsizetype eq = line.indexOf('=');
    if (eq < 0 || line.trimmed().startsWith(';'))
        return {};
    return TextCodec::trimmed(TextCodec::decodeGb18030(line.left(eq)));
}

bool endsWithBreak(const QByteArray& bytes) { return bytes.endsWith('\n') || bytes.endsWith('\r'); }

struct Read {
    QString section;
    QString key;
    QString value;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = bytesOf(data, size);
    const QString path = scratchPath(QStringLiteral("defualt.ini"));
    writeRaw(path, input);
    const std::vector<RawSection> before = splitSections(input);

    SettingsFile settings(path);
    const QStringList names = settings.sectionNames();
    check(names.size() == qsizetype(before.size()) - 1, "one name per section header",
          QStringLiteral("%1 names, %2 headers").arg(names.size()).arg(before.size() - 1));

    // Read the first keys of the first sections, as start-up does.
    QSet<QString> read;  // case-folded names of the sections read
    std::vector<Read> reads;
    for (qsizetype i = 0; i < names.size() && i < 3; ++i) {
        // Names match without regard to case; a repeated section is never found.
        if (read.contains(names[i].toCaseFolded()))
            continue;
        read.insert(names[i].toCaseFolded());
        int keys = 0;
        for (const QByteArray& line : before[size_t(i) + 1].lines) {
            const QString key = keyOf(line);
            if (key.isEmpty() || ++keys > 4)
                continue;
            check(settings.hasKey(names[i], key), "a key in the file is found", shown(key));
            reads.push_back({names[i], key, settings.readString(names[i], key)});
            settings.readInteger(names[i], key, -1);
            settings.readBool(names[i], key, false);
        }
    }

    // The walk over a section's stored values, before and after the section is
    // read, shows what a look-up finds: the first line of each plain key. A key
    // of other bytes may decode to any plain key, so the check ends there.
    for (qsizetype i = 0; i < names.size() && i < 3; ++i) {
        for (int pass = 0; pass < 2; ++pass) {
            QSet<QString> seen;
            bool foreign = false;
            settings.visitStoredValues(names[i], [&](QByteArrayView key, bool plainAscii, QByteArrayView value) {
                const QString name = QString::fromLatin1(key);
                foreign = foreign || !plainAscii;
                if (foreign || name.isEmpty() || seen.contains(name.toCaseFolded()))
                    return;
                seen.insert(name.toCaseFolded());
                check(settings.readString(names[i], name) == TextCodec::decodeGb18030(value),
                      "a walked value is the value a look-up reads", shown(name));
            });
            settings.hasKey(names[i], QStringLiteral("x"));  // the section is read for the second pass
        }
    }

    // One write, chosen by the last byte; its names and value come from the
    // input's last line, so they can hold anything.
    const qsizetype lastBreak = input.lastIndexOf('\n');
    const QString lastLine = gb18030(input.mid(lastBreak + 1));
    const int mode = input.isEmpty() ? 0 : uchar(input.back()) % 3;
    QString section = names.value(0, QStringLiteral("defualt"));
    QString key = QStringLiteral("SiteInd");
    QString value = lastLine;
    if (mode == 0 && !reads.empty())
        key = reads.front().key;
    else if (mode == 1)
        key = lastLine, value = QStringLiteral("1");
    else if (mode == 2)
        section = lastLine;
    const bool existed = settings.hasSection(section);

    const bool accepted = settings.writeString(section, key, value);
    const QByteArray after = readRaw(path);
    if (!accepted) {
        check(!settings.lastError().isEmpty(), "a refused write says why");
        check(after == input, "a refused write leaves the file alone");
        return 0;
    }

    const std::vector<RawSection> now = splitSections(after);
    const size_t added = existed ? 0 : 1;
    check(now.size() == before.size() + added, "the sections stay, one new at most",
          QStringLiteral("%1 -> %2").arg(before.size()).arg(now.size()));
    for (size_t i = 0; i < before.size(); ++i) {
        const RawSection& was = before[i];
        const RawSection& is = now[i];
        check(is.header == was.header, "a section header is kept", QString::number(i));
        // Every section of the written name counts as written (only the
        // first of them is, but repeats are not this check's business).
        const bool written = i > 0 && names[qsizetype(i) - 1].toCaseFolded() == section.toCaseFolded();
        if (!written) {
            // The last section gains a break when a new section follows it.
            const bool gainsBreak = added && i + 1 == before.size() && !was.body.isEmpty() && !endsWithBreak(was.body);
            check(is.body == (gainsBreak ? was.body + "\r\n" : was.body),
                  "a section not written is rewritten byte for byte", QString::number(i));
            continue;
        }
        // The written section keeps its lines (breaks become CR LF); only the
        // lines of the written key may change.
        auto kept = [&](const std::vector<QByteArray>& lines) {
            std::vector<QByteArray> out;
            for (const QByteArray& line : lines)
                if (keyOf(line).toCaseFolded() != key.toCaseFolded())
                    out.push_back(line);
            return out;
        };
        check(kept(is.lines) == kept(was.lines), "a touched section keeps its other lines", QString::number(i));
    }

    // A fresh reader sees the written value and every value read before.
    // (Each name and value is read on its own, so each can look like UTF-8.)
    SettingsFile fresh(path);
    if (readsAsUtf8(section) || readsAsUtf8(key) || readsAsUtf8(value))
        return 0;
    const QString back = fresh.readString(section, key, QStringLiteral("<missing>"));
    check(back == value, "a written value reads back",
          QStringLiteral("[%1] %2 = \"%3\" read back as \"%4\"")
              .arg(shown(section), shown(key), shown(value), shown(back)));
    for (const Read& earlier : reads) {
        if (earlier.section.toCaseFolded() == section.toCaseFolded()
            && earlier.key.toCaseFolded() == key.toCaseFolded())
            continue;
        check(fresh.readString(earlier.section, earlier.key) == earlier.value, "other values read the same",
              shown(earlier.section) + QLatin1Char('/') + shown(earlier.key));
    }
    QStringList expectedNames = names;
    if (added)
        expectedNames << section;
    check(fresh.sectionNames() == expectedNames, "the section names after the write");

    // Writing the same value again changes nothing.
    const int rewrites = settings.rewriteCount();
    check(settings.writeString(section, key, value), "the same write again");
    check(settings.rewriteCount() == rewrites, "an unchanged value is not written again");
    return 0;
}
