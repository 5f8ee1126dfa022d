// The process's freed memory, handed back to the system.
#pragma once

namespace tessaview {

// Gives the system the pages the allocator keeps free in its heaps (the main one and each
// thread's), so resident memory follows what is in use. Nothing where the allocator has no
// such call.
void ReturnFreedMemory();

}  // namespace tessaview
