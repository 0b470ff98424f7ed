#include "demosys/timeline/TimelineCheck.h"

#include "demosys/script/ParameterGroup.h"
#include "demosys/timeline/TimelineParser.h"
#include "demosys/timeline/TimelineSyntax.h"
#include "demosys/timeline/TrackSystem.h"
#include "mrvutils/MRVUtils.h"

namespace {

std::string at(const std::string& fileName, int line)
{
    return fileName + ":" + std::to_string(line) + ": ";
}

} // namespace

void ProductionNames::readSystem(const ParameterGroup* system)
{
    auto number = [system](const char* key, int otherwise) {
        return system && system->exist(key) ? MRVUtils::string2Int(system->getParameter(key)) : otherwise;
    };
    rowRate = number("rowrate", TrackSystem::DEFAULT_ROW_RATE);
    rowsPerBeat = number("rowsperbeat", 0);
    beatsPerBar = number("beatsperbar", 4);
}

bool TimelineCheck::check(const std::string& fileName, const TimelineLines& lines, int timelineRowRate,
                          const TimelineBeat& beat, const ProductionNames& production, std::string& error,
                          std::vector<std::string>& warnings)
{
    if (lines.beat && production.rowsPerBeat > 0 &&
        (beat.rowsPerBeat != production.rowsPerBeat || beat.beatsPerBar != production.beatsPerBar))
    {
        error = at(fileName, lines.beat) + "beat " + std::to_string(beat.rowsPerBeat) + " " +
                std::to_string(beat.beatsPerBar) + " differs from the demoscript's rowsperbeat " +
                std::to_string(production.rowsPerBeat) + " and beatsperbar " + std::to_string(production.beatsPerBar) +
                "; every bar would land elsewhere\n";
        return false;
    }
    if (timelineRowRate != production.rowRate)
    {
        error = (lines.rowRate ? at(fileName, lines.rowRate) : fileName + ": ") + "rowrate " +
                std::to_string(timelineRowRate) + (lines.rowRate ? "" : " (the default)") +
                " differs from the demoscript's rowrate " + std::to_string(production.rowRate) +
                "; every time would land elsewhere\n";
        return false;
    }
    // Errors in line order, so that the author is sent to the first one.
    int firstLine = 0;
    auto report = [&firstLine, &error](int line, const std::string& message) {
        if (firstLine == 0 || line < firstLine)
        {
            firstLine = line;
            error = message;
        }
    };
    for (const auto& object : lines.objects)
        if (!production.objects.count(object.first))
            report(object.second, at(fileName, object.second) + "object '" + object.first +
                                      "' is not an effect object of the demoscript\n");
    for (const TimelineLines::Target& target : lines.targets)
        if (!production.framebuffers.count(target.name))
            report(target.line, at(fileName, target.line) + "render target '" + target.name + "' of object '" +
                                    target.object + "' is neither 'screen' nor a framebuffer of the demoscript\n");
    if (firstLine)
        return false;

    for (const auto& object : lines.tracks)
    {
        const auto reads = production.tracks.find(object.first);
        if (reads == production.tracks.end())
            continue;
        for (const auto& track : object.second)
            if (!reads->second.count(track.first))
                warnings.push_back(at(fileName, track.second) + "warning: object '" + object.first +
                                   "' reads no track '" + track.first + "'");
    }
    return true;
}
