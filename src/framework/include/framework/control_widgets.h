// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The toolkit widgets behind a dialog's controls. Each carries its control id
// and reports to its window as the windows rely on: an edit box notifies every
// setting of its text, a list box only the user's own choices: a click on a
// line, or Enter on the current line. The keys that move the current line
// (arrows, Page Up and Down, Home, End) only move it, visibly.

#include "framework/controls.h"
#include "framework/resources.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <span>
#include <string>
#include <vector>

namespace fw::detail {

class DialogWindow;

class ControlWidget {
public:
    ControlWidget(DialogWindow& window, const DialogItem& item) : m_window(window), m_item(item) {}
    virtual ~ControlWidget() = default;
    ControlWidget(const ControlWidget&) = delete;
    ControlWidget& operator=(const ControlWidget&) = delete;

    virtual QWidget* AsWidget() = 0;
    virtual std::u16string Text() const = 0;
    virtual void SetText(std::u16string_view text) = 0;

    int Id() const { return m_item.id; }
    const DialogItem& Item() const { return m_item; }

protected:
    DialogWindow& m_window;
    const DialogItem& m_item;
};

// Text and selection of both kinds of edit box.
class EditWidget : public ControlWidget {
public:
    using ControlWidget::ControlWidget;
    virtual Selection GetSel() const = 0;
    virtual void SetSel(int start, int end) = 0;
    virtual void ScrollCaret() = 0;

protected:
    // Resolves the -1 conventions and clamps to [0, length].
    static Selection Resolve(int start, int end, int length);
};

class LineEditWidget final : public QLineEdit, public EditWidget {
public:
    LineEditWidget(DialogWindow& window, const DialogItem& item, QWidget* parent);
    QWidget* AsWidget() override { return this; }
    std::u16string Text() const override;
    void SetText(std::u16string_view text) override;
    Selection GetSel() const override;
    void SetSel(int start, int end) override;
    void ScrollCaret() override;

private:
    bool m_setting = false;
};

// A multi-line box. Its text keeps CR LF line ends; the document shows each as
// one line break, and positions are translated between the two.
class TextBoxWidget final : public QPlainTextEdit, public EditWidget {
public:
    TextBoxWidget(DialogWindow& window, const DialogItem& item, QWidget* parent);
    QWidget* AsWidget() override { return this; }
    std::u16string Text() const override { return m_text; }
    void SetText(std::u16string_view text) override;
    Selection GetSel() const override;
    void SetSel(int start, int end) override;
    void ScrollCaret() override;
    // Gives the ranges of the text the mark's background in the document.
    void SetMarks(std::span<const Selection> ranges);

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void Show(std::u16string_view text);
    int ToTextIndex(int docPos) const;
    int ToDocPos(int textIndex) const;

    std::u16string m_text;
    std::vector<int> m_pairs; // text index of the CR of each CR LF
    bool m_setting = false;
};

// How many units of a list line's text fit in `width` pixels of `font`,
// with its bold parts (points: start, end) drawn in bold and an ellipsis
// after them; the whole length when it all fits.
int ElidedLength(const QString& text, const QVariantList& bold, const QFont& font, int width);

class ListWidget final : public QListWidget, public ControlWidget {
public:
    // An item whose data under this role is true is a marked line, drawn in
    // italics of the list's current font.
    static constexpr int kMarkedRole = Qt::UserRole + 1;
    // The check state last sent (or set) of a line with a box.
    static constexpr int kCheckSentRole = Qt::UserRole + 2;
    // Under this role a line keeps the parts of its text drawn in bold, as a
    // list of points (start, end).
    static constexpr int kBoldRole = Qt::UserRole + 3;

    ListWidget(DialogWindow& window, const DialogItem& item, QWidget* parent);
    QWidget* AsWidget() override { return this; }
    std::u16string Text() const override { return {}; }
    void SetText(std::u16string_view) override {}

    int CurSel() const;
    bool SetCurSel(int index);

    // A checkable line's state; Qt::PartiallyChecked for a line without a
    // box, or none.
    Qt::CheckState Check(int index) const;
    // Sets a checkable line's box without a notification; false when the
    // line has none.
    bool SetCheck(int index, bool checked);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void NotifyChoice();
    static bool HasBox(const QListWidgetItem* line);
    // A line's box changed: the user's change is sent as Msg::ListCheckChange.
    void OnItemChanged(QListWidgetItem* item);
    bool m_pressedOnLine = false;
    bool m_settingCheck = false; // the program sets a box: no notification
};

class ButtonWidget final : public QPushButton, public ControlWidget {
public:
    ButtonWidget(DialogWindow& window, const DialogItem& item, QWidget* parent);
    QWidget* AsWidget() override { return this; }
    std::u16string Text() const override;
    void SetText(std::u16string_view text) override;
};

class StaticWidget final : public QLabel, public ControlWidget {
public:
    StaticWidget(DialogWindow& window, const DialogItem& item, QWidget* parent);
    QWidget* AsWidget() override { return this; }
    std::u16string Text() const override;
    void SetText(std::u16string_view text) override;
    void SetImage(IconHandle icon);
    bool HasImage() const { return m_image != nullptr; }

private:
    IconHandle m_image = nullptr;
};

// A control of a class the templates do not use: an empty widget with an id.
class PlainWidget final : public QWidget, public ControlWidget {
public:
    PlainWidget(DialogWindow& window, const DialogItem& item, QWidget* parent)
        : QWidget(parent), ControlWidget(window, item) {}
    QWidget* AsWidget() override { return this; }
    std::u16string Text() const override { return {}; }
    void SetText(std::u16string_view) override {}
};

// Creates the widget of one template item as a child of `parent`.
ControlWidget* CreateControl(DialogWindow& window, const DialogItem& item, QWidget* parent);

} // namespace fw::detail
