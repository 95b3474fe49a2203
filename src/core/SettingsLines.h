#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The settings file's lines as bytes: how a line ends, what a key, a comment
// and a section header are, and how an entry is written. Shared by the
// parser and the file's reads and writes; not for use outside them.
namespace SettingsLines {

// The end of the line starting at `start`, and where the next line begins
// (after CR, LF or CR LF).
qsizetype lineEnd(const QByteArray& bytes, qsizetype start, qsizetype* next);
bool isSectionHeader(const char* data, qsizetype size);
// A line whose first non-blank byte is ";".
bool isComment(QByteArrayView line);
// The line "key=value" in the stored encoding.
QByteArray entryBytes(const QString& key, const QString& value);
// Part of a line, decoded (ASCII without a converter or a copy).
QString decodePart(const QByteArray& line, qsizetype from, qsizetype length);
// The bytes of a plain ASCII key (as nearly all are) before the "=" at `eq`,
// trimmed of codes up to 32; nullopt for a key of other bytes, which must be
// decoded before it is trimmed, since a broken GB18030 sequence may swallow a
// byte below 33.
std::optional<QByteArrayView> plainKeyBytes(QByteArrayView line, qsizetype eq);
// The key of an entry line, trimmed of codes up to 32.
QString keyOf(const QByteArray& line, qsizetype eq);
// Why a section, key or value could not be stored so that it reads back the
// same, or an empty string when it can.
QString unstorableReason(const QString& section, const QString& key, const QString& value);
bool isAscii(const QString& text) noexcept;
char16_t foldAscii(char16_t c) noexcept;

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

}  // namespace SettingsLines
