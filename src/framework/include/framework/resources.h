// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's resources as plain data: dialog templates with their items,
// soft-key menus and pixel-art icons, gathered in one resource module. The
// numbers (styles, class ordinals) are those of the classic dialog templates,
// so a template reads as such templates always have.

#include <cstdint>
#include <span>
#include <string_view>

namespace fw {

// Window style bits used by the templates.
namespace style {
inline constexpr std::uint32_t kPopup = 0x80000000;
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kDisabled = 0x08000000;
inline constexpr std::uint32_t kCaption = 0x00C00000;
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kVScroll = 0x00200000;
inline constexpr std::uint32_t kHScroll = 0x00100000;
inline constexpr std::uint32_t kSysMenu = 0x00080000;
inline constexpr std::uint32_t kTabStop = 0x00010000;
// Dialog styles.
inline constexpr std::uint32_t kDialogSetFont = 0x0040;
inline constexpr std::uint32_t kDialogModalFrame = 0x0080;
// Edit styles.
inline constexpr std::uint32_t kEditMultiLine = 0x0004;
inline constexpr std::uint32_t kEditAutoVScroll = 0x0040;
inline constexpr std::uint32_t kEditAutoHScroll = 0x0080;
inline constexpr std::uint32_t kEditReadOnly = 0x0800;
// List-box styles.
inline constexpr std::uint32_t kListNotify = 0x0001;
inline constexpr std::uint32_t kListSort = 0x0002;
inline constexpr std::uint32_t kListNoIntegralHeight = 0x0100;
// Static styles: the low bits name the kind of static.
inline constexpr std::uint32_t kStaticKindMask = 0x001F;
inline constexpr std::uint32_t kStaticCenter = 0x0001;
inline constexpr std::uint32_t kStaticRight = 0x0002;
inline constexpr std::uint32_t kStaticIcon = 0x0003;
inline constexpr std::uint32_t kStaticBitmap = 0x000E;
} // namespace style

// Predefined control classes, by their ordinals.
enum class ControlClass : std::uint16_t {
    Button = 0x80,
    Edit = 0x81,
    Static = 0x82,
    ListBox = 0x83,
    ScrollBar = 0x84,
    ComboBox = 0x85,
};

// The id that marks a control nobody looks up.
inline constexpr std::uint16_t kStaticId = 0xFFFF;

// One control of a dialog template. Its title is a text, or, when imageId is
// not 0, the id of an icon or bitmap resource.
struct DialogItem {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0; // dialog units
    std::uint16_t id = 0;
    ControlClass cls = ControlClass::Static;
    std::u16string_view title;
    std::uint16_t imageId = 0;
};

// A dialog template: the window's rectangle in dialog units, caption and
// items. Windows are drawn in the desktop's UI font.
struct DialogTemplate {
    std::uint16_t id = 0;
    std::uint32_t style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::u16string_view caption;
    std::span<const DialogItem> items;
};

// The side buttons of a mouse, which browsers use for back and forward.
enum class MouseButton : std::uint8_t { None, Back, Forward };

// One item of a soft-key menu. `shortcut` is a key sequence such as "Alt+Left",
// and `mouse` a side button of the mouse, that press the item's key while the
// key is shown and enabled.
struct MenuItem {
    std::u16string_view text;
    std::uint16_t command = 0;
    bool grayed = false;
    std::string_view shortcut;
    MouseButton mouse = MouseButton::None;
};

struct Menu {
    std::uint16_t id = 0;
    std::span<const MenuItem> items;
};

// A turn of the mouse wheel, away from the user (Up) or towards the user.
enum class WheelTurn : std::uint8_t { None, Up, Down };

// One accelerator of a window: a key sequence in the toolkit's portable form
// ("Ctrl+T", "Ctrl++", "Return"), or, when `wheel` is set, a turn of the mouse
// wheel with the modifiers that `key` names held ("Ctrl"). Either sends the
// command to the window while the window is active.
struct Accelerator {
    std::string_view key;
    std::uint16_t command = 0;
    WheelTurn wheel = WheelTurn::None;
};

struct AcceleratorTable {
    std::uint16_t id = 0;
    std::span<const Accelerator> entries;
};

// A square pixel-art image: one string per row, one character per pixel,
// each character looked up in the palette (characters not in it are clear).
struct PaletteEntry {
    char key = ' ';
    std::uint32_t argb = 0;
};

struct Icon {
    std::uint16_t id = 0;
    std::span<const std::string_view> rows;
    std::span<const PaletteEntry> palette;
};

// An icon as the windows hold it: the resource itself.
using IconHandle = const Icon*;

// All resources of one program.
struct ResourceModule {
    std::span<const DialogTemplate> dialogs;
    std::span<const Menu> menus;
    std::span<const Icon> icons;
    std::span<const AcceleratorTable> accelerators = {};

    const DialogTemplate* FindDialog(std::uint16_t id) const;
    const Menu* FindMenu(std::uint16_t id) const;
    IconHandle FindIcon(std::uint16_t id) const;
    const AcceleratorTable* FindAccelerators(std::uint16_t id) const;
};

} // namespace fw
