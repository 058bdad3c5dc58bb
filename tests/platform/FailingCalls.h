#pragma once

// System calls that this test program can make fail once, with the error given; they run normally otherwise.
// FsyncError fails the next fsync, CloseAfterFsyncError the first close after the next fsync (the close that
// ends a write), FlockError the next flock.
namespace FailingCalls {
extern int FsyncError;
extern int CloseAfterFsyncError;
extern int FlockError;
} // namespace FailingCalls
