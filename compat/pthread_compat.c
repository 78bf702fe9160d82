/* Thread keys and once-only calls (from the static C++ library) at their old
 * versions: a library older than 2.34 has them in libpthread, which
 * cmake/Port.cmake names for that reason. */
#define _GNU_SOURCE
#include <pthread.h>

#include "old_version.h"

OLD_VERSION(int, pthread_key_create, (pthread_key_t * key, void (*destructor)(void*)), (key, destructor))
OLD_VERSION(int, __pthread_key_create, (pthread_key_t * key, void (*destructor)(void*)), (key, destructor))
OLD_VERSION(int, pthread_key_delete, (pthread_key_t key), (key))
OLD_VERSION(void*, pthread_getspecific, (pthread_key_t key), (key))
OLD_VERSION(int, pthread_setspecific, (pthread_key_t key, const void* value), (key, value))
OLD_VERSION(int, pthread_once, (pthread_once_t * once, void (*routine)(void)), (once, routine))
