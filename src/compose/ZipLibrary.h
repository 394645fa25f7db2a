#pragma once

#include <zip.h>

namespace pellwerk {

// The functions of the zip library that OpenRaster files need. The library is loaded when they
// are first asked for, not when the program starts: it brings a cryptography library of its
// own, and loading both costs the editor's start about a millisecond and a half, for files that
// most sessions never touch.
struct ZipLibrary
{
    decltype(&::zip_close) close;
    decltype(&::zip_discard) discard;
    decltype(&::zip_error_fini) error_fini;
    decltype(&::zip_error_init) error_init;
    decltype(&::zip_error_strerror) error_strerror;
    decltype(&::zip_fclose) fclose;
    decltype(&::zip_file_add) file_add;
    decltype(&::zip_file_extra_field_delete) file_extra_field_delete;
    decltype(&::zip_fopen_index) fopen_index;
    decltype(&::zip_fread) fread;
    decltype(&::zip_get_name) get_name;
    decltype(&::zip_get_num_entries) get_num_entries;
    decltype(&::zip_open_from_source) open_from_source;
    decltype(&::zip_set_file_compression) set_file_compression;
    decltype(&::zip_source_buffer) source_buffer;
    decltype(&::zip_source_buffer_create) source_buffer_create;
    decltype(&::zip_source_close) source_close;
    decltype(&::zip_source_free) source_free;
    decltype(&::zip_source_keep) source_keep;
    decltype(&::zip_source_open) source_open;
    decltype(&::zip_source_read) source_read;
    decltype(&::zip_source_stat) source_stat;
    decltype(&::zip_stat_index) stat_index;
    decltype(&::zip_stat_init) stat_init;
    decltype(&::zip_strerror) strerror;
};

// The library, loaded once (from any thread); null when it cannot be loaded or lacks one of the
// functions.
const ZipLibrary *zipLibrary();

// The name the library is loaded by, for messages.
const char *zipLibraryName();

} // namespace pellwerk
