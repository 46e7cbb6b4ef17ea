#pragma once

// The outcome of a file operation: what went wrong, in the program's own
// terms (None when it went well; each has its message in DiaryFiles), and the
// system's own error number behind it, so that a message can name the real
// reason.
struct FileError
{
    enum Code : short {
        None,
        BadFileNameOrNumber,
        BadFileMode,
        FileAlreadyOpen,
        DeviceIO,
        InputPastEnd,
        BadRecordNumber,
        BadFileName,
        DeviceUnavailable,
        DiskNotReady,
        PathFileAccess,
        PathNotFound,
        // A record of an encrypted diary whose tag fails: changed, moved or
        // cut on the disk. The others stay readable.
        DamagedPage,
        // A file that is no version of the open encrypted diary: another
        // key's, or a plain one where an encrypted one belongs.
        OtherKey,
    };

    Code code = None;
    int systemError = 0;

    explicit operator bool() const { return code != None; }

    // Maps an errno value onto the nearest code.
    static FileError FromErrno(int error);
};
