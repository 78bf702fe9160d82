/* _dl_find_object (GLIBC_2.35), which the C++ runtime's unwinder asks where a
 * code address's unwind tables are, rebuilt on dl_iterate_phdr, which every
 * library has: without it an older library could not throw an exception. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <link.h>
#include <stdint.h>
#include <string.h>

struct search {
    uintptr_t address;
    struct dl_find_object* result;
};

/* Fills the result when ADDRESS lies in one of this object's loaded segments. */
static int findIn(struct dl_phdr_info* info, size_t size, void* data)
{
    (void)size;
    struct search* search = data;
    uintptr_t start = UINTPTR_MAX, end = 0;
    void* unwindTables = NULL;
    int contains = 0;
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; i++) {
        const ElfW(Phdr)* segment = &info->dlpi_phdr[i];
        uintptr_t at = info->dlpi_addr + segment->p_vaddr;
        if (segment->p_type == PT_GNU_EH_FRAME)
            unwindTables = (void*)at;
        if (segment->p_type != PT_LOAD)
            continue;
        if (at < start)
            start = at;
        if (at + segment->p_memsz > end)
            end = at + segment->p_memsz;
        if (search->address >= at && search->address < at + segment->p_memsz)
            contains = 1;
    }
    if (!contains)
        return 0;
    memset(search->result, 0, sizeof *search->result);
    search->result->dlfo_map_start = (void*)start;
    search->result->dlfo_map_end = (void*)end;
    search->result->dlfo_eh_frame = unwindTables;
    return 1;
}

int __wrap__dl_find_object(void* address, struct dl_find_object* result);
int __wrap__dl_find_object(void* address, struct dl_find_object* result)
{
    struct search search = {(uintptr_t)address, result};
    return dl_iterate_phdr(findIn, &search) ? 0 : -1;
}
