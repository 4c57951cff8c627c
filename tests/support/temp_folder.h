// A fresh folder of real files for one test, removed when the test ends.
#pragma once
#include <cstdint>
#include <string>

namespace test_support {

// "/tmp/x" <-> "Z:\tmp\x": Wine shows the Linux root as drive Z:.
std::wstring to_windows_path(const std::string& unix_path);
std::string to_unix_path(const std::wstring& windows_path);

// Runs a Linux shell command (Wine starts native programs too); returns its exit code.
int run_unix(const std::string& command);

class temp_folder {
public:
    temp_folder();
    temp_folder(const temp_folder&) = delete;
    temp_folder& operator=(const temp_folder&) = delete;
    ~temp_folder();

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

    // Both create missing parent folders and return the full Windows path.
    std::wstring make_folder(const std::wstring& relative) const;
    std::wstring make_file(const std::wstring& relative, const std::string& content) const;
    // A file of `size` bytes of which none is written: only its length is set.
    std::wstring make_sparse_file(const std::wstring& relative, uint64_t size) const;
    // A directory symbolic link made on the Linux side (Wine cannot make one).
    void make_link(const std::wstring& relative, const std::wstring& target) const;

private:
    std::wstring path_;
};

bool exists(const std::wstring& path);
std::string read_file(const std::wstring& path);

}  // namespace test_support
