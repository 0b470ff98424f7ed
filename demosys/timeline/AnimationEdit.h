#pragma once

#include "demosys/math/Vector.h"
#include "demosys/timeline/AnimationParser.h"

#include <string>

// Edits of a camera path file (the format is in AnimationParser.h) as a
// careful person makes them: a keyframe's "pos" and "rot" lines get new
// numbers with their labels, indentation and spacing kept; a new keyframe
// is two new lines laid out as its neighbour's, and the count line's number
// goes up by one. Every other byte stays. Numbers are written to three
// decimals, trailing zeros dropped.
class AnimationEdit
{
public:
    struct Pose
    {
        Vector<float, 3> position;
        float pitch = 0.0f;
        float heading = 0.0f;
    };

    // fileName is only used in messages.
    AnimationEdit(const std::string& fileName, const std::string& text);

    // False, with the reason in getErrorMessage() and the text unchanged,
    // when the text does not read as a camera path or there is no such
    // keyframe. getLine() is then the keyframe's "pos" line.
    bool setKeyframe(int index, const Pose& pose);
    // Before keyframe `index`; the keyframe count puts it after the last.
    bool insertKeyframe(int index, const Pose& pose);

    const std::string& getText() const { return text; }
    const std::string& getErrorMessage() const { return errorMessage; }
    int getLine() const { return editedLine; }

private:
    // Where the keyframes' lines are in the text as it is.
    bool read(AnimationParser::Layout& layout);
    bool fail(const std::string& message);

    std::string fileName;
    std::string text;
    std::string errorMessage;
    int editedLine = 0;
};
