// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/icon_image.h"

#include <QPixmap>

namespace fw::detail {

QImage IconImage(IconHandle icon) {
    if (icon == nullptr || icon->rows.empty()) {
        return {};
    }
    const int height = static_cast<int>(icon->rows.size());
    int width = 0;
    for (std::string_view row : icon->rows) {
        width = std::max(width, static_cast<int>(row.size()));
    }
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < height; ++y) {
        const std::string_view row = icon->rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < static_cast<int>(row.size()); ++x) {
            for (const PaletteEntry& entry : icon->palette) {
                if (entry.key == row[static_cast<std::size_t>(x)]) {
                    image.setPixel(x, y, entry.argb);
                    break;
                }
            }
        }
    }
    return image;
}

namespace {

// The image with each pixel repeated to fill size × size. QImage::scaled
// draws through the raster engine, which hands an image this large to Qt's
// pool of drawing threads, whose end at the program's exit races with it.
QImage Enlarged(const QImage& image, int size) {
    QImage enlarged(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            enlarged.setPixel(x, y,
                              image.pixel(x * image.width() / size, y * image.height() / size));
        }
    }
    return enlarged;
}

} // namespace

QIcon WindowIcon(IconHandle icon) {
    const QImage image = IconImage(icon);
    QIcon result;
    if (image.isNull()) {
        return result;
    }
    for (int size : {16, 32, 48, 64, 128}) {
        // Whole multiples keep the pixels crisp; other sizes are smoothed.
        const QImage scaled =
            size % image.width() == 0 && size % image.height() == 0
                ? Enlarged(image, size)
                : image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        result.addPixmap(QPixmap::fromImage(scaled));
    }
    return result;
}

} // namespace fw::detail
