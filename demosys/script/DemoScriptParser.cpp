#include "demosys/script/DemoScriptParser.h"

#include "demosys/data/DataEffectPool.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/script/EffectDefinition.h"
#include "demosys/script/EffectDefinitionParser.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "demosys/script/ScriptDefaults.h"
#include "mrvutils/File.h"
#include "mrvutils/StringTokenizer.h"
#include "mrvutils/StringUtils.h"

#include <iostream>
#include <vector>

const std::string DemoScriptParser::header = "{MRVDS1}";

namespace
{
bool isOption(const std::string& value, const std::string& options)
{
    const StringTokenizer list(options, ",");
    for (const std::string& option : list.getTokens())
        if (StringUtils::trim(option) == value)
            return true;
    return false;
}

std::string effectBlockLine(const std::string& instance)
{
    return "Error while parsing demoscript!\nBlock : '" + instance + "' (Effect Definition)\n";
}

std::string bracketError(const std::string& block)
{
    return "Error parsing demoscript!\nBlock have mismatching brackets\nBlock : '" + block + "'\n";
}
}

DemoScriptParser::DemoScriptParser(const std::string& scriptFileName_)
    : scriptFileName(scriptFileName_)
{
    File file(scriptFileName, File::READ);
    if (!file.exists())
    {
        fail("DemoScriptParser : '" + scriptFileName + "' not found!");
        return;
    }
    scriptText = stripComments(file.getAsString());
}

DemoScriptParser::~DemoScriptParser()
{
    delete scriptDefaults;
    for (auto& set : parameterSets)
        if (handedOut.find(set.first) == handedOut.end())
            delete set.second;
}

std::string DemoScriptParser::stripComments(const std::string& text)
{
    const StringTokenizer lines(text, "\r\n");
    std::string result;
    result.reserve(text.size());
    for (const std::string& line : lines.getTokens())
    {
        const size_t comment = line.find("//");
        const std::string code = StringUtils::trim(comment == std::string::npos ? line : line.substr(0, comment));
        if (code.empty())
            continue;
        result += code;
        result += '\r';
    }
    return StringUtils::trim(result);
}

std::string DemoScriptParser::getEffectName(const std::string& blockName)
{
    const StringTokenizer halves(blockName, "*");
    return halves.countTokens() > 0 ? StringUtils::trim(halves.getTokens()[0]) : std::string();
}

std::string DemoScriptParser::getEffectClass(const std::string& blockName)
{
    const StringTokenizer halves(blockName, "*");
    return halves.countTokens() > 1 ? StringUtils::trim(halves.getTokens()[1]) : std::string();
}

// A name entered without a template (an unknown name asked of getEffect)
// cannot produce instances, so it does not count as registered.
bool DemoScriptParser::isTemplateRegistered(const std::string& className)
{
    if (!MRVDemosys::effectTemplatePool)
        return false;
    const auto& templates = MRVDemosys::effectTemplatePool->getEffectMap();
    const auto it = templates.find(className);
    return it != templates.end() && it->second != nullptr;
}

bool DemoScriptParser::fail(const std::string& message)
{
    valid = false;
    errorMessage = message;
    return false;
}

void DemoScriptParser::parse()
{
    if (!valid || !parameterSets.empty())
        return;
    systemParameters = new Parameters();
    effectParameters = new Parameters();
    parameterSets["system_parameters"] = systemParameters;
    parameterSets["effect_parameters"] = effectParameters;
    parseBlocks();
    // A block that failed half-way leaves its unfinished group here.
    currentGroup.reset();
}

bool DemoScriptParser::parseBlocks()
{
    const StringTokenizer tokenizer(scriptText, "{}", true);
    const std::vector<std::string>& tokens = tokenizer.getTokens();
    size_t next = 0;
    auto take = [&]() { return next < tokens.size() ? tokens[next++] : std::string(); };

    std::string head = take();
    head += take();
    head += take();
    if (head != header)
        return fail("Error while parsing demoscript!\nInvalid Script Header\nHeader : '" + head + "'\n");

    while (next < tokens.size())
    {
        const std::string name = stripComments(take());
        if (StringUtils::trim(take()) != "{")
            return fail(bracketError(name));
        const std::string body = stripComments(take());
        if (body == "}")
            continue;
        if (StringUtils::trim(take()) != "}")
            return fail(bracketError(name));
        if (name == "timeline")
            continue;
        if (!parseBlock(name, body))
            return false;
    }
    return true;
}

bool DemoScriptParser::parseBlock(const std::string& name, const std::string& body)
{
    const StringTokenizer statements(body, ";");
    if (!chooseGroup(name))
        return false;
    for (const std::string& statement : statements.getTokens())
        if (!addStatement(name, statement))
            return false;

    if (name.find('*') != std::string::npos)
        return finishEffectBlock(name);

    systemParameters->addGroup(name, currentGroup.release());
    if (name == "paths" && parseDefaultsEnabled)
        return parseDefaults();
    return true;
}

bool DemoScriptParser::chooseGroup(const std::string& name)
{
    if (!parseDefaultsEnabled || name == "paths")
    {
        currentGroup.reset(new ParameterGroup());
        return true;
    }

    if (name.find('*') != std::string::npos)
    {
        const std::string className = getEffectClass(name);
        ParameterGroup* defaults = scriptDefaults ? scriptDefaults->getDefaults(className) : nullptr;
        if (!defaults)
            return fail("Error parsing demoscript!\n"
                        "Defaults for block '" + className + "' not found!\n"
                        "Possible Cause :\n"
                        "- There is no .def file for the block\n"
                        "- Block name have a spelling error?\n"
                        "- paths { } is not the first block in the demoscript?\n");
        currentGroup.reset(defaults);
        return true;
    }

    ParameterGroup* defaults = scriptDefaults ? scriptDefaults->getDefaults(name) : nullptr;
    currentGroup.reset(defaults ? defaults : new ParameterGroup());
    if (defaults && debug)
    {
        defaults->setGroupName(name);
        std::cout << "block name : " << name << std::endl << defaults->toString() << std::flush;
    }
    return true;
}

bool DemoScriptParser::addStatement(const std::string& block, const std::string& statement)
{
    const StringTokenizer parts(StringUtils::trim(statement), "=");
    const std::vector<std::string>& pieces = parts.getTokens();
    const std::string key = pieces.empty() ? std::string() : StringUtils::trim(pieces[0]);
    const std::string value = pieces.size() > 1 ? StringUtils::trim(pieces[1]) : std::string();

    if (StringTokenizer(key, " \n\t\r").countTokens() != 1)
        return fail("Error while parsing demoscript!\nBlock : '" + block + "'\n"
                    "Error: Parameter '" + key + "' is not a single word.\n"
                    "Probable cause: Semocolon forgotten or misplaced");
    if (pieces.size() >= 3)
        return fail("Error while parsing demoscript!\nBlock : '" + block + "'\n"
                    "Error: Parameter '" + key + "' have too many tokens.\n"
                    "Value : '" + value + "'\n"
                    "Probable cause: Semocolon forgotten or misplaced");
    if (pieces.size() < 2)
        return fail("Error while parsing demoscript!\nBlock : '" + block + "'\n"
                    "Error: Parameter '" + key + "' dont seem to have a value\n"
                    "Probable cause: Semocolon misplaced or no assigned value ('" + key + " = ;')");

    currentGroup->addParameter(key, value);
    return true;
}

bool DemoScriptParser::finishEffectBlock(const std::string& name)
{
    const std::string instance = getEffectName(name);
    const std::string className = getEffectClass(name);

    if (!anyClass && !isTemplateRegistered(className))
        return fail(effectBlockLine(instance) +
                    "Error : Effect template '" + className + "' do not exist!\n"
                    "Probable cause : Spelling error or your effect template is not added to the Demosys.\n");
    if (effectParameters->exist(instance))
        return fail(effectBlockLine(instance) +
                    "Error : Redefinition of scriptobject '" + instance + "'\n"
                    "Probable cause : You have two or more effects with identical names\n"
                    "Effect names must be unique!\n");

    if (parseDefaultsEnabled)
    {
        // chooseGroup() already refused classes without a definition.
        const EffectDefinition* definition = scriptDefaults->getEffectDefinition(className);
        if (!validate(instance, className, *definition))
            return false;
    }

    currentGroup->addParameter("class", className);
    effectParameters->addGroup(instance, currentGroup.release());
    return true;
}

bool DemoScriptParser::validate(const std::string& instance, const std::string& className,
                                const EffectDefinition& definition)
{
    // Resolving a reference rewrites a value in place; no entry is added, so
    // the walk stays valid.
    for (const auto& entry : currentGroup->getEntries())
    {
        std::string value = entry.second;
        if (!validateEntry(instance, className, definition, entry.first, value))
            return false;
        if (value != entry.second)
            currentGroup->addParameter(entry.first, value);
    }
    return true;
}

bool DemoScriptParser::validateEntry(const std::string& instance, const std::string& className,
                                     const EffectDefinition& definition, const std::string& key, std::string& value)
{
    const ParameterGroup* declaration = definition.getParameter(key);
    if (!declaration)
        return fail(effectBlockLine(instance) + "Parameter :  '" + key + "'\n" +
                    "Error :  Not defined as a valid parameter for " + className + "\n");

    auto failValue = [&](const std::string& reason) {
        return fail(effectBlockLine(instance) + "Parameter :  '" + key + "'\n" + "Value :  '" + value + "'\n" + reason);
    };

    const std::string type = declaration->getParameter("type");
    if (type == "string")
    {
        const std::string options = declaration->getParameter("values");
        if (options != "<string>" && !isOption(value, options))
            return failValue("Error :  value is not a valid option\nDefined options are : " + options + "\n");
        const std::string resolved = reverseLookup(value);
        if (resolved.empty())
            return failValue("Error : Reverse lookup failed\n");
        value = resolved;
        return true;
    }
    if (type == "float")
        return StringUtils::isFloat(value) || failValue("Error :  value is not a float as defined in " + className + ".def\n");
    if (type == "int")
        return StringUtils::isInt(value) || failValue("Error :  value is not an int as defined in " + className + ".def\n");
    if (type == "bool")
        return StringUtils::isBool(value) || failValue("Error :  value is not a bool as defined in " + className + ".def\n");

    failValue("Param type : " + type + "\nError : Parameter type is not supported!");
    std::cerr << errorMessage << std::endl;
    return false;
}

bool DemoScriptParser::parseDefaults()
{
    std::cout << "[Parsing .def files]" << std::endl;
    delete scriptDefaults;
    scriptDefaults = new ScriptDefaults();

    const ParameterGroup* paths = systemParameters->getGroup("paths");
    const std::string path = paths ? paths->getParameter("definition") : std::string();
    std::cout << "path = " << path << std::endl;

    std::vector<std::string> names;
    if (MRVDemosys::effectTemplatePool)
        for (const auto& entry : MRVDemosys::effectTemplatePool->getEffectMap())
        {
            if (!entry.second)
                continue;
            std::cout << "-> " << entry.first << std::endl;
            names.push_back(entry.first);
        }
    names.push_back("system");
    names.push_back("screen");
    names.push_back("sound");

    for (const std::string& name : names)
    {
        const std::string fileName = path + name + ".def";
        if (debug)
            std::cout << "Loading definition : '" << fileName << std::endl;
        EffectDefinitionParser definitionParser(fileName);
        EffectDefinition* definition = definitionParser.parse();
        if (!definitionParser.isValid() || !definition)
        {
            delete definition;
            return fail(definitionParser.getErrorMessage());
        }
        scriptDefaults->addEffectDefinition(name, definition);
    }
    return true;
}

std::string DemoScriptParser::reverseLookup(const std::string& value) const
{
    const size_t open = value.find('[');
    const size_t close = value.find(']');
    if (open == std::string::npos || close == std::string::npos)
        return value;
    // "a]b[c" names no key; reading "between" them would run backwards.
    if (close < open)
        return std::string();
    const std::string block = value.substr(0, open);
    const std::string key = value.substr(open + 1, close - open - 1);
    const ParameterGroup* group = systemParameters->getGroup(block);
    return group && group->exist(key) ? key : std::string();
}

Parameters* DemoScriptParser::getParameterGroup(const std::string& name)
{
    const auto it = parameterSets.find(name);
    if (it == parameterSets.end())
        return nullptr;
    handedOut.insert(name);
    return it->second;
}
