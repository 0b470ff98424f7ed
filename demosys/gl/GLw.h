#pragma once

// Static shortcuts for resetting, saving and restoring the projection and
// model-view matrices around full-screen passes.
class GLw
{
public:
    static void resetModelview();
    static void resetProjection();
    // Projection identity, then model-view identity; model-view stays selected.
    static void resetProjectionModelview();
    // Push and load identity on projection, then on model-view.
    static void resetAndStoreProjectionModelview();
    // Pop projection, then model-view.
    static void restoreProjectionModelview();
    // Blending on, each fragment laid over the picture by its alpha.
    static void blendTransparentAlpha();
};
