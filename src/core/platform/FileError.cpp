#include "core/platform/FileError.h"

#include <cerrno>

FileError FileError::FromErrno(int error)
{
    switch (error) {
    case 0:
        return {};
    case EBADF:
        return {BadFileNameOrNumber, error};
    case EBUSY:
    case ETXTBSY:
        return {FileAlreadyOpen, error};
    case EIO:
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return {DeviceIO, error};
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return {BadFileName, error};
    case ENXIO:
    case ENODEV:
        return {DeviceUnavailable, error};
    case ENOMEDIUM:
    case EAGAIN:
        return {DiskNotReady, error};
    case ENOENT:
    case ENOTDIR:
        return {PathNotFound, error};
    default:
        // Permission, read-only file systems, a folder given as a file: no code
        // of the program's own, but never silent; callers show the reason.
        return {PathFileAccess, error};
    }
}
