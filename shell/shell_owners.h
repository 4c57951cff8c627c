// Owners of what the shell hands out in memory of its own allocator.
#pragma once
#include <objbase.h>
#include <shtypes.h>

#include <memory>

namespace orvkit {

struct cotaskmem_free {
    void operator()(void* block) const { CoTaskMemFree(block); }
};

// A block the shell allocated with CoTaskMemAlloc: a known folder's path, an item list.
template <typename T>
using unique_cotaskmem = std::unique_ptr<T, cotaskmem_free>;

using unique_pidl = unique_cotaskmem<ITEMIDLIST>;

}  // namespace orvkit
