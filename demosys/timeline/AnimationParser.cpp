#include "demosys/timeline/AnimationParser.h"

#include "demosys/timeline/Animation.h"
#include "demosys/timeline/Keyframe.h"
#include "mrvutils/File.h"
#include "mrvutils/MRVUtils.h"
#include "mrvutils/StringTokenizer.h"
#include "mrvutils/StringUtils.h"

#include <cctype>
#include <cmath>
#include <limits>

namespace {

const char* const HEADER = "MRVANI1";
const char* const LOAD_ERROR = "Error while loading animation data\n";

bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// [sign] digits [. digits] [e [sign] digits], with at least one digit before
// the exponent; nothing else may follow.
bool isNumber(const std::string& s)
{
    size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.')
    {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E'))
    {
        ++i;
        if (i < s.size() && (s[i] == '-' || s[i] == '+'))
            ++i;
        size_t exponent = 0;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++exponent;
        if (exponent == 0)
            return false;
    }
    return i == s.size();
}

} // namespace

AnimationParser::AnimationParser(const std::string& p) : path(p)
{
}

bool AnimationParser::loadFile(const std::string& file)
{
    File in(file, File::READ);
    if (!in.exists())
    {
        errorMessage = std::string(LOAD_ERROR) + "File '" + file + "' not found!\n";
        valid = false;
        return false;
    }
    text = in.getAsString();
    return true;
}

Animation* AnimationParser::parse()
{
    if (!loadFile(path))
        return nullptr;
    return parseText();
}

Animation* AnimationParser::parse(const std::string& fileText)
{
    text = fileText;
    return parseText();
}

Animation* AnimationParser::parseText()
{
    layout = Layout();
    const std::vector<Line> lines = splitLines();
    if (lines.empty() || lines[0].text != HEADER)
    {
        errorMessage = std::string(LOAD_ERROR) + "File : '" + path + "' have invalid header\n";
        valid = false;
        return nullptr;
    }
    if (lines.size() < 2 || lines[1].items.size() < 2)
    {
        fail("has no keyframe count");
        return nullptr;
    }
    const Line& countLine = lines[1];
    const std::string& countItem = countLine.items[1];
    const int count = MRVUtils::string2Int(countItem);
    if (!StringUtils::isInt(countItem) || countItem == "-" || count < 0)
    {
        fail("line " + MRVUtils::int2string(countLine.number) + ": keyframe count '" + countItem +
             "' is not a whole number of 0 or more");
        return nullptr;
    }

    // The count is only compared with the lines that are there, never used
    // to size anything, so a huge count costs nothing before it fails.
    layout.countLine = countLine.number;
    Animation* animation = new Animation();
    size_t next = 2;
    for (int k = 0; k < count; ++k, next += 2)
    {
        if (next + 1 >= lines.size())
        {
            fail("ends after " + MRVUtils::int2string(k) + " of " + MRVUtils::int2string(count) + " keyframes");
            delete animation;
            return nullptr;
        }
        float pos[3];
        float rot[2];
        if (!readFloats(lines[next], pos, 3) || !readFloats(lines[next + 1], rot, 2))
        {
            delete animation;
            return nullptr;
        }
        animation->addKeyframe(new Keyframe(Vector<float, 3>(pos[0], pos[1], pos[2]), rot[0], rot[1]));
        layout.posLines.push_back(lines[next].number);
        layout.rotLines.push_back(lines[next + 1].number);
    }
    return animation;
}

std::vector<AnimationParser::Line> AnimationParser::splitLines() const
{
    std::vector<Line> lines;
    int number = 0;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        ++number;
        const std::string line = StringUtils::trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        Line entry{ number, line, {} };
        const StringTokenizer tokenizer(line, " \t");
        for (const std::string& token : tokenizer.getTokens())
            entry.items.push_back(StringUtils::trim(token));
        lines.push_back(entry);
    }
    return lines;
}

bool AnimationParser::readFloats(const Line& line, float* out, int count)
{
    const std::string where = "line " + MRVUtils::int2string(line.number) + ": ";
    // Item 0 is the label.
    if (static_cast<int>(line.items.size()) < count + 1)
    {
        fail(where + "expected a label and " + MRVUtils::int2string(count) + " numbers, found '" + line.text + "'");
        return false;
    }
    for (int i = 0; i < count; ++i)
    {
        const std::string& item = line.items[static_cast<size_t>(i + 1)];
        const float value = MRVUtils::string2Float(item);
        // The conversion answers a number beyond the float range with the
        // largest float; such a position is no more usable than a word.
        if (!isNumber(item) || !(std::fabs(value) < std::numeric_limits<float>::max()))
        {
            fail(where + "'" + item + "' is not a number");
            return false;
        }
        out[i] = value;
    }
    return true;
}

void AnimationParser::fail(const std::string& reason)
{
    errorMessage = std::string(LOAD_ERROR) + "File : '" + path + "' " + reason + "\n";
    valid = false;
}
