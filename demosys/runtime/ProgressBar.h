#pragma once

// The loading bar. The loader counts its steps in advance and ticks once per
// loaded resource; every tick redraws the whole screen and swaps, so the bar
// shows although the frame loop has not started.
class ProgressBar
{
public:
    ProgressBar() = default;
    explicit ProgressBar(int ticks);
    ProgressBar(float height, float width, float centerY, int ticks);
    virtual ~ProgressBar();

    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void setTicks(int t) { ticks = t; }
    int getTicks() const { return ticks; }
    int getCount() const { return count; }
    float getProgress() const { return progress; }
    // One step; nothing once the bar is full.
    void tick();

    // Draws the whole screen and swaps the buffers.
    virtual void draw();
    // Loads what draw() needs; called once the screen is open.
    virtual void loadData();

protected:
    float height = 0.125f;
    float width = 1.8f;
    float centerY = -0.9f;
    float progress = 0.0f;
    int ticks = 1;
    int count = 0;
};
