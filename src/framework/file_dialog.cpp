// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/file_dialog.h"

#include "framework/dialog.h"
#include "framework/dialog_window.h"
#include "framework/hooks.h"
#include "framework/qt_text.h"

#include <QFile>
#include <QFileDialog>

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
    const QString chosen =
        QFileDialog::getSaveFileName(parent, detail::ToQString(caption),
                                     detail::ToQString(suggested), detail::ToQString(filters));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    const QByteArray path = QFile::encodeName(chosen);
    return std::string(path.constData(), static_cast<std::size_t>(path.size()));
}

} // namespace fw
