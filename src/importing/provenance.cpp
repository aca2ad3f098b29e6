// SPDX-License-Identifier: GPL-2.0-or-later
#include "importing/provenance.h"

#include <cstdio>

std::string IsoDate(std::chrono::system_clock::time_point when) {
    const std::chrono::year_month_day day{std::chrono::floor<std::chrono::days>(when)};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return text;
}

std::string ProvenanceNote(const Provenance& provenance,
                           std::chrono::system_clock::time_point built) {
    std::string note = provenance.title;
    note += "\nSource: " + provenance.source;
    note += "\nLicence: " + provenance.licence;
    note += "\nCredit: " + provenance.credit;
    if (!provenance.dataAsOf.empty()) {
        note += "\nData as of: " + provenance.dataAsOf;
    }
    note += "\nBuilt: " + IsoDate(built);
    return note;
}
