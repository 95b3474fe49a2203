#pragma once

#include <QDialog>

class QFileSystemModel;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTreeView;
class TFormAddPath;

// The modal folder chooser: a tree of the file system's folders, a path field
// and a button that creates a new folder first. It is built once and kept; the
// tree keeps its open levels and selection between uses.
class TFrmDirSelect : public QDialog {
    Q_OBJECT
public:
    explicit TFrmDirSelect(QWidget* parent = nullptr);

    // The chosen folder with one trailing separator; empty unless the latest
    // showing ended with Confirm (or a double-click in the tree).
    QString resultPath() const { return m_result; }

    // The tree's selected folder, or an empty text when nothing is selected.
    QString selectedPath() const;
    // Opens the tree down to an existing folder and selects it.
    bool goToPath(const QString& path);

    TFormAddPath* addPathDialog() const { return m_addPath; }  // null until first used

    // Controls, public so the owner and the tests can reach them by name.
    QLabel* Label1 = nullptr;
    QLineEdit* EdtPath = nullptr;
    QTreeView* ShellTreeView1 = nullptr;
    QPushButton* BtnAddPath = nullptr;
    QPushButton* BtnConfirm = nullptr;
    QPushButton* BtnCancel = nullptr;

public slots:
    void BtnConfirmClick();
    void BtnCancelClick();
    void BtnAddPathClick();
    void EdtPathReturnPressed();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTreePath();
    QString resolveNewFolder(const QString& entry) const;

    QFileSystemModel* m_model = nullptr;
    TFormAddPath* m_addPath = nullptr;
    QString m_result;
    bool m_treeOpened = false;
    // The tree fills its levels in the background; until the user scrolls or
    // clicks, the folder gone to is kept in view as they arrive.
    bool m_keepSelectionInView = false;
};
