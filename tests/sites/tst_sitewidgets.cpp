#include "CredentialsRow.h"
#include "InterfaceTexts.h"
#include "SettingsFile.h"
#include "SiteController.h"
#include "SiteListPanel.h"
#include "TFrmURLEdit.h"
#include "TestData.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Runs `answer` on the modal window once it is up (a dialog or a message box
// opened by the code under test).
void whenModal(std::function<void(QWidget*)> answer, int tries = 50)
{
    QTimer::singleShot(10, [answer, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && tries > 0)
            return whenModal(answer, tries - 1);
        answer(modal);
    });
}

// Answers the next message box with OK and keeps its text.
void answerMessage(QString* text)
{
    whenModal([text](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        *text = box ? box->text() : QStringLiteral("<no message box>");
        if (box)
            box->accept();
    });
}

void writeSites(const TestDataFolder& data, const QStringList& users)
{
    QString list, ini;
    for (int i = 0; i < users.size(); ++i) {
        list += QStringLiteral("S%1\r\n").arg(i);
        ini += QStringLiteral("[%1]\r\nurl=u%1\r\nUser=%2\r\nPassword=pw%1\r\n").arg(i).arg(users.at(i));
    }
    data.writeBytes("SDUrl.txt", gb18030(list));
    data.writeBytes("defualt.ini", gb18030(ini));
}

// The site book as the main window holds it: the panel, the row and a field
// elsewhere in the window to move the focus to. Controls are found by name,
// as the user finds them by sight.
struct Window {
    explicit Window(const TestDataFolder& data)
        : settings(data.file("defualt.ini")),
          sites(new SiteController(settings, data.path(), &frame)),
          store(sites->store())
    {
        store.setArticleNameSource([] { return QStringLiteral("文章"); });
        sites->LoadSiteList();
        sites->buildPanels();
        panel = sites->listPanel();
        row = sites->credentialsRow();
        elsewhere = new QLineEdit(&frame);
        auto* layout = new QHBoxLayout(&frame);
        layout->addWidget(panel);
        layout->addWidget(row);
        layout->addWidget(elsewhere);
        frame.show();
        QApplication::setActiveWindow(&frame);
    }
    QListView* list() const { return panel->findChild<QListView*>("LtSubmitUrl"); }
    QRect itemRect(int row) const { return list()->visualRect(store.model()->index(row)); }
    QWidget* viewport() const { return list()->viewport(); }
    QCheckBox* editCheck() const { return panel->findChild<QCheckBox*>("CbEditURL"); }
    QLineEdit* field(const char* name) const { return row->findChild<QLineEdit*>(name); }

    SettingsFile settings;
    QWidget frame;
    SiteController* sites;
    SiteStore& store;
    SiteListPanel* panel;
    CredentialsRow* row;
    QLineEdit* elsewhere;
};

}  // namespace

class TestSiteWidgets : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { StoredFile::setWriteFault({}); }

    void editorRefusesEmptyAndUnstorableEntries()
    {
        TestDataFolder data;
        Window w(data);
        QSignalSpy open(&w.store, &SiteStore::urlToOpen);
        QStringList messages;
        QString title;
        QWidget* focusAfterRefusal = nullptr;
        whenModal([&](QWidget* modal) {
            auto* editor = qobject_cast<TFrmURLEdit*>(modal);
            QVERIFY(editor);
            title = editor->windowTitle();
            QString text;
            const auto confirmWith = [&](const QString& name, const QString& url) {
                editor->EdtSiteName->setText(name);
                editor->EditURL->setText(url);
                answerMessage(&text);
                editor->BtnConfirmClick();
                messages << text;
            };
            confirmWith(" \t ", "x");
            focusAfterRefusal = editor->focusWidget();
            confirmWith("甲", "   ");
            confirmWith("a]b", "x");
            QVERIFY(editor->isVisible());
            QVERIFY(!w.store.record().confirmed);
            editor->EdtSiteName->setText(" 甲 ");
            editor->EditURL->setText(" jia.cn ");
            editor->EdtUserName->setText(" me ");
            editor->EdtPassword->setText(" pw ");
            QTest::keyClick(editor->EdtPassword, Qt::Key_Return);  // Enter confirms
        });
        w.sites->BtnAddURLClick();

        QCOMPARE(title, uiText(TextId::SiteEditorAddCaption));
        QCOMPARE(messages.size(), 3);
        QCOMPARE(messages.at(0), uiText(TextId::SiteNameEmpty));
        QCOMPARE(messages.at(1), uiText(TextId::SiteUrlEmpty));
        QVERIFY(messages.at(2).contains("a]b"));
        QCOMPARE(focusAfterRefusal, w.sites->siteEditor()->EdtSiteName);
        QCOMPARE(w.store.siteNames(), QStringList({"甲"}));
        QCOMPARE(w.settings.readString("0", "User"), QString("me"));
        QCOMPARE(w.settings.readString("0", "Password"), QString("pw"));  // trimmed from the editor
        QCOMPARE(open.size(), 1);
        QCOMPARE(open.first().at(0).toString(), QString("jia.cn"));  // opened as typed
        QCOMPARE(w.field("EdtUserName")->text(), QString("me"));
    }

    void editorIsReusedAndClosingChangesNothing()
    {
        TestDataFolder data;
        writeSites(data, {"a", "b"});
        Window w(data);
        w.store.SelectSite(1);
        QString shownName, shownUrl, shownTitle;
        whenModal([&](QWidget* modal) {
            auto* editor = qobject_cast<TFrmURLEdit*>(modal);
            QVERIFY(editor);
            shownTitle = editor->windowTitle();
            shownName = editor->EdtSiteName->text();
            shownUrl = editor->EditURL->text();
            editor->EditURL->setText("changed.cn");
            editor->close();  // the title-bar close box
        });
        w.sites->BtnUpdateURLClick();
        TFrmURLEdit* first = w.sites->siteEditor();
        QCOMPARE(shownTitle, uiText(TextId::SiteEditorUpdateCaption));
        QCOMPARE(shownName, QString("S1"));
        QCOMPARE(shownUrl, QString("http://u1"));
        QCOMPARE(w.settings.readString("1", "url"), QString("u1"));
        QVERIFY(!w.store.record().confirmed);

        // Add mode starts empty, in the same dialog.
        QString addName = "?";
        whenModal([&](QWidget* modal) {
            addName = static_cast<TFrmURLEdit*>(modal)->EdtSiteName->text();
            static_cast<TFrmURLEdit*>(modal)->BtnCloseClick();
        });
        w.sites->BtnAddURLClick();
        QCOMPARE(w.sites->siteEditor(), first);
        QCOMPARE(addName, QString());
        QCOMPARE(w.store.count(), 2);
    }

    void failedSaveShowsWhyAndGivesTheEntryBack()
    {
        TestDataFolder data;
        writeSites(data, {"a"});
        Window w(data);
        w.store.SelectSite(0);
        StoredFile::setWriteFault(
            [](const QString& path) { return path.endsWith("defualt.ini") ? QStringLiteral("Disk full") : QString(); });
        QString warning, keptName;
        whenModal([&](QWidget* modal) {
            auto* editor = static_cast<TFrmURLEdit*>(modal);
            editor->EdtSiteName->setText("New");
            editor->EditURL->setText("new.cn");
            editor->EdtUserName->setText("typed");
            answerMessage(&warning);
            whenModal(
                [&](QWidget* again) {  // the editor comes back with the entry
                    keptName = static_cast<TFrmURLEdit*>(again)->EdtSiteName->text();
                    static_cast<TFrmURLEdit*>(again)->BtnCloseClick();
                },
                100);
            editor->BtnConfirmClick();
        });
        w.sites->BtnAddURLClick();
        QVERIFY(warning.contains("defualt.ini: Disk full"));
        QCOMPARE(keptName, QString("New"));
        QCOMPARE(w.store.siteNames(), QStringList({"S0"}));
        QCOMPARE(w.store.record().userName, QString("a"));  // Ctrl+U still pastes the current site's
    }

    void doubleClickOpensUpdateModeOnlyWithACurrentItem()
    {
        TestDataFolder empty;
        Window none(empty);
        QTest::mouseDClick(none.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        none.sites->BtnUpdateURLClick();
        QVERIFY(!none.sites->siteEditor());

        TestDataFolder data;
        writeSites(data, {"a", "b", "c"});
        Window w(data);
        QString title, name;
        whenModal([&](QWidget* modal) {
            title = modal->windowTitle();
            name = static_cast<TFrmURLEdit*>(modal)->EdtSiteName->text();
            static_cast<TFrmURLEdit*>(modal)->BtnCloseClick();
        });
        QTest::mouseClick(w.viewport(), Qt::LeftButton, {}, w.itemRect(2).center());
        QTest::mouseDClick(w.viewport(), Qt::LeftButton, {}, w.itemRect(2).center());
        QCOMPARE(title, uiText(TextId::SiteEditorUpdateCaption));
        QCOMPARE(name, QString("S2"));
    }

    void clicksKeysAndDeleteInTheList()
    {
        TestDataFolder data;
        writeSites(data, {"a", "b", "c", "d"});
        Window w(data);
        QSignalSpy open(&w.store, &SiteStore::urlToOpen);
        QListView* list = w.list();

        QTest::mouseClick(w.viewport(), Qt::LeftButton, {}, w.itemRect(1).center());
        QCOMPARE(w.store.selectedPositions(), QList<int>({1}));
        QCOMPARE(open.size(), 1);
        QCOMPARE(w.field("EdtUserName")->text(), QString("b"));
        QTest::mouseClick(w.viewport(), Qt::LeftButton, {}, w.itemRect(1).center());
        QCOMPARE(open.size(), 2);  // clicking the current site opens it again

        QTest::keyClick(list, Qt::Key_Down);  // a keyboard move selects too
        QCOMPARE(w.store.selectedPositions(), QList<int>({2}));
        QCOMPARE(open.last().at(0).toString(), QString("http://u2"));

        // Ctrl+click adds to the selection; the clicked site becomes current.
        QTest::mouseClick(w.viewport(), Qt::LeftButton, Qt::ControlModifier, w.itemRect(0).center());
        QCOMPARE(w.store.selectedPositions(), QList<int>({0, 2}));
        QCOMPARE(w.store.record().userName, QString("a"));

        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(w.store.siteNames(), QStringList({"S1", "S3"}));
        QCOMPARE(data.readBytes("SDUrl.txt"), QByteArray("S1\r\nS3\r\n"));

        w.store.selectionModel()->setCurrentIndex(w.store.model()->index(1), QItemSelectionModel::NoUpdate);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(w.store.selectedPositions(), QList<int>({1}));
        QCOMPARE(w.store.record().siteName, QString("S3"));
    }

    void menuMovesAndCheckBoxHidesTheRow()
    {
        TestDataFolder data;
        writeSites(data, {"a", "b"});
        Window w(data);
        w.store.SelectSite(0);
        auto* menu = w.panel->findChild<QMenu*>("PopupMenu1");
        QCOMPARE(menu->actions().size(), 5);
        menu->findChild<QAction*>("UpDown")->trigger();
        QCOMPARE(w.store.siteNames(), QStringList({"S1", "S0"}));
        menu->findChild<QAction*>("MnUp")->trigger();
        QCOMPARE(w.store.siteNames(), QStringList({"S0", "S1"}));

        QVERIFY(!w.row->isVisible());  // unticked at start
        w.editCheck()->click();
        QVERIFY(w.row->isVisible());
        w.editCheck()->click();
        QVERIFY(w.row->isVisible() == false);
        QCOMPARE(w.field("EdtUserName")->text(), QString("a"));  // hidden, still filled for the hotkeys
    }

    void firstExitOfUserNameSkipsOnlyAnUnchangedField()
    {
        TestDataFolder data;
        writeSites(data, {" lisi ", "b"});
        {
            Window w(data);
            w.sites->setCredentialsRowShown(true);
            w.store.SelectSite(0);
            w.field("EdtUserName")->setFocus();
            w.elsewhere->setFocus();  // first exit, unchanged: nothing saved
            QCOMPARE(w.settings.readString("0", "User"), QString(" lisi "));
            w.field("EdtUserName")->setFocus();
            w.elsewhere->setFocus();  // later exits save, trimmed
            QCOMPARE(w.settings.readString("0", "User"), QString("lisi"));
        }
        Window w(data);
        w.sites->setCredentialsRowShown(true);
        w.store.SelectSite(1);
        w.field("EdtUserName")->setFocus();
        w.field("EdtUserName")->setText("typed at once");
        w.elsewhere->setFocus();  // first exit, but edited: kept
        QCOMPARE(w.settings.readString("1", "User"), QString("typed at once"));
    }

    void enterSavesPasswordAndIdentifier()
    {
        TestDataFolder data;
        writeSites(data, {"a"});
        Window w(data);
        w.sites->setCredentialsRowShown(true);
        w.store.SelectSite(0);
        w.field("EdtPassword")->setText(" p w ");
        QTest::keyClick(w.field("EdtPassword"), Qt::Key_Return);
        QCOMPARE(w.settings.readString("0", "Password"), QString(" p w "));
        w.field("EdtSiteArtID")->setText("ID-9");
        QTest::keyClick(w.field("EdtSiteArtID"), Qt::Key_Enter);
        QCOMPARE(w.settings.readString("S0", "文章"), QString("ID-9"));
        QCOMPARE(w.row->siteArticleIdText(), QString("ID-9"));
        QCOMPARE(w.field("EdtPassword")->echoMode(), QLineEdit::Password);

        // Where the row is narrower than the fields' places, they end at its edge.
        w.row->resize(600, w.row->height());
        QCOMPARE(w.field("EdtPassword")->geometry().right(), 600 - 3);
        QCOMPARE(w.field("EdtPassword")->x(), 459);
        w.row->resize(900, w.row->height());
        QCOMPARE(w.field("EdtPassword")->width(), 238);
        QCOMPARE(w.field("EdtSiteArtID")->width(), 497);
    }
};

QTEST_MAIN(TestSiteWidgets)
#include "tst_sitewidgets.moc"
