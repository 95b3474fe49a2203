#pragma once

#include <QCoreApplication>
#include <QString>

// The word the about and help windows put before the product name in their
// captions.
inline QString aboutWord() { return QCoreApplication::translate("AboutWindows", "关于"); }
