// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/window_settings.h"

#include "history/history_location.h"
#include "platform/code_page.h"
#include "ui/text_zoom.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

// The file's layout; a later layout reads this one and raises the number.
constexpr int kSettingsVersion = 1;

const QString kVersionKey = QStringLiteral("version");
const QString kPlacementKey = QStringLiteral("SearchWindow/placement");
const QString kZoomKey = QStringLiteral("Text/zoom");
const QString kWordOrderKey = QStringLiteral("WordList/order");

// The word list's orders as the file names them.
struct OrderName {
    WordOrder order;
    const char* name;
};
constexpr OrderName kOrderNames[] = {
    {WordOrder::ByDate, "date"},
    {WordOrder::ByName, "alphabet"},
    {WordOrder::ByLookups, "lookups"},
};

QString SettingsPath(std::string_view programFolder) {
    // The toolkit names files by text: a folder whose bytes are no UTF-8
    // cannot be named to it, and the settings then live with the user's.
    if (CanWriteFileIn(programFolder, kSettingsFileName) &&
        platform::FirstInvalidUtf8(programFolder) == std::string_view::npos) {
        return QString::fromStdString(std::string(programFolder) + kSettingsFileName);
    }
    // QStandardPaths follows XDG_CONFIG_HOME.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty()) {
        return {};
    }
    return config + QStringLiteral("/kelimbo/") + QString::fromLatin1(kSettingsFileName);
}

} // namespace

void WindowSettings::Load(std::string_view programFolder) {
    const QString path = SettingsPath(programFolder);
    m_path = path.toStdString();
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        return;
    }
    const QSettings file(path, QSettings::IniFormat);
    const QByteArray placement = file.value(kPlacementKey).toByteArray();
    m_placement.assign(placement.constData(), static_cast<std::size_t>(placement.size()));
    bool isNumber = false;
    const int zoom = file.value(kZoomKey).toInt(&isNumber);
    SetZoom(isNumber ? zoom : kDefaultZoom);
    const QString order = file.value(kWordOrderKey).toString();
    for (const OrderName& known : kOrderNames) {
        if (order == QLatin1String(known.name)) {
            m_wordOrder = known.order;
        }
    }
}

bool WindowSettings::Save() const {
    if (m_path.empty()) {
        return false;
    }
    const QString path = QString::fromStdString(m_path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return false;
    }
    QSettings file(path, QSettings::IniFormat);
    file.setValue(kVersionKey, kSettingsVersion);
    file.setValue(kPlacementKey,
                  QByteArray(m_placement.data(), static_cast<qsizetype>(m_placement.size())));
    file.setValue(kZoomKey, m_zoom);
    for (const OrderName& known : kOrderNames) {
        if (known.order == m_wordOrder) {
            file.setValue(kWordOrderKey, QLatin1String(known.name));
        }
    }
    file.sync();
    return file.status() == QSettings::NoError;
}

void WindowSettings::SetZoom(int percent) {
    m_zoom = ZoomStep(percent, 0);
}
