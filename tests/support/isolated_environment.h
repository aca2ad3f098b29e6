// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The surroundings of a program a test starts: folders of its own for
// everything the user's session would otherwise lend it, so that it never
// reads or writes the user's files, never reaches a Kelimbo the user has
// running, and never finds one that another program left in the shared
// fallback folder. Every test that starts a program starts it with one.
//
// Given: HOME, XDG_RUNTIME_DIR (only the owner may enter it, as the program
// requires), XDG_STATE_HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and
// XDG_CACHE_HOME, each a fresh folder; QT_QPA_PLATFORM=offscreen. Taken
// away: DISPLAY, WAYLAND_DISPLAY and DBUS_SESSION_BUS_ADDRESS, the ways into
// the user's desktop. Everything else is this process's environment.

#include "support/temp_dir.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

class IsolatedEnvironment {
public:
    IsolatedEnvironment();

    std::filesystem::path Home() const { return m_root.File("home"); }
    std::filesystem::path Runtime() const { return m_root.File("runtime"); }
    std::filesystem::path State() const { return m_root.File("state"); }
    std::filesystem::path Config() const { return m_root.File("config"); }
    std::filesystem::path Data() const { return m_root.File("data"); }

    // Sets or replaces one more variable.
    void Set(const std::string& name, const std::string& value) { m_variables[name] = value; }
    // Every variable the program is given, by name.
    const std::map<std::string, std::string>& Variables() const { return m_variables; }
    // The same as "NAME=value", as exec takes them.
    std::vector<std::string> Entries() const;

    // Hands the folders to another user (uid and gid), for a program run as
    // that user.
    void GiveTo(unsigned user, unsigned group) const;

private:
    TempDir m_root;
    std::map<std::string, std::string> m_variables;
};

// An environment as exec and posix_spawn take it, for as long as this lives.
class ExecEnvironment {
public:
    explicit ExecEnvironment(const IsolatedEnvironment& environment);
    ExecEnvironment(const ExecEnvironment&) = delete;
    ExecEnvironment& operator=(const ExecEnvironment&) = delete;
    char* const* Get() const { return m_pointers.data(); }

private:
    std::vector<std::string> m_entries;
    std::vector<char*> m_pointers;
};

} // namespace testing_support
