// List files (SDUrl.txt, articles.txt): whatever bytes a list file holds read
// without harm, and a list written reads back item for item.
#include "FuzzSupport.h"
#include "StoredFile.h"

#include <QStringList>

#include <cstdint>

using namespace FuzzSupport;

namespace {

QString listShown(const QStringList& items)
{
    QStringList out;
    for (const QString& item : items)
        out << QLatin1Char('"') + shown(item) + QLatin1Char('"');
    return out.join(QLatin1String(", "));
}

void checkRoundTrip(const QStringList& items, const char* what)
{
    const QString path = scratchPath(QStringLiteral("written.txt"));
    const WriteResult written = StoredFile::writeLines(path, items);
    check(written.ok, what, written.error);
    if (!items.isEmpty() && readsAsUtf8(items.join(QLatin1String("\r\n")) + QLatin1String("\r\n")))
        return;
    const QStringList back = StoredFile::readLines(path);
    check(back == items, what, QStringLiteral("wrote [%1]\nread [%2]").arg(listShown(items), listShown(back)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = bytesOf(data, size);

    // A list file as found on disk: the items it reads as are stored again
    // unchanged (none holds a line break, so none is refused).
    const QString stored = scratchPath(QStringLiteral("stored.txt"));
    writeRaw(stored, input);
    const QStringList items = StoredFile::readLines(stored);
    for (const QString& item : items)
        check(!item.contains(QLatin1Char('\n')) && !item.contains(QLatin1Char('\r')), "an item holds a break");
    checkRoundTrip(items, "a list read from a file reads back the same after a rewrite");

    // Items the program was given (typed names, titles): every list of items
    // without line breaks reads back exactly, empty items included.
    QStringList typed = gb18030(input).split(QLatin1Char('\n'));
    for (QString& item : typed)
        item.remove(QLatin1Char('\r'));
    if (typed.size() == 1 && typed.first().isEmpty())
        typed.clear();
    checkRoundTrip(typed, "a written list reads back item for item");

    // An item holding a break is refused, and the file keeps what it held.
    if (!typed.isEmpty()) {
        const QString path = scratchPath(QStringLiteral("written.txt"));
        const QByteArray before = readRaw(path);
        QStringList broken = typed;
        broken.last() += QStringLiteral("\r\nmore");
        check(!StoredFile::writeLines(path, broken).ok, "an item with a line break is refused");
        check(readRaw(path) == before, "a refused list leaves the file alone");
    }
    return 0;
}
