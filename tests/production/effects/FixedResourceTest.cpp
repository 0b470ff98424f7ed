// What each effect class declares it looks up under names of its own, held
// against what its instances in the real production ask the pools for.
#include "demosys/data/DataEffectPool.h"
#include "demosys/runtime/ProgressBar.h"
#include "demosys/script/ResourceLoader.h"
#include "production/EffectRegistry.h"
#include "production/effects/LookupRecorder.h"
#include "production/effects/ResourceLookup.h"

#include "tests/production/effects/EffectTestHarness.h"
#include "tests/support/StdoutCapture.h"

#include <unistd.h>

#include <set>

using namespace effecttest;

namespace {

// The loader's bar would draw over the shared context at every tick.
class QuietBar : public ProgressBar
{
public:
    void draw() override {}
};

// The production's paths are relative to the repository root.
class WorkingDirectory
{
public:
    explicit WorkingDirectory(const std::string& dir)
    {
        char here[4096];
        previous = getcwd(here, sizeof here) ? here : "";
        changed = chdir(dir.c_str()) == 0;
    }
    ~WorkingDirectory()
    {
        if (changed && !previous.empty() && chdir(previous.c_str()) != 0)
            ADD_FAILURE() << "cannot change back to " << previous;
    }
    bool isChanged() const { return changed; }

private:
    std::string previous;
    bool changed = false;
};

std::string describe(FixedResource::Kind kind, const std::string& name)
{
    return std::string(FixedResource::kindName(kind)) + " '" + name + "'";
}

class FixedResourceTest : public EffectHarness
{
protected:
    void SetUp() override
    {
        EffectHarness::SetUp();
        // The loader makes every pool itself.
        delete MRVDemosys::shaderPool;
        delete MRVDemosys::fboPool;
        delete MRVDemosys::texturePool;
        delete MRVDemosys::binaryPool;
        MRVDemosys::shaderPool = nullptr;
        MRVDemosys::fboPool = nullptr;
        MRVDemosys::texturePool = nullptr;
        MRVDemosys::binaryPool = nullptr;
        metrics.setResolution(64, 36);
    }

    void TearDown() override
    {
        ResourceLookup::setRecorder(nullptr);
        EffectHarness::TearDown();
    }
};

// Every effect object of the production is initialised as the loader does it
// while the lookups are recorded. What an object asks for beyond the values
// of its parameters must be exactly what its class declares: a name the
// class looks up without declaring it, or declares without looking it up,
// makes the reference page wrong.
TEST_F(FixedResourceTest, EveryClassDeclaresExactlyTheNamesItsEffectsLookUpBeyondTheirParameters)
{
    WorkingDirectory root(resourcesDir() + "..");
    ASSERT_TRUE(root.isChanged());
    ResourceLoader loader("resources/scripts/demoscript.txt");
    LookupRecorder recorder;
    bool loaded = false;
    std::string log;
    {
        StdoutCapture capture;
        ResourceLoader::createDataPools();
        for (const EffectRegistry::Entry& entry : EffectRegistry::entries())
            MRVDemosys::effectTemplatePool->addEffect(entry.name, entry.make());
        MRVDemosys::pBar = new QuietBar;
        loaded = loader.parseConfig() && loader.loadDataFiles() && loader.createEffectObjects();
        ResourceLookup::setRecorder(&recorder);
        // Runs every effect's init().
        loaded = loaded && loader.createTrackData();
        ResourceLookup::setRecorder(nullptr);
        log = capture.take();
    }
    EXPECT_TRUE(loaded) << loader.getErrorMessage() << "\n" << log;
    EXPECT_EQ(log.find("the effect is not drawn"), std::string::npos) << log;

    std::set<std::string> classesSeen;
    if (loaded)
        for (const auto& object : MRVDemosys::effectPool->getEffectMap())
        {
            const Effect& effect = *object.second;
            const std::string className = effect.getParameters()->getParameter("class");
            classesSeen.insert(className);
            std::vector<LookupRecorder::Lookup> asked = recorder.askedBy(object.first);
            // What the parameters name is the production's choice, not the
            // class's; one lookup per value, so that a fixed name that
            // happens to equal a value is still counted.
            for (const auto& parameter : effect.getParameters()->getEntries())
                for (auto it = asked.begin(); it != asked.end(); ++it)
                    if (it->name == parameter.second)
                    {
                        asked.erase(it);
                        break;
                    }
            std::set<std::string> lookedUp;
            for (const LookupRecorder::Lookup& lookup : asked)
                lookedUp.insert(describe(lookup.kind, lookup.name));
            std::set<std::string> declared;
            for (const FixedResource& resource : effect.getFixedResources())
                EXPECT_TRUE(declared.insert(describe(resource.kind, resource.name)).second)
                    << className << " declares " << describe(resource.kind, resource.name) << " twice";

            for (const std::string& name : lookedUp)
                EXPECT_TRUE(declared.count(name)) << className << " '" << object.first << "' looks up " << name
                                                  << " without declaring it";
            for (const std::string& name : declared)
                EXPECT_TRUE(lookedUp.count(name)) << className << " declares " << name << " but '" << object.first
                                                  << "' never looks it up";
        }
    // A class the production does not use would go unchecked.
    for (const EffectRegistry::Entry& entry : EffectRegistry::entries())
        EXPECT_TRUE(classesSeen.count(entry.name)) << "no " << entry.name << " in the production";

    {
        StdoutCapture quiet;
        loader.dispose();
    }
}

} // namespace
