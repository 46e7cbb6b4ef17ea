#include "core/platform/FileSizeLimit.h"

#include <csignal>

void FileSizeLimit::FailWritesInsteadOfEnding()
{
    std::signal(SIGXFSZ, SIG_IGN);
}
