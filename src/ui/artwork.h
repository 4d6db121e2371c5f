#pragma once
// The program's pictures, drawn in code so that no image file has to travel with it.
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace valmerin {

// The catalogue's font: Tahoma 8.25, or the nearest narrow face where it is missing.
QFont CatalogueFont();

QIcon WindowIcon();
// The information tab's banner, 640 x 118.
QImage BannerImage();

enum class BarImage { Options, Run, Description, Print, Export };
QPixmap BarButtonImage(BarImage image, int size);

}  // namespace valmerin
