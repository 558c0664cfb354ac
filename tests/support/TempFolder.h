#pragma once

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace orvane::test {

// A fresh folder under the system's temporary folder, removed with all it
// holds when the test ends. When none can be made the test stops in its
// fixture (Google Test reports the exception) instead of writing elsewhere.
class TempFolder
{
public:
    TempFolder()
    {
        // A random name, taken only if no one has it yet: create_directory is
        // false for a folder that exists (mkdtemp is POSIX only).
        const std::filesystem::path parent = std::filesystem::temp_directory_path();
        std::random_device seed;
        std::mt19937_64 random(seed());
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            const std::filesystem::path candidate
                = parent / ("orvane-test-" + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) {
                m_path = candidate.generic_string(); // "/" joins names, as file() does
                return;
            }
        }
        throw std::runtime_error("cannot create a scratch folder in " + parent.string());
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + "/" + name; }

private:
    static constexpr int kAttempts = 100;
    std::string m_path;
};

} // namespace orvane::test
