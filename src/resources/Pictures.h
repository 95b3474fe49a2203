#pragma once

#include <QPixmap>
#include <QStyle>
#include <QSize>
#include <QString>
#include <QStringList>

class QAbstractButton;
class QIcon;
class QLabel;

// The program's own pictures, kept in the Qt resources: button faces and small
// icons drawn as SVG ("bmp" pictures of the original layout), the banner and the
// about picture as JPEGs. Names are matched without regard to case. Pictures
// with words on them have copies per interface language (pictures/zh_TW/,
// pictures/en/), which take their place while that language is installed.

// Puts the button face `name` on `button` as its icon, at the picture's own size
// (with a lighter face for hover). A missing picture leaves the button as it was.
// A face with words names the button with them for screen readers, in the
// interface's language, even when its picture is missing.
bool LoadButtonPicture(QAbstractButton* button, const QString& name);

// The same, with the style's icon `standIn` when the picture is missing, so a
// button is never blank. False when the stand-in was used.
bool LoadButtonPicture(QAbstractButton* button, const QString& name, QStyle::StandardPixmap standIn);

// Shows the JPEG picture `name` on `label`, decoded by Qt's JPEG plugin.
// A missing or unreadable picture leaves the label as it was.
bool LoadJpegPicture(QLabel* label, const QString& name);

// The picture `name` (face, icon, frame piece or JPEG) at `size`, or at its own
// size when `size` is empty; rendered for the screen's pixel ratio. Null if missing.
QPixmap picture(const QString& name, QSize size = {});

namespace Pictures {

// The picture's own size in device-independent pixels; empty if missing.
QSize pictureSize(const QString& name);

bool exists(const QString& name);

// Every picture name, as spelled in the resources.
QStringList names();

// The application icon (also installed as qvbzevi.svg).
QIcon applicationIcon();

// Registers the resources (pictures, icon, help page) of this static library.
// Every function here calls it; others that use "qrc:" URLs directly call it first.
void initResources();

}  // namespace Pictures
