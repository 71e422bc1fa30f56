// Emscripten starts every program with the umask 0777, so each file the game made would get
// no permissions at all and could not be read back. The desktop's usual 022 instead, before
// main() runs; linked into every program of the browser build (the page, and under node the
// runner and the unit tests).
#include <sys/stat.h>

namespace {

const bool kUsualUmask = (::umask(022), true);

}  // namespace
