// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/isolated_environment.h"

#include <unistd.h>

extern char** environ;

namespace testing_support {

namespace fs = std::filesystem;

IsolatedEnvironment::IsolatedEnvironment() {
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos) {
            m_variables[text.substr(0, equals)] = text.substr(equals + 1);
        }
    }
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS"}) {
        m_variables.erase(name);
    }
    const struct {
        const char* variable;
        const char* folder;
    } folders[] = {
        {"HOME", "home"},
        {"XDG_RUNTIME_DIR", "runtime"},
        {"XDG_STATE_HOME", "state"},
        {"XDG_CONFIG_HOME", "config"},
        {"XDG_DATA_HOME", "data"},
        {"XDG_CACHE_HOME", "cache"},
    };
    for (const auto& f : folders) {
        const fs::path folder = m_root.File(f.folder);
        fs::create_directory(folder);
        m_variables[f.variable] = folder.string();
    }
    fs::permissions(Runtime(), fs::perms::owner_all, fs::perm_options::replace);
    m_variables["QT_QPA_PLATFORM"] = "offscreen";
}

std::vector<std::string> IsolatedEnvironment::Entries() const {
    std::vector<std::string> entries;
    for (const auto& [name, value] : m_variables) {
        entries.push_back(name + "=" + value);
    }
    return entries;
}

void IsolatedEnvironment::GiveTo(unsigned user, unsigned group) const {
    for (const auto& entry : fs::recursive_directory_iterator(m_root.Path())) {
        [[maybe_unused]] const int ignored = ::lchown(entry.path().c_str(), user, group);
    }
    [[maybe_unused]] const int ignored = ::lchown(m_root.Path().c_str(), user, group);
}

ExecEnvironment::ExecEnvironment(const IsolatedEnvironment& environment)
    : m_entries(environment.Entries()) {
    for (std::string& entry : m_entries) {
        m_pointers.push_back(entry.data());
    }
    m_pointers.push_back(nullptr);
}

} // namespace testing_support
