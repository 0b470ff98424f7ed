#include "demosys/authoring/InspectorView.h"

#include "demosys/runtime/Effect.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackSystem.h"

#include <imgui.h>

#include <cfloat>

void InspectorView::draw(const TrackSystem& tracks, const std::string& object, unsigned int time, double viewStart,
                         double viewEnd)
{
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x * 0.66f, 0.0f));
    ImGui::SetNextWindowSize(ImVec2(io.DisplaySize.x * 0.34f, io.DisplaySize.y * 0.62f));
    ImGui::Begin("Inspector", nullptr,
                 ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings);
    const TrackGroup* group = object.empty() ? nullptr : tracks.getTrackGroupByName(object);
    if (!group)
    {
        ImGui::TextUnformatted("Click a lane of the timeline.");
        ImGui::End();
        return;
    }
    const Effect* effect = group->getEffect();
    const ParameterGroup* parameters = effect ? effect->getParameters() : nullptr;
    ImGui::Text("%s", object.c_str());
    if (parameters && parameters->exist("class"))
    {
        ImGui::SameLine();
        ImGui::TextDisabled("%s", parameters->getParameter("class").c_str());
    }
    if (ImGui::CollapsingHeader("Parameters", ImGuiTreeNodeFlags_DefaultOpen) && parameters)
        for (const auto& entry : parameters->getEntries())
            if (entry.first != "class")
                ImGui::BulletText("%s = %s", entry.first.c_str(), entry.second.c_str());
    if (ImGui::CollapsingHeader("Tracks", ImGuiTreeNodeFlags_DefaultOpen))
        for (int i = 0; i < group->getInterpolateTrackCount(); ++i)
        {
            const TrackInterpolate* track = group->getInterpolateTrack(i);
            for (int k = 0; k < CURVE_POINTS; ++k)
            {
                const double ms = viewStart + (viewEnd - viewStart) * k / (CURVE_POINTS - 1);
                curve[k] = track->getValue(static_cast<unsigned int>(ms));
            }
            ImGui::Text("%s = %.3f (%d keys)", track->getName().c_str(), track->getValue(time),
                        track->getKeyframeCount());
            ImGui::PushID(i);
            ImGui::PlotLines("##curve", curve, CURVE_POINTS, 0, nullptr, FLT_MAX, FLT_MAX,
                             ImVec2(ImGui::GetContentRegionAvail().x, 36.0f));
            ImGui::PopID();
        }
    ImGui::End();
}
