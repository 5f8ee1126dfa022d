// The freed memory handed back through glibc's malloc_trim.
#include "osdep/memory.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tessaview {

void ReturnFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

}  // namespace tessaview
