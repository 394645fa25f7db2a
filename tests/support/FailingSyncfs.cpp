// Preloaded into the composer by a test: every file-system sync fails as it would after a write
// error of some other file on the same file system.
#include <cerrno>

extern "C" int syncfs(int)
{
    errno = EIO;
    return -1;
}
