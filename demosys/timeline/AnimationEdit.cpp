#include "demosys/timeline/AnimationEdit.h"

#include "demosys/timeline/Animation.h"
#include "demosys/timeline/AnimationParser.h"
#include "demosys/timeline/TimelineSyntax.h"
#include "mrvutils/StringUtils.h"
#include "mrvutils/TextLines.h"

#include <memory>
#include <vector>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The line with its items from the second on replaced by `numbers`, in
// place: whatever separates them, and any item after them, stays. Items
// are read as the reader reads them: runs between spaces and tabs, a
// carriage return at either end of one not part of it, a run of nothing
// else no item at all.
std::string renumber(const std::string& line, const std::vector<std::string>& numbers)
{
    struct Item
    {
        size_t begin, end;
    };
    std::vector<Item> items;
    const size_t length = !line.empty() && line.back() == '\n' ? line.size() - 1 : line.size();
    size_t at = 0;
    while (at < length)
    {
        while (at < length && isBlank(line[at]))
            ++at;
        size_t begin = at;
        while (at < length && !isBlank(line[at]))
            ++at;
        size_t end = at;
        while (begin < end && line[begin] == '\r')
            ++begin;
        while (end > begin && line[end - 1] == '\r')
            --end;
        if (begin < end)
            items.push_back({ begin, end });
    }
    if (items.empty())
        return line;
    std::string out = line;
    // From the last, so that earlier offsets hold.
    for (size_t i = std::min(numbers.size(), items.size() - 1); i > 0; --i)
        out.replace(items[i].begin, items[i].end - items[i].begin, numbers[i - 1]);
    return out;
}

std::string lineEndOf(const std::string& line)
{
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0)
        return "\r\n";
    return "\n";
}

std::vector<std::string> posNumbers(const AnimationEdit::Pose& pose)
{
    return { TimelineSyntax::formatThousandths(pose.position.x()), TimelineSyntax::formatThousandths(pose.position.y()),
             TimelineSyntax::formatThousandths(pose.position.z()) };
}

std::vector<std::string> rotNumbers(const AnimationEdit::Pose& pose)
{
    return { TimelineSyntax::formatThousandths(pose.pitch), TimelineSyntax::formatThousandths(pose.heading) };
}

} // namespace

AnimationEdit::AnimationEdit(const std::string& fileName_, const std::string& text_) : fileName(fileName_), text(text_)
{
}

bool AnimationEdit::fail(const std::string& message)
{
    errorMessage = message;
    return false;
}

bool AnimationEdit::read(AnimationParser::Layout& layout)
{
    AnimationParser parser(fileName);
    std::unique_ptr<Animation> path(parser.parse(text));
    if (!path || !parser.isValid())
        return fail("the camera path does not read as it is: " + StringUtils::trim(parser.getErrorMessage()));
    layout = parser.getLayout();
    return true;
}

bool AnimationEdit::setKeyframe(int index, const Pose& pose)
{
    AnimationParser::Layout layout;
    if (!read(layout))
        return false;
    if (index < 0 || index >= static_cast<int>(layout.posLines.size()))
        return fail("the camera path has no keyframe " + std::to_string(index + 1));
    std::vector<std::string> lines = TextLines::split(text);
    const size_t pos = static_cast<size_t>(layout.posLines[static_cast<size_t>(index)] - 1);
    const size_t rot = static_cast<size_t>(layout.rotLines[static_cast<size_t>(index)] - 1);
    lines[pos] = renumber(lines[pos], posNumbers(pose));
    lines[rot] = renumber(lines[rot], rotNumbers(pose));
    text = TextLines::join(lines);
    editedLine = static_cast<int>(pos) + 1;
    return true;
}

bool AnimationEdit::insertKeyframe(int index, const Pose& pose)
{
    AnimationParser::Layout layout;
    if (!read(layout))
        return false;
    const int count = static_cast<int>(layout.posLines.size());
    if (index < 0 || index > count)
        return fail("the camera path has no keyframe " + std::to_string(index + 1));
    std::vector<std::string> lines = TextLines::split(text);
    const size_t countLine = static_cast<size_t>(layout.countLine - 1);
    // The count line's own end is the file's; a last line without one gets it.
    const std::string end = lineEndOf(lines[countLine]);
    lines[countLine] = renumber(lines[countLine], { std::to_string(count + 1) });

    std::string posLine = "pos 0 0 0" + end, rotLine = "rot 0 0" + end;
    size_t insertAt = countLine + 1;
    if (count > 0)
    {
        // Laid out as the keyframe it goes before, or the last one.
        const size_t model = static_cast<size_t>(index < count ? index : count - 1);
        posLine = lines[static_cast<size_t>(layout.posLines[model] - 1)];
        rotLine = lines[static_cast<size_t>(layout.rotLines[model] - 1)];
        if (posLine.back() != '\n')
            posLine += end;
        if (rotLine.back() != '\n')
            rotLine += end;
        insertAt = index < count ? static_cast<size_t>(layout.posLines[model] - 1)
                                 : static_cast<size_t>(layout.rotLines[model]);
    }
    if (insertAt > lines.size())
        insertAt = lines.size();
    if (insertAt == lines.size() && !lines.empty() && lines.back().back() != '\n')
        lines.back() += end;
    lines.insert(lines.begin() + static_cast<long>(insertAt),
                 { renumber(posLine, posNumbers(pose)), renumber(rotLine, rotNumbers(pose)) });
    text = TextLines::join(lines);
    editedLine = static_cast<int>(insertAt) + 1;
    return true;
}
