#pragma once

#include <string>

namespace testsupport
{

// A fresh folder of its own under the test temp folder (/tmp), named
// prefix + six random characters so that a folder left behind says whose it
// is; removed with everything in it when the helper goes. A helper made with
// KEEP_ON_FAILURE leaves the folder where it is when the test running at that
// moment has failed, for the files to be looked at.
class TempDir
{
public:
    enum Keep { REMOVE, KEEP_ON_FAILURE };

    explicit TempDir(const std::string& prefix = "mrvtest-", Keep keep = REMOVE);
    ~TempDir();

    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Ends with "/".
    const std::string& path() const { return root; }
    // The same without the final "/".
    std::string folder() const { return root.substr(0, root.size() - 1); }
    // Writes the bytes to path()+name, creating folders on the way; returns
    // the full path.
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::string root;
    Keep keep;
};

}
