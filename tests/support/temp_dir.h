// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A fresh folder for one test, removed with everything in it afterwards, and
// small helpers to put bytes into files and read them back.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Path of a file in the folder as the program's narrow paths hold it: the
    // file system's bytes.
    std::string AnsiPath(std::string_view name) const;
    std::filesystem::path File(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

void WriteBytes(const std::filesystem::path& file, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& file);

// Windows-1251 bytes of UTF-8 text (test data stays readable in the source).
std::string Cp1251(std::string_view utf8);

} // namespace testing_support
