#include "DialogTexts.h"
#include "FixFolderPath.h"
#include "ModalAnswer.h"
#include "TFormAddPath.h"
#include "TFrmDirSelect.h"
#include "TestData.h"

#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

namespace {

QString folderOf(const QTemporaryDir& dir, const QString& name = {})
{
    return fixedFolderPath(name.isEmpty() ? dir.path() : dir.filePath(name));
}

// Closes the next message box and hands back its text.
void catchMessage(QString* text)
{
    answerModal<QMessageBox>([text](QMessageBox* box) {
        *text = box->text();
        box->accept();
    });
}

}  // namespace

class TestTransferDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SelectDialogLanguage(0); }
    void builtWithTheirTexts();
    void confirmWithoutSelectionAsksForAPath();
    void enterInPathGoesToExistingFoldersOnly();
    void confirmReturnsTheTreeSelectionNotTheTypedText();
    void resultClearedByCancelAfterAConfirmedUse();
    void rightClickSelects();
    void newFolderFlowCreatesAndSelects();
    void newFolderEmptyEntryAsksForAFolder();
    void newFolderCloseBoxCreatesNothing();
    void newFolderBareNameGoesBelowTheCurrentFolder();
};

void TestTransferDialogs::builtWithTheirTexts()
{
    TFrmDirSelect chooser;
    QCOMPARE(chooser.windowTitle(), QStringLiteral("文件夹选择"));
    QCOMPARE(chooser.Label1->text(), QStringLiteral("当前路径"));
    QCOMPARE(chooser.BtnAddPath->toolTip(), QStringLiteral("新建文件夹"));
    TFormAddPath addPath;
    QCOMPARE(addPath.windowTitle(), QStringLiteral("新增文件夹"));
    QCOMPARE(addPath.Label1->text(), QStringLiteral("文件夹名称"));
}

void TestTransferDialogs::confirmWithoutSelectionAsksForAPath()
{
    TFrmDirSelect chooser;
    QString message;
    bool openAfterMessage = false;
    answerModal<TFrmDirSelect>([&](TFrmDirSelect* dialog) {
        catchMessage(&message);
        dialog->BtnConfirm->click();
        openAfterMessage = dialog->isVisible();
        dialog->BtnCancel->click();
    });
    chooser.exec();
    QCOMPARE(message, QStringLiteral("请选择一个路径"));
    QVERIFY(openAfterMessage);
    QVERIFY(chooser.resultPath().isEmpty());
}

void TestTransferDialogs::enterInPathGoesToExistingFoldersOnly()
{
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("one/two"));
    TFrmDirSelect chooser;
    chooser.show();

    // A doubled separator and no trailing one still find the folder.
    chooser.EdtPath->setText(root.path() + "//one/two");
    QTest::keyClick(chooser.EdtPath, Qt::Key_Return);
    QCOMPARE(chooser.selectedPath(), QDir::toNativeSeparators(root.filePath("one/two")));
    QVERIFY2(chooser.isVisible(), "Enter in the path field must not confirm the dialog");

    chooser.EdtPath->setText(root.filePath("missing"));
    QTest::keyClick(chooser.EdtPath, Qt::Key_Return);
    QCOMPARE(chooser.selectedPath(), QDir::toNativeSeparators(root.filePath("one/two")));
    QCOMPARE(chooser.EdtPath->text(), root.filePath("missing"));
}

void TestTransferDialogs::confirmReturnsTheTreeSelectionNotTheTypedText()
{
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("chosen"));
    QVERIFY(QDir(root.path()).mkpath("typed"));
    TFrmDirSelect chooser;
    answerModal<TFrmDirSelect>([&](TFrmDirSelect* dialog) {
        QVERIFY(dialog->goToPath(root.filePath("chosen")));
        QCOMPARE(dialog->EdtPath->text(), QDir::toNativeSeparators(root.filePath("chosen")));
        dialog->EdtPath->setText(root.filePath("typed"));
        dialog->BtnConfirm->click();
    });
    QCOMPARE(chooser.exec(), int(QDialog::Accepted));
    QCOMPARE(chooser.resultPath(), folderOf(root, "chosen"));
}

void TestTransferDialogs::resultClearedByCancelAfterAConfirmedUse()
{
    QTemporaryDir root;
    TFrmDirSelect chooser;
    answerModal<TFrmDirSelect>([&](TFrmDirSelect* dialog) {
        dialog->goToPath(root.path());
        emit dialog->ShellTreeView1->doubleClicked(dialog->ShellTreeView1->currentIndex());
    });
    chooser.exec();
    QCOMPARE(chooser.resultPath(), folderOf(root));

    answerModal<TFrmDirSelect>([](TFrmDirSelect* dialog) { dialog->BtnCancel->click(); });
    QCOMPARE(chooser.exec(), int(QDialog::Rejected));
    QVERIFY(chooser.resultPath().isEmpty());
    // The selection itself is kept for the next use.
    QCOMPARE(chooser.selectedPath(), QDir::toNativeSeparators(root.path()));

    chooser.goToPath(root.path());
    answerModal<TFrmDirSelect>([](TFrmDirSelect* dialog) { dialog->close(); });  // the close box
    chooser.exec();
    QVERIFY(chooser.resultPath().isEmpty());
}

void TestTransferDialogs::rightClickSelects()
{
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("left"));
    QVERIFY(QDir(root.path()).mkpath("right"));
    TFrmDirSelect chooser;
    chooser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chooser));
    QVERIFY(chooser.goToPath(root.filePath("right")));
    QVERIFY(chooser.goToPath(root.filePath("left")));
    auto* model = qobject_cast<QFileSystemModel*>(chooser.ShellTreeView1->model());
    const QModelIndex right = model->index(root.filePath("right"));
    chooser.ShellTreeView1->scrollTo(right);
    const QPoint at = chooser.ShellTreeView1->visualRect(right).center();
    QTest::mouseClick(chooser.ShellTreeView1->viewport(), Qt::RightButton, {}, at);
    QCOMPARE(chooser.selectedPath(), QDir::toNativeSeparators(root.filePath("right")));
    QCOMPARE(chooser.EdtPath->text(), QDir::toNativeSeparators(root.filePath("right")));
}

void TestTransferDialogs::newFolderFlowCreatesAndSelects()
{
    QTemporaryDir root;
    TFrmDirSelect chooser;
    QString prefilled;
    bool caretAtEnd = false;
    answerModal<TFrmDirSelect>([&](TFrmDirSelect* dialog) {
        dialog->goToPath(root.path());
        answerModal<TFormAddPath>([&](TFormAddPath* addPath) {
            prefilled = addPath->EdtName->text();
            caretAtEnd = addPath->EdtName->cursorPosition() == prefilled.size() && !addPath->EdtName->hasSelectedText();
            // The user types after the current path; missing parents are made too.
            QTest::keyClicks(addPath->EdtName, "new/deeper");
            QTest::keyClick(addPath->EdtName, Qt::Key_Return);
        });
        dialog->BtnAddPath->click();
        QVERIFY(dialog->isVisible());  // the chooser stays open for Confirm
        dialog->BtnConfirm->click();
    });
    chooser.exec();
    QCOMPARE(prefilled, folderOf(root));
    QVERIFY(caretAtEnd);
    QVERIFY(QFileInfo(root.filePath("new/deeper")).isDir());
    QCOMPARE(chooser.EdtPath->text(), folderOf(root, "new/deeper"));
    QCOMPARE(chooser.selectedPath(), QDir::toNativeSeparators(root.filePath("new/deeper")));
    QCOMPARE(chooser.resultPath(), folderOf(root, "new/deeper"));
}

void TestTransferDialogs::newFolderEmptyEntryAsksForAFolder()
{
    TFormAddPath addPath;
    QString message;
    bool stillOpen = false;
    answerModal<TFormAddPath>([&](TFormAddPath* dialog) {
        dialog->EdtName->setText(" \t ");
        catchMessage(&message);
        dialog->BtnConfirm->click();
        stillOpen = dialog->isVisible();
        dialog->BtnClose->click();
    });
    addPath.exec();
    QCOMPARE(message, QStringLiteral("请输入一个文件夹"));
    QVERIFY(stillOpen);
    QVERIFY(!addPath.confirmed());
}

void TestTransferDialogs::newFolderCloseBoxCreatesNothing()
{
    QTemporaryDir root;
    TFrmDirSelect chooser;
    chooser.show();
    chooser.goToPath(root.path());
    // A first, confirmed use creates "made".
    answerModal<TFormAddPath>([](TFormAddPath* dialog) {
        dialog->EdtName->setText(dialog->EdtName->text() + "made");
        dialog->BtnConfirm->click();
    });
    chooser.BtnAddPath->click();
    QVERIFY(QFileInfo(root.filePath("made")).isDir());
    QVERIFY(QDir(root.path()).rmdir("made"));

    // The second use ends with the close box: nothing is created again.
    chooser.goToPath(root.path());
    answerModal<TFormAddPath>([](TFormAddPath* dialog) {
        dialog->EdtName->setText(dialog->EdtName->text() + "made");
        dialog->close();
    });
    chooser.BtnAddPath->click();
    QVERIFY(!chooser.addPathDialog()->confirmed());
    QVERIFY(!QFileInfo::exists(root.filePath("made")));
    QCOMPARE(chooser.selectedPath(), QDir::toNativeSeparators(root.path()));
}

void TestTransferDialogs::newFolderBareNameGoesBelowTheCurrentFolder()
{
    QTemporaryDir root;
    TFrmDirSelect chooser;
    chooser.show();
    chooser.goToPath(root.path());
    answerModal<TFormAddPath>([](TFormAddPath* dialog) {
        dialog->EdtName->setText("bare");
        dialog->BtnConfirm->click();
    });
    chooser.BtnAddPath->click();
    QVERIFY(QFileInfo(root.filePath("bare")).isDir());
    QCOMPARE(chooser.selectedPath(), QDir::toNativeSeparators(root.filePath("bare")));
}

QTEST_MAIN(TestTransferDialogs)
#include "tst_transferdialogs.moc"
