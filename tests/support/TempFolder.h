#pragma once
// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes, so that no run leaves files behind.
#include <filesystem>
#include <string>

#include <sys/types.h>

class TempFolder {
public:
    // The folder is named "<tag>-XXXXXX" with a unique suffix.
    explicit TempFolder(const std::string& tag);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return root; }
    std::string file(const std::string& name) const { return (root / name).string(); }

private:
    std::filesystem::path root;
    pid_t owner; // a forked child must not remove its parent's folder
};
