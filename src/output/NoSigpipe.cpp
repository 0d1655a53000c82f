#include "output/NoSigpipe.h"

#include <signal.h>

namespace lumetra::io {

void ignoreSigpipe() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

}  // namespace lumetra::io
