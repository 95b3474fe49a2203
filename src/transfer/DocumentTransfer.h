#pragma once

#include "FolderCopy.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>

class QWidget;
class TFrmDirSelect;

// Export of the data folder to a folder the user chooses, and import of a
// chosen folder's files into the data folder. Progress and results go to the
// window's red hint line through hint(); the window wires its two buttons to
// the two click handlers and reloads its data on importFinished().
class DocumentTransfer : public QObject {
    Q_OBJECT
public:
    // Opens a folder in the desktop's file manager.
    using FolderOpener = std::function<bool(const QUrl& folder)>;

    // `dialogParent` (the main window) owns the folder chooser once it is built.
    DocumentTransfer(const QString& dataFolder, QWidget* dialogParent, QObject* parent = nullptr);
    ~DocumentTransfer() override;

    // Tests put a recorder here instead of the desktop's file manager.
    void setFolderOpener(FolderOpener opener) { m_openFolder = std::move(opener); }

    // A file its owner copies as a whole (a database, which must not be copied
    // mid-transaction): the folder copy leaves out the names `owns` accepts,
    // then `copy` runs once the rest is copied, with `importing` telling the
    // direction; it returns the reason it failed, or nothing.
    struct OwnedFiles {
        std::function<bool(const QString& fileName)> owns;
        std::function<QString(const QString& from, const QString& to, bool importing)> copy;
    };
    void setOwnedFiles(OwnedFiles owned);

    // Built on first use and kept.
    TFrmDirSelect* folderChooser();
    bool isCopying() const { return m_copy.isRunning(); }
    // The files the latest copy could not copy, "<file>: <reason>" each.
    QStringList lastFailures() const { return m_copy.failures(); }
    // The names of the files the latest import left where they were: files
    // that are no part of a data set, and links.
    QStringList lastPassedOver() const { return m_passedOver; }

public slots:
    // Both do nothing while a copy is running or the chooser is open.
    void BtnIHExportClick();
    void BtnIHImportClick();

signals:
    void hint(const QString& text);
    // Just before the copy starts: the window saves pending edits, so the
    // export holds them and no later focus change writes into an import.
    void aboutToExport();
    void aboutToImport();
    // The import copy is over (some files may have failed): the data folder
    // holds the imported files, and the window reloads from it.
    void importFinished();
    // Either copy is over; allCopied is false when a file or folder failed.
    void transferFinished(bool allCopied);

private:
    enum class Direction {
        Export,
        Import
    };
    QString chooseFolder(const QString& caption);
    void copyFinished(bool allCopied);
    QString failureHint() const;
    QStringList linkedOwnedFiles(const QString& folder) const;

    QString m_dataFolder;
    QPointer<QWidget> m_dialogParent;
    QPointer<TFrmDirSelect> m_chooser;
    FolderCopy m_copy;
    FolderOpener m_openFolder;
    bool m_choosing = false;
    Direction m_direction = Direction::Export;
    QString m_folder;  // the export folder, or the folder imported from
    OwnedFiles m_owned;
    QString m_ownedFailure;
    QStringList m_passedOver;
};
