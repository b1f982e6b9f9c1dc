#pragma once
// Small owners of system handles: each frees its handle when it goes, so no release is written
// by hand and none is forgotten on a path that throws.

#include "foundation/Win32.h"

#include <utility>

// Owner of one handle of a kind; `Free` is that kind's release function. Moves, never copies.
template <typename THandle, auto Free>
class COwned {
public:
    COwned() = default;
    explicit COwned(THandle handle) : m_handle(handle) {}
    ~COwned() { Reset(); }
    COwned(COwned&& other) noexcept : m_handle(std::exchange(other.m_handle, THandle{})) {}
    COwned& operator=(COwned&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_handle, THandle{}));
        return *this;
    }
    COwned(const COwned&) = delete;
    COwned& operator=(const COwned&) = delete;

    THandle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != THandle{}; }
    // Frees the handle held and takes `handle` in its place.
    void Reset(THandle handle = THandle{})
    {
        if (m_handle != THandle{})
            Free(m_handle);
        m_handle = handle;
    }
    // Lets go of the handle without freeing it; returns it.
    THandle Release() { return std::exchange(m_handle, THandle{}); }

private:
    THandle m_handle{};
};

namespace owned_detail {
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void CloseRegistryKey(HKEY key) { RegCloseKey(key); }
inline void FreeLoadedLibrary(HMODULE module) { FreeLibrary(module); }
inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void DeleteMemoryDc(HDC dc) { DeleteDC(dc); }
inline void DestroyIconHandle(HICON icon) { DestroyIcon(icon); }
template <typename TInterface>
void ReleaseInterface(TInterface* object) { object->Release(); }
}  // namespace owned_detail

using COwnedHandle = COwned<HANDLE, owned_detail::CloseKernelHandle>;
using COwnedRegistryKey = COwned<HKEY, owned_detail::CloseRegistryKey>;
using COwnedLibrary = COwned<HMODULE, owned_detail::FreeLoadedLibrary>;
template <typename TGdiObject>
using COwnedGdiObject = COwned<TGdiObject, owned_detail::DeleteGdiObject>;
// A DC of CreateCompatibleDC (one of GetDC is released otherwise).
using COwnedDc = COwned<HDC, owned_detail::DeleteMemoryDc>;
using COwnedIcon = COwned<HICON, owned_detail::DestroyIconHandle>;
template <typename TInterface>
using COwnedInterface = COwned<TInterface*, owned_detail::ReleaseInterface<TInterface>>;
