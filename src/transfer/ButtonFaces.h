#pragma once

#include <QString>

class QAbstractButton;

// Picture buttons of the transfer dialogs. The style's standard icon stands in
// until the program's picture of that name is loaded over it.
namespace ButtonFaces {

void load(QAbstractButton* button, const QString& pictureName);

}  // namespace ButtonFaces
