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

QIcon WindowIcon(IconHandle icon) {
    const QImage image = IconImage(icon);
    QIcon result;
    if (image.isNull()) {
        return result;
    }
    for (int size : {16, 32, 48, 64, 128}) {
        // Whole multiples keep the pixels crisp; other sizes are smoothed.
        const Qt::TransformationMode mode =
            size % image.width() == 0 ? Qt::FastTransformation : Qt::SmoothTransformation;
        result.addPixmap(QPixmap::fromImage(image.scaled(size, size, Qt::IgnoreAspectRatio, mode)));
    }
    return result;
}

} // namespace fw::detail
