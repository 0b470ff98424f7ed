#include "tools/mrvobj/MrvobjCommand.h"

#include "demosys/scene/MRVSceneReader.h"
#include "demosys/scene/MRVSceneWriter.h"
#include "tools/mrvobj/ModelImporter.h"
#include "tools/mrvobj/ObjectFilePrinter.h"

#include <ostream>

const char* MrvobjCommand::usage()
{
    return "usage: mrvobj convert MODEL -o FILE   write the meshes of MODEL (glTF, OBJ, FBX, ...) as a 3D object "
           "file\n"
           "       mrvobj dump FILE               list the meshes of a 3D object file\n";
}

int MrvobjCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 4 && args[0] == "convert" && args[2] == "-o")
        return convert(args[1], args[3], out, err);
    if (args.size() == 4 && args[0] == "convert" && args[1] == "-o")
        return convert(args[3], args[2], out, err);
    if (args.size() == 2 && args[0] == "dump")
        return dump(args[1], out, err);
    err << usage();
    return 2;
}

int MrvobjCommand::convert(const std::string& model, const std::string& file, std::ostream& out, std::ostream& err)
{
    MRVObjectFile objects;
    std::string error;
    std::vector<std::string> warnings;
    if (!ModelImporter::import(model, objects, error, warnings))
    {
        err << "mrvobj: " << error << "\n";
        return 1;
    }
    for (const std::string& warning : warnings)
        err << "mrvobj: " << warning << "\n";
    if (!MRVSceneWriter::writeFile(objects, file, error))
    {
        err << "mrvobj: " << error << "\n";
        return 1;
    }
    out << "mrvobj: wrote " << objects.meshes.size() << (objects.meshes.size() == 1 ? " mesh" : " meshes")
        << " to '" << file << "'\n";
    return 0;
}

int MrvobjCommand::dump(const std::string& file, std::ostream& out, std::ostream& err)
{
    MRVObjectFile objects;
    std::string error;
    if (!MRVSceneReader::readFile(file, objects, error))
    {
        err << "mrvobj: " << error << "\n";
        return 1;
    }
    ObjectFilePrinter::print(file, objects, out);
    return 0;
}
