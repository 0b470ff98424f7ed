#include "tools/mrvsynth/SongRenderer.h"

#include "tools/mrvsynth/Arrangement.h"
#include "tools/mrvsynth/Ducker.h"
#include "tools/mrvsynth/Instrument.h"
#include "tools/mrvsynth/Limiter.h"
#include "tools/mrvsynth/NoiseSource.h"
#include "tools/mrvsynth/PingPongDelay.h"
#include "tools/mrvsynth/Reverb.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace
{
const size_t MIX_BLOCK = 4096;
const float DC_CUT_HZ = 20.0f;
}

StereoBuffer SongRenderer::render() const
{
    const size_t length = static_cast<size_t>(score.lengthSamples());
    const std::vector<std::vector<ScoreNote>> notes = Arrangement::notesByTrack(score);
    const std::vector<Curves> curves = buildCurves();
    const Ducker ducker(kickHits(notes), Score::SAMPLE_RATE);
    StereoBuffer master(length);
    StereoBuffer send(length);
    for (size_t t = 0; t < score.tracks.size(); ++t)
    {
        // One track buffer at a time keeps memory at a few song lengths
        // however many tracks there are.
        StereoBuffer track(length);
        renderTrack(static_cast<int>(t), notes[t], curves[t], track);
        mixTrack(track, curves[t], ducker, master, send);
    }
    Reverb(Score::SAMPLE_RATE).process(send);
    for (size_t i = 0; i < length; ++i)
    {
        master.left[i] += send.left[i];
        master.right[i] += send.right[i];
    }
    finish(master);
    return master;
}

std::vector<float> SongRenderer::renderInterleaved() const
{
    StereoBuffer stereo = render();
    std::vector<float> interleaved(stereo.size() * 2);
    for (size_t i = 0; i < stereo.size(); ++i)
    {
        interleaved[2 * i] = stereo.left[i];
        interleaved[2 * i + 1] = stereo.right[i];
    }
    return interleaved;
}

std::vector<SongRenderer::Curves> SongRenderer::buildCurves() const
{
    std::vector<Curves> curves;
    for (const ScoreTrack& track : score.tracks)
    {
        Curves perParam;
        for (int p = 0; p < PARAM_COUNT; ++p)
            perParam.emplace_back(track.values[p]);
        curves.push_back(perParam);
    }
    const std::vector<uint64_t> starts = Arrangement::entryStarts(score);
    for (size_t entry = 0; entry < score.song.size(); ++entry)
    {
        const int section = score.song[entry];
        const uint64_t from = score.sampleOfStep(starts[entry]);
        const uint64_t to = score.sampleOfStep(starts[entry] + score.sectionSteps(section));
        for (const Automation& automation : score.sections[section].automations)
            curves[automation.track][automation.param].addSegment(from, to, automation.from, automation.to);
    }
    return curves;
}

std::vector<uint64_t> SongRenderer::kickHits(const std::vector<std::vector<ScoreNote>>& notes) const
{
    std::vector<uint64_t> hits;
    for (size_t t = 0; t < score.tracks.size(); ++t)
        if (score.tracks[t].kind == Kind::Kick)
            for (const ScoreNote& note : notes[t])
                hits.push_back(score.sampleOfStep(note.step));
    return hits;
}

void SongRenderer::renderTrack(int track, const std::vector<ScoreNote>& notes, const Curves& curves,
                               StereoBuffer& out) const
{
    const ScoreTrack& info = score.tracks[track];
    const std::unique_ptr<Instrument> instrument = Instrument::create(info.kind);
    for (const ScoreNote& note : notes)
    {
        NoteContext context;
        context.rate = static_cast<float>(Score::SAMPLE_RATE);
        context.start = score.sampleOfStep(note.step);
        context.gate = score.sampleOfStep(note.step + note.length) - context.start;
        context.key = note.key;
        context.velocity = note.velocity;
        for (int p = 0; p < PARAM_COUNT; ++p)
            context.params[p] = curves[p].at(context.start);
        context.cutoff = &curves[P_CUTOFF];
        context.seed = NoiseSource::hash(static_cast<uint32_t>(track), note.step, static_cast<uint32_t>(note.key + 1000));
        instrument->render(context, out);
    }
    const ParamValues& values = info.values;
    if (curves[P_DELAY].peak() > 0.0f)
    {
        const double perStep = static_cast<double>(Score::SAMPLE_RATE) * 60.0 / (score.tempo * score.stepsPerBeat);
        const size_t delay = static_cast<size_t>(std::lround(values[P_DELAYSTEPS] * perStep));
        PingPongDelay(delay, values[P_FEEDBACK], Score::SAMPLE_RATE).process(out, curves[P_DELAY]);
    }
}

void SongRenderer::mixTrack(const StereoBuffer& track, const Curves& curves, const Ducker& ducker,
                            StereoBuffer& master, StereoBuffer& send) const
{
    float volume[MIX_BLOCK];
    float pan[MIX_BLOCK];
    float reverb[MIX_BLOCK];
    float duck[MIX_BLOCK];
    float pump[MIX_BLOCK];
    const bool ducks = curves[P_DUCK].peak() > 0.0f;
    for (size_t start = 0; start < track.size(); start += MIX_BLOCK)
    {
        const size_t count = std::min(MIX_BLOCK, track.size() - start);
        curves[P_VOLUME].fill(start, count, volume);
        curves[P_PAN].fill(start, count, pan);
        curves[P_REVERB].fill(start, count, reverb);
        curves[P_DUCK].fill(start, count, duck);
        if (ducks)
            ducker.fill(start, count, pump);
        else
            std::fill(pump, pump + count, 0.0f);
        float lastPan = pan[0] + 1.0f;
        float panLeft = 0.0f;
        float panRight = 0.0f;
        for (size_t i = 0; i < count; ++i)
        {
            if (pan[i] != lastPan)
            {
                // Equal power across the field, unity gain in the middle.
                const float angle = (pan[i] + 1.0f) * 0.78539816f;
                panLeft = std::cos(angle) * 1.41421356f;
                panRight = std::sin(angle) * 1.41421356f;
                lastPan = pan[i];
            }
            const float gain = volume[i] * (1.0f - duck[i] * pump[i]);
            const float left = track.left[start + i] * gain * panLeft;
            const float right = track.right[start + i] * gain * panRight;
            master.left[start + i] += left;
            master.right[start + i] += right;
            send.left[start + i] += left * reverb[i];
            send.right[start + i] += right * reverb[i];
        }
    }
}

void SongRenderer::finish(StereoBuffer& master) const
{
    const float pole = std::exp(-6.2831853f * DC_CUT_HZ / Score::SAMPLE_RATE);
    float lowLeft = 0.0f;
    float lowRight = 0.0f;
    for (size_t i = 0; i < master.size(); ++i)
    {
        lowLeft = master.left[i] + (lowLeft - master.left[i]) * pole;
        lowRight = master.right[i] + (lowRight - master.right[i]) * pole;
        master.left[i] = (master.left[i] - lowLeft) * score.master;
        master.right[i] = (master.right[i] - lowRight) * score.master;
    }
    Limiter(CEILING, Score::SAMPLE_RATE).process(master);
}
