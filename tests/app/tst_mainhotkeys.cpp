#include "CredentialsRow.h"
#include "SiteStore.h"
#include "TFrmMain.h"
#include "TestData.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

// The hotkeys as the main window feeds them: live article fields, the saved
// credentials of the current site, the identifier field.
class TestMainHotkeys : public QObject {
    Q_OBJECT
private:
    static QLineEdit* clause(TFrmMain& w, int i)
    {
        return w.findChild<QLineEdit*>(QStringLiteral("EdtClause%1").arg(i));
    }

    static void pressIn(QWidget* field, int key)
    {
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClick(field, Qt::Key(key), Qt::ControlModifier);
    }

private slots:
    void hotkeysPasteTheirTextsIntoTheFocusedField()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        TFrmMain window(data.path());
        window.resize(1400, 900);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QApplication::clipboard()->setText(QStringLiteral("kept on the clipboard"));

        // Ctrl+E in clause field 3 pastes clause 5, including an unsaved edit of it.
        clause(window, 5)->setText(QStringLiteral("edited five"));
        QLineEdit* target = clause(window, 3);
        target->clear();
        pressIn(target, Qt::Key_E);
        QTRY_COMPARE(target->text(), QStringLiteral("edited five"));

        // Ctrl+U pastes the saved user name, not what the row shows unsaved.
        auto* row = window.findChild<CredentialsRow*>();
        QVERIFY(row);
        const QString saved = window.siteStore()->record().userName;
        QVERIFY(!saved.isEmpty());
        row->findChild<QLineEdit*>("EdtUserName")->setText(QStringLiteral("not saved yet"));
        target->clear();
        pressIn(target, Qt::Key_U);
        QTRY_COMPARE(target->text(), saved);

        // Ctrl+O pastes the identifier field; Ctrl+5 before it pastes nothing.
        row->findChild<QLineEdit*>("EdtSiteArtID")->setText(QStringLiteral("ID-42"));
        target->clear();
        pressIn(target, Qt::Key_5);
        pressIn(target, Qt::Key_O);
        QTRY_COMPARE(target->text(), QStringLiteral("ID-42"));

        // A paragraph arrives whole, lines included, in a multi-line field.
        auto* paragraph = window.findChild<QPlainTextEdit*>(QStringLiteral("MemParagraph3"));
        QVERIFY(paragraph);
        const QString expected = paragraph->toPlainText()
            + window.findChild<QPlainTextEdit*>(QStringLiteral("MemParagraph1"))->toPlainText();
        paragraph->moveCursor(QTextCursor::End);
        pressIn(paragraph, Qt::Key_8);
        QTRY_COMPARE(paragraph->toPlainText(), expected);

        QTRY_COMPARE(QApplication::clipboard()->text(), QStringLiteral("kept on the clipboard"));
    }
};

QTEST_MAIN(TestMainHotkeys)
#include "tst_mainhotkeys.moc"
