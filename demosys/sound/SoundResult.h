#pragma once

// Result codes of the sound layer: 0 is success, every other value names what
// went wrong and is printed as a plain number by the callers that log it. The
// text behind a failure is kept by the object that failed (getErrorMessage()).
enum SoundResult
{
    SOUND_OK = 0,
    SOUND_ERR_NOT_INITIALISED = 1,
    SOUND_ERR_INVALID_PARAM = 2,
    SOUND_ERR_FILE_NOT_FOUND = 3,
    SOUND_ERR_FORMAT = 4,
    SOUND_ERR_NO_FREE_CHANNEL = 5,
    SOUND_ERR_INVALID_HANDLE = 6,
    SOUND_ERR_OUTPUT = 7,
    SOUND_ERR_DECODE = 8
};
