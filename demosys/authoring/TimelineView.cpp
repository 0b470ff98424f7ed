#include "demosys/authoring/TimelineView.h"

#include "demosys/authoring/DevShow.h"
#include "demosys/authoring/LoopRegion.h"
#include "demosys/authoring/Waveform.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackStartStopKeyFrame.h"
#include "demosys/timeline/TrackSystem.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const float LABEL_WIDTH = 130.0f;
const float RULER_HEIGHT = 22.0f;
const float LANE_HEIGHT = 15.0f;
// Labels and ticks stay this far apart however far the view is zoomed.
const float MIN_TICK_SPACING = 70.0f;

// A colour of its own for every render target, the same in every frame and
// every run; the screen is grey.
ImU32 targetColour(const std::string& name)
{
    if (name == TrackStartStopKeyFrame::SCREEN)
        return IM_COL32(120, 120, 130, 255);
    unsigned int hash = 2166136261u;
    for (unsigned char c : name)
        hash = (hash ^ c) * 16777619u;
    const float h = static_cast<float>(hash % 360u) / 360.0f;
    float r, g, b;
    ImGui::ColorConvertHSVtoRGB(h, 0.55f, 0.85f, r, g, b);
    return ImGui::ColorConvertFloat4ToU32(ImVec4(r, g, b, 1.0f));
}

double rowMs(unsigned int row, int rowRate)
{
    return static_cast<double>(row) * 1000.0 / static_cast<double>(rowRate > 0 ? rowRate : 1);
}

} // namespace

double TimelineView::msAt(float x) const
{
    const double t = (static_cast<double>(x) - left) / std::max(1.0f, right - left);
    return viewStart + t * (viewEnd - viewStart);
}

float TimelineView::xAt(double ms) const
{
    return left + static_cast<float>((ms - viewStart) / (viewEnd - viewStart)) * (right - left);
}

TimelineView::Request TimelineView::draw(const Show& show)
{
    Request request;
    const double showEnd = std::max(1000.0, static_cast<double>(show.dev->stopMs));
    if (viewEnd <= viewStart || viewEnd > showEnd)
    {
        viewStart = 0.0;
        viewEnd = showEnd;
    }

    ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(0.0f, io.DisplaySize.y * 0.62f));
    ImGui::SetNextWindowSize(ImVec2(io.DisplaySize.x, io.DisplaySize.y * 0.38f));
    ImGui::Begin("Timeline", nullptr,
                 ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse |
                     ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoScrollWithMouse);
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    left = origin.x + LABEL_WIDTH;
    right = origin.x + ImGui::GetContentRegionAvail().x;
    const float rulerBottom = origin.y + RULER_HEIGHT;

    // The ruler and what the pointer does on it.
    ImGui::SetCursorScreenPos(ImVec2(left, origin.y));
    ImGui::InvisibleButton("ruler", ImVec2(std::max(1.0f, right - left), RULER_HEIGHT),
                           ImGuiButtonFlags_MouseButtonLeft | ImGuiButtonFlags_MouseButtonRight);
    auto pointerMs = [&]() {
        return static_cast<unsigned int>(std::min(showEnd, std::max(0.0, msAt(io.MousePos.x))) + 0.5);
    };
    if (ImGui::IsItemActive() && ImGui::IsMouseDown(ImGuiMouseButton_Left))
    {
        request.kind = Request::SCRUB;
        request.from = pointerMs();
    }
    if (ImGui::IsItemDeactivated() && ImGui::IsMouseReleased(ImGuiMouseButton_Left))
    {
        request.kind = Request::SEEK;
        request.from = pointerMs();
    }
    if (ImGui::IsItemHovered() && ImGui::IsMouseClicked(ImGuiMouseButton_Right))
    {
        looping = true;
        loopFrom = pointerMs();
    }
    if (looping && !ImGui::IsMouseDown(ImGuiMouseButton_Right))
    {
        looping = false;
        const unsigned int to = pointerMs();
        request.kind = Request::LOOP;
        request.from = std::min(loopFrom, to);
        request.to = std::max(loopFrom, to);
    }

    // Over the ruler the wheel zooms around the pointer, with Shift it
    // scrolls; over the lanes it scrolls them, as any list.
    if (ImGui::IsItemHovered() && io.MouseWheel != 0.0f)
    {
        const double span = viewEnd - viewStart;
        if (io.KeyShift)
        {
            const double shift = std::min(showEnd - viewEnd, std::max(-viewStart, -io.MouseWheel * span * 0.1));
            viewStart += shift;
            viewEnd += shift;
        }
        else
        {
            const double at = msAt(io.MousePos.x);
            const double scale = std::pow(0.8, static_cast<double>(io.MouseWheel));
            const double newSpan = std::min(showEnd, std::max(500.0, span * scale));
            viewStart = std::max(0.0, at - (at - viewStart) * newSpan / span);
            viewEnd = std::min(showEnd, viewStart + newSpan);
            viewStart = std::max(0.0, viewEnd - newSpan);
        }
    }

    // Ticks: bars where the beat is known, seconds otherwise, thinned to
    // stay readable.
    const double pixelsPerMs = (right - left) / (viewEnd - viewStart);
    const bool bars = show.dev->rowsPerBeat > 0;
    const double barMs = bars ? rowMs(static_cast<unsigned int>(show.dev->rowsPerBeat * std::max(1, show.dev->beatsPerBar)), show.dev->rowRate)
                              : 1000.0;
    double step = barMs;
    while (step * pixelsPerMs < MIN_TICK_SPACING)
        step *= 2.0;
    draw->AddRectFilled(ImVec2(left, origin.y), ImVec2(right, rulerBottom), IM_COL32(40, 40, 48, 255));
    if (show.waveform && !show.waveform->empty())
    {
        // A column a pixel, from the middle of the ruler up and down.
        const float middle = (origin.y + rulerBottom) * 0.5f;
        const float half = RULER_HEIGHT * 0.5f;
        for (float x = left; x < right; x += 1.0f)
        {
            const float level = show.waveform->peak(msAt(x), msAt(x + 1.0f)) * half;
            draw->AddLine(ImVec2(x, middle - level), ImVec2(x, middle + level), IM_COL32(70, 110, 150, 255));
        }
    }
    char text[48];
    for (double ms = std::floor(viewStart / step) * step; ms <= viewEnd; ms += step)
    {
        if (ms < viewStart)
            continue;
        const float x = xAt(ms);
        draw->AddLine(ImVec2(x, origin.y), ImVec2(x, rulerBottom), IM_COL32(160, 160, 170, 255));
        const unsigned int whole = static_cast<unsigned int>(ms + 0.5);
        if (bars)
            std::snprintf(text, sizeof text, "%u:%02u bar %u", whole / 60000u, whole / 1000u % 60u,
                          static_cast<unsigned int>(ms / barMs + 0.5) + 1u);
        else
            std::snprintf(text, sizeof text, "%u:%02u", whole / 60000u, whole / 1000u % 60u);
        draw->AddText(ImVec2(x + 3.0f, origin.y + 3.0f), IM_COL32(220, 220, 225, 255), text);
    }

    // One lane per object, in name order, in a list of their own that
    // scrolls under the ruler.
    ImGui::SetCursorScreenPos(ImVec2(origin.x, rulerBottom + 2.0f));
    ImGui::BeginChild("lanes", ImVec2(0.0f, 0.0f), false, ImGuiWindowFlags_NoSavedSettings);
    ImDrawList* lanes = ImGui::GetWindowDrawList();
    const float lanesTop = ImGui::GetCursorScreenPos().y;
    const float lanesBottom = lanesTop + ImGui::GetContentRegionAvail().y;
    float edgeY = lanesTop;
    if (show.tracks)
        for (const auto& entry : show.tracks->getTrackGroups())
        {
            const float y = ImGui::GetCursorScreenPos().y;
            ImGui::PushID(entry.first.c_str());
            if (ImGui::InvisibleButton("lane", ImVec2(std::max(1.0f, right - origin.x), LANE_HEIGHT)))
                selected = entry.first;
            const bool laneHovered = ImGui::IsItemHovered();
            const bool lanePressed = ImGui::IsItemActivated();
            ImGui::PopID();
            if (!ImGui::IsItemVisible())
                continue;
            ImDrawList* draw = lanes;
            if (entry.first == selected)
                draw->AddRectFilled(ImVec2(origin.x, y), ImVec2(right, y + LANE_HEIGHT), IM_COL32(70, 90, 130, 110));
            const TrackStartStop* track = entry.second->getStartStopTrack();
            std::snprintf(text, sizeof text, "%.14s P%d", entry.first.c_str(), track ? track->getAuthoredPriority() : 0);
            draw->AddText(ImVec2(origin.x, y), IM_COL32(210, 210, 210, 255), text);
            if (track)
            {
                auto box = [&](const TrackStartStopKeyFrame* start, double endMs) {
                    const float x0 = std::max(left, xAt(rowMs(start->row, show.dev->rowRate)));
                    const float x1 = std::min(right, xAt(endMs));
                    if (x1 <= left || x0 >= right || x1 <= x0)
                        return;
                    draw->AddRectFilled(ImVec2(x0, y + 1.0f), ImVec2(x1, y + LANE_HEIGHT - 1.0f),
                                        targetColour(start->targetName), 2.0f);
                    if (x1 - x0 > ImGui::CalcTextSize(start->targetName.c_str()).x + 6.0f)
                        draw->AddText(ImVec2(x0 + 3.0f, y), IM_COL32(15, 15, 20, 255), start->targetName.c_str());
                };
                // Its edges can be taken by the pointer: the start's left
                // side, the stop row's right side ("on" includes it).
                auto edges = [&](const TrackStartStopKeyFrame* start, const TrackStartStopKeyFrame* stop) {
                    const float x0 = xAt(rowMs(start->row, show.dev->rowRate));
                    const float x1 = xAt(rowMs(stop->row + 1u, show.dev->rowRate));
                    const float dx0 = std::abs(io.MousePos.x - x0), dx1 = std::abs(io.MousePos.x - x1);
                    if (!laneHovered || std::min(dx0, dx1) > 4.0f || !edge.object.empty())
                        return;
                    ImGui::SetMouseCursor(ImGuiMouseCursor_ResizeEW);
                    if (lanePressed)
                        edge = { entry.first, start->row, stop->row, dx1 < dx0 };
                };
                track->forEachInterval([&](const TrackStartStopKeyFrame* start, const TrackStartStopKeyFrame* stop) {
                    // "on" includes its stop row; a start without a stop
                    // draws at its row only.
                    box(start, rowMs((stop ? stop->row : start->row) + 1u, show.dev->rowRate));
                    if (stop)
                        edges(start, stop);
                });
            }
            if (edge.object == entry.first)
                edgeY = y;
        }
    if (!edge.object.empty())
    {
        // The span as it would be let go now, outlined over the lane.
        const double ms = std::max(0.0, std::min(showEnd, msAt(io.MousePos.x)));
        const unsigned int pointerRow = static_cast<unsigned int>(ms * show.dev->rowRate / 1000.0 + 0.5);
        unsigned int from = edge.start, to = edge.stop;
        if (edge.end)
            to = std::max(from, pointerRow > 0 ? pointerRow - 1u : 0u);
        else
            from = std::min(to, pointerRow);
        lanes->AddRect(ImVec2(xAt(rowMs(from, show.dev->rowRate)), edgeY),
                       ImVec2(xAt(rowMs(to + 1u, show.dev->rowRate)), edgeY + LANE_HEIGHT), IM_COL32(255, 220, 90, 255),
                       2.0f, 0, 2.0f);
        ImGui::SetTooltip("rows %u to %u", from, to);
        if (!ImGui::IsMouseDown(ImGuiMouseButton_Left))
        {
            if (from != edge.start || to != edge.stop)
            {
                request.kind = Request::SPAN;
                request.object = edge.object;
                request.at = edge.start;
                request.from = from;
                request.to = to;
            }
            edge.object.clear();
        }
    }
    const float playhead = xAt(show.time);
    if (playhead >= left && playhead <= right)
        lanes->AddLine(ImVec2(playhead, lanesTop), ImVec2(playhead, lanesBottom), IM_COL32(255, 70, 60, 255), 2.0f);
    if (show.dev->loop && show.dev->loop->isOn())
        lanes->AddRectFilled(ImVec2(std::max(left, xAt(show.dev->loop->getStart())), lanesTop),
                             ImVec2(std::min(right, xAt(show.dev->loop->getEnd())), lanesBottom), IM_COL32(255, 200, 60, 40));
    ImGui::EndChild();

    // The loop region and the playhead over the ruler too.
    if (show.dev->loop && show.dev->loop->isOn())
        draw->AddRectFilled(ImVec2(std::max(left, xAt(show.dev->loop->getStart())), origin.y),
                            ImVec2(std::min(right, xAt(show.dev->loop->getEnd())), rulerBottom), IM_COL32(255, 200, 60, 60));
    if (looping)
        draw->AddRectFilled(ImVec2(xAt(std::min<double>(loopFrom, msAt(io.MousePos.x))), origin.y),
                            ImVec2(xAt(std::max<double>(loopFrom, msAt(io.MousePos.x))), rulerBottom),
                            IM_COL32(255, 200, 60, 90));
    if (playhead >= left && playhead <= right)
        draw->AddLine(ImVec2(playhead, origin.y), ImVec2(playhead, rulerBottom), IM_COL32(255, 70, 60, 255), 2.0f);

    ImGui::End();
    return request;
}
