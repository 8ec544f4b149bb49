#pragma once

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

// libavformat, loaded the first time a movie is looked at: linked in, it
// and the hundred libraries it pulls would be loaded by every run of
// tolvex-rename, which costs more than renaming thousands of files.
struct MovieLibrary {
    decltype(&::av_log_set_level) logSetLevel;
    decltype(&::av_find_input_format) findInputFormat;
    decltype(&::av_probe_input_format2) probeInputFormat2;
    decltype(&::av_malloc) malloc;
    decltype(&::av_free) free;
    decltype(&::av_freep) freep;
    decltype(&::avio_alloc_context) ioAllocContext;
    decltype(&::avio_context_free) ioContextFree;
    decltype(&::avformat_alloc_context) allocContext;
    decltype(&::avformat_open_input) openInput;
    decltype(&::avformat_close_input) closeInput;
    decltype(&::av_dict_get) dictGet;
};

// The library's functions, or null where it could not be loaded.
const MovieLibrary* movieLibrary();
