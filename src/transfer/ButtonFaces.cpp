#include "ButtonFaces.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QStyle>

#ifdef QVB_HAVE_PICTURES
#include "Pictures.h"
#endif

namespace ButtonFaces {

void load(QAbstractButton* button, const QString& pictureName)
{
    QStyle::StandardPixmap standard = QStyle::SP_DialogOkButton;
    if (pictureName == QLatin1String("cancel"))
        standard = QStyle::SP_DialogCancelButton;
    else if (pictureName == QLatin1String("newdir"))
        standard = QStyle::SP_FileDialogNewFolder;
    button->setIcon(button->style()->standardIcon(standard));
    // Enter belongs to the text fields of these dialogs, not to a default button.
    if (auto* push = qobject_cast<QPushButton*>(button))
        push->setAutoDefault(false);
#ifdef QVB_HAVE_PICTURES
    LoadButtonPicture(button, pictureName);  // button picture from the program's resources
#endif
}

}  // namespace ButtonFaces
