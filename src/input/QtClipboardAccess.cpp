#include "QtClipboardAccess.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

const QMimeData* QtClipboardAccess::content() const
{
    return QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
}

void QtClipboardAccess::setContent(QMimeData* data)
{
    if (data)
        QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
    else
        QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
}
