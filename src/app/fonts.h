#pragma once

#include <QFont>

// Japanese Gothic fonts by pixel height, standing in for the Windows system's own faces.
namespace Fonts {
QFont ui(int pixelSize, bool bold = false);
QFont barRegular();  // the volume bar: 13 px, regular
QFont barBold();     // the position bar: 13 px, bold
}  // namespace Fonts
