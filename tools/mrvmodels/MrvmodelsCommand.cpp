#include "tools/mrvmodels/MrvmodelsCommand.h"

#include "demosys/scene/MRVSceneWriter.h"
#include "tools/mrvmodels/ModelCatalog.h"

#include <sys/stat.h>

#include <cerrno>
#include <ostream>

const char* MrvmodelsCommand::usage()
{
    return "usage: mrvmodels list                 list the models\n"
           "       mrvmodels write NAME -o FILE   write one model as a 3D object file\n"
           "       mrvmodels all DIR              write every model into DIR as NAME.o3d\n";
}

int MrvmodelsCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && args[0] == "list")
        return list(out);
    if (args.size() == 4 && args[0] == "write" && args[2] == "-o")
        return write(args[1], args[3], out, err);
    if (args.size() == 2 && args[0] == "all")
        return all(args[1], out, err);
    err << usage();
    return 2;
}

int MrvmodelsCommand::list(std::ostream& out)
{
    for (const ModelCatalog::Entry& entry : ModelCatalog::entries())
        out << entry.name << "  " << entry.description << "\n";
    return 0;
}

int MrvmodelsCommand::write(const std::string& name, const std::string& file, std::ostream& out, std::ostream& err)
{
    const ModelCatalog::Entry* entry = ModelCatalog::find(name);
    if (!entry)
    {
        err << "mrvmodels: no model '" << name << "' (see mrvmodels list)\n";
        return 1;
    }
    const MRVObjectFile objects = entry->build();
    std::string error;
    if (!MRVSceneWriter::writeFile(objects, file, error))
    {
        err << "mrvmodels: " << error << "\n";
        return 1;
    }
    out << "mrvmodels: wrote '" << name << "' (" << objects.meshes.size()
        << (objects.meshes.size() == 1 ? " mesh" : " meshes") << ") to '" << file << "'\n";
    return 0;
}

int MrvmodelsCommand::all(const std::string& dir, std::ostream& out, std::ostream& err)
{
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST)
    {
        err << "mrvmodels: cannot create '" << dir << "'\n";
        return 1;
    }
    for (const ModelCatalog::Entry& entry : ModelCatalog::entries())
    {
        const int status = write(entry.name, dir + "/" + ModelCatalog::fileName(entry), out, err);
        if (status != 0)
            return status;
    }
    return 0;
}
