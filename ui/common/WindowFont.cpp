#include "WindowFont.h"

#include <QFontInfo>

QFont WindowFont()
{
    const QString family = QStringLiteral("MS Sans Serif");
    QFont font(family, 8);
    font.setStyleHint(QFont::SansSerif);
    // The faces that stand in for it are wider: their semi-condensed width keeps every text
    // within the boxes laid out for it.
    if (QFontInfo(font).family() != family)
        font.setStretch(QFont::SemiCondensed);
    return font;
}
