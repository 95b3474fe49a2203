#include "ArticleStore.h"
#include "ArticleController.h"
#include "CloseEndsRun.h"
#include "InterfaceTexts.h"
#include "HistoryDatabase.h"
#include "ModalAnswer.h"
#include "PostHistory.h"
#include "PostRound.h"
#include "RoundModel.h"
#include "SettingsFile.h"
#include "SiteStore.h"
#include "StoredFile.h"
#include "TFrmDirSelect.h"
#include "TFrmMain.h"
#include "TFrmPostRound.h"
#include "TestData.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>
#include <QtTest>

// An import through the main window: the imported data shows at once, and
// nothing of the old state is written over it, then or at exit.
class TestMainImport : public QObject {
    Q_OBJECT
private slots:
    void importedDataShowsAtOnceAndSurvivesExit()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        TestDataFolder stick;
        StoredFile::writeLines(stick.file("SDUrl.txt"), {QString::fromUtf8("导入站点"), "second"});
        StoredFile::writeLines(stick.file("articles.txt"), {QString::fromUtf8("导入文章")});
        {
            SettingsFile ini(stick.file("defualt.ini"));
            SettingsFile::Batch batch(ini);
            ini.writeString("defualt", "SoftwareInd", "0");
            ini.writeString("defualt", "SiteInd", "1");
            ini.writeString("0", "url", "");
            ini.writeString("1", "url", "");
            ini.writeString("1", "User", "imported-user");
            ini.writeString("software0", "ShowClause1", QString::fromUtf8("导入的短句"));
            QVERIFY(batch.commit());
        }
        StoredFile::writeText(stick.file("Content0_1.txt"), QString::fromUtf8("导入的段落"));
        {
            HistoryDatabase history(stick.path());
            QVERIFY(history.open());
            PostHistory(history).recordPost("second", QString::fromUtf8("导入文章"), {}, "http://second/t/1");
        }

        {
            TFrmMain window(data.path());
            window.show();
            auto* clause = window.findChild<QLineEdit*>("EdtClause1");
            clause->setText("typed before the import");  // unsaved: must not win over the import
            window.postRound()->showWindow();
            answerModal<TFrmDirSelect>([&stick](TFrmDirSelect* chooser) {
                QVERIFY(chooser->goToPath(stick.path()));
                chooser->BtnConfirm->click();
            });
            window.findChild<QAbstractButton*>("BtnIHImport")->click();
            auto* hint = window.findChild<QLabel*>("LblHint");
            QTRY_VERIFY_WITH_TIMEOUT(hint->text().startsWith(QString::fromUtf8("成功导入文档:")), 10000);

            QCOMPARE(window.siteStore()->siteNames(), (QStringList{QString::fromUtf8("导入站点"), "second"}));
            QCOMPARE(window.siteStore()->currentPosition(), 1);
            QCOMPARE(window.siteStore()->record().userName, QString("imported-user"));
            QCOMPARE(window.articles()->store().count(), 1);
            QCOMPARE(window.articles()->currentArticleName(), QString::fromUtf8("导入文章"));
            QCOMPARE(clause->text(), QString::fromUtf8("导入的短句"));
            QCOMPARE(window.articles()->paragraphFieldText(1), QString::fromUtf8("导入的段落"));
            // The history came along, whole, and the open round shows it.
            QCOMPARE(window.postRound()->window()->model()->postedCount(), 1);
            QVERIFY(window.postRound()->window()->model()->isPosted(1));
        }
        SettingsFile ini(data.file("defualt.ini"));
        QCOMPARE(ini.readString("software0", "ShowClause1"), QString::fromUtf8("导入的短句"));
        QCOMPARE(StoredFile::readText(data.file("Content0_1.txt")).value_or(QString()),
                 QString::fromUtf8("导入的段落"));
        QCOMPARE(StoredFile::readLines(data.file("articles.txt")), QStringList{QString::fromUtf8("导入文章")});
    }

    // A folder whose history was cut short: the import keeps our history, and a
    // close afterwards ends the run as any close does.
    void closeAfterImportingADamagedHistoryEndsTheRun()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        TestDataFolder stick(TestDataFolder::WindowsFixture);
        {
            HistoryDatabase history(stick.path());
            QVERIFY(history.open());
            PostHistory posts(history);
            for (int i = 0; i < 100; ++i)
                posts.recordPost("second", QString("article %1").arg(i), {}, QString("http://second/t/%1").arg(i));
        }
        QFile::remove(stick.file("history.sqlite-wal"));
        QFile::remove(stick.file("history.sqlite-shm"));
        QFile cut(stick.file("history.sqlite"));
        QVERIFY(cut.resize(cut.size() / 2));

        TFrmMain window(data.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        answerModal<TFrmDirSelect>([&stick](TFrmDirSelect* chooser) {
            QVERIFY(chooser->goToPath(stick.path()));
            chooser->BtnConfirm->click();
        });
        window.findChild<QAbstractButton*>("BtnIHImport")->click();
        auto* hint = window.findChild<QLabel*>("LblHint");
        QTRY_VERIFY_WITH_TIMEOUT(hint->text().contains("history.sqlite"), 10000);
        QVERIFY(closeEndsTheRun(window));
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestMainImport)
#include "tst_mainimport.moc"
