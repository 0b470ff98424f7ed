#pragma once

// The requested screen mode and, once the screen is open, the 16:9 viewport
// and the fixed perspective frustum that every frame loads. The frustum does
// not follow the window's aspect: the picture is always 16:9, letterboxed in
// taller windows and pillarboxed in wider ones.
class ScreenMetrics
{
public:
    ScreenMetrics() = default;

    void setResolution(int w, int h)
    {
        width = w;
        height = h;
    }
    int getWidth() const { return width; }
    int getHeight() const { return height; }

    void setNear(float n) { near_ = n; }
    float getNear() const { return near_; }
    void setFar(float f) { far_ = f; }
    float getFar() const { return far_; }

    void setFullscreen(bool on) { fullscreen = on; }
    bool isFullscreen() const { return fullscreen; }
    void setFullscreenOverride(bool on) { fullscreenOverride = on; }
    bool getFullScreenOverride() const { return fullscreenOverride; }

    void setVSync(bool on) { vsync = on; }
    bool getVSync() const { return vsync; }
    void setVSyncOverride(bool on) { vsyncOverride = on; }
    bool getVSyncOverride() const { return vsyncOverride; }

    void setFSAASamples(int samples) { fsaaSamples = samples; }
    int getFSAASamples() const { return fsaaSamples; }

    void initView();
    void resize(int w, int h);
    // Loads the viewport and the projection; leaves model-view selected.
    void setView() const;

    int getViewportX() const { return viewportX; }
    int getViewportY() const { return viewportY; }
    int getViewportWidth() const { return viewportWidth; }
    int getViewportHeight() const { return viewportHeight; }
    float getFrustumHalfWidth() const { return frustumHalfWidth; }
    float getFrustumHalfHeight() const { return frustumHalfHeight; }

private:
    int height = 0;
    int width = 0;
    int viewportX = 0;
    int viewportWidth = 0;
    int viewportY = 0;
    int viewportHeight = 0;
    bool fullscreen = true;
    bool fullscreenOverride = false;
    int fsaaSamples = 0;
    bool vsync = true;
    bool vsyncOverride = false;
    float frustumHalfWidth = 0.0f;
    float frustumHalfHeight = 0.0f;
    // Trailing underscores: <windows.h>-style macros named near/far exist on
    // some platforms.
    float near_ = 1.0f;
    float far_ = 800.0f;
};
