#include "tools/mrvtrack/MrvtrackCommand.h"

#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackSystem.h"
#include "demosys/timeline/TrackSystemIO.h"
#include "mrvutils/File.h"
#include "demosys/timeline/TimelineParser.h"
#include "demosys/timeline/TimelinePrinter.h"
#include "demosys/timeline/TrackDirectoryReader.h"

#include <filesystem>
#include <memory>
#include <ostream>

namespace
{
const int DONE = 0;
const int FAILED = 1;
const int USAGE = 2;

int countFiles(const TrackSystem& system)
{
    int files = 0;
    for (const auto& entry : system.getTrackGroups())
        files += (entry.second->getStartStopTrack() ? 1 : 0) + entry.second->getInterpolateTrackCount();
    return files;
}
}

const char* MrvtrackCommand::usage()
{
    return "usage: mrvtrack compile TIMELINE -o DIR\n"
           "       mrvtrack dump DIR\n";
}

int MrvtrackCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 4 && args[0] == "compile")
    {
        if (args[2] == "-o")
            return compile(args[1], args[3], out, err);
        if (args[1] == "-o")
            return compile(args[3], args[2], out, err);
    }
    if (args.size() == 2 && args[0] == "dump")
        return dump(args[1], out, err);
    err << usage();
    return USAGE;
}

int MrvtrackCommand::compile(const std::string& timeline, const std::string& directory, std::ostream& out,
                             std::ostream& err)
{
    File input(timeline, File::READ);
    if (!input.exists())
    {
        err << "mrvtrack: cannot read timeline '" << timeline << "'\n";
        return FAILED;
    }
    TimelineParser parser(timeline);
    std::unique_ptr<TrackSystem> system(parser.parse(input.getAsString()));
    if (!system)
    {
        err << parser.getErrorMessage();
        return FAILED;
    }

    std::error_code failure;
    std::filesystem::create_directories(directory, failure);
    if (failure || !std::filesystem::is_directory(directory, failure))
    {
        err << "mrvtrack: cannot create directory '" << directory << "'\n";
        return FAILED;
    }
    TrackSystemIO io(directory);
    if (!io.save(system.get()))
    {
        err << "mrvtrack: " << io.getErrorMessage();
        return FAILED;
    }
    out << "mrvtrack: wrote " << countFiles(*system) << " track files to '" << directory << "'\n";
    return DONE;
}

int MrvtrackCommand::dump(const std::string& directory, std::ostream& out, std::ostream& err)
{
    TrackDirectoryReader reader(directory);
    std::unique_ptr<TrackSystem> system(reader.read());
    if (!system)
    {
        err << "mrvtrack: " << reader.getErrorMessage();
        return FAILED;
    }
    std::vector<std::string> warnings = reader.getWarnings();
    out << TimelinePrinter::print(*system, warnings);
    for (const std::string& warning : warnings)
        err << "mrvtrack: warning: " << warning << "\n";
    return warnings.empty() ? DONE : FAILED;
}
