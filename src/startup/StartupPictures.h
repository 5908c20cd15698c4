#pragma once
// The start-up pictures, drawn by the program itself.

#include <QPixmap>
#include <QSize>

namespace zq {

// The maker's logo: a disc with a "B" sending radio waves, on dark blue.
QPixmap brelvoxLogoPicture(const QSize& size);
// A lattice antenna tower sending waves.
QPixmap antennaTowerPicture(const QSize& size);
// The outline of the state with a star at its capital.
QPixmap stateOutlinePicture(const QSize& size);

} // namespace zq
