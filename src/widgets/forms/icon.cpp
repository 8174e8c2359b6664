// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/icon.h"

#include <QImage>

#include <utility>

namespace Forms {

static QImage iconImage()
{
    // Named, so no image plugin is probed; in the pixmaps' own format, so none is converted.
    static const QImage image
        = QImage(QStringLiteral(":/quorix-32.png"), "PNG").convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return image;
}

// Each pixel takes the colour of the one it falls in, so the picture stays crisp. Done here
// rather than by QImage::scaled, which starts a pool of threads for the larger sizes.
static QPixmap crisp(int side)
{
    const QImage source = iconImage();
    QImage scaled(side, side, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < side; ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(source.constScanLine(y * source.height() / side));
        auto *to = reinterpret_cast<QRgb *>(scaled.scanLine(y));
        for (int x = 0; x < side; ++x) // the same rule across as down, so the grid stays even
            to[x] = from[x * source.width() / side];
    }
    return QPixmap::fromImage(std::move(scaled));
}

QIcon programIcon()
{
    static const QIcon icon = [] { // made once: the program and its main window both ask
        QIcon sizes;
        for (int side : {16, 32, 48, 64, 128, 256})
            sizes.addPixmap(crisp(side));
        return sizes;
    }();
    return icon;
}

QPixmap programPicture(qreal devicePixelRatio)
{
    QPixmap picture = crisp(qRound(iconImage().width() * devicePixelRatio));
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

}
