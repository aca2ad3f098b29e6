# SPDX-License-Identifier: GPL-2.0-or-later
# A table with one fault of each kind, for the test of the layering check.
kelimbo_layer(low)
kelimbo_layer(mid low win)
kelimbo_layer(top low Qt6::Widgets)
kelimbo_windows()
kelimbo_layer(win mid)
