#include "tools/mrvsynth/MrvsynthCommand.h"

#include "tools/mrvsynth/Arrangement.h"
#include "tools/mrvsynth/OggWriter.h"
#include "tools/mrvsynth/ScoreParser.h"
#include "tools/mrvsynth/SongRenderer.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>

const char* MrvsynthCommand::usage()
{
    return "usage: mrvsynth render SCORE -o FILE.ogg [-q QUALITY]   render SCORE as Ogg Vorbis (quality 0 to 1, "
           "default 0.4)\n"
           "       mrvsynth info SCORE                              list the sections with their times and rows\n";
}

int MrvsynthCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 2 && args[0] == "info")
        return info(args[1], out, err);
    if ((args.size() == 4 || args.size() == 6) && args[0] == "render" && args[2] == "-o")
    {
        double quality = DEFAULT_QUALITY;
        if (args.size() == 6)
        {
            char* end = nullptr;
            quality = std::strtod(args[5].c_str(), &end);
            if (args[4] != "-q" || args[5].empty() || *end != '\0' || !(quality >= 0.0 && quality <= 1.0))
            {
                err << usage();
                return 2;
            }
        }
        return render(args[1], args[3], quality, out, err);
    }
    err << usage();
    return 2;
}

int MrvsynthCommand::render(const std::string& scorePath, const std::string& file, double quality,
                            std::ostream& out, std::ostream& err)
{
    const auto began = std::chrono::steady_clock::now();
    ScoreParser parser(scorePath);
    Score score;
    if (!parser.parseFile(score))
    {
        err << parser.getError() << "\n";
        return 1;
    }
    const std::vector<float> samples = SongRenderer(score).renderInterleaved();
    std::string error;
    if (!OggWriter::write(file, samples, Score::SAMPLE_RATE, quality, error))
    {
        err << "mrvsynth: " << error << "\n";
        return 1;
    }
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", took);
    out << "mrvsynth: wrote '" << file << "' (" << clock(score.lengthSeconds()) << ", " << samples.size() / 2
        << " frames at " << Score::SAMPLE_RATE << " Hz) in " << seconds << " s\n";
    return 0;
}

int MrvsynthCommand::info(const std::string& scorePath, std::ostream& out, std::ostream& err)
{
    ScoreParser parser(scorePath);
    Score score;
    if (!parser.parseFile(score))
    {
        err << parser.getError() << "\n";
        return 1;
    }
    out << score.tempo << " BPM, " << score.beatsPerBar << " beats of " << score.stepsPerBeat << " steps a bar, "
        << 60 * score.rowRate / score.tempo << " rows a beat at " << score.rowRate << " rows per second\n";
    for (const Pattern& pattern : score.patterns)
    {
        out << "pattern " << pattern.name << ": " << pattern.steps << " steps";
        if (pattern.steps % score.stepsPerBar() == 0)
            out << " (" << pattern.steps / score.stepsPerBar() << (pattern.steps == score.stepsPerBar() ? " bar)" : " bars)");
        out << "\n";
    }
    const std::vector<uint64_t> starts = Arrangement::entryStarts(score);
    for (size_t entry = 0; entry < score.song.size(); ++entry)
    {
        const Section& section = score.sections[score.song[entry]];
        const uint64_t beat = starts[entry] / score.stepsPerBeat;
        const double seconds = static_cast<double>(score.sampleOfStep(starts[entry])) / Score::SAMPLE_RATE;
        out << clock(seconds) << "  row " << beat * (60 * score.rowRate / score.tempo) << "  bar "
            << starts[entry] / score.stepsPerBar() + 1 << "  " << section.name << " (" << section.bars
            << (section.bars == 1 ? " bar)\n" : " bars)\n");
    }
    out << clock(score.lengthSeconds()) << "  row "
        << score.totalSteps() / score.stepsPerBeat * (60 * score.rowRate / score.tempo) << "  end\n";
    return 0;
}

std::string MrvsynthCommand::clock(double seconds)
{
    const long millis = std::lround(seconds * 1000.0);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld.%03ld", millis / 60000, millis / 1000 % 60, millis % 1000);
    return text;
}
