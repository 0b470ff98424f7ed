#pragma once

#include "demosys/runtime/FrameObserver.h"

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Writes frames of the frame loop to DIR/frame_000000.png, frame_000001.png,
// ... (RGB, 8 bits, the whole window, top row first) and/or pipes them to an
// ffmpeg process that encodes a video with the music.
//
// Reading the pixels is the only work on the main thread; PNG encoding runs
// on worker threads so that capture speed is bound by rendering. At most a
// few frames wait in the queue: the loop blocks rather than piling up memory.
class FrameCapture : public FrameObserver
{
public:
    FrameCapture(int width, int height);
    ~FrameCapture() override;

    FrameCapture(const FrameCapture&) = delete;
    FrameCapture& operator=(const FrameCapture&) = delete;

    // PNG frames into an existing or new directory.
    bool startPng(const std::string& directory);
    // H.264 video with the music from `musicStartMs` (AAC) into `file`.
    bool startVideo(const std::string& file, int fps, const std::string& musicFile, unsigned int musicStartMs);

    // Reads the back buffer of the current window before it is swapped.
    void captureFrame();
    void frameDrawn(unsigned int) override { captureFrame(); }
    // Waits for every queued frame and closes the video; false when any
    // frame failed to be written.
    bool finish();

    int framesCaptured() const { return frameIndex; }
    const std::string& getErrorMessage() const { return errorMessage; }

private:
    struct Job
    {
        int index;
        std::vector<unsigned char> rows; // top row first
    };

    void worker();
    bool writePng(const Job& job) const;
    bool encode(struct png_struct_def* png, struct png_info_def* info, std::FILE* out, const Job& job) const;
    void fail(const std::string& message);

    int width;
    int height;
    int frameIndex = 0;
    std::string directory;
    std::FILE* video = nullptr;

    std::vector<std::thread> workers;
    std::deque<Job> queue;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable space;
    bool stopping = false;
    bool failed = false;
    std::string errorMessage;
    std::vector<unsigned char> scratch;
};
