#include "support/temp_dir.h"

#include "platform/code_page.h"
#include "platform/file_open.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace testing_support {

TempDir::TempDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("kelimbo-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::AnsiPath(std::string_view name) const {
    return platform::AnsiPath((m_path / name).string());
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::u16string Utf16(std::string_view utf8) {
    std::u16string out(utf8.size(), u'\0');
    out.resize(platform::MultiByteToWide(platform::kUtf8CodePage, utf8.data(), utf8.size(),
                                         out.data(), out.size()));
    return out;
}

std::string Utf8(std::u16string_view utf16) {
    std::string out(utf16.size() * 3, '\0');
    out.resize(platform::WideToMultiByte(platform::kUtf8CodePage, utf16.data(), utf16.size(),
                                         out.data(), out.size()));
    return out;
}

std::string Cp1251(std::string_view utf8) {
    const std::u16string wide = Utf16(utf8);
    std::string out(wide.size(), '\0');
    out.resize(platform::WideToMultiByte(platform::kAnsiCodePage, wide.data(), wide.size(),
                                         out.data(), out.size()));
    return out;
}

} // namespace testing_support
