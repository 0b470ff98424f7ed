#include <cstdio>
#include <cstring>

// Until the demo itself is wired in, the program answers for its version.
int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--version") == 0)
        {
            std::printf("kelvarn %s\n", KELVARN_VERSION);
            return 0;
        }
    }
    std::printf("kelvarn %s\n", KELVARN_VERSION);
    return 0;
}
