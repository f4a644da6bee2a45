#pragma once

#include <QIcon>
#include <QPainter>
#include <QRectF>

namespace orb {

/// The pictures of the program: the window icon and the command buttons, all drawn here.
enum class Picture { Unit, Link, FileLoad, FileSave, EepromLoad, EepromSave, Print };

/// Paints a picture scaled into rect; the drawings are made on a 20 × 20 grid.
void paintPicture(QPainter& painter, Picture picture, const QRectF& rect);

/// Makes an icon that paints the picture at whatever size is asked, so it stays sharp when scaled.
QIcon paintedIcon(Picture picture);

} // namespace orb
