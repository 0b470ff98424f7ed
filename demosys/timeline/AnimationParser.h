#pragma once

#include <string>
#include <vector>

class Animation;

// Reads an animation file.
//
// Format: text, lines separated by "\n" (a "\r" before it is ignored), blank
// lines skipped, items within a line separated by runs of spaces or tabs.
//
//   MRVANI1                     header, compared after trimming
//   keyframes N                 a label and the keyframe count, an integer >= 0
//   pos x y z                   per keyframe: a label and the position,
//   rot pitch heading           then a label and the angles in degrees
//
// As a camera path: pos is where the eye is, in the scene's units, in
// OpenGL's right-handed axes (+x right, +y up, +z towards the viewer at
// heading 0). rot turns the view: at pitch 0 and heading 0 the camera looks
// down -z; a positive heading turns it to the right about +y (90 looks down
// +x), a positive pitch tilts it down about x (90 looks straight down).
//
// Labels are not checked: only the place of an item in its line counts.
// Numbers are decimal, with an optional sign, fraction and exponent. Items
// after the last one a line needs, and lines after the last keyframe, are
// ignored. A file with fewer keyframes than its count, a line with too few
// items, or an item that is not a number fails, and the message names the file.
class AnimationParser
{
public:
    explicit AnimationParser(const std::string& path);

    // Where a file's statements are, for edits that change only their lines:
    // line numbers from 1.
    struct Layout
    {
        int countLine = 0;
        std::vector<int> posLines;  // one per keyframe
        std::vector<int> rotLines;
    };

    // A new animation owned by the caller, or null with the parser invalid.
    Animation* parse();
    // The same from a text already read; the path only names it in messages.
    Animation* parse(const std::string& text);
    const Layout& getLayout() const { return layout; }
    // Reads the whole file and keeps its text; false when it is missing.
    bool loadFile(const std::string& path);

    bool isValid() const { return valid; }
    const std::string& getErrorMessage() const { return errorMessage; }

private:
    struct Line
    {
        int number;
        std::string text;
        std::vector<std::string> items;
    };

    std::vector<Line> splitLines() const;
    Animation* parseText();
    bool readFloats(const Line& line, float* out, int count);
    void fail(const std::string& reason);

    std::string path;
    std::string text;
    bool valid = true;
    std::string errorMessage;
    Layout layout;
};
