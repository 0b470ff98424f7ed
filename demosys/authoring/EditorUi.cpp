#include "demosys/authoring/EditorUi.h"

#include "demosys/runtime/MRVDemosys.h"

#include <GL/glew.h>
#include <SDL.h>
#include <backends/imgui_impl_opengl2.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <algorithm>
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
    if (event.type == SDL_KEYUP && std::find(pressedThisFrame.begin(), pressedThisFrame.end(),
                                             event.key.keysym.scancode) != pressedThisFrame.end())
        heldReleases.push_back(event);
    else
        ImGui_ImplSDL2_ProcessEvent(&event);
    if (event.type == SDL_KEYDOWN)
        pressedThisFrame.push_back(event.key.keysym.scancode);
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

bool EditorUi::hasKeyboard() const
{
    return valid && ImGui::GetIO().WantCaptureKeyboard;
}

void EditorUi::beginFrame()
{
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    // This frame has seen the presses; their releases count from the next.
    for (const SDL_Event& release : heldReleases)
        ImGui_ImplSDL2_ProcessEvent(&release);
    heldReleases.clear();
    pressedThisFrame.clear();
}

void EditorUi::render()
{
    ImGui::Render();
    // The back end draws with the fixed pipeline from client arrays and saves
    // most state, but not what an effect may leave bound: a program would
    // draw the panels with a scene's shader, a buffer object would turn the
    // vertex pointers into offsets into it, a texture matrix would move
    // every glyph off the font.
    GLint program = 0, activeUnit = GL_TEXTURE0, arrayBuffer = 0, elementBuffer = 0, matrixMode = GL_MODELVIEW;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeUnit);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_STENCIL_BUFFER_BIT);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_STENCIL_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(static_cast<GLenum>(matrixMode));
    glPopClientAttrib();
    glPopAttrib();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLuint>(elementBuffer));
    glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(arrayBuffer));
    glActiveTexture(static_cast<GLenum>(activeUnit));
    glUseProgram(static_cast<GLuint>(program));
}
