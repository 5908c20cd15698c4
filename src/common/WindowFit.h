#pragma once
// Window fitting: windows are laid out in twips for a 9600 x 7200 twip
// screen and fitted to the real screen once, when loaded.

#include <QString>
#include <cstdint>

class QWidget;

namespace zq {

// Fits `form` to the whole screen: size scaled by screen / design size,
// centred and 170 twips above the centre, controls and fonts scaled.
void ResizeFormToScreen(QWidget& form);

void ResizeFormToSize(QWidget& form, float targetWidth, float targetHeight, float designWidth,
                      float designHeight, uint8_t exactSizeFlag, float fontGrowthFactor,
                      const QString& fontName);

} // namespace zq
