#pragma once
// Fixed array indexed from 1, as device numbers, sources, samples and journal
// entries are counted. Standard layout: a record holding one has the same bytes
// as one holding a plain C array.
#include <array>
#include <cassert>
#include <cstddef>

template <typename T, int N>
struct Tableau1 {
    std::array<T, N> v;

    static constexpr int Taille = N;

    T& operator[](int i) { assert(i >= 1 && i <= N); return v[static_cast<std::size_t>(i - 1)]; }
    const T& operator[](int i) const { assert(i >= 1 && i <= N); return v[static_cast<std::size_t>(i - 1)]; }

    T* begin() { return v.data(); }
    T* end() { return v.data() + N; }
    const T* begin() const { return v.data(); }
    const T* end() const { return v.data() + N; }
};
