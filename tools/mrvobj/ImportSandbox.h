#pragma once

#include <functional>
#include <iosfwd>
#include <string>

// Runs the reading of a model in a child process under a memory ceiling and
// a time limit, so that a hostile file (a header that claims billions of
// vertices, say) ends in a message within seconds instead of a machine that
// swaps or a command that never returns.
//
// The ceilings come from the size of the input: the model file plus the
// files beside it (glTF buffers, MTL files, pictures), S bytes:
//   memory  1 GiB + 32 x S, at most 8 GiB: address space of the child
//           (setrlimit RLIMIT_AS), and its resident size as watched by
//           the parent (the only check in sanitizer builds, which reserve
//           terabytes of address space up front);
//   time    30 s + 2 s per MiB, at most 10 minutes of wall-clock time.
// Importing a real model takes a small multiple of its size; a picture is
// bounded separately (PictureExporter::MAX_PIXELS, 256 MiB decoded).
class ImportSandbox
{
public:
    struct Limits
    {
        long long inputBytes = 0;
        long long memoryBytes = 0;
        int seconds = 0;
    };

    static constexpr long long BASE_MEMORY = 1LL << 30;
    static constexpr long long MAX_MEMORY = 8LL << 30;
    static constexpr int BASE_SECONDS = 30;
    static constexpr int MAX_SECONDS = 600;

    static Limits limitsFor(const std::string& modelPath);

    // Runs work(out, err) in the child and copies what it wrote to out and
    // err; returns its status. A child that passes a ceiling, throws
    // std::bad_alloc or dies gives status 1 and one line on err naming the
    // model and the ceiling.
    using Work = std::function<int(std::ostream& out, std::ostream& err)>;
    static int run(const std::string& modelPath, const Limits& limits, const Work& work, std::ostream& out,
                   std::ostream& err);
};
