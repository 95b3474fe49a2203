#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QSaveFile;

// Whole-file access for every stored file. Writes always go through a
// temporary file and a rename, so a crash or a full disk never leaves half a
// file; a write that fails says why, naming the file.
//
// A file that is there but could not be read (no permission, an I/O error, a
// pipe or a folder in its place) is never written over: its old contents are
// unknown, so writing what the program holds would lose them. Such a file is
// remembered until a later read succeeds, and every write of it is refused.
struct WriteResult {
    bool ok = true;
    QString error;  // "<path>: <reason>" when !ok
    explicit operator bool() const { return ok; }
};

// What a read found: the bytes, nothing (no file of that name, which reads
// as empty), or a file that is there but could not be read.
struct ReadResult {
    QByteArray bytes;
    bool missing = false;
    QString error;  // "<path>: <reason>" when the file could not be read
    bool ok() const { return error.isEmpty(); }
};

namespace StoredFile {

ReadResult read(const QString& path);
WriteResult writeBytes(const QString& path, const QByteArray& bytes);
std::optional<QByteArray> readBytes(const QString& path);  // nullopt when missing or unreadable

// Text files in the stored encoding; `error` gets the reason a file that is
// there could not be read.
std::optional<QString> readText(const QString& path, QString* error = nullptr);  // line breaks as "\n"
WriteResult writeText(const QString& path, const QString& text);  // written with CR LF
// List files: one item a line, CR LF after every line.
QStringList readLines(const QString& path, QString* error = nullptr);  // empty when missing or unreadable
WriteResult writeLines(const QString& path, const QStringList& lines);

// Opens a file to be written in pieces: unbuffered (a buffered write that
// fails at the final flush would still let commit() rename the cut file into
// place), and its temporary copy its owner's only before the first byte, so
// no other user can open it meanwhile. The reason when it could not be opened.
QString open(QSaveFile& file);
// Every byte reaches the file, or the reason comes back and the old file stays.
QString writeAll(QSaveFile& file, const char* data, qint64 size);
// Then the bytes go out to the disk and the file replaces the old one; the
// reason when that failed.
QString commit(QSaveFile& file);

// The files whose last read failed, each as "<path>: <reason>", in the order
// they failed; they are not written until a read of them succeeds.
QStringList unreadableFiles();
// Why `path` is not to be written ("<path>: <reason>"), empty when it may
// be: a store checks its list file before it changes anything else.
QString writeRefusal(const QString& path);
// An import replaced the files: they are read again before any write.
void forgetUnreadableFiles();

// The system's reason for the last failed call (errno), in words.
QString systemReason(int error);

// Tests put a failing file layer here: return a reason to make the write of
// that path fail, an empty string to let it through.
using WriteFault = std::function<QString(const QString& path)>;
void setWriteFault(WriteFault fault);

}  // namespace StoredFile
