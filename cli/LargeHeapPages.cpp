#include "cli/LargeHeapPages.h"

#include <mimalloc.h>

void useLargeHeapPages()
{
    // Where the kernel keeps no huge pages in reserve, mimalloc asks for
    // transparent ones (MADV_HUGEPAGE) on the memory it maps.
    mi_option_enable(mi_option_large_os_pages);
}
