#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Whole-file access for every stored file. Writes always go through a
// temporary file and a rename, so a crash or a full disk never leaves half a
// file; a write that fails says why, naming the file.
struct WriteResult {
    bool ok = true;
    QString error;  // "<path>: <reason>" when !ok
    explicit operator bool() const { return ok; }
};

namespace StoredFile {

WriteResult writeBytes(const QString& path, const QByteArray& bytes);
std::optional<QByteArray> readBytes(const QString& path);  // nullopt when missing/unreadable

// Text files in the stored encoding.
std::optional<QString> readText(const QString& path);     // line breaks as "\n"
WriteResult writeText(const QString& path, const QString& text);  // written with CR LF
// List files: one item a line, CR LF after every line.
QStringList readLines(const QString& path);  // empty when missing
WriteResult writeLines(const QString& path, const QStringList& lines);

// Tests put a failing file layer here: return a reason to make the write of
// that path fail, an empty string to let it through.
using WriteFault = std::function<QString(const QString& path)>;
void setWriteFault(WriteFault fault);

}  // namespace StoredFile
