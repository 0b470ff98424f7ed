#include "tools/mrvtrack/MrvtrackCommand.h"

#include "demosys/script/DemoScriptParser.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "demosys/timeline/TimelineCheck.h"
#include "demosys/timeline/TimelineParser.h"
#include "demosys/timeline/TimelinePrinter.h"
#include "demosys/timeline/TrackDirectoryReader.h"
#include "demosys/timeline/TrackFolderWriter.h"
#include "demosys/timeline/TrackSystem.h"
#include "mrvutils/File.h"

#include <filesystem>
#include <memory>
#include <ostream>

namespace
{
const int DONE = 0;
const int FAILED = 1;
const int USAGE = 2;

// The names a demoscript gives its effect objects and framebuffers, and its
// row rate; its effect classes need not be known here.
bool readProduction(const std::string& script, ProductionNames& names, std::string& error)
{
    DemoScriptParser parser(script);
    parser.acceptAnyClass(true);
    parser.parse();
    if (!parser.isValid())
    {
        error = parser.getErrorMessage();
        return false;
    }
    std::unique_ptr<Parameters> system(parser.getParameterGroup("system_parameters"));
    std::unique_ptr<Parameters> effects(parser.getParameterGroup("effect_parameters"));
    if (effects)
        for (const auto& group : effects->getGroups())
            names.objects.insert(group.first);
    if (const ParameterGroup* framebuffers = system ? system->getGroup("framebuffers") : nullptr)
        for (const auto& entry : framebuffers->getEntries())
            names.framebuffers.insert(entry.first);
    names.readSystem(system ? system->getGroup("system") : nullptr);
    return true;
}
}

const char* MrvtrackCommand::usage()
{
    return "usage: mrvtrack compile TIMELINE -o DIR [--script DEMOSCRIPT]\n"
           "       mrvtrack dump DIR\n";
}

int MrvtrackCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty() && args[0] == "compile")
    {
        std::string timeline, directory, script;
        bool ok = true;
        for (size_t i = 1; i < args.size() && ok; ++i)
        {
            std::string* value = args[i] == "-o" ? &directory : args[i] == "--script" ? &script : nullptr;
            if (value && i + 1 < args.size() && value->empty())
                *value = args[++i];
            else if (!value && timeline.empty() && !args[i].empty() && args[i][0] != '-')
                timeline = args[i];
            else
                ok = false;
        }
        if (ok && !timeline.empty() && !directory.empty())
            return compile(timeline, directory, script, out, err);
    }
    if (args.size() == 2 && args[0] == "dump")
        return dump(args[1], out, err);
    err << usage();
    return USAGE;
}

int MrvtrackCommand::compile(const std::string& timeline, const std::string& directory, const std::string& script,
                             std::ostream& out, std::ostream& err)
{
    std::string text;
    if (!File::read(timeline, text))
    {
        err << "mrvtrack: cannot read timeline '" << timeline << "'\n";
        return FAILED;
    }
    TimelineParser parser(timeline);
    std::unique_ptr<TrackSystem> system(parser.parse(text));
    if (!system)
    {
        err << parser.getErrorMessage();
        return FAILED;
    }
    if (!script.empty())
    {
        ProductionNames names;
        std::string error;
        if (!readProduction(script, names, error))
        {
            err << "mrvtrack: cannot read demoscript '" << script << "':\n" << error;
            return FAILED;
        }
        std::vector<std::string> warnings;
        const bool checked = TimelineCheck::check(timeline, parser.getLines(), parser.getRowRate(), parser.getBeat(),
                                                  names, error, warnings);
        for (const std::string& warning : warnings)
            err << warning << "\n";
        if (!checked)
        {
            err << error;
            return FAILED;
        }
    }

    std::error_code failure;
    std::filesystem::create_directories(directory, failure);
    if (failure || !std::filesystem::is_directory(directory, failure))
    {
        err << "mrvtrack: cannot create directory '" << directory << "'\n";
        return FAILED;
    }
    TrackFolderWriter writer(directory);
    if (!writer.write(*system))
    {
        err << "mrvtrack: " << writer.getErrorMessage();
        return FAILED;
    }
    for (const std::string& removed : writer.getRemoved())
        out << "mrvtrack: removed '" << removed << "': the timeline no longer names it\n";
    out << "mrvtrack: wrote " << writer.getTrackFileCount() << " track files to '" << directory << "'\n";
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
