// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Ids of the program's resources, controls and commands.

#include <cstdint>

// Dialog templates.
inline constexpr std::uint16_t IDD_KELIMBO_DIALOG = 102; // the search window
inline constexpr std::uint16_t IDD_KELIMBO_WIDE = 103;   // the layout of a screen wider than tall
inline constexpr std::uint16_t IDD_LEGILO_DIALOG = 104;  // the reader
inline constexpr std::uint16_t IDD_DICTIONARIES = 105;   // "Словари": the added dictionaries

// Icon.
inline constexpr std::uint16_t IDI_KELIMBO = 128;

// Accelerator tables.
inline constexpr std::uint16_t IDR_ACCEL_SEARCH = 140; // the search window's keys
inline constexpr std::uint16_t IDR_ACCEL_READER = 141; // the reader's keys

// Soft-key menus.
inline constexpr std::uint16_t IDR_MENU_BACK_FORWARD = 130; // "назад" and "вперёд"
inline constexpr std::uint16_t IDR_MENU_BACK = 131;         // "назад" alone
inline constexpr std::uint16_t IDR_MENU_FORWARD = 133;      // "назад " greyed, "вперёд"
// The word list's keys: the order it is shown in (pressed: the next order)
// and "Экспорт…", one menu for each order.
inline constexpr std::uint16_t IDR_MENU_WORDS_BY_DATE = 134;
inline constexpr std::uint16_t IDR_MENU_WORDS_BY_NAME = 135;
inline constexpr std::uint16_t IDR_MENU_WORDS_BY_LOOKUPS = 136;
// The search window's keys while the word list holds words: those of menus
// 131, 133 and 130, or none, followed by "Мои слова".
inline constexpr std::uint16_t IDR_MENU_WORDS = 150;
inline constexpr std::uint16_t IDR_MENU_BACK_WORDS = 151;
inline constexpr std::uint16_t IDR_MENU_FORWARD_WORDS = 152;
inline constexpr std::uint16_t IDR_MENU_BACK_FORWARD_WORDS = 153;

// Controls.
inline constexpr int IDC_SEARCH = 1000;
inline constexpr int IDC_ARTICLE = 1002;
inline constexpr int IDC_LIST = 1003;
inline constexpr int IDC_TRANSLATE = 1007;
inline constexpr int IDC_KEEP = 1008; // the reader's star: the word kept in the word list or not
inline constexpr int IDC_WIDE_STATIC = 200;
inline constexpr int IDC_DICTIONARIES = 1010; // the added dictionaries' list

// Commands of the soft keys.
inline constexpr int ID_BACK = 32775;    // "назад"
inline constexpr int ID_FORWARD = 32776; // "вперёд"

// Commands of the accelerators.
inline constexpr int ID_ZOOM_IN = 32780;
inline constexpr int ID_ZOOM_OUT = 32781;
inline constexpr int ID_ZOOM_RESET = 32782;
inline constexpr int ID_FIND = 32783;         // to the search box, its text selected
inline constexpr int ID_QUIT = 32784;         // from the reader: the program ends
inline constexpr int ID_DICTIONARIES = 32785; // the dictionaries dialog
inline constexpr int ID_FULLTEXT = 32790;     // the box's text searched in the articles
inline constexpr int ID_WORD_LIST = 32786;    // the word list in the search window, or back
inline constexpr int ID_WORD_ORDER = 32787;   // the word list's next order
inline constexpr int ID_EXPORT = 32788;       // the word list written to a file
