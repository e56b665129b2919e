// Limits the program may be started with that would let it start and then
// crash or wait for ever part-way: they are raised where the hard limits
// allow, and refused at once where not.
#pragma once

namespace platform {

// Enough free file descriptors for a whole game, the soft limit raised where
// it is lower and the hard limit allows. False, after one line on standard
// error, when too few are free: the display library would wait for ever for
// a reply that carries a descriptor it cannot receive.
bool enoughFileDescriptors();

// Room for a whole game under the limits the program was started with: a
// stack, an address space and a data segment large enough (soft limits
// raised where the hard ones allow), and a thread can be started. False,
// after one line on standard error, where not: the game would crash or wait
// for ever part-way.
bool roomToRun();

} // namespace platform
