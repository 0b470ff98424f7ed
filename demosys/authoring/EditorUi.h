#pragma once

#include <SDL.h>

#include <vector>

// Dear ImGui over the show, through the SDL2 and OpenGL 2 back ends it ships:
// one context, made with the GL context current and gone before it. A frame
// of it is begun and drawn only while the editor is open, so a closed editor
// costs nothing. The GL state it changes is put back: most by the back
// end, the program, buffer bindings and texture matrix by render().
class EditorUi
{
public:
    EditorUi();
    ~EditorUi();

    EditorUi(const EditorUi&) = delete;
    EditorUi& operator=(const EditorUi&) = delete;

    bool isValid() const { return valid; }
    // True when the editor takes the event (the pointer is over a panel, or
    // a panel has the keyboard) and the show must not act on it.
    bool event(const SDL_Event& event);
    // Whether a panel takes what is typed (the console line has the focus).
    bool hasKeyboard() const;
    void beginFrame();
    void render();

private:
    bool valid = false;
    // A key let go in the frame it was pressed in (a quick Enter at a low
    // frame rate) would never be seen as pressed: its release waits for
    // the next frame.
    std::vector<SDL_Event> heldReleases;
    std::vector<int> pressedThisFrame;
};
