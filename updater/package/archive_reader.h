// minizip's file functions over a read buffer, for reading an archive.
#pragma once

#include "ioapi.h"

// minizip reads each header a byte or two at a time and seeks before every
// read; under Wine each ReadFile is a system call (442,558 of them for a
// package of 2,000 entries). These functions serve the small reads and the
// seeks from a buffer, reading the file in large blocks.
void FillBufferedReadFunctions(zlib_filefunc64_def* functions);
