#pragma once
// The toolkit window of one modal run of a Dialog: the client area laid out
// from the template in dialog units, and the soft-key strip below it.

#include "framework/dialog.h"
#include "framework/dialog_units.h"

#include <QDialog>

#include <vector>

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

    // Every window alive, oldest first.
    static const std::vector<DialogWindow*>& LiveWindows();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;

private:
    void WatchScreen();

    Dialog& m_owner;
    DialogBaseUnits m_base;
    QWidget* m_client = nullptr;
    SoftKeyBar* m_bar = nullptr;
    std::vector<ControlWidget*> m_controls;
};

} // namespace fw::detail
