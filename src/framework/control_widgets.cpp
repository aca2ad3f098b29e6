// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/control_widgets.h"

#include "framework/dialog_window.h"
#include "framework/icon_image.h"
#include "framework/qt_text.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextLayout>
#include <QWheelEvent>

#include <algorithm>

namespace fw::detail {

namespace {

bool Has(const DialogItem& item, std::uint32_t bits) {
    return (item.style & bits) == bits;
}

void SetFramed(QFrame& frame, const DialogItem& item) {
    frame.setFrameShape(Has(item, style::kBorder) ? QFrame::StyledPanel : QFrame::NoFrame);
}

// The bold parts of a line, as its text layout takes them, up to `length`.
QList<QTextLayout::FormatRange> BoldFormats(const QVariantList& bold, int length) {
    QList<QTextLayout::FormatRange> formats;
    for (const QVariant& part : bold) {
        const QPoint range = part.toPoint();
        const int end = std::min(range.y(), length);
        if (range.x() < end) {
            QTextLayout::FormatRange format;
            format.start = range.x();
            format.length = end - range.x();
            format.format.setFontWeight(QFont::Bold);
            formats.push_back(format);
        }
    }
    return formats;
}

} // namespace

int ElidedLength(const QString& text, const QVariantList& bold, const QFont& font, int width) {
    QTextLayout layout(text, font);
    layout.setFormats(BoldFormats(bold, static_cast<int>(text.size())));
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (line.naturalTextWidth() <= width) {
        return static_cast<int>(text.size());
    }
    // The ellipsis measured in bold: it may follow a bold part.
    QFont boldFont = font;
    boldFont.setBold(true);
    const qreal room = width - QFontMetricsF(boldFont).horizontalAdvance(QChar(0x2026));
    if (room <= 0) {
        return 0;
    }
    int kept = line.xToCursor(room, QTextLine::CursorBetweenCharacters);
    while (kept > 0 && line.cursorToX(kept) > room) {
        kept = layout.previousCursorPosition(kept);
    }
    return kept;
}

namespace {

// Draws a marked line in italics of the font the list has at that moment, so
// the mark follows the zoom and needs no colour of its own (any palette).
// A line with bold parts is drawn by its own text layout over the style's
// background and selection, cut with an ellipsis where it does not fit.
class MarkedLineDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& base,
               const QModelIndex& index) const override {
        const QVariantList bold = index.data(ListWidget::kBoldRole).toList();
        if (bold.isEmpty()) {
            QStyledItemDelegate::paint(painter, base, index);
            return;
        }
        QStyleOptionViewItem option = base;
        initStyleOption(&option, index);
        const QString text = option.text;
        option.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &option, painter, widget);

        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &option, widget);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const int width = area.width() - 2 * margin;
        const int kept = ElidedLength(text, bold, option.font, width);
        const QString shown = kept == text.size() ? text : text.left(kept) + QChar(0x2026);
        QTextLayout layout(shown, option.font);
        layout.setFormats(BoldFormats(bold, kept));
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(width);
        layout.endLayout();
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        painter->save();
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setClipRect(area);
        layout.draw(painter, QPointF(area.left() + margin,
                                     area.top() + (area.height() - line.height()) / 2));
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(ListWidget::kMarkedRole).toBool()) {
            option->font.setItalic(true);
        }
    }
};

} // namespace

Selection EditWidget::Resolve(int start, int end, int length) {
    if (end == -1) {
        end = length;
    }
    return {std::clamp(start, 0, length), std::clamp(end, 0, length)};
}

// ---- single-line edit

LineEditWidget::LineEditWidget(DialogWindow& window, const DialogItem& item, QWidget* parent)
    : QLineEdit(parent), EditWidget(window, item) {
    setFrame(Has(item, style::kBorder));
    setReadOnly(Has(item, style::kEditReadOnly));
    setText(ToQString(item.title));
    // The user's own edits; the program's settings notify from SetText.
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!m_setting) {
            m_window.Route(Msg::EditChange, Id());
        }
    });
}

std::u16string LineEditWidget::Text() const {
    return FromQString(text());
}

void LineEditWidget::SetText(std::u16string_view text) {
    {
        const QScopedValueRollback<bool> setting(m_setting, true);
        setText(ToQString(text));
    }
    m_window.Send(Msg::EditChange, Id());
}

Selection LineEditWidget::GetSel() const {
    if (hasSelectedText()) {
        return {selectionStart(), selectionEnd()};
    }
    return {cursorPosition(), cursorPosition()};
}

void LineEditWidget::SetSel(int start, int end) {
    if (start == -1) {
        deselect();
        return;
    }
    const Selection sel = Resolve(start, end, static_cast<int>(text().size()));
    if (sel.start == sel.end) {
        deselect();
        setCursorPosition(sel.end);
    } else {
        setSelection(sel.start, sel.end - sel.start); // the caret ends at sel.end
    }
}

void LineEditWidget::ScrollCaret() {
    // The line edit keeps its caret in view whenever the caret moves; a
    // repaint shows the scrolled text at once.
    update();
}

// ---- multi-line edit

TextBoxWidget::TextBoxWidget(DialogWindow& window, const DialogItem& item, QWidget* parent)
    : QPlainTextEdit(parent), EditWidget(window, item) {
    SetFramed(*this, item);
    const bool readOnly = Has(item, style::kEditReadOnly);
    setReadOnly(readOnly);
    if (readOnly) {
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Has(item, style::kVScroll) ? Qt::ScrollBarAsNeeded
                                                          : Qt::ScrollBarAlwaysOff);
    if (Has(item, style::kEditAutoHScroll)) {
        setLineWrapMode(QPlainTextEdit::NoWrap);
    } else {
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    Show(item.title);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_setting) {
            return;
        }
        // The user edited an editable box: take its text back with CR LF ends.
        std::u16string text;
        for (char16_t c : FromQString(toPlainText())) {
            if (c == u'\n') {
                text += u'\r';
            }
            text += c;
        }
        {
            const QScopedValueRollback<bool> setting(m_setting, true);
            const int pos = textCursor().position();
            Show(text);
            QTextCursor cursor = textCursor();
            cursor.setPosition(pos);
            setTextCursor(cursor);
        }
        m_window.Route(Msg::EditChange, Id());
    });
}

void TextBoxWidget::Show(std::u16string_view text) {
    m_text.assign(text);
    m_pairs.clear();
    QString shown;
    shown.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            m_pairs.push_back(static_cast<int>(i));
            shown += QChar(u'\n');
            ++i;
        } else if (text[i] == u'\r') {
            shown += QChar(u'\n');
        } else {
            shown += QChar(text[i]);
        }
    }
    const QScopedValueRollback<bool> setting(m_setting, true);
    setPlainText(shown);
}

void TextBoxWidget::SetText(std::u16string_view text) {
    // A multi-line box does not notify the setting of its text.
    Show(text);
}

int TextBoxWidget::ToTextIndex(int docPos) const {
    // Every pair whose line break stands before docPos adds its LF.
    int before = 0;
    for (std::size_t k = 0; k < m_pairs.size(); ++k) {
        if (m_pairs[k] - static_cast<int>(k) < docPos) {
            ++before;
        } else {
            break;
        }
    }
    return docPos + before;
}

int TextBoxWidget::ToDocPos(int textIndex) const {
    // Every pair that ends at or before textIndex counts as one position.
    const auto end = std::upper_bound(m_pairs.begin(), m_pairs.end(), textIndex - 2);
    return textIndex - static_cast<int>(end - m_pairs.begin());
}

Selection TextBoxWidget::GetSel() const {
    const QTextCursor cursor = textCursor();
    return {ToTextIndex(cursor.selectionStart()), ToTextIndex(cursor.selectionEnd())};
}

void TextBoxWidget::SetSel(int start, int end) {
    QTextCursor cursor = textCursor();
    if (start == -1) {
        cursor.clearSelection();
    } else {
        const Selection sel = Resolve(start, end, static_cast<int>(m_text.size()));
        cursor.setPosition(ToDocPos(sel.start));
        cursor.setPosition(ToDocPos(sel.end), QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
}

void TextBoxWidget::ScrollCaret() {
    ensureCursorVisible();
}

void TextBoxWidget::SetMarks(std::span<const Selection> ranges) {
    // The marks are the document's own character format, so that they scroll
    // and zoom with the text; the dark text on a light background reads the
    // same in any palette.
    QTextCharFormat mark;
    mark.setBackground(QColor(0xFF, 0xE0, 0x66));
    mark.setForeground(QColor(Qt::black));
    const int length = static_cast<int>(m_text.size());
    const QScopedValueRollback<bool> setting(m_setting, true);
    for (const Selection& range : ranges) {
        const Selection sel = Resolve(range.start, range.end, length);
        if (sel.start >= sel.end) {
            continue;
        }
        QTextCursor cursor(document());
        cursor.setPosition(ToDocPos(sel.start));
        cursor.setPosition(ToDocPos(sel.end), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(mark);
    }
}

void TextBoxWidget::wheelEvent(QWheelEvent* event) {
    // The window's accelerators first: Ctrl and the wheel zoom the whole window.
    if (!m_window.WheelAccelerator(event)) {
        QPlainTextEdit::wheelEvent(event);
    }
}

// ---- list box

ListWidget::ListWidget(DialogWindow& window, const DialogItem& item, QWidget* parent)
    : QListWidget(parent), ControlWidget(window, item) {
    SetFramed(*this, item);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setSortingEnabled(Has(item, style::kListSort));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Has(item, style::kVScroll) ? Qt::ScrollBarAsNeeded
                                                          : Qt::ScrollBarAlwaysOff);
    setItemDelegate(new MarkedLineDelegate(this));
    connect(this, &QListWidget::itemChanged, this, &ListWidget::OnItemChanged);
}

bool ListWidget::HasBox(const QListWidgetItem* line) {
    // Every line may be checked by the user; only one given a state shows a box.
    return line != nullptr && line->data(Qt::CheckStateRole).isValid();
}

Qt::CheckState ListWidget::Check(int index) const {
    const QListWidgetItem* line = index >= 0 && index < count() ? item(index) : nullptr;
    return HasBox(line) ? line->checkState() : Qt::PartiallyChecked;
}

bool ListWidget::SetCheck(int index, bool checked) {
    QListWidgetItem* line = index >= 0 && index < count() ? item(index) : nullptr;
    if (!HasBox(line)) {
        return false;
    }
    const QScopedValueRollback<bool> setting(m_settingCheck, true);
    line->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return true;
}

void ListWidget::OnItemChanged(QListWidgetItem* line) {
    // Any change of a line's data comes here; only a box the user switched is sent.
    if (m_settingCheck || !HasBox(line) ||
        line->data(kCheckSentRole) == QVariant(static_cast<int>(line->checkState()))) {
        line->setData(kCheckSentRole, static_cast<int>(line->checkState()));
        return;
    }
    line->setData(kCheckSentRole, static_cast<int>(line->checkState()));
    // The handler sees the switched line as the current one. It must not
    // empty the list: the toolkit is still inside the line's change.
    SetCurSel(row(line));
    m_window.Route(Msg::ListCheckChange, Id());
}

int ListWidget::CurSel() const {
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? LB_ERR : rows.first().row();
}

bool ListWidget::SetCurSel(int index) {
    if (index < 0 || index >= count()) {
        clearSelection();
        return false;
    }
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    scrollToItem(item(index));
    return true;
}

void ListWidget::NotifyChoice() {
    if (CurSel() != LB_ERR) {
        m_window.Route(Msg::ListSelChange, Id());
    }
}

void ListWidget::mousePressEvent(QMouseEvent* event) {
    m_pressedOnLine =
        event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid();
    QListWidget::mousePressEvent(event);
}

void ListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click arrives as this event.
    m_pressedOnLine =
        event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid();
    QListWidget::mouseDoubleClickEvent(event);
}

void ListWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool chosen = m_pressedOnLine && event->button() == Qt::LeftButton;
    m_pressedOnLine = false;
    QListWidget::mouseReleaseEvent(event);
    // A click on a line is a choice even when the line was selected already.
    if (chosen) {
        NotifyChoice();
    }
}

void ListWidget::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Enter chooses the current line.
        const int row = currentRow();
        if (row >= 0) {
            SetCurSel(row);
            NotifyChoice();
        }
        event->accept();
        return;
    }
    if (key == Qt::Key_Space && HasBox(currentItem())) {
        // Space alone switches the current line's box; with a modifier it does nothing.
        QListWidgetItem* line = currentItem();
        if (event->modifiers() == Qt::NoModifier) {
            line->setCheckState(line->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        }
        event->accept();
        return;
    }
    // Moving keys move the current line, which is the selected one, and choose nothing.
    QListWidget::keyPressEvent(event);
}

void ListWidget::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    // A focused list shows its current line: the first one when none is yet.
    if (CurSel() == LB_ERR && count() > 0) {
        SetCurSel(std::max(currentRow(), 0));
    }
}

void ListWidget::wheelEvent(QWheelEvent* event) {
    if (!m_window.WheelAccelerator(event)) {
        QListWidget::wheelEvent(event);
    }
}

// ---- button and static

ButtonWidget::ButtonWidget(DialogWindow& window, const DialogItem& item, QWidget* parent)
    : QPushButton(parent), ControlWidget(window, item) {
    setAutoDefault(false);
    setDefault(false);
    setText(ToQString(item.title));
    connect(this, &QPushButton::clicked, this, [this] { m_window.Route(Msg::Command, Id()); });
}

std::u16string ButtonWidget::Text() const {
    return FromQString(text());
}

void ButtonWidget::SetText(std::u16string_view text) {
    setText(ToQString(text));
}

StaticWidget::StaticWidget(DialogWindow& window, const DialogItem& item, QWidget* parent)
    : QLabel(parent), ControlWidget(window, item) {
    setTextFormat(Qt::PlainText);
    const std::uint32_t kind = item.style & style::kStaticKindMask;
    if (kind == style::kStaticIcon && item.imageId != 0) {
        SetImage(window.Owner().Module().FindIcon(item.imageId));
        return;
    }
    setWordWrap(true);
    setAlignment(kind == style::kStaticCenter  ? Qt::AlignHCenter | Qt::AlignTop
                 : kind == style::kStaticRight ? Qt::AlignRight | Qt::AlignTop
                                               : Qt::AlignLeft | Qt::AlignTop);
    setText(ToQString(item.title));
}

std::u16string StaticWidget::Text() const {
    return FromQString(text());
}

void StaticWidget::SetText(std::u16string_view text) {
    setText(ToQString(text));
}

void StaticWidget::SetImage(IconHandle icon) {
    m_image = icon;
    if (icon == nullptr) {
        setPixmap(QPixmap());
        return;
    }
    setPixmap(QPixmap::fromImage(IconImage(icon)));
}

ControlWidget* CreateControl(DialogWindow& window, const DialogItem& item, QWidget* parent) {
    switch (item.cls) {
    case ControlClass::Button:
        return new ButtonWidget(window, item, parent);
    case ControlClass::Edit:
        if (Has(item, style::kEditMultiLine)) {
            return new TextBoxWidget(window, item, parent);
        }
        return new LineEditWidget(window, item, parent);
    case ControlClass::Static:
        return new StaticWidget(window, item, parent);
    case ControlClass::ListBox:
        return new ListWidget(window, item, parent);
    default:
        return new PlainWidget(window, item, parent);
    }
}

} // namespace fw::detail
