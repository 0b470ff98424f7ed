#include "demosys/authoring/EditorUi.h"

#include "demosys/runtime/MRVDemosys.h"

#include <SDL.h>
#include <backends/imgui_impl_opengl2.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <iostream>

EditorUi::EditorUi()
{
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    // The author's files are the text files; the editor writes no other.
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    ImGui::StyleColorsDark();
    valid = MRVDemosys::screen && ImGui_ImplSDL2_InitForOpenGL(MRVDemosys::screen, SDL_GL_GetCurrentContext()) &&
            ImGui_ImplOpenGL2_Init();
    if (!valid)
        std::cout << "Editor unavailable: its user interface could not start on this window" << std::endl;
}

EditorUi::~EditorUi()
{
    if (valid)
    {
        ImGui_ImplOpenGL2_Shutdown();
        ImGui_ImplSDL2_Shutdown();
    }
    ImGui::DestroyContext();
}

bool EditorUi::event(const SDL_Event& event)
{
    if (!valid)
        return false;
    ImGui_ImplSDL2_ProcessEvent(&event);
    const ImGuiIO& io = ImGui::GetIO();
    switch (event.type)
    {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTINPUT:
        return io.WantCaptureKeyboard;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEWHEEL:
        return io.WantCaptureMouse;
    default:
        return false;
    }
}

void EditorUi::beginFrame()
{
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
}

void EditorUi::render()
{
    ImGui::Render();
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
}
