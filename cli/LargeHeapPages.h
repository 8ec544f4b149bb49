#pragma once

// Asks the allocator to keep the heap on large pages (2 MiB) where the
// system allows them: a run over a million files makes millions of small
// allocations, hundreds of megabytes, and on pages of 4 KiB a third of its
// time went to faulting them in and to misses of the page tables.
void useLargeHeapPages();
