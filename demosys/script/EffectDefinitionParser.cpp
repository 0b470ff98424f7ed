#include "demosys/script/EffectDefinitionParser.h"

#include "demosys/script/EffectDefinition.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "mrvutils/File.h"
#include "mrvutils/MRVUtils.h"
#include "mrvutils/StringTokenizer.h"
#include "mrvutils/StringUtils.h"

#include <memory>
#include <vector>

namespace
{
const int attributeSlots = 3;

// "name=value=ignored": the name before the first "=", the value up to the
// second one, both as written.
void addAttribute(ParameterGroup& declaration, const std::string& piece)
{
    const size_t first = piece.find('=');
    if (first == std::string::npos)
    {
        declaration.addParameter(piece, "");
        return;
    }
    const size_t second = piece.find('=', first + 1);
    const size_t valueLength = second == std::string::npos ? std::string::npos : second - first - 1;
    declaration.addParameter(piece.substr(0, first), piece.substr(first + 1, valueLength));
}

std::string argumentKey(int index)
{
    const std::string digits = MRVUtils::int2string(index);
    return index < 10 ? "0" + digits : digits;
}
}

EffectDefinitionParser::EffectDefinitionParser(const std::string& fileName_)
    : fileName(fileName_)
{
}

EffectDefinition* EffectDefinitionParser::parse()
{
    File file(fileName, File::READ);
    if (!file.exists())
    {
        errorMessage = "EffectDefinitionParser : '" + fileName + "' not found!";
        valid = false;
        return nullptr;
    }
    fileText = file.getAsString();

    std::unique_ptr<Parameters> parameters;
    std::unique_ptr<Parameters> methods;

    const StringTokenizer blocks(fileText, "{}");
    const std::vector<std::string>& tokens = blocks.getTokens();
    for (size_t i = 0; i < tokens.size(); i += 2)
    {
        const std::string name = StringUtils::trim(tokens[i]);
        const std::string body = i + 1 < tokens.size() ? StringUtils::trim(tokens[i + 1]) : std::string();
        if (name == "parameters")
        {
            parameters.reset(parseParameters(body));
        }
        else if (name == "methods")
        {
            methods.reset(parseMethods(body));
        }
        else
        {
            errorMessage = "EffectDefinitionParser : Invalid block name!\n"
                           "File : " + fileName + "'\n"
                           "block name '" + name + "' is not valid\n"
                           "Valid blocks : parameters, methods\n";
            valid = false;
            return nullptr;
        }
    }

    EffectDefinition* definition = new EffectDefinition();
    definition->setMethods(methods.release());
    definition->setParameters(parameters.release());
    return definition;
}

Parameters* EffectDefinitionParser::parseParameters(const std::string& body)
{
    Parameters* parameters = new Parameters();
    const StringTokenizer declarations(body, ";");
    for (const std::string& text : declarations.getTokens())
    {
        const StringTokenizer split(StringUtils::trim(text), "[]");
        const std::vector<std::string>& pieces = split.getTokens();
        const std::string name = pieces.empty() ? std::string() : StringUtils::trim(pieces[0]);
        ParameterGroup* declaration = new ParameterGroup(name);
        for (int slot = 1; slot <= attributeSlots; ++slot)
        {
            if (slot < static_cast<int>(pieces.size()))
                addAttribute(*declaration, StringUtils::trim(pieces[slot]));
            else
                declaration->addParameter("", "");
        }
        parameters->addGroup(name, declaration);
    }
    return parameters;
}

Parameters* EffectDefinitionParser::parseMethods(const std::string& body)
{
    Parameters* methods = new Parameters();
    const StringTokenizer declarations(body, ";");
    for (const std::string& text : declarations.getTokens())
    {
        const StringTokenizer split(text, "()");
        const std::vector<std::string>& pieces = split.getTokens();
        const std::string name = pieces.empty() ? std::string() : StringUtils::trim(pieces[0]);
        ParameterGroup* method = new ParameterGroup(name);
        if (pieces.size() > 1)
        {
            const StringTokenizer argumentList(StringUtils::trim(pieces[1]), ",");
            const std::vector<std::string>& arguments = argumentList.getTokens();
            for (size_t i = 0; i < arguments.size(); ++i)
                method->addParameter(argumentKey(static_cast<int>(i)), StringUtils::trim(arguments[i]));
        }
        methods->addGroup(name, method);
    }
    return methods;
}
