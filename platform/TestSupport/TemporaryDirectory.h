// A folder of a test's own under the system's temporary directory, made unique with
// mkdtemp and removed with everything in it when the object goes. Tests run in
// parallel, so no two of them may share a fixed path.
// Thread: any (one owner).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

class TemporaryDirectory {
  public:
    explicit TemporaryDirectory(const std::string& prefix = "emberfall-test") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder from " + pattern);
        folder = pattern;
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return folder; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return folder / name;
    }

  private:
    std::filesystem::path folder;
};
