// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The toolkit window of one modal run of a Dialog: the client area laid out
// from the template in dialog units, and the soft-key strip below it.

#include "framework/dialog.h"
#include "framework/dialog_units.h"

#include <QDialog>

#include <vector>

class QShortcut;
class QWheelEvent;

namespace fw::detail {

class ControlWidget;
class SoftKeyBar;

class DialogWindow final : public QDialog {
public:
    DialogWindow(Dialog& owner, const DialogTemplate& dialogTemplate, QWidget* parent);
    ~DialogWindow() override;

    Dialog& Owner() const { return m_owner; }
    // The first control with this id, in template order; null when none.
    ControlWidget* FindControl(int id) const;
    QWidget* FirstTabStop() const;
    SoftKeyBar& Bar() const { return *m_bar; }
    DialogBaseUnits BaseUnits() const { return m_base; }

    // A notification from the toolkit's event handling (see Dialog).
    void Route(Msg msg, int id) { m_owner.RouteFromToolkit(msg, id); }
    // A notification caused by the program's own call.
    void Send(Msg msg, int id) { m_owner.SendMessage(msg, id); }

    // The window's size for a template: its client area and the soft keys.
    QSize TemplateSize(const DialogTemplate& dialogTemplate) const;
    // Places every control by the template over the whole client area.
    void FillControls();
    // The font of the lists and multi-line boxes, in percent of the window's.
    void SetTextZoom(int percent);
    // The table's keys and wheel turns send its commands from now on.
    void SetAccelerators(const AcceleratorTable& table);
    // A turn of the wheel over the window or one of its controls: true when an
    // accelerator takes it (its command is sent for each whole step).
    bool WheelAccelerator(QWheelEvent* event);

    // Every window alive, oldest first.
    static const std::vector<DialogWindow*>& LiveWindows();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    struct WheelCommand {
        Qt::KeyboardModifiers modifiers;
        WheelTurn turn = WheelTurn::None;
        std::uint16_t command = 0;
    };
    void WatchScreen();

    Dialog& m_owner;
    const DialogTemplate& m_template;
    DialogBaseUnits m_base;
    QWidget* m_client = nullptr;
    SoftKeyBar* m_bar = nullptr;
    std::vector<ControlWidget*> m_controls;
    std::vector<QShortcut*> m_shortcuts;
    std::vector<WheelCommand> m_wheelCommands;
    int m_wheelAngle = 0; // the part of a wheel step turned so far
};

} // namespace fw::detail
