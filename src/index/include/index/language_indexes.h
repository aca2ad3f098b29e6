// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The two indexes of the dictionary: Russian headwords in Windows-1251 and
// Esperanto headwords in x-system spelling, each with its own order.

#include "index/headword_index.h"
#include "index/my_less.h"
#include "index/x_less.h"

class cIndexRu : public cIndex {
public:
    const pro_less& GetLess() const override { return m_less; }

private:
    my_less m_less;
};

class cIndexEo : public cIndex {
public:
    const pro_less& GetLess() const override { return m_less; }

private:
    x_less m_less;
};
