#pragma once

namespace platform {

// Gives the memory the heap holds free back to the system. The allocator keeps what a big script
// freed for later use, so without this a closed script window would still weigh on the program.
void ReturnFreedMemory();

}  // namespace platform
