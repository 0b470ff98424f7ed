#include "tools/mrvgfx/MrvgfxCommand.h"

#include "mrvutils/File.h"
#include "tools/mrvgfx/GraphicsCatalog.h"

#include <filesystem>
#include <ostream>
#include <system_error>

namespace {

bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    File file(path, File::WRITE_TRUNCATE);
    for (unsigned char b : bytes)
        file.put(b);
    return file.write();
}

} // namespace

const char* MrvgfxCommand::usage()
{
    return "usage: mrvgfx generate OUTDIR [FILE...]\n"
           "       mrvgfx list\n";
}

int MrvgfxCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && args[0] == "list")
        return list(out);
    if (args.size() >= 2 && args[0] == "generate")
        return generate(args[1], std::vector<std::string>(args.begin() + 2, args.end()), out, err);
    err << usage();
    return 2;
}

int MrvgfxCommand::list(std::ostream& out)
{
    for (const GraphicsCatalog::Entry& e : GraphicsCatalog::entries())
    {
        out << e.path() << "  ";
        if (e.isPicture())
            out << e.width << "x" << e.height << (e.channels == 4 ? " RGBA" : " RGB");
        else
            out << e.bytes << " bytes";
        out << "  " << e.usedBy << "  " << e.shows << "\n";
    }
    return 0;
}

int MrvgfxCommand::generate(const std::string& dir, const std::vector<std::string>& names, std::ostream& out,
                            std::ostream& err)
{
    std::vector<const GraphicsCatalog::Entry*> chosen;
    if (names.empty())
        for (const GraphicsCatalog::Entry& e : GraphicsCatalog::entries())
            chosen.push_back(&e);
    for (const std::string& name : names)
    {
        const GraphicsCatalog::Entry* e = GraphicsCatalog::find(name);
        if (!e)
        {
            err << "mrvgfx: no file named '" << name << "' (see mrvgfx list)\n";
            return 2;
        }
        chosen.push_back(e);
    }
    for (const GraphicsCatalog::Entry* e : chosen)
    {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(dir) / e->folder, ec);
        const std::string path = (std::filesystem::path(dir) / e->folder / e->name).string();
        const std::vector<unsigned char> bytes = e->make();
        if (bytes.empty() || !writeFile(path, bytes))
        {
            err << "mrvgfx: cannot write '" << path << "'\n";
            return 1;
        }
    }
    out << "mrvgfx: wrote " << chosen.size() << " files to '" << dir << "'\n";
    return 0;
}
