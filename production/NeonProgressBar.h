#pragma once

#include "demosys/runtime/ProgressBar.h"

class Texture;

// The production's loading bar: a background picture with a glowing bar
// picture revealed from the left as loading advances.
class NeonProgressBar : public ProgressBar
{
public:
    NeonProgressBar() = default;
    explicit NeonProgressBar(int ticks);
    ~NeonProgressBar() override;

    void draw() override;
    void loadData() override;

private:
    Texture* background = nullptr;
    Texture* bar = nullptr;
    float fraction = 0.0f;
};
