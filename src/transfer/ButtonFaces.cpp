#include "ButtonFaces.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QStyle>

#include "Pictures.h"

namespace ButtonFaces {

void load(QAbstractButton* button, const QString& pictureName)
{
    QStyle::StandardPixmap standard = QStyle::SP_DialogOkButton;
    if (pictureName == QLatin1String("cancel"))
        standard = QStyle::SP_DialogCancelButton;
    else if (pictureName == QLatin1String("newdir"))
        standard = QStyle::SP_FileDialogNewFolder;
    LoadButtonPicture(button, pictureName, standard);
    // Enter belongs to the text fields of these dialogs, not to a default button.
    if (auto* push = qobject_cast<QPushButton*>(button))
        push->setAutoDefault(false);
}

}  // namespace ButtonFaces
