#include "ArticleController.h"
#include "ArticleListPanel.h"
#include "ContentPanel.h"
#include "FileSizeLimit.h"
#include "InterfaceTexts.h"
#include "SettingsFile.h"
#include "TFrmArticleEdit.h"
#include "TestData.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Runs act on the next modal window other than `besides`, once it is shown.
void whenModal(std::function<void(QWidget*)> act, QWidget* besides = nullptr)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act, besides] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == besides || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(modal);
    });
    poll->start();
}

}  // namespace

class TestArticlePanel : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDataFolder> m_folder;
    std::unique_ptr<SettingsFile> m_settings;
    std::unique_ptr<QWidget> m_window;
    ArticleController* m_articles = nullptr;
    QWidget* m_other = nullptr;  // somewhere for the focus to go

    ContentPanel* panel() { return m_articles->contentPanel(); }
    ArticleListPanel* list() { return m_articles->listPanel(); }
    // The panels' controls, found by name as the user finds them by sight.
    template <class T>
    T* in(QWidget* panel, const QString& name)
    {
        return panel->findChild<T*>(name);
    }
    QLineEdit* clauseField(int i) { return in<QLineEdit>(panel(), QStringLiteral("EdtClause%1").arg(i)); }
    QLabel* clauseCaption(int i) { return in<QLabel>(panel(), QStringLiteral("LblClause%1").arg(i)); }
    QGroupBox* paragraphBox(int j) { return in<QGroupBox>(panel(), QStringLiteral("GbParagraph%1").arg(j)); }
    QPlainTextEdit* paragraphField(int j)
    {
        return in<QPlainTextEdit>(panel(), QStringLiteral("MemParagraph%1").arg(j));
    }
    QScrollArea* clauseArea() { return in<QScrollArea>(panel(), QStringLiteral("SbArticleContent")); }
    QListView* articleList() { return in<QListView>(list(), QStringLiteral("LbArticleName")); }

    void open(TestDataFolder::Content content)
    {
        m_window.reset();
        m_settings.reset();
        m_folder = std::make_unique<TestDataFolder>(content);
        m_settings = std::make_unique<SettingsFile>(m_folder->file(QStringLiteral("defualt.ini")));
        m_window = std::make_unique<QWidget>();
        m_articles = new ArticleController(*m_settings, m_folder->path(), m_window.get());
        m_other = new QLineEdit(m_window.get());
        auto* layout = new QHBoxLayout(m_window.get());
        layout->addWidget(list());
        layout->addWidget(panel(), 1);
        layout->addWidget(m_other);
        m_window->resize(900, 800);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->activateWindow();  // focus moves only inside the active window
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_articles->LoadArticleNames();
        m_articles->SelectArticle(0);
    }

    void typeInto(QWidget* field, const QString& text)
    {
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClicks(field, text);
    }

private slots:
    void cleanup()
    {
        m_window.reset();
        m_settings.reset();
        m_folder.reset();
    }

    void captionsCarryTheHotkeys()
    {
        open(TestDataFolder::WindowsFixture);
        QCOMPARE(clauseCaption(5)->text(), QString::fromUtf8("车名5(Ctrl+E)"));
        QCOMPARE(clauseCaption(15)->text(), QString::fromUtf8("车名15(Ctrl+N)"));
        for (int i = 1; i <= ClauseCount; ++i) {
            QVERIFY(!clauseCaption(i)->text().contains(QLatin1String("Ctrl+5")));
            const QRect caption = clauseCaption(i)->geometry();
            QCOMPARE(caption.x() + caption.width(), 130);  // a common right edge
            QCOMPARE(clauseField(i)->x(), 133);
        }
        QCOMPARE(paragraphBox(1)->title(), QString::fromUtf8("车标题1(Ctrl+8)"));
        QCOMPARE(paragraphBox(3)->title(), QString::fromUtf8("车标题3(Ctrl+0)"));
        m_articles->SelectArticle(1);
        QCOMPARE(clauseCaption(5)->text(), QStringLiteral("(Ctrl+E)"));  // empty name
        QCOMPARE(clauseField(9)->text(), QString::fromUtf8("聘短句内容9"));
        QCOMPARE(m_articles->paragraphFieldText(1), QString::fromUtf8("聘第1段第一行\r\n第二行 with ASCII\r\n第三行"));
        QCOMPARE(m_articles->clauseFieldText(2), QString::fromUtf8("聘短句内容2"));
        QCOMPARE(in<QCheckBox>(list(), QStringLiteral("CbIhEdit"))->text(), uiText(TextId::EditCheckCaption));
        QCOMPARE(panel()->title(), uiText(TextId::ArticleContentCaption));
    }

    void relayoutAndWheel()
    {
        open(TestDataFolder::WindowsFixture);
        panel()->resize(420, 700);
        QApplication::processEvents();
        m_articles->relayoutFields();
        const int area = clauseArea()->width();
        QCOMPARE(clauseField(7)->width(), area - 150);
        QCOMPARE(paragraphBox(2)->width(), area - 28);

        panel()->resize(420, 500);  // the clause area now scrolls
        QApplication::processEvents();
        QScrollBar* bar = clauseArea()->verticalScrollBar();
        QVERIFY(bar->maximum() >= 60);
        bar->setValue(0);
        QWidget* paragraphs = in<QScrollArea>(panel(), QStringLiteral("SbArticleBigCont"))->viewport();
        const QPoint at(5, 5);
        QWheelEvent down(at, paragraphs->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(paragraphs, &down);
        QCOMPARE(bar->value(), 30);
        QWheelEvent up(at, paragraphs->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(clauseArea()->viewport(), &up);
        QCOMPARE(bar->value(), 0);
    }

    void leavingAFieldSavesIt()
    {
        open(TestDataFolder::WindowsFixture);
        typeInto(clauseField(3), QStringLiteral("+x"));
        typeInto(paragraphField(2), QStringLiteral("!"));  // leaves clause 3
        QCOMPARE(m_settings->readString(QStringLiteral("software0"), QStringLiteral("ShowClause3")),
                 QString::fromUtf8("车短句内容3+x"));
        // Clicking another article leaves the paragraph: it lands in article 0.
        QListView* view = articleList();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(1, 0)).center());
        QCOMPARE(m_articles->currentIndex(), 1);
        QVERIFY(m_folder->readBytes(QStringLiteral("Content0_2.txt")).startsWith("!"));
        QCOMPARE(clauseField(3)->text(), QString::fromUtf8("聘短句内容3"));
        QVERIFY(!m_folder->readBytes(QStringLiteral("Content1_2.txt")).startsWith("!"));
    }

    // The focus change's save fails (the disk is full): the field stays
    // marked changed, so the exit's save tries it again and says why it failed.
    void failedSaveIsTriedAgainAndSaysWhy()
    {
        open(TestDataFolder::WindowsFixture);
        const QByteArray stored = m_folder->readBytes(QStringLiteral("Content0_2.txt"));
        QSignalSpy failed(m_articles, &ArticleController::writeFailed);
        {
            const FileSizeLimit full(1);
            QVERIFY(full.isSet());
            typeInto(paragraphField(2), QStringLiteral("!"));
            m_other->setFocus();
            QTRY_COMPARE(failed.count(), 1);
            QVERIFY(paragraphField(2)->document()->isModified());
            QVERIFY(!m_articles->SaveCurrentArticle());
        }
        const QString reason = m_articles->store().lastError();
        QVERIFY2(reason.contains(QLatin1String("Content0_2.txt: File too large")), qPrintable(reason));
        QCOMPARE(m_folder->readBytes(QStringLiteral("Content0_2.txt")), stored);
        QVERIFY(m_articles->SaveCurrentArticle());
        QVERIFY(m_folder->readBytes(QStringLiteral("Content0_2.txt")).startsWith("!"));
        QVERIFY(!paragraphField(2)->document()->isModified());
    }

    void updateCarriesUnsavedPanelEdits()
    {
        open(TestDataFolder::WindowsFixture);
        typeInto(clauseField(1), QStringLiteral("*"));
        typeInto(paragraphField(3), QStringLiteral("#"));
        QString shownClause, shownParagraph;
        whenModal([&](QWidget* modal) {
            auto* editor = qobject_cast<TFrmArticleEdit*>(modal);
            QVERIFY(editor);
            shownClause = editor->clauseTextField(1)->text();
            shownParagraph = editor->paragraphTextField(3)->toPlainText();
            editor->clauseNameField(2)->setText(QStringLiteral("renamed two"));
            editor->EdtArticleName->setText(QStringLiteral("  Car  "));
            QTest::keyClick(editor->clauseNameField(2), Qt::Key_Return);  // Enter confirms
        });
        m_articles->BtnUpdateArticleClick();
        QCOMPARE(shownClause, QString::fromUtf8("车短句内容1*"));
        QVERIFY(shownParagraph.startsWith(QLatin1Char('#')));
        QCOMPARE(m_articles->currentArticleName(), QStringLiteral("Car"));
        QCOMPARE(m_articles->currentIndex(), 0);
        QCOMPARE(clauseCaption(2)->text(), QStringLiteral("renamed two(Ctrl+2)"));
        m_articles->store().LoadCurrentArticle();  // what is stored
        QCOMPARE(clauseField(1)->text(), QString::fromUtf8("车短句内容1*"));
        QVERIFY(paragraphField(3)->toPlainText().startsWith(QLatin1Char('#')));
    }

    void emptyNameIsRefusedAndCancelChangesNothing()
    {
        open(TestDataFolder::Empty);
        QString message;
        bool stillOpen = false;
        bool keptAfterNo = false;
        QStringList questions;
        whenModal([&](QWidget* modal) {
            auto* editor = qobject_cast<TFrmArticleEdit*>(modal);
            QVERIFY(editor);
            editor->EdtArticleName->setText(QStringLiteral("   "));
            whenModal(
                [&, editor](QWidget* box) {
                    message = static_cast<QMessageBox*>(box)->text();
                    static_cast<QMessageBox*>(box)->accept();
                    QTimer::singleShot(0, editor, [&, editor] {
                        stillOpen = editor->isVisible() && editor->focusWidget() == editor->EdtArticleName;
                        // Something was typed: closing asks first; "No" keeps it, "Yes" closes.
                        whenModal(
                            [&, editor](QWidget* question) {
                                questions << static_cast<QMessageBox*>(question)->text();
                                static_cast<QMessageBox*>(question)->button(QMessageBox::No)->click();
                                QTimer::singleShot(0, editor, [&, editor] {
                                    keptAfterNo = editor->isVisible();
                                    whenModal(
                                        [&](QWidget* again) {
                                            questions << static_cast<QMessageBox*>(again)->text();
                                            static_cast<QMessageBox*>(again)->button(QMessageBox::Yes)->click();
                                        },
                                        editor);
                                    QTest::keyClick(editor, Qt::Key_Escape);
                                });
                            },
                            editor);
                        editor->BtnClose->click();
                    });
                },
                editor);
            editor->BtnConfirm->click();
        });
        m_articles->BtnAddArticleClick();
        QCOMPARE(message, uiText(TextId::ArticleNameEmpty));
        QVERIFY(stillOpen);
        QVERIFY(keptAfterNo);
        QCOMPARE(questions.size(), 2);
        QCOMPARE(m_articles->store().count(), 0);
        QVERIFY(!list()->isContentPanelShown());
        QVERIFY(!m_articles->store().buffer().Confirmed);
    }

    void addShowsDefaultsAndTicksThePanel()
    {
        open(TestDataFolder::WindowsFixture);
        QSignalSpy ticked(list(), &ArticleListPanel::contentPanelToggled);
        for (int round = 0; round < 2; ++round) {
            QStringList defaults;
            whenModal([&](QWidget* modal) {
                auto* editor = static_cast<TFrmArticleEdit*>(modal);
                defaults << editor->clauseNameField(1)->text() << editor->clauseNameField(15)->text()
                         << editor->paragraphTitleField(3)->text() << editor->clauseTextField(4)->text()
                         << editor->paragraphTextField(1)->toPlainText() << editor->hotkeyLabel(5)->text()
                         << editor->paragraphGroup(1)->title();
                editor->clauseTextField(4)->setText(QStringLiteral("left over"));
                editor->EdtArticleName->setText(QStringLiteral("New %1").arg(round));
                QTest::keyClick(editor->EdtArticleName, Qt::Key_Enter);
            });
            in<QToolButton>(list(), QStringLiteral("BtnAddArticle2"))->click();
            QCOMPARE(defaults,
                     QStringList({QString::fromUtf8("短句1"), QString::fromUtf8("短句15"), QString::fromUtf8("段落3"),
                                  QString(), QString(), QStringLiteral("(Ctrl+E)"),
                                  QString::fromUtf8("段落名称1(快捷鍵快捷键：Ctrl+8)")}));
        }
        QCOMPARE(m_articles->store().count(), 4);
        QCOMPARE(m_articles->currentIndex(), 3);
        QCOMPARE(clauseField(4)->text(), QStringLiteral("left over"));
        QCOMPARE(paragraphBox(2)->title(), QString::fromUtf8("段落2(Ctrl+9)"));
        QVERIFY(list()->isContentPanelShown());
        QCOMPARE(ticked.count(), 1);
        QCOMPARE(m_folder->readBytes(QStringLiteral("articles.txt")).right(14), QByteArray("New 0\r\nNew 1\r\n"));
    }

    void saveButtonMessages()
    {
        open(TestDataFolder::Empty);
        QString message;
        whenModal([&](QWidget* box) {
            message = static_cast<QMessageBox*>(box)->text();
            static_cast<QMessageBox*>(box)->accept();
        });
        m_articles->BtnSaveClick();
        QCOMPARE(message, uiText(TextId::AddArticleFirst));

        open(TestDataFolder::WindowsFixture);
        m_articles->store().LoadArticleNames();
        m_articles->SelectArticle(9);  // past the end: nothing shown, fields read-only
        QVERIFY(clauseField(1)->isReadOnly());
        whenModal([&](QWidget* box) {
            message = static_cast<QMessageBox*>(box)->text();
            static_cast<QMessageBox*>(box)->accept();
        });
        m_articles->BtnSaveClick();
        QCOMPARE(message, uiText(TextId::ArticleSaved));
        QCOMPARE(m_articles->currentIndex(), 0);
        QCOMPARE(m_settings->readString(QStringLiteral("software0"), QStringLiteral("ShowClause1")),
                 QString::fromUtf8("车短句内容1"));  // loaded first, not overwritten with blanks

        StoredFile::setWriteFault([](const QString& path) {
            return path.endsWith(QLatin1String("Content0_2.txt")) ? QStringLiteral("disk full") : QString();
        });
        QTest::keyClicks(paragraphField(2), "typed");
        whenModal([&](QWidget* box) {
            message = static_cast<QMessageBox*>(box)->text();
            static_cast<QMessageBox*>(box)->accept();
        });
        m_articles->BtnSaveClick();
        StoredFile::setWriteFault({});
        QVERIFY(message.contains(QLatin1String("Content0_2.txt")));
        QVERIFY(message.contains(QLatin1String("disk full")));
    }

    void deleteKeyRemovesTheSelection()
    {
        open(TestDataFolder::WindowsFixture);
        QListView* view = articleList();
        view->setFocus();
        view->selectionModel()->select(view->model()->index(1, 0), QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(m_articles->store().count(), 1);
        QCOMPARE(m_articles->currentIndex(), 0);
        view->selectionModel()->select(view->model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(m_articles->store().count(), 0);
        QCOMPARE(clauseField(1)->text(), QString());  // the removed article is not shown
        QCOMPARE(paragraphBox(1)->title(), QString());
    }
};

QTEST_MAIN(TestArticlePanel)
#include "tst_articlepanel.moc"
