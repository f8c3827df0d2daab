#include "app/fonts.h"

#include <QStringList>

namespace {
QFont gothic(int pixelSize, bool bold) {
    QFont font;
    // Proportional faces first: the bar texts were sized for a proportional Gothic and do not
    // fit the bars in a face whose kana are all one em wide. Windows family names are left out
    // on purpose: fontconfig "matches" them with a Latin face that has no Japanese.
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Sans Serif")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
}  // namespace

namespace Fonts {
QFont ui(int pixelSize, bool bold) {
    return gothic(pixelSize, bold);
}

QFont barRegular() {
    return gothic(13, false);
}

QFont barBold() {
    return gothic(13, true);
}
}  // namespace Fonts
