#pragma once
// The program's pictures, drawn in code so that no image file has to travel with it.
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace valmerin {

QIcon WindowIcon();
// The information tab's banner, 640 x 118.
QImage BannerImage();

enum class BarImage { Options, Run, Description, Print, Export };
QPixmap BarButtonImage(BarImage image, int size);

}  // namespace valmerin
