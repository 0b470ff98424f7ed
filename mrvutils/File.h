#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Whole-file reader and buffered writer.
//
// Read mode (0) loads the entire file in the constructor; text formats take it
// with getAsString(), binary formats walk it with the read cursor. Multi-byte
// values are little-endian 32-bit quantities, floats IEEE-754 single precision.
//
// A cursor read that would pass the end of the buffer reads nothing: it
// returns 0 (or "" for a string), leaves the cursor at the end and sets the
// sticky overrun flag, so binary readers can check once after a record and
// fail cleanly on truncated files.
//
// Write modes: 1 appends to an existing file, 2 and 3 create or empty it. The
// put() calls collect bytes in memory; write() stores them in one go.
class File
{
public:
    enum Mode { READ = 0, APPEND = 1, WRITE = 2, WRITE_TRUNCATE = 3 };

    File(const char* fileName, int mode);
    File(const std::string& fileName, int mode);
    ~File();

    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool exists() const { return fileExists; }
    const std::string& getFileName() const { return fileName; }

    std::string getAsString() const;
    std::vector<unsigned char> getUnsigned() const;

    char readChar();
    int readInt();
    float readFloat();
    // Bytes up to the next zero byte; "Object" when the first byte is zero.
    std::string readString();

    int getSize() const { return size; }
    int getPosition() const { return readPosition; }
    int bytesLeft() const { return size - readPosition; }
    bool hasOverrun() const { return overrun; }

    void put(int value);
    void put(unsigned int value);
    void put(float value);
    void put(unsigned char value);
    void put(const std::string& value);

    bool write();

    // The bytes into path + ".tmp", then renamed over path: whoever reads
    // path finds the old file or the new one, never a part. False, with no
    // temporary file left, when either step fails.
    static bool replace(const std::string& path, const std::string& bytes);
    // The whole file as text; false, with `text` left alone, when it cannot
    // be read.
    static bool read(const std::string& path, std::string& text);

private:
    bool open();
    bool take(int count);

    std::string fileName;
    std::vector<unsigned char> data;
    std::FILE* stream = nullptr;
    int mode = READ;
    int size = 0;
    int readPosition = 0;
    bool fileExists = false;
    bool overrun = false;
};
