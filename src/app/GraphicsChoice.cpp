#include "GraphicsChoice.h"

#include <QDir>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace GraphicsChoice {

bool drawInSoftware(const QStringList& renderNodes, const QProcessEnvironment& environment)
{
    if (environment.contains(QStringLiteral("QT_QUICK_BACKEND"))
        || environment.contains(QStringLiteral("QSG_RHI_BACKEND")))
        return false;  // Qt reads the user's choice itself
    return renderNodes.isEmpty();
}

void chooseBeforeApplication()
{
    const QStringList nodes = QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System);
    if (drawInSoftware(nodes, QProcessEnvironment::systemEnvironment()))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

}  // namespace GraphicsChoice
