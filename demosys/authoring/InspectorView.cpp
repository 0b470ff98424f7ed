#include "demosys/authoring/InspectorView.h"

#include "demosys/authoring/DevShow.h"
#include "demosys/runtime/Effect.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/timeline/TimelineSyntax.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackKeyFrameInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackStartStopKeyFrame.h"
#include "demosys/timeline/TrackSystem.h"

#include <imgui.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

const char* const CURVES[] = { "linear", "cos-out", "cos-in", "step", "ramp" };

std::string trackName(const std::string& object, const std::string& track)
{
    return TimelineSyntax::quote(object + "." + track);
}

} // namespace

void InspectorView::drawCamera(const Show& show, std::string& command)
{
    if (!ImGui::CollapsingHeader("Camera (F2 flies)"))
        return;
    if (!show.flying)
    {
        if (ImGui::SmallButton("fly from here"))
            command = "camera fly";
        ImGui::SameLine();
        ImGui::TextDisabled("WASD, Q/E, Shift; drag to look");
        return;
    }
    ImGui::TextUnformatted(show.cameraPose.c_str());
    if (ImGui::SmallButton("back to the path"))
        command = "camera off";
    if (!show.pathNow)
    {
        ImGui::TextDisabled("no scene flies a camera path now");
        return;
    }
    ImGui::SameLine();
    if (ImGui::SmallButton("commit to the nearest keyframe"))
        command = "camera commit";
    ImGui::SameLine();
    if (ImGui::SmallButton("as a new keyframe"))
        command = "camera commit new";
}

void InspectorView::draw(const Show& show, std::string& command)
{
    command.clear();
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x * 0.62f, 0.0f));
    ImGui::SetNextWindowSize(ImVec2(io.DisplaySize.x * 0.38f, io.DisplaySize.y * 0.62f));
    ImGui::Begin("Inspector", nullptr,
                 ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings);
    drawCamera(show, command);
    const TrackGroup* group = show.object.empty() || !show.tracks ? nullptr : show.tracks->getTrackGroupByName(show.object);
    if (!group)
    {
        ImGui::TextUnformatted("Click a lane of the timeline.");
        ImGui::End();
        return;
    }
    const unsigned int row =
        static_cast<unsigned int>(static_cast<unsigned long long>(show.time) * static_cast<unsigned int>(show.dev->rowRate) / 1000u);
    const std::string at = TimelineSyntax::formatRow(row, show.dev->rowRate);
    const std::string object = TimelineSyntax::quote(show.object);

    const Effect* effect = group->getEffect();
    const ParameterGroup* parameters = effect ? effect->getParameters() : nullptr;
    ImGui::Text("%s", show.object.c_str());
    if (parameters && parameters->exist("class"))
    {
        ImGui::SameLine();
        ImGui::TextDisabled("%s", parameters->getParameter("class").c_str());
    }
    ImGui::TextDisabled("at %s, row %u", at.c_str(), row);

    if (ImGui::CollapsingHeader("Parameters") && parameters)
        for (const auto& entry : parameters->getEntries())
            if (entry.first != "class")
                ImGui::BulletText("%s = %s", entry.first.c_str(), entry.second.c_str());

    if (ImGui::CollapsingHeader("Intervals", ImGuiTreeNodeFlags_DefaultOpen))
    {
        const TrackStartStop* track = group->getStartStopTrack();
        int index = 0;
        auto interval = [&](const TrackStartStopKeyFrame* start, const TrackStartStopKeyFrame* stop) {
            ImGui::PushID(index++);
            const std::string from = TimelineSyntax::formatRow(start->row, show.dev->rowRate);
            ImGui::Text("%s to %s", from.c_str(), stop ? TimelineSyntax::formatRow(stop->row, show.dev->rowRate).c_str() : "(its row)");
            ImGui::SameLine();
            ImGui::SetNextItemWidth(90.0f);
            if (show.targets && ImGui::BeginCombo("##target", start->targetName.c_str()))
            {
                for (const std::string& target : *show.targets)
                    if (ImGui::Selectable(target.c_str(), target == start->targetName) && target != start->targetName)
                        command = "target " + object + " " + from + " " + TimelineSyntax::quote(target);
                ImGui::EndCombo();
            }
            ImGui::SameLine();
            if (ImGui::SmallButton("delete"))
                command = "off " + object + " " + from;
            ImGui::PopID();
        };
        if (track)
            track->forEachInterval(interval);
        const int rowsPerBar = show.dev->rowsPerBeat * std::max(1, show.dev->beatsPerBar);
        const unsigned int length = static_cast<unsigned int>(rowsPerBar > 0 ? rowsPerBar : std::max(1, show.dev->rowRate * 2));
        if (ImGui::SmallButton(rowsPerBar > 0 ? "add a bar here" : "add two seconds here"))
            command = "on " + object + " " + at + " " + TimelineSyntax::formatRow(row + length - 1, show.dev->rowRate);
    }

    if (ImGui::CollapsingHeader("Tracks", ImGuiTreeNodeFlags_DefaultOpen))
    {
        if (show.dev->rowsPerBeat > 0)
            ImGui::Checkbox("snap to beats", &snapToBeats);
        for (int i = 0; i < group->getInterpolateTrackCount(); ++i)
        {
            const TrackInterpolate* track = group->getInterpolateTrack(i);
            const std::string name = trackName(show.object, track->getName());
            const auto* here = static_cast<const TrackKeyFrameInterpolate*>(track->getKeyframe(row));
            const int curveIndex = here && here->interpolation >= 0 && here->interpolation < 5 ? here->interpolation : 0;
            const std::string curveName = here ? TimelineSyntax::curveName(here->interpolation) : "linear";
            float value = track->getValue(show.time);
            ImGui::PushID(i);
            ImGui::Text("%s (%d keys)", track->getName().c_str(), track->getKeyframeCount());

            // The value at the playhead: let go, it becomes the key there.
            ImGui::SetNextItemWidth(110.0f);
            ImGui::DragFloat("##value", &value, 0.01f, 0.0f, 0.0f, "%.3f");
            if (ImGui::IsItemDeactivatedAfterEdit())
                command = "key " + name + " " + at + " " + curveName + " " + TimelineSyntax::formatThousandths(value);
            ImGui::SameLine();
            if (!here)
            {
                if (ImGui::SmallButton("key here"))
                    command = "key " + name + " " + at + " linear " + TimelineSyntax::formatThousandths(value);
            }
            else
            {
                int chosen = curveIndex;
                ImGui::SetNextItemWidth(80.0f);
                if (ImGui::Combo("##curve", &chosen, CURVES, 5) && chosen != curveIndex)
                    command = "key " + name + " " + at + " " + CURVES[chosen] + " " + TimelineSyntax::formatValue(here->value);
                ImGui::SameLine();
                if (ImGui::SmallButton("delete key"))
                    command = "unkey " + name + " " + at;
            }

            // The curve over the timeline's stretch, its keys as points; a
            // click on one seeks to it, a drag moves it.
            float low = FLT_MAX, high = -FLT_MAX;
            for (int k = 0; k < CURVE_POINTS; ++k)
            {
                const double ms = show.viewStart + (show.viewEnd - show.viewStart) * k / (CURVE_POINTS - 1);
                curve[k] = track->getValue(static_cast<unsigned int>(ms));
                low = std::min(low, curve[k]);
                high = std::max(high, curve[k]);
            }
            if (!(high > low))
            {
                low -= 0.5f;
                high += 0.5f;
            }
            const ImVec2 size(std::max(8.0f, ImGui::GetContentRegionAvail().x), 40.0f);
            const ImVec2 corner = ImGui::GetCursorScreenPos();
            ImGui::InvisibleButton("##curve", size);
            const bool pressed = ImGui::IsItemActivated();
            const bool released = ImGui::IsItemDeactivated();
            ImDrawList* draw = ImGui::GetWindowDrawList();
            draw->AddRectFilled(corner, ImVec2(corner.x + size.x, corner.y + size.y), IM_COL32(30, 34, 44, 255));
            auto point = [&](double ms, float v) {
                return ImVec2(corner.x + static_cast<float>((ms - show.viewStart) / (show.viewEnd - show.viewStart)) * size.x,
                              corner.y + size.y - 3.0f - (v - low) / (high - low) * (size.y - 6.0f));
            };
            for (int k = 1; k < CURVE_POINTS; ++k)
            {
                const double a = show.viewStart + (show.viewEnd - show.viewStart) * (k - 1) / (CURVE_POINTS - 1);
                const double b = show.viewStart + (show.viewEnd - show.viewStart) * k / (CURVE_POINTS - 1);
                draw->AddLine(point(a, curve[k - 1]), point(b, curve[k]), IM_COL32(120, 190, 255, 255));
            }
            const float nowX = point(show.time, low).x;
            draw->AddLine(ImVec2(nowX, corner.y), ImVec2(nowX, corner.y + size.y), IM_COL32(255, 70, 60, 200));
            for (const auto& key : track->getKeyframes())
            {
                const auto* keyframe = static_cast<const TrackKeyFrameInterpolate*>(key.second);
                const double ms = static_cast<double>(keyframe->row) * 1000.0 / show.dev->rowRate;
                if (ms < show.viewStart || ms > show.viewEnd)
                    continue;
                const ImVec2 p = point(ms, keyframe->value);
                draw->AddCircleFilled(p, keyframe->row == row ? 4.5f : 3.0f,
                                      keyframe->row == row ? IM_COL32(255, 220, 90, 255) : IM_COL32(230, 230, 240, 255));
                if (pressed && std::abs(io.MousePos.x - p.x) < 5.0f && std::abs(io.MousePos.y - p.y) < 5.0f)
                    drag = { i, keyframe->row, keyframe->value, io.MousePos.x, io.MousePos.y };
            }
            if (drag.track == i)
            {
                // Where the pointer is, in rows (or beats) and in value; a
                // move of a few pixels either way is no move that way.
                const bool moved = std::abs(io.MousePos.x - drag.pressX) >= 3.0f;
                const bool raised = std::abs(io.MousePos.y - drag.pressY) >= 3.0f;
                const double ms = show.viewStart + (io.MousePos.x - corner.x) / size.x * (show.viewEnd - show.viewStart);
                double rows = std::min(4.0e9, std::max(0.0, ms) * show.dev->rowRate / 1000.0);
                if (snapToBeats && show.dev->rowsPerBeat > 0)
                    rows = std::floor(rows / show.dev->rowsPerBeat + 0.5) * show.dev->rowsPerBeat;
                const unsigned int to = moved ? static_cast<unsigned int>(rows + 0.5) : drag.row;
                const float value =
                    raised ? low + (corner.y + size.y - 3.0f - io.MousePos.y) / (size.y - 6.0f) * (high - low) : drag.value;
                if (moved || raised)
                {
                    draw->AddCircle(point(static_cast<double>(to) * 1000.0 / show.dev->rowRate, value), 5.0f,
                                    IM_COL32(255, 220, 90, 255), 12, 2.0f);
                    ImGui::SetTooltip("row %u, %.3f", to, value);
                }
                if (released)
                {
                    if (!moved && !raised)
                        command = "seek " + TimelineSyntax::formatRow(drag.row, show.dev->rowRate);
                    else
                        command = "move " + name + " " + TimelineSyntax::formatRow(drag.row, show.dev->rowRate) + " " +
                                  TimelineSyntax::formatRow(to, show.dev->rowRate) +
                                  (raised ? " " + TimelineSyntax::formatThousandths(value) : std::string());
                    drag.track = -1;
                }
            }
            ImGui::PopID();
        }
    }
    // A key let go where no curve took it (the list changed under it) is dropped.
    if (!ImGui::IsMouseDown(ImGuiMouseButton_Left))
        drag.track = -1;
    ImGui::End();
}
