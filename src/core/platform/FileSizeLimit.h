#pragma once

// The user's limit on file sizes (ulimit -f): a write past it would end the
// program by a signal, losing what the user typed. With the signal ignored the
// write fails instead, and the failure is reported like a full disk.
class FileSizeLimit
{
public:
    static void FailWritesInsteadOfEnding();
};
