#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

// A fresh, empty folder /tmp/<prefix>XXXXXX, removed with all it holds when
// this goes (whether or not a test removed it already).
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix)
    {
        std::string pattern = "/tmp/" + prefix + "XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr)
            path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        if (ok())
            std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};
