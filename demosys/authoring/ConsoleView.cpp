#include "demosys/authoring/ConsoleView.h"

#include <imgui.h>

#include <cstring>

void ConsoleView::draw(std::string& command)
{
    command.clear();
    const ImGuiIO& io = ImGui::GetIO();
    // Between the show and the timeline, under the inspector's left edge.
    const float height = ImGui::GetTextLineHeightWithSpacing() * static_cast<float>(KEPT + 1) + 14.0f;
    ImGui::SetNextWindowPos(ImVec2(0.0f, io.DisplaySize.y * 0.62f - height), ImGuiCond_Always);
    ImGui::SetNextWindowSize(ImVec2(io.DisplaySize.x * 0.62f, height), ImGuiCond_Always);
    ImGui::Begin("Console", nullptr,
                 ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings |
                     ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoScrollbar |
                     ImGuiWindowFlags_NoFocusOnAppearing);
    for (const std::string& line : shown)
        ImGui::TextUnformatted(line.c_str());
    ImGui::SetNextItemWidth(-1.0f);
    if (refocus)
    {
        ImGui::SetKeyboardFocusHere();
        refocus = false;
    }
    auto stepHistory = [](ImGuiInputTextCallbackData* data) {
        ConsoleView* self = static_cast<ConsoleView*>(data->UserData);
        const int count = static_cast<int>(self->history.size());
        if (count == 0)
            return 0;
        if (data->EventKey == ImGuiKey_UpArrow)
            self->recalled = self->recalled < 0 ? count - 1 : (self->recalled > 0 ? self->recalled - 1 : 0);
        else if (self->recalled >= 0)
            self->recalled = self->recalled + 1 < count ? self->recalled + 1 : -1;
        data->DeleteChars(0, data->BufTextLen);
        if (self->recalled >= 0)
            data->InsertChars(0, self->history[static_cast<size_t>(self->recalled)].c_str());
        return 0;
    };
    if (ImGui::InputTextWithHint("##command", "a command, e.g. key OBJECT.TRACK 0:10:000 linear 0.5", input, LINE,
                                 ImGuiInputTextFlags_EnterReturnsTrue | ImGuiInputTextFlags_CallbackHistory,
                                 stepHistory, this))
    {
        command = input;
        input[0] = '\0';
        recalled = -1;
        // Enter takes the keyboard from the line; it stays for the next command.
        refocus = true;
        if (!command.empty())
        {
            history.push_back(command);
            if (history.size() > 32)
                history.pop_front();
            shown.push_back("> " + command);
        }
    }
    ImGui::End();
}

void ConsoleView::reply(const std::string& line)
{
    shown.push_back(line);
    while (shown.size() > KEPT)
        shown.pop_front();
}
