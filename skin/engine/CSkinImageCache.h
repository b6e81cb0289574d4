#pragma once
// Images of one class handle, by upper-cased path. Failed loads are tried again later. Painting
// threads share it: lookups read under a shared lock; a load runs outside any lock and the first
// image stored for a path is the one every caller gets.
#include <windows.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CSkinImage.h"
#include "CSkinImageSource.h"
#include "CSkinReadWriteLock.h"

class CSkinImageCache {
public:
    // A miss asks source (none: the miss stays a miss).
    CSkinImage* Get(CSkinImageSource* source, const std::string& imagePath, BOOL premultiply = TRUE);
    size_t GetCount() const;

private:
    CSkinImage* FindLocked(const std::string& imagePath) const;

    mutable CSkinReadWriteLock m_lock;
    std::vector<std::pair<std::string, std::unique_ptr<CSkinImage>>> m_images;
};
