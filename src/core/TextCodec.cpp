#include "TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

namespace TextCodec {

namespace {
bool isAscii(const char* data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return false;
    return true;
}
}  // namespace

QString decode(const QByteArray& bytes)
{
    // EF BB BF is also GB18030 for a Chinese character followed by one led by
    // BF (e.g. "锘开"): only bytes that go on as valid UTF-8 are UTF-8, or such
    // a stored text would read back garbled.
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8.decode(QByteArrayView(bytes).sliced(3));
        if (!utf8.hasError())
            return text;
    }
    return decodeGb18030(bytes);
}

QString decodeGb18030(QByteArrayView bytes)
{
    // Most stored lines are plain ASCII (keys, numbers, URLs): skip the converter.
    if (isAscii(bytes.data(), bytes.size()))
        return QString::fromLatin1(bytes);
    static thread_local QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

QByteArray encode(const QString& text)
{
    bool ascii = true;
    for (QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return text.toLatin1();
    static thread_local QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
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
