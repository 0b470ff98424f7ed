#include "tools/mrvobj/ImportSandbox.h"

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <ostream>
#include <sstream>
#include <system_error>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define MRVOBJ_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define MRVOBJ_SANITIZED 1
#endif
#endif

namespace fs = std::filesystem;

namespace {

constexpr int MAX_SIBLINGS = 10000;
// The child's answer starts with one of these, then its exit status and the
// lengths and texts of what it wrote to out and to err.
constexpr char DONE = 'D';
constexpr char OUT_OF_MEMORY = 'M';

void writeAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size())
    {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<size_t>(n);
    }
}

std::string pack(char kind, int status, const std::string& out, const std::string& err)
{
    std::string bytes(1, kind);
    bytes.push_back(static_cast<char>(status));
    for (const std::string* text : { &out, &err })
    {
        const uint64_t length = text->size();
        bytes.append(reinterpret_cast<const char*>(&length), sizeof length);
        bytes += *text;
    }
    return bytes;
}

bool unpack(const std::string& bytes, char& kind, int& status, std::string& out, std::string& err)
{
    if (bytes.size() < 2)
        return false;
    kind = bytes[0];
    status = static_cast<unsigned char>(bytes[1]);
    size_t at = 2;
    for (std::string* text : { &out, &err })
    {
        uint64_t length = 0;
        if (bytes.size() - at < sizeof length)
            return false;
        std::memcpy(&length, bytes.data() + at, sizeof length);
        at += sizeof length;
        if (bytes.size() - at < length)
            return false;
        text->assign(bytes, at, length);
        at += length;
    }
    return at == bytes.size();
}

[[noreturn]] void child(int fd, const ImportSandbox::Limits& limits, const ImportSandbox::Work& work)
{
#ifndef MRVOBJ_SANITIZED
    const rlimit memory{ static_cast<rlim_t>(limits.memoryBytes), static_cast<rlim_t>(limits.memoryBytes) };
    setrlimit(RLIMIT_AS, &memory);
#else
    (void)limits;
#endif
    std::string answer;
    try
    {
        std::ostringstream out, err;
        const int status = work(out, err);
        answer = pack(DONE, status, out.str(), err.str());
    }
    catch (const std::bad_alloc&)
    {
        answer = pack(OUT_OF_MEMORY, 1, "", "");
    }
    writeAll(fd, answer);
    ::close(fd);
    // No exit handlers: they belong to the parent (a test runner, say).
    _exit(0);
}

long long residentBytes(pid_t pid)
{
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    long long size = 0, resident = 0;
    if (!(statm >> size >> resident))
        return 0;
    return resident * static_cast<long long>(sysconf(_SC_PAGESIZE));
}

std::string mebibytes(long long bytes)
{
    return std::to_string(bytes >> 20) + " MiB";
}

} // namespace

ImportSandbox::Limits ImportSandbox::limitsFor(const std::string& modelPath)
{
    Limits limits;
    std::error_code ec;
    const fs::path model(modelPath);
    const uintmax_t own = fs::file_size(model, ec);
    limits.inputBytes = ec ? 0 : static_cast<long long>(own);
    fs::path folder = model.parent_path();
    if (folder.empty())
        folder = ".";
    int seen = 0;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end && ++seen <= MAX_SIBLINGS; it.increment(ec))
    {
        std::error_code sizeError;
        if (it->path().filename() == model.filename() || !it->is_regular_file(sizeError))
            continue;
        const uintmax_t size = it->file_size(sizeError);
        if (!sizeError)
            limits.inputBytes = std::min(limits.inputBytes + static_cast<long long>(size), MAX_MEMORY);
    }
    limits.memoryBytes = std::min(BASE_MEMORY + 32 * limits.inputBytes, MAX_MEMORY);
    limits.seconds = static_cast<int>(std::min<long long>(BASE_SECONDS + 2 * (limits.inputBytes >> 20), MAX_SECONDS));
    return limits;
}

int ImportSandbox::run(const std::string& modelPath, const Limits& limits, const Work& work, std::ostream& out,
                       std::ostream& err)
{
    const std::string cannot = "mrvobj: cannot read '" + modelPath + "': ";
    int fds[2];
    if (pipe(fds) != 0)
    {
        err << cannot << "no pipe for the import (" << std::strerror(errno) << ")\n";
        return 1;
    }
    const pid_t pid = fork();
    if (pid < 0)
    {
        ::close(fds[0]);
        ::close(fds[1]);
        err << cannot << "no process for the import (" << std::strerror(errno) << ")\n";
        return 1;
    }
    if (pid == 0)
    {
        ::close(fds[0]);
        child(fds[1], limits, work);
    }
    ::close(fds[1]);

    // Read while watching: a child that writes much must not block on a
    // full pipe, and one that grows or stalls is stopped.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limits.seconds);
    std::string answer;
    std::string stopped;
    char buffer[65536];
    for (;;)
    {
        pollfd wait{ fds[0], POLLIN, 0 };
        const int ready = poll(&wait, 1, 20);
        if (ready > 0)
        {
            const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
            if (n == 0)
                break;
            if (n > 0)
                answer.append(buffer, static_cast<size_t>(n));
            else if (errno != EINTR)
                break;
        }
        if (residentBytes(pid) > limits.memoryBytes)
            stopped = "memory";
        else if (std::chrono::steady_clock::now() > deadline)
            stopped = "time";
        if (!stopped.empty())
        {
            kill(pid, SIGKILL);
            break;
        }
    }
    ::close(fds[0]);
    int raw = 0;
    while (waitpid(pid, &raw, 0) < 0 && errno == EINTR)
    {
    }

    const std::string size =
        " than a model of " + std::to_string(limits.inputBytes) + " bytes (with the files beside it) needs";
    char kind = 0;
    int status = 1;
    std::string childOut, childErr;
    if (stopped == "time")
    {
        err << cannot << "reading it took longer than " << limits.seconds << " s, longer" << size << "\n";
        return 1;
    }
    if (stopped == "memory" || (unpack(answer, kind, status, childOut, childErr) && kind == OUT_OF_MEMORY))
    {
        err << cannot << "reading it needs more than " << mebibytes(limits.memoryBytes) << " of memory, more"
            << size << "; a count in the file is likely false\n";
        return 1;
    }
    if (kind != DONE)
    {
        if (WIFSIGNALED(raw))
            err << cannot << "the import ended with signal " << WTERMSIG(raw) << "\n";
        else
            err << cannot << "the import ended without a result\n";
        return 1;
    }
    out << childOut;
    err << childErr;
    return status;
}
