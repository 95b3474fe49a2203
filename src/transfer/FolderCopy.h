#pragma once

#include <QFileInfoList>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class QFile;
class QSaveFile;

// Copies the plain files of one folder into another, one level deep, in small
// steps driven by the event loop: the window stays responsive and no second
// event loop is ever started. Every replaced file is written through a
// temporary file and a rename, so a failed copy leaves the old file whole, and
// a file copied onto itself is left alone.
class FolderCopy : public QObject {
    Q_OBJECT
public:
    // Bytes copied per step; a large file takes several turns of the event loop.
    static constexpr qint64 ChunkBytes = 1024 * 1024;

    explicit FolderCopy(QObject* parent = nullptr);
    ~FolderCopy() override;

    // Which files of the source a copy takes: every plain file (hidden ones
    // too), or only those `takes` accepts; a copy that does not follow links
    // reads no symbolic link. Files it does not take are named in passedOver().
    struct Selection {
        std::function<bool(const QString& fileName)> takes;
        bool followLinks = true;
    };

    // Starts copying the files of `source` that `selection` takes (subfolders,
    // devices and pipes skipped) into the existing folder `target`, replacing
    // files of the same name; a symbolic link in the target is never written
    // through. Returns false, starting nothing, while an earlier copy is still
    // running. finished() follows, never before this returns.
    bool CopyFolderFiles(const QString& source, const QString& target, const Selection& selection);
    bool CopyFolderFiles(const QString& source, const QString& target);  // every plain file

    // Creates a folder with its missing parents; on failure `error` says
    // "<folder>: <reason>".
    static bool createFolder(const QString& folder, QString* error);

    // Files of these names are left out: their owner copies them as a whole.
    void setLeftOut(std::function<bool(const QString& fileName)> leftOut) { m_leftOut = std::move(leftOut); }

    bool isRunning() const { return m_running; }
    int copiedCount() const { return m_copied; }
    // One "<file>: <reason>" per file that could not be copied.
    const QStringList& failures() const { return m_failures; }
    // The names of the source's files the selection did not take (neither
    // the left-out ones nor folders), in name order.
    const QStringList& passedOver() const { return m_passedOver; }

signals:
    void finished(bool allCopied);

private:
    void select(const QString& source, const Selection& selection);
    void step();
    void beginFile(const QFileInfo& source);
    std::unique_ptr<QFile> openSource(const QString& path);
    static QString linkRefusal();
    void copyChunk();
    void endFile();
    void fail(const QString& path, const QString& reason);

    QTimer m_stepTimer;
    QFileInfoList m_pending;
    int m_next = 0;
    QString m_target;
    bool m_ontoItself = false;
    std::unique_ptr<QFile> m_in;
    std::unique_ptr<QSaveFile> m_out;
    QByteArray m_buffer;
    bool m_running = false;
    int m_copied = 0;
    QStringList m_failures;
    QStringList m_passedOver;
    bool m_followLinks = true;
    std::function<bool(const QString&)> m_leftOut;
};
