#pragma once
// `UniqueWith<T, Free>`: a std::unique_ptr that hands its object to the C function `Free` (for
// example `UniqueWith<cairo_t, &cairo_destroy>`). The owners of the platform's C objects are
// built from it.
#include <memory>

namespace quelt {

template <auto Free>
struct FreeWith {
    template <class T>
    void operator()(T* object) const {
        Free(object);
    }
};

template <class T, auto Free>
using UniqueWith = std::unique_ptr<T, FreeWith<Free>>;

}  // namespace quelt
