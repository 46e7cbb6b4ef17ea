#pragma once

// The outcome of a file operation: one of the program's file error codes (0
// when it went well) and the system's own error number behind it, so that a
// message can name the real reason.
struct FileError
{
    enum Code : short {
        None = 0,
        BadFileNameOrNumber = 52,
        BadFileMode = 54,
        FileAlreadyOpen = 55,
        DeviceIO = 57,
        InputPastEnd = 62,
        BadRecordNumber = 63,
        BadFileName = 64,
        DeviceUnavailable = 68,
        DiskNotReady = 71,
        PathFileAccess = 75,
        PathNotFound = 76,
    };

    short code = None;
    int systemError = 0;

    explicit operator bool() const { return code != None; }

    // Maps an errno value onto the nearest code.
    static FileError FromErrno(int error);
};
