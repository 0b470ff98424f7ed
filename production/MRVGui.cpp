#include "production/MRVGui.h"

#include "mrvutils/Image.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_RGB_Image.H>

#include <cstring>

bool MRVGui::quit = true;
bool MRVGui::vsync = true;
bool MRVGui::fullscreen = true;
int MRVGui::antialiasing = 0;
int MRVGui::screenWidth = 0;
int MRVGui::screenHeight = 0;
int MRVGui::aspectWidth = 0;
int MRVGui::aspectHeight = 0;
std::vector<SDL_Rect> MRVGui::screenModes;

namespace {

const int logoSize = 240;
const int samplesPerEntry[] = { 0, 2, 4, 6, 8 };

} // namespace

MRVGui::MRVGui(int width, int height, const char* title)
    : Fl_Double_Window((Fl::w() - width) / 2, (Fl::h() - height) / 2, width, height, title)
{
    getScreenmodes();

    Fl_Box* logoBox = new Fl_Box(0, 0, 300, 200);
    // The picture is taller than its box; clipped, it keeps off the label
    // of the resolution list below.
    logoBox->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
    logo = loadLogo(LOGO_PATH);
    if (logo)
        logoBox->image(logo);

    Fl_Choice* resolutions = new Fl_Choice(50, 230, 200, 25, "Available resolutions:");
    resolutions->align(FL_ALIGN_TOP_LEFT);
    for (const SDL_Rect& mode : screenModes)
    {
        aspectLabel = aspectSuffix(mode.w, mode.h, aspectLabel);
        aspect = static_cast<float>(mode.w) / static_cast<float>(mode.h);
        itemText = modeEntry(mode.w, mode.h, aspectLabel);
        // The one-argument add() would split the text at '|'; this form
        // takes it as one entry.
        resolutions->add(itemText.c_str(), 0, nullptr);
    }
    resolutions->callback(screenMode_CB);
    if (!screenModes.empty())
    {
        resolutions->value(0);
        screenWidth = screenModes[0].w;
        screenHeight = screenModes[0].h;
    }

    Fl_Check_Button* fullscreenButton = new Fl_Check_Button(150, 265, 100, 30, "Fullscreen: ");
    fullscreenButton->align(FL_ALIGN_LEFT);
    fullscreenButton->tooltip("Enable to view in fullscreen.");
    fullscreenButton->value(1);
    fullscreenButton->callback(Fullscreen_CB);

    Fl_Check_Button* vsyncButton = new Fl_Check_Button(150, 295, 100, 30, "Vertical sync: ");
    vsyncButton->align(FL_ALIGN_LEFT);
    vsyncButton->tooltip("Enable to force Wait for Vertical Sync.");
    vsyncButton->value(1);
    vsyncButton->callback(VSync_CB);

    Fl_Choice* antialiasingChoice = new Fl_Choice(150, 330, 100, 25, "Antialiasing: ");
    for (const char* entry : { "None", "2x", "4x", "6x", "8x" })
        antialiasingChoice->add(entry, 0, nullptr);
    antialiasingChoice->value(0);
    antialiasingChoice->callback(antialiasing_CB);

    Fl_Button* start = new Fl_Button(50, 380, 95, 40, "Awesome!");
    start->tooltip("Starts the Demo with the chosen resolution.");
    start->callback(Initiate_CB);

    Fl_Button* leave = new Fl_Button(155, 380, 95, 40, "Bummer :(");
    leave->tooltip("Exit without watching the Demo.");
    leave->callback(Exit_CB);

    end();
    show();
}

MRVGui::~MRVGui()
{
    // The box only borrows the picture; the window is no longer drawn here.
    delete logo;
}

void MRVGui::getScreenmodes()
{
    screenModes.clear();
    const bool videoUp = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (videoUp)
    {
        // SDL sorts the modes from the largest down; the same size comes once
        // per pixel format and refresh rate.
        std::vector<SDL_Rect> listed;
        const int count = SDL_GetNumDisplayModes(0);
        for (int i = 0; i < count; ++i)
        {
            SDL_DisplayMode mode;
            if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w > 0 && mode.h > 0)
                listed.push_back(SDL_Rect{ 0, 0, mode.w, mode.h });
        }
        screenModes = distinctSizes(listed);

        SDL_DisplayMode desktop;
        if (screenModes.empty() && SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0)
            screenModes.push_back(SDL_Rect{ 0, 0, desktop.w, desktop.h });
        // The demo opens its own video session; one left open here would keep
        // a second connection to the display for the whole show.
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    if (screenModes.empty() && Fl::w() > 0 && Fl::h() > 0)
        screenModes.push_back(SDL_Rect{ 0, 0, Fl::w(), Fl::h() });
    aspect = 0.0f;
    aspectLabel.clear();
}

bool MRVGui::chooseAspect(int width, int height, int& aspectW, int& aspectH)
{
    if (width <= 0 || height <= 0)
        return false;
    const float a = static_cast<float>(width) / static_cast<float>(height);
    if (a >= 16.0f / 9.0f)
    {
        aspectW = 16;
        aspectH = 9;
    }
    else if (a >= 1.6f)
    {
        aspectW = 16;
        aspectH = 10;
    }
    else if (a >= 4.0f / 3.0f)
    {
        aspectW = 4;
        aspectH = 3;
    }
    else if (a >= 1.25f)
    {
        aspectW = 5;
        aspectH = 4;
    }
    else
        return false;
    return true;
}

std::string MRVGui::aspectSuffix(int width, int height, const std::string& previous)
{
    int w = 0;
    int h = 0;
    if (!chooseAspect(width, height, w, h))
        return previous;
    return "(" + std::to_string(w) + ":" + std::to_string(h) + ")";
}

std::string MRVGui::modeEntry(int width, int height, const std::string& suffix)
{
    return std::to_string(width) + " X " + std::to_string(height) + " " + suffix;
}

std::vector<SDL_Rect> MRVGui::distinctSizes(const std::vector<SDL_Rect>& modes)
{
    std::vector<SDL_Rect> sizes;
    for (const SDL_Rect& mode : modes)
    {
        bool seen = false;
        for (const SDL_Rect& kept : sizes)
            seen = seen || (kept.w == mode.w && kept.h == mode.h);
        if (!seen)
            sizes.push_back(mode);
    }
    return sizes;
}

int MRVGui::samplesForEntry(int entry, int current)
{
    const int entries = static_cast<int>(sizeof samplesPerEntry / sizeof samplesPerEntry[0]);
    return entry >= 0 && entry < entries ? samplesPerEntry[entry] : current;
}

Fl_RGB_Image* MRVGui::loadLogo(const char* path)
{
    Image picture(path);
    const int w = picture.getWidth();
    const int h = picture.getHeight();
    const int depth = picture.getPixelSize();
    if (!picture.exists() || w <= 0 || h <= 0 || depth < 1 || depth > 4)
        return nullptr;

    // The decoder keeps the bottom row first, as GL wants it; the toolkit
    // draws the first row at the top.
    const size_t row = static_cast<size_t>(w) * depth;
    unsigned char* pixels = new unsigned char[row * h];
    const unsigned char* source = picture.getData();
    for (int y = 0; y < h; ++y)
        std::memcpy(pixels + row * y, source + row * (h - 1 - y), row);

    // Scaled rather than cut: a picture of any size fills the logo's place
    // without reading past its own rows.
    Fl_RGB_Image whole(pixels, w, h, depth);
    whole.alloc_array = 1;
    return static_cast<Fl_RGB_Image*>(whole.copy(logoSize, logoSize));
}

void MRVGui::screenMode_CB(Fl_Widget* widget, void*)
{
    const int entry = static_cast<Fl_Choice*>(widget)->value();
    if (entry < 0 || entry >= static_cast<int>(screenModes.size()))
        return;
    screenWidth = screenModes[entry].w;
    screenHeight = screenModes[entry].h;
    chooseAspect(screenWidth, screenHeight, aspectWidth, aspectHeight);
}

void MRVGui::Fullscreen_CB(Fl_Widget* widget, void*)
{
    fullscreen = static_cast<Fl_Check_Button*>(widget)->value() != 0;
}

void MRVGui::VSync_CB(Fl_Widget* widget, void*)
{
    vsync = static_cast<Fl_Check_Button*>(widget)->value() != 0;
}

void MRVGui::antialiasing_CB(Fl_Widget* widget, void*)
{
    antialiasing = samplesForEntry(static_cast<Fl_Choice*>(widget)->value(), antialiasing);
}

void MRVGui::Initiate_CB(Fl_Widget*, void*)
{
    quit = false;
    fl_exit();
}

void MRVGui::Exit_CB(Fl_Widget*, void*)
{
    quit = true;
    fl_exit();
}

void MRVGui::fl_exit()
{
    while (Fl_Window* window = Fl::first_window())
        window->hide();
    // The event loop returns without talking to the server again, so the
    // hidden dialog would stay on the screen for the whole show.
    Fl::flush();
}
