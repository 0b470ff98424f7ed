#pragma once

#include <FL/Fl_Double_Window.H>
#include <SDL.h>

#include <string>
#include <vector>

class Fl_RGB_Image;
class Fl_Widget;

// The launcher: a fixed-layout dialog where the viewer picks the screen mode,
// fullscreen, vertical sync and antialiasing, then starts the demo or leaves.
// The choices live in statics so the entry can read them after the toolkit's
// event loop has ended and the window is gone from the screen.
class MRVGui : public Fl_Double_Window
{
public:
    // Builds and shows the dialog, centred on the screen.
    MRVGui(int width, int height, const char* title);
    ~MRVGui() override;

    MRVGui(const MRVGui&) = delete;
    MRVGui& operator=(const MRVGui&) = delete;

    static int getScreenWidth() { return screenWidth; }
    static int getScreenHeight() { return screenHeight; }
    static int getAspectWidth() { return aspectWidth; }
    static int getAspectHeight() { return aspectHeight; }
    static int getAntialiasing() { return antialiasing; }
    static bool getFullscreen() { return fullscreen; }
    static bool getVSync() { return vsync; }
    static bool checkQuit() { return quit; }

    // Fills screenModes from the first display: largest first, one entry per
    // size; the desktop's own size when the display lists no modes.
    void getScreenmodes();

    // The aspect class of a mode by its width / height: 16:9, 16:10, 4:3 or
    // 5:4. False for a mode narrower than 5:4, which has no class of its own.
    static bool chooseAspect(int width, int height, int& aspectW, int& aspectH);
    // "(16:9)", "(16:10)", "(4:3)" or "(5:4)"; a narrower mode repeats
    // `previous`, the suffix of the entry listed before it.
    static std::string aspectSuffix(int width, int height, const std::string& previous);
    // One entry of the resolution list: "1280 X 1024 (5:4)".
    static std::string modeEntry(int width, int height, const std::string& suffix);
    // The modes in their order with later ones of an already listed size
    // dropped: the list shows sizes, and the toolkit merges equal entries.
    static std::vector<SDL_Rect> distinctSizes(const std::vector<SDL_Rect>& modes);
    // Samples for an entry of the antialiasing list; `current` when nothing
    // is selected.
    static int samplesForEntry(int entry, int current);
    // The launcher's picture, read by this fixed name whatever the demoscript says.
    static constexpr const char* LOGO_PATH = "resources/graphics/guilogo.png";

    // The logo as a 240 x 240 picture for the toolkit, rows top down; null
    // when the file is missing or cannot be decoded.
    static Fl_RGB_Image* loadLogo(const char* path);

    static void screenMode_CB(Fl_Widget* widget, void*);
    static void Fullscreen_CB(Fl_Widget* widget, void*);
    static void VSync_CB(Fl_Widget* widget, void*);
    static void antialiasing_CB(Fl_Widget* widget, void*);
    static void Initiate_CB(Fl_Widget*, void*);
    static void Exit_CB(Fl_Widget*, void*);

    // Hides every window of the toolkit, which ends its event loop.
    static void fl_exit();

private:
    std::string aspectLabel;
    std::string itemText;
    float aspect = 0.0f;
    Fl_RGB_Image* logo = nullptr;

    static bool quit;
    static bool vsync;
    static bool fullscreen;
    static int antialiasing;
    static int screenWidth;
    static int screenHeight;
    static int aspectWidth;
    static int aspectHeight;
    static std::vector<SDL_Rect> screenModes;
};
