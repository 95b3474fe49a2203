// Text files (the stored article's clause and paragraph files): whatever bytes
// a text file holds read without harm, and a text written reads back the same,
// line breaks as "\n".
#include "FuzzSupport.h"
#include "StoredFile.h"
#include "TextCodec.h"

#include <cstdint>

using namespace FuzzSupport;

namespace {

void checkRoundTrip(const QString& text, const char* what)
{
    const QString path = scratchPath(QStringLiteral("written.txt"));
    const WriteResult written = StoredFile::writeText(path, text);
    check(written.ok, what, written.error);
    const QByteArray bytes = readRaw(path);
    // Every break on disk is CR LF.
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '\n')
            check(i > 0 && bytes.at(i - 1) == '\r', "a bare LF on disk");
        if (bytes.at(i) == '\r')
            check(i + 1 < bytes.size() && bytes.at(i + 1) == '\n', "a bare CR on disk");
    }
    const auto back = StoredFile::readText(path);
    check(back.has_value(), what, QStringLiteral("written file unreadable"));
    const QString expected = TextCodec::toUnixBreaks(text);
    if (readsAsUtf8(TextCodec::toWindowsBreaks(text)))
        return;
    check(*back == expected, what, QStringLiteral("wrote \"%1\"\nread \"%2\"").arg(shown(expected), shown(*back)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = bytesOf(data, size);

    const QString stored = scratchPath(QStringLiteral("stored.txt"));
    writeRaw(stored, input);
    const auto text = StoredFile::readText(stored);
    check(text.has_value(), "an existing file reads");
    check(!text->contains(QLatin1Char('\r')), "read text holds no CR");
    checkRoundTrip(*text, "a text read from a file reads back the same after a rewrite");

    // Text as typed, with any mix of line breaks.
    checkRoundTrip(gb18030(input), "a written text reads back the same");
    return 0;
}
