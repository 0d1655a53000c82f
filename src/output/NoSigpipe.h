#pragma once

namespace lumetra::io {

// A write to a pipe or socket whose reader has gone raises SIGPIPE, which
// ends the program. The console's outputs want EPIPE instead, so SIGPIPE is
// ignored once for the whole process: no per-write signal masking on the
// real-time tick. Calling it again does no harm.
void ignoreSigpipe();

}  // namespace lumetra::io
