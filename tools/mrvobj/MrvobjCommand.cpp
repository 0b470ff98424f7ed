#include "tools/mrvobj/MrvobjCommand.h"

#include "demosys/scene/MRVSceneReader.h"
#include "demosys/scene/MRVSceneWriter.h"
#include "tools/mrvobj/ImportSandbox.h"
#include "tools/mrvobj/ModelImporter.h"
#include "tools/mrvobj/ObjectFilePrinter.h"
#include "tools/mrvobj/PictureExporter.h"

#include <ostream>

const char* MrvobjCommand::usage()
{
    return "usage: mrvobj convert MODEL -o FILE [--pictures DIR]\n"
           "                                  write the meshes of MODEL (glTF, OBJ, FBX, ...) as a 3D object file\n"
           "                                  and its pictures as PNG into DIR (default: FILE's folder/../graphics)\n"
           "       mrvobj dump FILE               list the meshes of a 3D object file\n";
}

int MrvobjCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 2 && args[0] == "dump")
        return dump(args[1], out, err);
    if (!args.empty() && args[0] == "convert")
    {
        std::string model, file, pictures;
        bool haveModel = false, haveFile = false, havePictures = false, ok = true;
        for (size_t i = 1; i < args.size() && ok; ++i)
        {
            if ((args[i] == "-o" || args[i] == "--pictures") && i + 1 < args.size())
            {
                bool& seen = args[i] == "-o" ? haveFile : havePictures;
                ok = !seen && !args[i + 1].empty();
                seen = true;
                (args[i] == "-o" ? file : pictures) = args[i + 1];
                ++i;
            }
            else
            {
                ok = !haveModel && !args[i].empty() && args[i][0] != '-';
                haveModel = true;
                model = args[i];
            }
        }
        if (ok && haveModel && haveFile)
            return convert(model, file, pictures, out, err);
    }
    err << usage();
    return 2;
}

int MrvobjCommand::convert(const std::string& model, const std::string& file, const std::string& pictures,
                           std::ostream& out, std::ostream& err)
{
    return ImportSandbox::run(
        model, ImportSandbox::limitsFor(model),
        [&](std::ostream& childOut, std::ostream& childErr) {
            return convertHere(model, file, pictures, childOut, childErr);
        },
        out, err);
}

int MrvobjCommand::convertHere(const std::string& model, const std::string& file, const std::string& pictures,
                               std::ostream& out, std::ostream& err)
{
    MRVObjectFile objects;
    std::vector<ModelPicture> found;
    std::string error;
    if (!ModelImporter::import(model, objects, found, error))
    {
        err << "mrvobj: " << error << "\n";
        return 1;
    }

    const std::string folder = pictures.empty() ? PictureExporter::defaultFolder(file) : pictures;
    PictureExporter exporter(folder, file);
    std::vector<PictureExporter::Written> written;
    std::vector<std::string> warnings;
    if (!exporter.exportAll(found, objects, written, warnings, error))
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
    for (const PictureExporter::Written& picture : written)
        out << "mrvobj: wrote '" << picture.name << "' (" << picture.width << "x" << picture.height
            << (picture.channels == 4 ? " RGBA" : " RGB") << ") from '" << picture.source << "'\n";
    out << "mrvobj: wrote " << objects.meshes.size() << (objects.meshes.size() == 1 ? " mesh" : " meshes")
        << " to '" << file << "'\n";
    if (!written.empty())
    {
        out << "mrvobj: pictures in '" << folder << "'; for the demoscript's graphics block:\n";
        for (const PictureExporter::Written& picture : written)
            out << "    " << picture.name << " = " << picture.name << ";\n";
    }
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
