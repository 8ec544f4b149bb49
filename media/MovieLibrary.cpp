#include "media/MovieLibrary.h"

extern "C" {
#include <libavutil/macros.h>
}

#include <dlfcn.h>

namespace {

template <typename Function>
bool resolve(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

MovieLibrary* load()
{
    // The major version we were built against: another has another ABI.
    void* library = ::dlopen("libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return nullptr;
    static MovieLibrary functions;
    // dlsym looks in libavformat's own dependencies too, where libavutil's are.
    const bool found = resolve(library, "av_log_set_level", functions.logSetLevel)
                       && resolve(library, "av_find_input_format", functions.findInputFormat)
                       && resolve(library, "av_probe_input_format2", functions.probeInputFormat2)
                       && resolve(library, "av_malloc", functions.malloc) && resolve(library, "av_free", functions.free)
                       && resolve(library, "av_freep", functions.freep)
                       && resolve(library, "avio_alloc_context", functions.ioAllocContext)
                       && resolve(library, "avio_context_free", functions.ioContextFree)
                       && resolve(library, "avformat_alloc_context", functions.allocContext)
                       && resolve(library, "avformat_open_input", functions.openInput)
                       && resolve(library, "avformat_close_input", functions.closeInput)
                       && resolve(library, "av_dict_get", functions.dictGet);
    return found ? &functions : nullptr;
}

} // namespace

const MovieLibrary* movieLibrary()
{
    static const MovieLibrary* library = load();
    return library;
}
