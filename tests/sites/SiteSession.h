#pragma once

#include "SettingsFile.h"
#include "SiteStore.h"
#include "TestData.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QStringListModel>

// A data folder holding `count` sites named S0, S1, ... with URL uN, user
// nameN and password pwN, written as the Windows original writes them.
inline void writeSites(const TestDataFolder& data, int count)
{
    QString list;
    QString ini = QStringLiteral("[defualt]\r\nSiteInd=0\r\n");
    for (int i = 0; i < count; ++i) {
        list += QStringLiteral("S%1\r\n").arg(i);
        ini += QStringLiteral("[%1]\r\nurl=u%1\r\nUser=name%1\r\nPassword=pw%1\r\n").arg(i);
    }
    data.writeBytes("SDUrl.txt", gb18030(list));
    data.writeBytes("defualt.ini", gb18030(ini));
}

// One run of the program over a data folder.
struct Session {
    explicit Session(const TestDataFolder& data)
        : settings(data.file("defualt.ini")), store(settings, data.path()), tester(store.model())
    {
        store.setArticleNameSource([this] { return article; });
        store.LoadSiteList();
    }
    void select(const QList<int>& rows)
    {
        store.selectionModel()->clearSelection();
        for (int row : rows)
            store.selectionModel()->select(store.model()->index(row), QItemSelectionModel::Select);
    }
    QString section(int p, const char* key) { return settings.readString(QString::number(p), key); }

    SettingsFile settings;
    SiteStore store;
    QAbstractItemModelTester tester;
    QString article;
};
