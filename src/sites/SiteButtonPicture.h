#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QStyle>

#ifdef QVB_HAVE_PICTURES
#include "Pictures.h"
#endif

// A button of the site book takes the picture of its name from the program's
// resources; until that picture exists the style's icon stands in, so no
// button is ever blank.
// The picture sets the button's icon size to its own size.
inline void setSiteButtonPicture(QAbstractButton* button, const QString& name, QStyle::StandardPixmap standIn)
{
#ifdef QVB_HAVE_PICTURES
    if (LoadButtonPicture(button, name))
        return;
#else
    Q_UNUSED(name)
#endif
    button->setIcon(QApplication::style()->standardIcon(standIn));
    button->setIconSize(QSize(16, 16));
}
