#include "production/FrameCapture.h"

#include <GL/glew.h>
#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

// Enough to keep every worker busy while the next frame renders.
constexpr size_t MAX_QUEUED = 8;

std::string shellQuote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

} // namespace

FrameCapture::FrameCapture(int width_, int height_)
    : width(width_), height(height_)
{
}

FrameCapture::~FrameCapture()
{
    finish();
}

bool FrameCapture::startPng(const std::string& dir)
{
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST)
    {
        fail("Cannot create capture directory '" + dir + "': " + std::strerror(errno));
        return false;
    }
    directory = dir;
    const unsigned int cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned int i = 0; i < cores; ++i)
        workers.emplace_back(&FrameCapture::worker, this);
    return true;
}

bool FrameCapture::startVideo(const std::string& file, int fps, const std::string& musicFile,
                              unsigned int musicStartMs)
{
    // Rows arrive bottom-up from the GL; ffmpeg flips them.
    std::string command = "ffmpeg -loglevel error -y -f rawvideo -pix_fmt rgb24 -s " + std::to_string(width) + "x" +
                          std::to_string(height) + " -r " + std::to_string(fps) + " -i -";
    if (!musicFile.empty())
        command += " -ss " + std::to_string(musicStartMs / 1000) + "." + std::to_string(musicStartMs % 1000 + 1000).substr(1) +
                   " -i " + shellQuote(musicFile) + " -c:a aac -b:a 192k -shortest";
    // A dying encoder must end in an error message, not a SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    command += " -vf vflip -c:v libx264 -pix_fmt yuv420p -preset veryfast -crf 18 " + shellQuote(file);
    video = popen(command.c_str(), "w");
    if (!video)
    {
        fail("Cannot start ffmpeg for '" + file + "'");
        return false;
    }
    return true;
}

void FrameCapture::captureFrame()
{
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    scratch.resize(rowBytes * static_cast<size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, scratch.data());

    if (video && std::fwrite(scratch.data(), 1, scratch.size(), video) != scratch.size())
        fail("Writing a frame to ffmpeg failed");

    if (!workers.empty())
    {
        Job job{ frameIndex, std::vector<unsigned char>(scratch.size()) };
        // The GL gives the bottom row first; PNG wants the top row first.
        for (int r = 0; r < height; ++r)
            std::memcpy(&job.rows[static_cast<size_t>(r) * rowBytes],
                        &scratch[static_cast<size_t>(height - 1 - r) * rowBytes], rowBytes);
        std::unique_lock<std::mutex> lock(mutex);
        space.wait(lock, [this] { return queue.size() < MAX_QUEUED; });
        queue.push_back(std::move(job));
        wake.notify_one();
    }
    ++frameIndex;
}

void FrameCapture::worker()
{
    for (;;)
    {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [this] { return stopping || !queue.empty(); });
            if (queue.empty())
                return;
            job = std::move(queue.front());
            queue.pop_front();
            space.notify_one();
        }
        if (!writePng(job))
        {
            std::lock_guard<std::mutex> lock(mutex);
            failed = true;
            if (errorMessage.empty())
                errorMessage = "Cannot write capture frame " + std::to_string(job.index) + " into '" + directory + "'";
        }
    }
}

bool FrameCapture::encode(png_struct_def* png, png_info_def* info, std::FILE* out, const Job& job) const
{
    // libpng reports errors by longjmp; nothing here has a destructor.
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, out);
    // Frames are many and large; fast compression keeps the workers ahead of
    // the renderer.
    png_set_compression_level(png, 3);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    for (int r = 0; r < height; ++r)
        png_write_row(png, const_cast<png_bytep>(&job.rows[static_cast<size_t>(r) * rowBytes]));
    png_write_end(png, nullptr);
    return true;
}

bool FrameCapture::writePng(const Job& job) const
{
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06d.png", job.index);
    const std::string path = directory + name;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = png && info && encode(png, info, out, job);
    png_destroy_write_struct(&png, &info);
    return std::fclose(out) == 0 && ok;
}

void FrameCapture::fail(const std::string& message)
{
    std::lock_guard<std::mutex> lock(mutex);
    failed = true;
    if (errorMessage.empty())
        errorMessage = message;
}

bool FrameCapture::finish()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    for (std::thread& t : workers)
        t.join();
    workers.clear();
    if (video)
    {
        if (pclose(video) != 0)
            fail("ffmpeg failed to encode the video");
        video = nullptr;
    }
    std::lock_guard<std::mutex> lock(mutex);
    return !failed;
}
