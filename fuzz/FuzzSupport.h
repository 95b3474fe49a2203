#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

// Shared by the fuzz targets: a scratch folder for the files under test and a
// check that stops the run, so libFuzzer keeps the input as a crash.
namespace FuzzSupport {

[[noreturn]] inline void violated(const char* what, const QString& detail = {})
{
    std::fprintf(stderr, "property violated: %s\n%s\n", what, qPrintable(detail));
    std::abort();
}

inline void check(bool condition, const char* what, const QString& detail = {})
{
    if (!condition)
        violated(what, detail);
}

inline QString scratchPath(const QString& name)
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/qvb-fuzz-XXXXXX"));
    check(dir.isValid(), "scratch folder", dir.errorString());
    return dir.filePath(name);
}

inline void writeRaw(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "scratch file", path);
    check(file.write(bytes) == bytes.size(), "scratch file write", path);
}

inline QByteArray readRaw(const QString& path)
{
    QFile file(path);
    check(file.open(QIODevice::ReadOnly), "read back", path);
    return file.readAll();
}

// Text a user could have typed: the input read as GB18030 without any
// look at byte order marks, so every code point the stored encoding holds
// can turn up.
inline QString gb18030(const QByteArray& bytes)
{
    QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

// Bytes that start with EF BB BF and go on as valid UTF-8 are read as UTF-8
// with a byte order mark. A text whose GB18030 form is exactly that (it starts
// with "锘", a character led by BF, then only what UTF-8 also allows) cannot be
// told apart from such a file: the round trips leave it out.
inline bool readsAsUtf8(const QString& text)
{
    QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return false;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    utf8.decode(QByteArrayView(bytes).sliced(3));
    return !utf8.hasError();
}

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Escapes a text for a failure message.
inline QString shown(const QString& text)
{
    QString out;
    for (QChar c : text)
        out += c.unicode() < 0x20 || c.unicode() >= 0x7f
            ? QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'))
            : QString(c);
    return out;
}

}  // namespace FuzzSupport
