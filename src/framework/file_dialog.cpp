// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/file_dialog.h"

#include "framework/dialog.h"
#include "framework/dialog_window.h"
#include "framework/hooks.h"
#include "framework/qt_text.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>

namespace fw {

std::optional<std::string> GetSaveFileName(Dialog* owner, std::u16string_view caption,
                                           std::u16string_view suggested,
                                           std::u16string_view filters) {
    if (auto* answer = detail::TheHooks().saveFileName) {
        answer->calls.push_back(
            {owner, std::u16string(caption), std::u16string(suggested), std::u16string(filters)});
        return answer->path;
    }
    QWidget* parent = owner == nullptr ? nullptr : owner->Window();
    QString offered = detail::ToQString(suggested);
    if (!offered.contains(QLatin1Char('/'))) {
        // A bare name goes to the user's documents, never to the folder the
        // program happened to be started in.
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QDir(folder).exists()) {
            folder = QDir::homePath();
        }
        offered = folder + QLatin1Char('/') + offered;
    }
    const QString chosen = QFileDialog::getSaveFileName(parent, detail::ToQString(caption), offered,
                                                        detail::ToQString(filters));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    const QByteArray path = QFile::encodeName(chosen);
    return std::string(path.constData(), static_cast<std::size_t>(path.size()));
}

} // namespace fw
