#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

class EffectDefinition;
class ParameterGroup;
class Parameters;
class ScriptDefaults;

// Reads the demoscript into two sets of parameter groups: "system_parameters"
// (one group per system block, by block name) and "effect_parameters" (one
// group per effect object, by object name).
//
// Format. Comments run from "//" to the end of the line; blank lines vanish
// and line structure is otherwise irrelevant. After comments are stripped the
// text must start with "{MRVDS1}" (no blanks inside the braces), followed by
// blocks written `name { statements }`:
//
//   {MRVDS1}
//   paths { definition = definitions/; shaders = shaders/; }
//   system { rowrate = 20; }
//   shaders { blend = blend; }
//   timeline { not read }
//   blend1 * BlendEffect { shader = shaders[blend]; }
//
// Statements are `key = value` separated by ";"; the key is one word, the
// value any text without "=", ";", "{", "}" or "//". Blocks do not nest and
// an empty block is skipped as if absent. A name holding "*" is an effect
// object, `object * Class`; "timeline" is skipped; every other name is a
// system block, a later one replacing an earlier one of the same name.
//
// Defaults and validation (with parseDefaults(true)). Reading the "paths"
// block loads the .def file of every registered effect class and of
// "system", "screen" and "sound" from its "definition" directory. From then
// on a block starts from its definition's defaults (system blocks without a
// definition start empty); an effect block before the paths block has no
// defaults and fails. Every entry of an effect group is then checked, in
// byte order of the keys, against its declared type and options, and
// references written `block[key]` are resolved to the bare key when an
// earlier system block has that key. The group finally gets "class" set to
// the class part of the block name. System blocks are not validated.
//
// The first error stops the parse and keeps its message.
class DemoScriptParser
{
public:
    static const std::string header;

    explicit DemoScriptParser(const std::string& scriptFileName);
    ~DemoScriptParser();

    DemoScriptParser(const DemoScriptParser&) = delete;
    DemoScriptParser& operator=(const DemoScriptParser&) = delete;

    void parseDefaults(bool enabled) { parseDefaultsEnabled = enabled; }
    void setDebug(bool enabled) { debug = enabled; }
    // Reads effect blocks of any class, registered or not: for tools that
    // only want the production's names, without the program's effects.
    void acceptAnyClass(bool enabled) { anyClass = enabled; }

    // Runs once; does nothing on a parser that is already invalid.
    void parse();

    bool isValid() const { return valid; }
    const std::string& getErrorMessage() const { return errorMessage; }

    // "system_parameters" or "effect_parameters", or null before parse().
    // The set passes to the caller, who deletes it; a set nobody asked for,
    // as after a failed parse, is deleted with the parser.
    Parameters* getParameterGroup(const std::string& name);
    // The loaded definitions; they stay owned by the parser.
    ScriptDefaults* getScriptDefaults() const { return scriptDefaults; }

private:
    static std::string stripComments(const std::string& text);
    // The two halves of an effect block name "object * Class", trimmed;
    // "" for a missing half.
    static std::string getEffectName(const std::string& blockName);
    static std::string getEffectClass(const std::string& blockName);
    static bool isTemplateRegistered(const std::string& className);

    bool parseBlocks();
    bool parseBlock(const std::string& name, const std::string& body);
    bool chooseGroup(const std::string& name);
    bool addStatement(const std::string& block, const std::string& statement);
    bool finishEffectBlock(const std::string& name);
    bool validate(const std::string& instance, const std::string& className, const EffectDefinition& definition);
    bool validateEntry(const std::string& instance, const std::string& className,
                       const EffectDefinition& definition, const std::string& key, std::string& value);
    bool parseDefaults();
    std::string reverseLookup(const std::string& value) const;
    bool fail(const std::string& message);

    std::string scriptFileName;
    std::string scriptText;
    std::map<std::string, Parameters*> parameterSets;
    ScriptDefaults* scriptDefaults = nullptr;
    std::unique_ptr<ParameterGroup> currentGroup;
    std::string errorMessage = "Unknown error";
    bool valid = true;
    bool parseDefaultsEnabled = false;
    bool debug = false;
    bool anyClass = false;

    Parameters* systemParameters = nullptr;
    Parameters* effectParameters = nullptr;
    std::set<std::string> handedOut;
};
