#include "TFrmDirSelect.h"

#include "ButtonFaces.h"
#include "DialogTexts.h"
#include "FixFolderPath.h"
#include "FolderCopy.h"
#include "TFormAddPath.h"
#include "TextCodec.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// The path the model knows a folder by: no trailing separator except for a root.
QString modelPath(const QString& folder)
{
    QString path = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    return QDir(path).absolutePath();
}

}  // namespace

TFrmDirSelect::TFrmDirSelect(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(dialogText(DialogTextId::FolderChooserCaption));
    resize(421, 363);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    Label1 = new QLabel(dialogText(DialogTextId::PathLabel), this);
    EdtPath = new QLineEdit(this);

    // Folders only; the model watches the file system and updates the tree itself.
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    m_model->setReadOnly(true);
    m_model->setRootPath(QString());

    ShellTreeView1 = new QTreeView(this);
    ShellTreeView1->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        ShellTreeView1->hideColumn(column);
    ShellTreeView1->header()->hide();
    ShellTreeView1->setIndentation(19);
    ShellTreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ShellTreeView1->setExpandsOnDoubleClick(false);  // a double-click confirms
    QPalette treeColours = ShellTreeView1->palette();
    treeColours.setColor(QPalette::Base, QColor(245, 250, 254));
    ShellTreeView1->setPalette(treeColours);
    ShellTreeView1->viewport()->installEventFilter(this);
    ShellTreeView1->installEventFilter(this);

    BtnAddPath = new QPushButton(this);
    BtnAddPath->setToolTip(tr("新建文件夹"));  // the button's hint as laid out
    BtnConfirm = new QPushButton(this);
    BtnCancel = new QPushButton(this);
    ButtonFaces::load(BtnAddPath, QStringLiteral("newdir"));
    ButtonFaces::load(BtnConfirm, QStringLiteral("confirm"));
    ButtonFaces::load(BtnCancel, QStringLiteral("cancel"));

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(Label1);
    pathRow->addWidget(EdtPath, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnAddPath);
    buttons->addStretch();
    buttons->addWidget(BtnConfirm);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pathRow);
    layout->addWidget(ShellTreeView1, 1);
    layout->addLayout(buttons);

    connect(ShellTreeView1->selectionModel(), &QItemSelectionModel::currentChanged, this, &TFrmDirSelect::showTreePath);
    connect(ShellTreeView1, &QTreeView::clicked, this, &TFrmDirSelect::showTreePath);
    connect(ShellTreeView1, &QTreeView::doubleClicked, this, &TFrmDirSelect::BtnConfirmClick);
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this] {
        if (m_keepSelectionInView)
            ShellTreeView1->scrollTo(ShellTreeView1->currentIndex());
    });
    connect(ShellTreeView1->verticalScrollBar(), &QScrollBar::sliderPressed, this,
            [this] { m_keepSelectionInView = false; });
    connect(EdtPath, &QLineEdit::returnPressed, this, &TFrmDirSelect::EdtPathReturnPressed);
    connect(BtnConfirm, &QPushButton::clicked, this, &TFrmDirSelect::BtnConfirmClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFrmDirSelect::BtnCancelClick);
    connect(BtnAddPath, &QPushButton::clicked, this, &TFrmDirSelect::BtnAddPathClick);
}

void TFrmDirSelect::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // Each use starts without a result: a cancelled use never returns the
    // folder of an earlier one.
    m_result.clear();
    if (!m_treeOpened) {
        // Open the tree at the user's home folder without choosing it.
        m_treeOpened = true;
        const QModelIndex home = m_model->index(QDir::homePath());
        for (QModelIndex up = home.parent(); up.isValid(); up = up.parent())
            ShellTreeView1->expand(up);
        ShellTreeView1->scrollTo(home);
    }
}

bool TFrmDirSelect::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == ShellTreeView1->viewport()
         && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Wheel))
        || (watched == ShellTreeView1 && event->type() == QEvent::KeyPress))
        m_keepSelectionInView = false;
    // A right-click selects the folder under the pointer, as a left click does.
    if (watched == ShellTreeView1->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            const QModelIndex index = ShellTreeView1->indexAt(press->position().toPoint());
            if (index.isValid())
                ShellTreeView1->setCurrentIndex(index);
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString TFrmDirSelect::selectedPath() const
{
    const QModelIndexList selected = ShellTreeView1->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return {};
    return QDir::toNativeSeparators(m_model->filePath(selected.first()));
}

void TFrmDirSelect::showTreePath() { EdtPath->setText(selectedPath()); }

bool TFrmDirSelect::goToPath(const QString& path)
{
    const QString folder = modelPath(path);
    if (!QFileInfo(folder).isDir())
        return false;
    const QModelIndex index = m_model->index(folder);
    if (!index.isValid())
        return false;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        ShellTreeView1->expand(up);
    ShellTreeView1->setCurrentIndex(index);
    ShellTreeView1->scrollTo(index);
    m_keepSelectionInView = true;
    return true;
}

void TFrmDirSelect::EdtPathReturnPressed()
{
    // A folder that does not exist changes nothing.
    goToPath(fixedFolderPath(EdtPath->text()));
}

void TFrmDirSelect::BtnConfirmClick()
{
    // The tree's selection counts, not a path typed without Enter.
    const QString path = selectedPath();
    if (TextCodec::trimmed(path).isEmpty()) {
        QMessageBox::information(this, windowTitle(), dialogText(DialogTextId::SelectAPath));
        return;
    }
    m_result = fixedFolderPath(path);
    accept();
}

void TFrmDirSelect::BtnCancelClick() { reject(); }

QString TFrmDirSelect::resolveNewFolder(const QString& entry) const
{
    // A bare name goes below the folder shown in the path field, not below the
    // program's working folder, which means nothing to the user.
    if (QDir::isAbsolutePath(QDir::fromNativeSeparators(entry)))
        return entry;
    const QString base = fixedFolderPath(EdtPath->text());
    if (!QDir::isAbsolutePath(QDir::fromNativeSeparators(base)) || !QFileInfo(base).isDir())
        return QDir::current().absoluteFilePath(entry);
    return base + entry;
}

void TFrmDirSelect::BtnAddPathClick()
{
    if (!m_addPath)
        m_addPath = new TFormAddPath(this);
    m_addPath->EdtName->setText(fixedFolderPath(EdtPath->text()));
    m_addPath->exec();
    if (!m_addPath->confirmed())
        return;
    const QString path = fixedFolderPath(resolveNewFolder(m_addPath->path()));
    QString error;
    if (!FolderCopy::createFolder(path, &error)) {
        // Not silent: the user asked for this folder and must know it is not there.
        QMessageBox::warning(this, windowTitle(), error);
        return;
    }
    if (!goToPath(path))
        return;
    EdtPath->setText(path);
}
