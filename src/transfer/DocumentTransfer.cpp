#include "DocumentTransfer.h"

#include "DataFolder.h"
#include "FixFolderPath.h"
#include "InterfaceTexts.h"
#include "TFrmDirSelect.h"

#include <QDesktopServices>
#include <QDir>

namespace {

// The hint line has one line: a few failures are named, the rest counted.
constexpr int FailuresNamed = 3;

QString namedFew(const QStringList& items)
{
    QString text = items.mid(0, FailuresNamed).join(QLatin1String("; "));
    if (items.size() > FailuresNamed)
        text += QStringLiteral("; (+%1)").arg(items.size() - FailuresNamed);
    return text;
}

// The export folder's name; the table writes it with the Windows separator.
QString exportFolderName()
{
    QString name = uiText(TextId::ExportFolderName);
    while (name.endsWith(QLatin1Char('\\')) || name.endsWith(QLatin1Char('/')))
        name.chop(1);
    return name;
}

}  // namespace

DocumentTransfer::DocumentTransfer(const QString& dataFolder, QWidget* dialogParent, QObject* parent)
    : QObject(parent),
      m_dataFolder(fixedFolderPath(dataFolder)),
      m_dialogParent(dialogParent),
      m_openFolder([](const QUrl& folder) { return QDesktopServices::openUrl(folder); })
{
    connect(&m_copy, &FolderCopy::finished, this, &DocumentTransfer::copyFinished);
}

DocumentTransfer::~DocumentTransfer()
{
    // Without a parent window the chooser is ours to delete.
    if (m_chooser && !m_chooser->parent())
        delete m_chooser.data();
}

void DocumentTransfer::setOwnedFiles(OwnedFiles owned)
{
    m_owned = std::move(owned);
    m_copy.setLeftOut(m_owned.owns);
}

TFrmDirSelect* DocumentTransfer::folderChooser()
{
    if (!m_chooser)
        m_chooser = new TFrmDirSelect(m_dialogParent);
    return m_chooser;
}

QString DocumentTransfer::chooseFolder(const QString& caption)
{
    TFrmDirSelect* chooser = folderChooser();
    chooser->setWindowTitle(caption);
    m_choosing = true;
    chooser->exec();
    m_choosing = false;
    return chooser->resultPath();
}

void DocumentTransfer::BtnIHExportClick()
{
    if (m_copy.isRunning() || m_choosing)
        return;
    emit hint(QString());
    const QString chosen = chooseFolder(uiText(TextId::ExportChooserCaption));
    if (chosen.isEmpty())
        return;
    const QString folder = fixedFolderPath(chosen + exportFolderName());
    QString error;
    if (!FolderCopy::createFolder(folder, &error)) {
        emit hint(error);
        emit transferFinished(false);
        return;
    }
    emit aboutToExport();
    m_direction = Direction::Export;
    m_folder = folder;
    emit hint(uiText(TextId::Exporting));
    m_copy.CopyFolderFiles(m_dataFolder, folder);
}

void DocumentTransfer::BtnIHImportClick()
{
    if (m_copy.isRunning() || m_choosing)
        return;
    emit hint(QString());
    const QString chosen = chooseFolder(uiText(TextId::ImportChooserCaption));
    if (chosen.isEmpty())
        return;
    const QString folder = fixedFolderPath(chosen);
    // A folder that is not there is created, empty: the import then copies nothing.
    QString error;
    if (!FolderCopy::createFolder(folder, &error)) {
        emit hint(error);
        emit transferFinished(false);
        return;
    }
    emit aboutToImport();
    m_direction = Direction::Import;
    m_folder = folder;
    emit hint(uiText(TextId::Importing));
    // The data set's own files and nothing else; a link is never read: it
    // could bring any file of this computer into the data folder.
    FolderCopy::Selection dataSet;
    dataSet.takes = &DataFolder::isDataSetFile;
    dataSet.followLinks = false;
    m_copy.CopyFolderFiles(folder, m_dataFolder, dataSet);
}

QStringList DocumentTransfer::linkedOwnedFiles(const QString& folder) const
{
    QStringList links;
    if (!m_owned.owns)
        return links;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries)
        if (entry.isSymLink() && m_owned.owns(entry.fileName()))
            links << entry.fileName();
    return links;
}

QString DocumentTransfer::failureHint() const
{
    QStringList failures = m_copy.failures();
    if (!m_ownedFailure.isEmpty())
        failures << m_ownedFailure;
    return namedFew(failures);
}

void DocumentTransfer::copyFinished(bool allCopied)
{
    const bool importing = m_direction == Direction::Import;
    m_ownedFailure.clear();
    m_passedOver = importing ? m_copy.passedOver() : QStringList();
    // The owner's copy opens the files by name and would follow a link:
    // an import with one there keeps the database it has.
    const QStringList ownedLinks = importing ? linkedOwnedFiles(m_folder) : QStringList();
    if (m_owned.copy && ownedLinks.isEmpty()) {
        m_ownedFailure =
            importing ? m_owned.copy(m_folder, m_dataFolder, true) : m_owned.copy(m_dataFolder, m_folder, false);
        allCopied = allCopied && m_ownedFailure.isEmpty();
    }
    m_passedOver << ownedLinks;
    // Success is claimed only when every file arrived; otherwise the failed
    // files are named.
    QString text;
    if (!allCopied)
        text = failureHint();
    else if (m_direction == Direction::Export)
        text = InterfaceTexts::format(TextId::ExportedFormat, m_folder);
    else
        text = InterfaceTexts::format(TextId::ImportedFormat, m_folder);
    // What an import left in the folder it came from is said too: the user
    // may have expected it to arrive.
    if (!m_passedOver.isEmpty())
        text += QStringLiteral("; ") + tr("未导入（不是文档的文件，或是链接）：%1").arg(namedFew(m_passedOver));
    emit hint(text);

    if (m_direction == Direction::Export)
        m_openFolder(QUrl::fromLocalFile(m_folder));
    else
        emit importFinished();
    emit transferFinished(allCopied);
}
