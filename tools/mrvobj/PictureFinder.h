#pragma once

#include <string>

// Finds the file a model names as a picture. Models keep the paths of the
// machine they were made on ("C:\Users\...\wood.JPG", "../tex/wood.jpg"), so
// the name is tried as it stands, then relative to the model's folder, then
// by its last component (in any letter case) in the model's folder and its
// sub-folders. The search is bounded (depth and entries), so a model in a
// large tree costs little.
class PictureFinder
{
public:
    explicit PictureFinder(const std::string& modelPath);

    // The path of the picture, or "" when it is nowhere to be found.
    std::string find(const std::string& reference) const;

    static std::string lastComponent(const std::string& reference);

private:
    std::string searchTree(const std::string& name) const;

    std::string folder;
};
