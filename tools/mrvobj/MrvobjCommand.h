#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The mrvobj command line:
//   mrvobj convert MODEL -o FILE [--pictures DIR]
//                                  a model Assimp reads -> 3D object file,
//                                  its pictures -> PNG files in DIR
//   mrvobj dump FILE               list the meshes of a 3D object file
// Results go to out, messages to err. Exit status: 0 done, 1 failed, 2 bad
// usage.
class MrvobjCommand
{
public:
    static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

    // Reads the model under ImportSandbox's ceilings. An empty `pictures`
    // means PictureExporter::defaultFolder(file).
    static int convert(const std::string& model, const std::string& file, const std::string& pictures,
                       std::ostream& out, std::ostream& err);
    static int dump(const std::string& file, std::ostream& out, std::ostream& err);

    static const char* usage();

private:
    static int convertHere(const std::string& model, const std::string& file, const std::string& pictures,
                           std::ostream& out, std::ostream& err);
};
