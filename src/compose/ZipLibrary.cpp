#include "ZipLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace pellwerk {

namespace {

// Resolves every member, or fails as a whole.
template <typename Function> bool resolve(void *library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

const ZipLibrary *load()
{
    // Kept for the program's life: the pointers into it are handed out.
    void *library = dlopen(PELLWERK_ZIP_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return nullptr;
    static ZipLibrary zip;
    const bool complete =
        resolve(library, "zip_close", zip.close) && resolve(library, "zip_discard", zip.discard)
        && resolve(library, "zip_error_fini", zip.error_fini) && resolve(library, "zip_error_init", zip.error_init)
        && resolve(library, "zip_error_strerror", zip.error_strerror) && resolve(library, "zip_fclose", zip.fclose)
        && resolve(library, "zip_file_add", zip.file_add)
        && resolve(library, "zip_file_extra_field_delete", zip.file_extra_field_delete)
        && resolve(library, "zip_fopen_index", zip.fopen_index) && resolve(library, "zip_fread", zip.fread)
        && resolve(library, "zip_get_name", zip.get_name)
        && resolve(library, "zip_get_num_entries", zip.get_num_entries)
        && resolve(library, "zip_open_from_source", zip.open_from_source)
        && resolve(library, "zip_set_file_compression", zip.set_file_compression)
        && resolve(library, "zip_source_buffer", zip.source_buffer)
        && resolve(library, "zip_source_buffer_create", zip.source_buffer_create)
        && resolve(library, "zip_source_close", zip.source_close)
        && resolve(library, "zip_source_free", zip.source_free) && resolve(library, "zip_source_keep", zip.source_keep)
        && resolve(library, "zip_source_open", zip.source_open) && resolve(library, "zip_source_read", zip.source_read)
        && resolve(library, "zip_source_stat", zip.source_stat) && resolve(library, "zip_stat_index", zip.stat_index)
        && resolve(library, "zip_stat_init", zip.stat_init) && resolve(library, "zip_strerror", zip.strerror);
    return complete ? &zip : nullptr;
}

} // namespace

const ZipLibrary *zipLibrary()
{
    static const ZipLibrary *const loaded = load();
    return loaded;
}

const char *zipLibraryName()
{
    return PELLWERK_ZIP_LIBRARY;
}

} // namespace pellwerk
