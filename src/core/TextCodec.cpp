#include "TextCodec.h"

#include <QList>
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

namespace {

constexpr char16_t kEuro = 0x20AC;
constexpr char kEuroByte = char(0x80);

QString decodeWithoutEuro(QByteArrayView bytes)
{
    static thread_local QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

// Where byte 0x80 stands on its own: not as the second byte of a two-byte
// character (lead 0x81..0xFE), where it is an ordinary trail byte.
QList<qsizetype> loneEuroBytes(QByteArrayView bytes)
{
    QList<qsizetype> found;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            ++i;
        } else if (byte == 0x80) {
            found << i++;
        } else if (byte == 0xFF) {
            ++i;
        } else if (i + 1 < bytes.size() && bytes[i + 1] >= '0' && bytes[i + 1] <= '9') {
            i += 4;  // a four-byte character
        } else {
            i += 2;
        }
    }
    return found;
}

}  // namespace

QString decodeGb18030(QByteArrayView bytes)
{
    // Most stored lines are plain ASCII (keys, numbers, URLs): skip the converter.
    if (isAscii(bytes.data(), bytes.size()))
        return QString::fromLatin1(bytes);
    // Windows' Chinese code page has "€" as the single byte 0x80, which
    // GB18030 does not know: it would read as a replacement character.
    if (!bytes.contains(kEuroByte))
        return decodeWithoutEuro(bytes);
    const QList<qsizetype> euros = loneEuroBytes(bytes);
    QString text;
    qsizetype from = 0;
    for (qsizetype at : euros) {
        text += decodeWithoutEuro(bytes.sliced(from, at - from));
        text += QChar(kEuro);
        from = at + 1;
    }
    return text + decodeWithoutEuro(bytes.sliced(from));
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
    // "€" goes back as the byte the Windows original reads as "€".
    if (!text.contains(QChar(kEuro)))
        return encoder.encode(text);
    QByteArray bytes;
    const QList<QStringView> parts = QStringView(text).split(QChar(kEuro));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            bytes += kEuroByte;
        bytes += QByteArray(encoder.encode(parts[i]));
    }
    return bytes;
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
