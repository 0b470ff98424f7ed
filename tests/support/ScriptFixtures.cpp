#include "tests/support/ScriptFixtures.h"

#include "demosys/data/DataEffectPool.h"
#include "demosys/runtime/Effect.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/script/ParameterGroup.h"
#include "tests/support/StdoutCapture.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>

namespace scripttest
{

TemplatePool::TemplatePool(const std::vector<std::string>& classNames)
{
    MRVDemosys::effectTemplatePool = new DataEffectPool();
    for (const std::string& name : classNames)
        MRVDemosys::effectTemplatePool->addEffect(name, new Effect());
}

TemplatePool::~TemplatePool()
{
    std::ostringstream sink;
    std::streambuf* old = std::cout.rdbuf(sink.rdbuf());
    delete MRVDemosys::effectTemplatePool;
    std::cout.rdbuf(old);
}

static std::string valueIn(const Parameters* set, const std::string& group, const std::string& key)
{
    const ParameterGroup* found = set ? set->getGroup(group) : nullptr;
    return found ? found->getParameter(key) : "<no group>";
}

std::string ParseResult::systemValue(const std::string& group, const std::string& key) const
{
    return valueIn(system.get(), group, key);
}

std::string ParseResult::effectValue(const std::string& group, const std::string& key) const
{
    return valueIn(effects.get(), group, key);
}

ParseResult parseFile(const std::string& fileName, bool withDefaults, bool debug)
{
    ParseResult result;
    StdoutCapture capture;
    result.parser.reset(new DemoScriptParser(fileName));
    result.parser->parseDefaults(withDefaults);
    result.parser->setDebug(debug);
    result.parser->parse();
    result.system.reset(result.parser->getParameterGroup("system_parameters"));
    result.effects.reset(result.parser->getParameterGroup("effect_parameters"));
    result.log = capture.take();
    return result;
}

const char* const blendDefinition =
    "parameters {\n"
    "    shader [type=string] [default=default] [values=<string>];\n"
    "    mode [type=string] [default=add] [values=add, multiply];\n"
    "    opacity [type=float] [default=1.0] [values=<string>];\n"
    "    count [type=int] [default=4] [values=<string>];\n"
    "    visible [type=bool] [default=true] [values=<string>];\n"
    "}\n"
    "methods {\n"
    "    flash(color, duration);\n"
    "}\n";

ScriptTest::ScriptTest()
    : templates({"BlendEffect", "FadeEffect"})
{
    writeDefinition("BlendEffect", blendDefinition);
    writeDefinition("FadeEffect", "parameters {\n    speed [type=float] [default=0.5] [values=<string>];\n}\n");
    writeDefinition("system", "parameters {\n    rowrate [type=int] [default=20] [values=<string>];\n"
                              "    stop [type=int] [default=1800000] [values=<string>];\n}\n");
    writeDefinition("screen", "parameters {\n    width [type=int] [default=640] [values=<string>];\n}\n");
    writeDefinition("sound", "parameters {\n    play [type=int] [default=1] [values=<string>];\n}\n");
}

std::string ScriptTest::pathsBlock() const
{
    return "paths {\n    definition = " + dir.path() + "definitions/;\n}\n";
}

void ScriptTest::writeDefinition(const std::string& name, const std::string& text) const
{
    dir.write("definitions/" + name + ".def", text);
}

void ScriptTest::removeDefinition(const std::string& name) const
{
    std::remove((dir.path() + "definitions/" + name + ".def").c_str());
}

ParseResult ScriptTest::parse(const std::string& script, bool withDefaults, bool debug) const
{
    return parseFile(dir.write("demoscript.txt", script), withDefaults, debug);
}

ParseResult ScriptTest::parseWithPaths(const std::string& blocks) const
{
    return parse("{MRVDS1}\n" + pathsBlock() + blocks);
}

}
