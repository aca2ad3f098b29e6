// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kelimbo_resources.h"

#include "framework/message_map.h"
#include "ui/resource_ids.h"

#include <array>
#include <string_view>

namespace {

using namespace fw::style;
using fw::Accelerator;
using fw::ControlClass;
using fw::DialogItem;
using fw::DialogTemplate;
using fw::MenuItem;

// Both windows: a caption with its close button, a modal frame.
constexpr std::uint32_t kDialogStyle =
    kPopup | kCaption | kSysMenu | kDialogModalFrame | kDialogSetFont;
constexpr std::u16string_view kCaptionText = u"Kelimbo";

constexpr std::array kMainItems = {
    DialogItem{kChild | kVisible | kBorder | kVScroll | kTabStop | kListNotify |
                   kListNoIntegralHeight,
               0, 3, 19, 148, 99, IDC_LIST, ControlClass::ListBox, u"", 0},
    DialogItem{kChild | kVisible | kBorder | kTabStop | kEditAutoHScroll, 0, 3, 1, 148, 13,
               IDC_SEARCH, ControlClass::Edit, u"", 0},
};

constexpr std::array kWideItems = {
    DialogItem{kChild | kVisible, 0, 7, 7, 196, 115, IDC_WIDE_STATIC, ControlClass::Static,
               u"Kelimbo", 0},
};

constexpr std::array kLegiloItems = {
    DialogItem{kChild | kVisible | kBorder | kVScroll | kTabStop | kEditMultiLine | kEditReadOnly,
               0, 3, 1, 148, 137, IDC_ARTICLE, ControlClass::Edit, u"", 0},
    DialogItem{kChild | kVisible | kTabStop, 0, 48, 142, 103, 12, IDC_TRANSLATE,
               ControlClass::Button, u"Перевести выделенное -->", 0},
    // The star: ☆ for a word not in the word list, ★ for a kept one.
    DialogItem{kChild | kVisible | kTabStop, 0, 3, 142, 42, 12, IDC_KEEP, ControlClass::Button,
               u"☆", 0},
};

constexpr std::array kDictionaryItems = {
    DialogItem{kChild | kVisible | kBorder | kVScroll | kTabStop | kListNoIntegralHeight, 0, 3, 1,
               150, 118, IDC_DICTIONARIES, ControlClass::ListBox, u"", 0},
};

constexpr std::array kDialogs = {
    DialogTemplate{IDD_KELIMBO_DIALOG, kDialogStyle, 0, 0, 156, 122, kCaptionText, kMainItems},
    DialogTemplate{IDD_KELIMBO_WIDE, kDialogStyle, 0, 0, 210, 129, kCaptionText, kWideItems},
    DialogTemplate{IDD_LEGILO_DIALOG, kDialogStyle, 0, 0, 156, 159, kCaptionText, kLegiloItems},
    DialogTemplate{IDD_DICTIONARIES, kDialogStyle, 0, 0, 156, 122, u"Словари", kDictionaryItems},
};

// The soft keys; Alt+Left and Alt+Right, and the mouse's side buttons, press
// "назад" and "вперёд".
constexpr std::string_view kBackKey = "Alt+Left";
constexpr std::string_view kForwardKey = "Alt+Right";
constexpr auto kBackButton = fw::MouseButton::Back;
constexpr auto kForwardButton = fw::MouseButton::Forward;

constexpr std::array kMenuBackForward = {
    MenuItem{u"назад", ID_BACK, false, kBackKey, kBackButton},
    MenuItem{u"вперёд", ID_FORWARD, false, kForwardKey, kForwardButton},
};
constexpr std::array kMenuBack = {
    MenuItem{u"назад", ID_BACK, false, kBackKey, kBackButton},
};
constexpr std::array kMenuForward = {
    MenuItem{u"назад ", ID_BACK, true, kBackKey, kBackButton},
    MenuItem{u"вперёд", ID_FORWARD, false, kForwardKey, kForwardButton},
};

// The word list's keys: the order shown, which Ctrl+R turns to the next, and
// the export, Ctrl+E.
constexpr std::string_view kOrderKey = "Ctrl+R";
constexpr std::string_view kExportKey = "Ctrl+E";
constexpr std::u16string_view kExportText = u"Экспорт…";
constexpr std::array kMenuWordsByDate = {
    MenuItem{u"по дате", ID_WORD_ORDER, false, kOrderKey},
    MenuItem{kExportText, ID_EXPORT, false, kExportKey},
};
constexpr std::array kMenuWordsByName = {
    MenuItem{u"по алфавиту", ID_WORD_ORDER, false, kOrderKey},
    MenuItem{kExportText, ID_EXPORT, false, kExportKey},
};
constexpr std::array kMenuWordsByLookups = {
    MenuItem{u"по числу поисков", ID_WORD_ORDER, false, kOrderKey},
    MenuItem{kExportText, ID_EXPORT, false, kExportKey},
};

// The word list from the search window; its key is Ctrl+Shift+S, an
// accelerator of the window.
constexpr MenuItem kWordsItem{u"Мои слова", ID_WORD_LIST, false, {}};
constexpr std::array kMenuWords = {kWordsItem};
constexpr std::array kMenuBackWords = {kMenuBack[0], kWordsItem};
constexpr std::array kMenuForwardWords = {kMenuForward[0], kMenuForward[1], kWordsItem};
constexpr std::array kMenuBackForwardWords = {kMenuBackForward[0], kMenuBackForward[1], kWordsItem};

constexpr std::array kMenus = {
    fw::Menu{IDR_MENU_BACK_FORWARD, kMenuBackForward},
    fw::Menu{IDR_MENU_BACK, kMenuBack},
    fw::Menu{IDR_MENU_FORWARD, kMenuForward},
    fw::Menu{IDR_MENU_WORDS_BY_DATE, kMenuWordsByDate},
    fw::Menu{IDR_MENU_WORDS_BY_NAME, kMenuWordsByName},
    fw::Menu{IDR_MENU_WORDS_BY_LOOKUPS, kMenuWordsByLookups},
    fw::Menu{IDR_MENU_WORDS, kMenuWords},
    fw::Menu{IDR_MENU_BACK_WORDS, kMenuBackWords},
    fw::Menu{IDR_MENU_FORWARD_WORDS, kMenuForwardWords},
    fw::Menu{IDR_MENU_BACK_FORWARD_WORDS, kMenuBackForwardWords},
};

// The windows' keys. Ctrl+W is the window's close button, which in the
// search window ends the program; Ctrl+Q ends it from either window. Ctrl and
// the wheel zoom as Ctrl++ and Ctrl+- do. Ctrl+Shift+S shows the word list in
// the search window, and back. In the reader, Ctrl+T and Enter press the
// translate button, and Ctrl+S the star.
constexpr std::array kSearchKeys = {
    Accelerator{"Ctrl+Q", fw::IDOK},
    Accelerator{"Ctrl+W", fw::IDOK},
    Accelerator{"Ctrl+L", ID_FIND},
    Accelerator{"Ctrl+F", ID_FIND},
    Accelerator{"Ctrl+D", ID_DICTIONARIES},
    Accelerator{"Ctrl+Shift+F", ID_FULLTEXT},
    Accelerator{"Ctrl+Shift+S", ID_WORD_LIST},
    Accelerator{"Ctrl++", ID_ZOOM_IN},
    Accelerator{"Ctrl+=", ID_ZOOM_IN},
    Accelerator{"Ctrl+-", ID_ZOOM_OUT},
    Accelerator{"Ctrl+0", ID_ZOOM_RESET},
    Accelerator{"Ctrl", ID_ZOOM_IN, fw::WheelTurn::Up},
    Accelerator{"Ctrl", ID_ZOOM_OUT, fw::WheelTurn::Down},
};
constexpr std::array kReaderKeys = {
    Accelerator{"Ctrl+T", IDC_TRANSLATE},
    Accelerator{"Return", IDC_TRANSLATE},
    Accelerator{"Enter", IDC_TRANSLATE},
    Accelerator{"Ctrl+S", IDC_KEEP},
    Accelerator{"Ctrl+Q", ID_QUIT},
    Accelerator{"Ctrl+W", fw::IDOK},
    Accelerator{"Ctrl+L", ID_FIND},
    Accelerator{"Ctrl+F", ID_FIND},
    Accelerator{"Ctrl++", ID_ZOOM_IN},
    Accelerator{"Ctrl+=", ID_ZOOM_IN},
    Accelerator{"Ctrl+-", ID_ZOOM_OUT},
    Accelerator{"Ctrl+0", ID_ZOOM_RESET},
    Accelerator{"Ctrl", ID_ZOOM_IN, fw::WheelTurn::Up},
    Accelerator{"Ctrl", ID_ZOOM_OUT, fw::WheelTurn::Down},
};

constexpr std::array kAccelerators = {
    fw::AcceleratorTable{IDR_ACCEL_SEARCH, kSearchKeys},
    fw::AcceleratorTable{IDR_ACCEL_READER, kReaderKeys},
};

// The program icon: the green star on a green field.
constexpr std::array<std::string_view, 32> kIconRows = {
    "................................", ".....dddddddddddddddddddddd.....",
    "...ddggggggggggggggggggggggdd...", "..ddggggggggggggggggggggggggdd..",
    "..dggggggggggggggggggggggggggd..", ".dgggggggggggggllgggggggggggggd.",
    ".dgggggggggggggllgggggggggggggd.", ".dgggggggggggggwwgggggggggggggd.",
    ".dgggggggggggglwwlggggggggggggd.", ".dgggggggggggglwwlggggggggggggd.",
    ".dggggggggggggwwwwggggggggggggd.", ".dggggggggggglwwwwlgggggggggggd.",
    ".dgggggggggggwwwwwwgggggggggggd.", ".dgglwwwwwwwwwwwwwwwwwwwwwwlggd.",
    ".dggggwwwwwwwwwwwwwwwwwwwwggggd.", ".dggggglwwwwwwwwwwwwwwwwlgggggd.",
    ".dgggggglwwwwwwwwwwwwwwlggggggd.", ".dggggggglwwwwwwwwwwwwlgggggggd.",
    ".dgggggggggwwwwwwwwwwgggggggggd.", ".dgggggggggwwwwwwwwwwgggggggggd.",
    ".dgggggggglwwwwwwwwwwlggggggggd.", ".dgggggggglwwwwwwwwwwlggggggggd.",
    ".dggggggggwwwwwllwwwwwggggggggd.", ".dggggggglwwwwggggwwwwlgggggggd.",
    ".dggggggglwwlgggggglwwlgggggggd.", ".dgggggggwwggggggggggwwgggggggd.",
    ".dggggggglgggggggggggglgggggggd.", "..dggggggggggggggggggggggggggd..",
    "..ddggggggggggggggggggggggggdd..", "...ddggggggggggggggggggggggdd...",
    ".....dddddddddddddddddddddd.....", "................................",
};

constexpr std::array kIconPalette = {
    fw::PaletteEntry{'d', 0xFF1B5E20}, // border
    fw::PaletteEntry{'g', 0xFF2E9B3E}, // field
    fw::PaletteEntry{'l', 0xFFA8D8AE}, // the star's soft edge
    fw::PaletteEntry{'w', 0xFFFFFFFF}, // the star
};

constexpr std::array kIcons = {
    fw::Icon{IDI_KELIMBO, kIconRows, kIconPalette},
};

constexpr fw::ResourceModule kModule{kDialogs, kMenus, kIcons, kAccelerators};

} // namespace

const fw::ResourceModule& KelimboResources() {
    return kModule;
}
