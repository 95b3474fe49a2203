#include "FrameEdge.h"
#include "Pictures.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

// The pictures the windows ask for by name, with the size each is drawn for.
class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void everyButtonPictureLoads_data();
    void everyButtonPictureLoads();
    void namesMatchWithoutRegardToCase();
    void missingPictureLeavesTheButtonAsItWas();
    void jpegPicturesDecode();
    void missingOrWrongKindOfJpegLeavesTheLabel();
    void pictureRendersAtTheAskedSize();
    void frameEdgesHaveTheirPictures();
};

void TestPictures::everyButtonPictureLoads_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    const QSize site(54, 24), foot(84, 23), small(18, 18);
    for (const char* name :
         {"BtnAddUrlBtn", "BtnUpdateASite", "BtnDeleteASite", "BtnAddArticle2", "BtnUpdateArticleCont",
          "BtnDeleteArticleCont", "BtnIHExport", "BtnIHImport", "BtnIHHelpDoc"})
        QTest::newRow(name) << QString::fromLatin1(name) << site;
    QTest::newRow("BtnIHAboutUs") << QStringLiteral("BtnIHAboutUs") << foot;
    QTest::newRow("BtnIHExit") << QStringLiteral("BtnIHExit") << foot;
    QTest::newRow("BtnFullScreen1") << QStringLiteral("BtnFullScreen1") << QSize(84, 25);
    QTest::newRow("BtnFullScreen2") << QStringLiteral("BtnFullScreen2") << QSize(84, 25);
    QTest::newRow("BtnClose") << QStringLiteral("BtnClose") << QSize(57, 26);
    QTest::newRow("confirm") << QStringLiteral("confirm") << QSize(75, 26);
    QTest::newRow("cancel") << QStringLiteral("cancel") << QSize(75, 26);
    QTest::newRow("newdir") << QStringLiteral("newdir") << QSize(100, 26);
    for (const char* name : {"BtnAddURL", "BtnUpdateURL", "BtnDeleteURL", "BtnAddArticle", "BtnUpdateArticle",
                             "BtnDeleteArticle", "BtnSaveArticleContent"})
        QTest::newRow(name) << QString::fromLatin1(name) << small;
}

void TestPictures::everyButtonPictureLoads()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QPushButton button;
    QVERIFY(LoadButtonPicture(&button, name));
    QVERIFY(!button.icon().isNull());
    QCOMPARE(button.iconSize(), size);
    QCOMPARE(Pictures::pictureSize(name), size);
    // The face is drawn, not an empty transparent square.
    const QImage face = button.icon().pixmap(size).toImage();
    QVERIFY(face.pixelColor(size.width() / 2, size.height() / 2).alpha() > 0);
}

void TestPictures::namesMatchWithoutRegardToCase()
{
    QToolButton button;
    QVERIFY(LoadButtonPicture(&button, QStringLiteral("btnclose")));
    QCOMPARE(button.iconSize(), QSize(57, 26));
    QVERIFY(LoadButtonPicture(&button, QStringLiteral("CONFIRM")));
    QCOMPARE(button.iconSize(), QSize(75, 26));
    QLabel label;
    QVERIFY(LoadJpegPicture(&label, QStringLiteral("TopAvert")));
    QVERIFY(Pictures::names().contains(QStringLiteral("BtnIHAboutUs")));
}

void TestPictures::missingPictureLeavesTheButtonAsItWas()
{
    QPushButton button(QStringLiteral("text"));
    QPixmap before(10, 10);
    before.fill(Qt::red);
    button.setIcon(QIcon(before));
    button.setIconSize(QSize(10, 10));
    const qint64 iconKey = button.icon().cacheKey();

    QVERIFY(!LoadButtonPicture(&button, QStringLiteral("NoSuchButton")));
    QVERIFY(!LoadButtonPicture(&button, QString()));
    // A JPEG is not a button face.
    QVERIFY(!LoadButtonPicture(&button, QStringLiteral("helpdoc")));
    QVERIFY(!LoadButtonPicture(nullptr, QStringLiteral("BtnClose")));
    QCOMPARE(button.icon().cacheKey(), iconKey);
    QCOMPARE(button.iconSize(), QSize(10, 10));
    QCOMPARE(button.text(), QStringLiteral("text"));
    QVERIFY(picture(QStringLiteral("NoSuchButton")).isNull());
    QVERIFY(!Pictures::pictureSize(QStringLiteral("NoSuchButton")).isValid());

    // With a stand-in, a missing picture gives the style's icon, never a blank button.
    QVERIFY(!LoadButtonPicture(&button, QStringLiteral("NoSuchButton"), QStyle::SP_TrashIcon));
    QVERIFY(button.icon().cacheKey() != iconKey);
    QVERIFY(!button.icon().isNull());
    QVERIFY(LoadButtonPicture(&button, QStringLiteral("BtnClose"), QStyle::SP_TrashIcon));
    QCOMPARE(button.iconSize(), Pictures::pictureSize(QStringLiteral("BtnClose")));
}

void TestPictures::jpegPicturesDecode()
{
    QLabel banner;
    QVERIFY(LoadJpegPicture(&banner, QStringLiteral("topavert")));
    QCOMPARE(banner.pixmap().size(), QSize(1200, 60));
    QLabel about;
    QVERIFY(LoadJpegPicture(&about, QStringLiteral("helpdoc")));
    QCOMPARE(about.pixmap().size(), QSize(388, 281));
    // The about picture leaves its centre light enough for the version label.
    QVERIFY(about.pixmap().toImage().pixelColor(200, 70).lightness() > 200);
}

void TestPictures::missingOrWrongKindOfJpegLeavesTheLabel()
{
    QLabel label;
    QPixmap before(5, 5);
    before.fill(Qt::green);
    label.setPixmap(before);
    QVERIFY(!LoadJpegPicture(&label, QStringLiteral("nosuchpicture")));
    QVERIFY(!LoadJpegPicture(&label, QStringLiteral("BtnClose")));  // a face, not a JPEG
    QVERIFY(!LoadJpegPicture(nullptr, QStringLiteral("topavert")));
    QCOMPARE(label.pixmap().cacheKey(), before.cacheKey());
}

void TestPictures::pictureRendersAtTheAskedSize()
{
    const QPixmap big = picture(QStringLiteral("BtnClose"), QSize(114, 52));
    QCOMPARE(big.deviceIndependentSize().toSize(), QSize(114, 52));
    QCOMPARE(picture(QStringLiteral("topavert"), QSize(600, 30)).size(), QSize(600, 30));
    QCOMPARE(picture(QStringLiteral("helpdoc")).size(), QSize(388, 281));
    QVERIFY(!Pictures::applicationIcon().isNull());
}

void TestPictures::frameEdgesHaveTheirPictures()
{
    const struct {
        FrameEdge::Side side;
        QSize fixed;  // 0 where the edge stretches
    } edges[] = {{FrameEdge::Top, {0, 15}},
                 {FrameEdge::Bottom, {0, 11}},
                 {FrameEdge::Left, {10, 0}},
                 {FrameEdge::Right, {10, 0}}};
    for (const auto& e : edges) {
        FrameEdge edge(e.side);
        QVERIFY(edge.hasPictures());
        if (e.fixed.height())
            QCOMPARE(edge.maximumHeight(), e.fixed.height());
        else
            QCOMPARE(edge.maximumWidth(), e.fixed.width());
    }
    for (const char* name :
         {"PnlTopLeft", "PnlTopMiddle", "PnlTopRight", "PnlBottomLeft", "PnlBottomMiddle", "PnlBottomRight"}) {
        const QSize size = Pictures::pictureSize(QString::fromLatin1(name));
        QCOMPARE(size.height(), QByteArray(name).startsWith("PnlTop") ? 15 : 11);
        if (!QByteArray(name).endsWith("Middle"))
            QCOMPARE(size.width(), 14);
    }
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
