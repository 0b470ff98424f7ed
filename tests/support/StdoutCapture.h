#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <string>

// Captures what the code under test prints to standard output (std::cout and
// stdio alike) between construction and take().
class StdoutCapture
{
public:
    StdoutCapture()
    {
        std::cout.flush();
        std::fflush(stdout);
        ::testing::internal::CaptureStdout();
    }
    ~StdoutCapture()
    {
        if (!taken)
            take();
    }
    std::string take()
    {
        std::cout.flush();
        std::fflush(stdout);
        taken = true;
        return ::testing::internal::GetCapturedStdout();
    }

private:
    bool taken = false;
};
