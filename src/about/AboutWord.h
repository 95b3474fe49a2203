#pragma once

#include <QCoreApplication>
#include <QString>

// The word the about and help windows put before the product name in their
// captions: the dialog text table's message (DialogTexts.cpp), translated here
// without linking that table.
inline QString aboutWord() { return QCoreApplication::translate("DialogTexts", "关于"); }
