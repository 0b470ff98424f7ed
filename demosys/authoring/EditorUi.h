#pragma once

union SDL_Event;

// Dear ImGui over the show, through the SDL2 and OpenGL 2 back ends it ships:
// one context, made with the GL context current and gone before it. A frame
// of it is begun and drawn only while the editor is open, so a closed editor
// costs nothing. The back end puts back every GL state it changes.
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
};
