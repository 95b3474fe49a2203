// The choice of how the window is drawn: the raster engine where no graphics
// device serves OpenGL, unless the user chose a backend.
#include "GraphicsChoice.h"

#include <QtTest>

class TestGraphicsChoice : public QObject {
    Q_OBJECT
private slots:
    void drawInSoftware_data()
    {
        QTest::addColumn<QStringList>("renderNodes");
        QTest::addColumn<QString>("userVariable");  // a variable the user set; empty for none
        QTest::addColumn<bool>("software");
        QTest::newRow("no graphics device") << QStringList() << QString() << true;
        QTest::newRow("a render node") << QStringList{"renderD128"} << QString() << false;
        QTest::newRow("user chose a Qt Quick backend") << QStringList() << "QT_QUICK_BACKEND" << false;
        QTest::newRow("user chose a graphics interface") << QStringList() << "QSG_RHI_BACKEND" << false;
    }
    void drawInSoftware()
    {
        QFETCH(QStringList, renderNodes);
        QFETCH(QString, userVariable);
        QFETCH(bool, software);
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("HOME"), QStringLiteral("/home/user"));
        if (!userVariable.isEmpty())
            environment.insert(userVariable, QStringLiteral("opengl"));
        QCOMPARE(GraphicsChoice::drawInSoftware(renderNodes, environment), software);
    }
};

QTEST_GUILESS_MAIN(TestGraphicsChoice)
#include "tst_graphicschoice.moc"
