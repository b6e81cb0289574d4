#pragma once
// Images of one class handle, by upper-cased path. Failed loads are tried again later. Every draw
// asks it, from any painting thread: images are only ever added, so a hit reads published entries
// without a lock; a load runs outside any lock, and the first image stored for a path is the one
// every caller gets.
#include <windows.h>
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CSkinImage.h"
#include "CSkinImageSource.h"

class CSkinImageCache {
public:
    // A miss asks source (none: the miss stays a miss).
    CSkinImage* Get(CSkinImageSource* source, const std::string& imagePath, BOOL premultiply = TRUE);
    size_t GetCount() const;

private:
    struct Entry {
        std::string path;
        std::unique_ptr<CSkinImage> image;
    };
    CSkinImage* FindStored(const std::string& imagePath) const;  // with m_adding held

    // The first entries, readable without the lock once counted in m_published. A class uses a few
    // dozen images at most; any beyond these are found under the lock.
    static constexpr size_t kPublished = 64;
    std::array<std::atomic<const Entry*>, kPublished> m_slots{};
    std::atomic<size_t> m_published{0};
    mutable std::mutex m_adding;
    std::vector<std::unique_ptr<Entry>> m_entries;  // owns every entry; changed under m_adding
};
