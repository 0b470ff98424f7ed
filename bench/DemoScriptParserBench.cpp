#include "demosys/data/DataEffectPool.h"
#include "demosys/runtime/Effect.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/script/DemoScriptParser.h"
#include "demosys/script/Parameters.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

// A production's loading time includes one parse of its demoscript; with
// thousands of effect objects the parse, the defaults and the validation
// must stay linear in the number of blocks.
namespace
{
const int benchClasses = 10;
const int resourceKeys = 100;

std::string className(int index)
{
    return "Bench" + std::to_string(index) + "Effect";
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Ten parameters of every type, one option list and two references.
const char* const benchDefinition =
    "parameters {\n"
    "    texture [type=string] [default=none] [values=<string>];\n"
    "    shader [type=string] [default=none] [values=<string>];\n"
    "    mode [type=string] [default=add] [values=add, multiply, screen]; \n"
    "    opacity [type=float] [default=1.0] [values=<string>];\n"
    "    scale [type=float] [default=1.0] [values=<string>];\n"
    "    speed [type=float] [default=0.5] [values=<string>];\n"
    "    count [type=int] [default=4] [values=<string>];\n"
    "    layer [type=int] [default=0] [values=<string>];\n"
    "    visible [type=bool] [default=true] [values=<string>];\n"
    "    additive [type=bool] [default=false] [values=<string>];\n"
    "}\n"
    "methods {\n"
    "    flash(color, duration);\n"
    "}\n";

// The script and definition files for one block count, written once into a
// private temp dir and removed when the benchmark ends.
class BenchScript
{
public:
    explicit BenchScript(int blocks)
    {
        char pattern[] = "/tmp/demoscript-bench-XXXXXX";
        const char* made = mkdtemp(pattern);
        dir = std::string(made ? made : "/tmp") + "/";

        for (int c = 0; c < benchClasses; ++c)
            writeFile(dir + className(c) + ".def", benchDefinition);
        writeFile(dir + "system.def", "parameters { rowrate [type=int] [default=20] [values=<string>]; }");
        writeFile(dir + "screen.def", "parameters { width [type=int] [default=640] [values=<string>]; }");
        writeFile(dir + "sound.def", "parameters { play [type=int] [default=1] [values=<string>]; }");

        std::string script = "{MRVDS1}\n// generated\npaths {\n    definition = " + dir + ";\n}\n";
        script += "system {\n    rowrate = 20;\n}\ngraphics {\n";
        for (int k = 0; k < resourceKeys; ++k)
            script += "    tex" + std::to_string(k) + " = tex" + std::to_string(k) + ".png;\n";
        script += "}\nshaders {\n";
        for (int k = 0; k < resourceKeys; ++k)
            script += "    sh" + std::to_string(k) + " = sh" + std::to_string(k) + ";\n";
        script += "}\n";
        for (int b = 0; b < blocks; ++b)
        {
            const std::string k = std::to_string(b % resourceKeys);
            script += "fx" + std::to_string(b) + " * " + className(b % benchClasses) + " {\n"
                      "    texture = graphics[tex" + k + "];\n"
                      "    shader = shaders[sh" + k + "];   // a trailing comment\n"
                      "    mode = multiply;\n"
                      "    opacity = 0.75;\n"
                      "    scale = 2.0;\n"
                      "    speed = -0.25;\n"
                      "    count = " + std::to_string(b % 17) + ";\n"
                      "    layer = -1;\n"
                      "    visible = false;\n"
                      "    additive = true;\n"
                      "}\n";
        }
        scriptFile = dir + "demoscript.txt";
        writeFile(scriptFile, script);
    }

    ~BenchScript()
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    std::string dir;
    std::string scriptFile;
};

// The parser logs the definition loading; keep it out of the report.
class QuietStdout
{
public:
    QuietStdout() : old(std::cout.rdbuf(sink.rdbuf())) {}
    ~QuietStdout() { std::cout.rdbuf(old); }
    void drain() { sink.str(std::string()); }

private:
    std::ostringstream sink;
    std::streambuf* old;
};
}

static void BM_DemoScriptParse(benchmark::State& state)
{
    const int blocks = static_cast<int>(state.range(0));
    BenchScript files(blocks);
    QuietStdout quiet;

    MRVDemosys::effectTemplatePool = new DataEffectPool();
    for (int c = 0; c < benchClasses; ++c)
        MRVDemosys::effectTemplatePool->addEffect(className(c), new Effect());

    bool valid = true;
    for (auto _ : state)
    {
        DemoScriptParser parser(files.scriptFile);
        parser.parseDefaults(true);
        parser.parse();
        valid = valid && parser.isValid();
        Parameters* effects = parser.getParameterGroup("effect_parameters");
        valid = valid && effects && effects->size() == blocks;

        state.PauseTiming();
        delete parser.getParameterGroup("system_parameters");
        delete effects;
        quiet.drain();
        state.ResumeTiming();
    }

    delete MRVDemosys::effectTemplatePool;
    MRVDemosys::effectTemplatePool = nullptr;
    if (!valid)
        state.SkipWithError("the generated demoscript did not parse");
    state.SetComplexityN(blocks);
    state.SetItemsProcessed(state.iterations() * blocks);
}
BENCHMARK(BM_DemoScriptParse)->Arg(1000)->Arg(10000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
