#pragma once

#include "Pictures.h"

#include <QAbstractButton>

// A button of the site book takes the picture of its name from the program's
// resources; should it be missing, the style's icon stands in at 16 pixels.
inline void setSiteButtonPicture(QAbstractButton* button, const QString& name, QStyle::StandardPixmap standIn)
{
    if (!LoadButtonPicture(button, name, standIn))
        button->setIconSize(QSize(16, 16));
}
