// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Whether a character belongs to a word, for trimming a selection to a word.

// True for the 52 Latin letters, the Cyrillic letters А–я, Ё and ё, and the
// accented Esperanto letters; false for digits, blanks, punctuation and the
// rest.
bool is_word_letter(char16_t c);

// The same test on one byte of an index key (Windows-1251, the accented
// Esperanto letters written as a Latin letter and 'x'): the Latin letters,
// А–я, Ё and ё.
bool is_key_letter(char byte);
