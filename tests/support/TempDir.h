// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
#pragma once

#include <string>

class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    // The folder's path, without a trailing "/".
    const std::string& Path() const { return FPath; }
    // Path() + "/" + Name.
    std::string File(const std::string& Name) const;

private:
    std::string FPath;
};
