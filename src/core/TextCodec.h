#pragma once

#include <QByteArray>
#include <QString>

// Stored text is 8-bit GB18030 (a superset of GBK, so files written on Chinese
// Windows read unchanged) with CR LF line ends.
namespace TextCodec {

QString decode(const QByteArray& bytes);  // GB18030, or UTF-8 when a BOM leads
// GB18030 only: for pieces of a file (a line, a value), where bytes that look
// like a byte order mark are just the start of a Chinese text.
QString decodeGb18030(QByteArrayView bytes);
QByteArray encode(const QString& text);  // always GB18030

// Line breaks of any kind (CR, LF, CR LF) become "\n", and back to CR LF.
QString toUnixBreaks(const QString& text);
QString toWindowsBreaks(const QString& text);

// Splits at CR, LF or CR LF; a final line break adds no item.
QStringList splitLines(const QString& text);

// Removes leading and trailing characters with codes 0 to 32.
QString trimmed(const QString& text);

}  // namespace TextCodec
