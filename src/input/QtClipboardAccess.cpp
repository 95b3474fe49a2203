#include "QtClipboardAccess.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

// Both do nothing once the application object is gone (a paste cut short at exit).
const QMimeData* QtClipboardAccess::content() const
{
    if (!qGuiApp)
        return nullptr;
    return QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
}

void QtClipboardAccess::setContent(QMimeData* data)
{
    if (!qGuiApp) {
        delete data;
        return;
    }
    if (data)
        QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
    else
        QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
}
