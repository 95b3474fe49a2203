#include "TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

namespace TextCodec {

QString decode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    QStringDecoder decoder("GB18030");
    return decoder.decode(bytes);
}

QByteArray encode(const QString& text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

QString toUnixBreaks(const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

QString toWindowsBreaks(const QString& text)
{
    QString out = toUnixBreaks(text);
    out.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return out;
}

QStringList splitLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    QStringList lines = toUnixBreaks(text).split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString trimmed(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

}  // namespace TextCodec
