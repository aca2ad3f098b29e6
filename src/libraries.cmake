# SPDX-License-Identifier: GPL-2.0-or-later
# The libraries of Kelimbo and what each may use: the one table of allowed
# dependencies. Each line is a library, lowest first: its folder is src/NAME,
# its target kelimbo_NAME, its headers src/NAME/include/NAME/*.h (included as
# "NAME/header.h"). After the name come the libraries it uses, all of them
# listed above it, and the packages it links (targets with "::").
#
# The build links each library to exactly what its line names, and gives it
# the include roots of those libraries only. The layering test (tests/layering)
# fails when a file of a library includes a header of a library its line does
# not name, when a line names one that is not above it or that the library
# never includes, and when a library above the window line reaches Qt.
#
# Adding a library is a line here (below what it uses, above the window line
# unless it is a window library) and its folder with a CMakeLists.txt that
# calls kelimbo_library(NAME sources...). See DEVELOPERS.md.

kelimbo_layer(platform)
kelimbo_layer(errors    platform)
kelimbo_layer(text      platform)
kelimbo_layer(index     errors platform xxhash::headers)
kelimbo_layer(articles  errors index platform text)
kelimbo_layer(history   errors index platform)
kelimbo_layer(dictbuild articles errors index platform text)
kelimbo_layer(importing articles dictbuild index platform)
kelimbo_layer(revo      importing platform LibXml2::LibXml2)
kelimbo_layer(formats   dictbuild importing platform LibXml2::LibXml2 ZLIB::ZLIB)
kelimbo_layer(forms     index platform text)
kelimbo_layer(fulltext  articles errors forms index platform text SQLite::SQLite3)
kelimbo_layer(lookup    articles errors forms fulltext index platform text)
kelimbo_layer(wordlist  index lookup platform text)

# ---- The windows: Qt 6 from here on and only here; built with KELIMBO_BUILD_GUI.
kelimbo_windows()
kelimbo_layer(framework Qt6::Widgets)
kelimbo_layer(instance  Qt6::Network)
kelimbo_layer(ui        articles errors framework history index lookup platform text wordlist Qt6::Core)
kelimbo_layer(app       articles dictbuild errors framework history instance lookup platform text ui wordlist Qt6::Core)
