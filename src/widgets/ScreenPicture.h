#pragma once
// Pictures for scaled screens. Every picture of the window comes as
// name.png and name@2x.png (twice the pixels). On a screen scaled above 100%
// a picture is drawn from its @2x rendering instead of an enlarged bitmap;
// icons given to buttons find it by themselves (QIcon), pictures shown as
// pixmaps (labels, grid cells) come from here.

#include <QPixmap>
#include <QString>

namespace vm::widgets {

// The picture at `path` ("….png") for the application's screens: its @2x
// file with device pixel ratio 2 when the screens are scaled and that file
// exists, the file itself otherwise.
QPixmap screenPicture(const QString& path);

}  // namespace vm::widgets
