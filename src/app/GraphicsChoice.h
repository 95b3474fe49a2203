#pragma once

#include <QProcessEnvironment>
#include <QStringList>

// How the window and its pages are drawn. Without a graphics device (virtual
// machines, remote sessions, servers) OpenGL runs on the CPU, and drawing the
// window through it cost a full-window render for every repaint (15–60 ms on
// two cores; start-up paid it four times). The raster engine then draws only
// what changed. A QT_QUICK_BACKEND or QSG_RHI_BACKEND the user set decides
// instead.
namespace GraphicsChoice {

// `renderNodes`: the render nodes in /dev/dri.
bool drawInSoftware(const QStringList& renderNodes, const QProcessEnvironment& environment);
// Looks at this machine and chooses; before the application object is made.
void chooseBeforeApplication();

}  // namespace GraphicsChoice
