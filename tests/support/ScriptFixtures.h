#pragma once

#include "demosys/script/DemoScriptParser.h"
#include "demosys/script/Parameters.h"
#include "tests/support/RegistryGuard.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Helpers for the demoscript and definition tests: a template pool holding
// plain effects under class names, and a fixture that parses script texts
// against a standard set of definition files in a temporary directory.
namespace scripttest
{

// Installs MRVDemosys::effectTemplatePool with a plain Effect under each
// class name, and deletes it again (quietly) at the end.
class TemplatePool
{
public:
    explicit TemplatePool(const std::vector<std::string>& classNames);
    ~TemplatePool();

    TemplatePool(const TemplatePool&) = delete;
    TemplatePool& operator=(const TemplatePool&) = delete;

private:
    testsupport::RegistryGuard registry;
};

// What one parse left behind. The sets are taken from the parser, so they
// are deleted with the result whether the parse succeeded or not.
struct ParseResult
{
    std::unique_ptr<DemoScriptParser> parser;
    std::unique_ptr<Parameters> system;
    std::unique_ptr<Parameters> effects;
    std::string log;

    bool valid() const { return parser->isValid(); }
    std::string error() const { return parser->getErrorMessage(); }
    // The value of key in the named group of a set; "<no group>" when the
    // group is absent.
    std::string systemValue(const std::string& group, const std::string& key) const;
    std::string effectValue(const std::string& group, const std::string& key) const;
};

// Parses the file with defaults switched on (or off), capturing the log.
ParseResult parseFile(const std::string& fileName, bool withDefaults = true, bool debug = false);

// The definition of BlendEffect used by most script tests: one parameter
// of every type, an option list and a method.
extern const char* const blendDefinition;

// Registers BlendEffect and FadeEffect, writes their definitions and those
// of system, screen and sound into definitions/ of a temp dir.
class ScriptTest : public ::testing::Test
{
protected:
    ScriptTest();

    // "paths { definition = <dir>/definitions/; }"
    std::string pathsBlock() const;
    // Replaces a definition file before the next parse.
    void writeDefinition(const std::string& name, const std::string& text) const;
    void removeDefinition(const std::string& name) const;
    // Writes the script and parses it.
    ParseResult parse(const std::string& script, bool withDefaults = true, bool debug = false) const;
    // A script of the header, the paths block and the given blocks.
    ParseResult parseWithPaths(const std::string& blocks) const;

    testsupport::TempDir dir;
    TemplatePool templates;
};

}
