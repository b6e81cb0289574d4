#include "CSkinImageCache.h"

CSkinImage* CSkinImageCache::FindLocked(const std::string& imagePath) const {
    for (const auto& entry : m_images)
        if (entry.first == imagePath) return entry.second.get();
    return nullptr;
}

CSkinImage* CSkinImageCache::Get(CSkinImageSource* source, const std::string& imagePath, BOOL premultiply) {
    {
        CSkinReadWriteLock::Shared read(m_lock);
        if (CSkinImage* image = FindLocked(imagePath)) return image;
    }
    if (!source || imagePath.empty()) return nullptr;
    std::unique_ptr<CSkinImage> image = source->OpenImage(imagePath.c_str(), premultiply);
    if (!image) return nullptr;
    CSkinReadWriteLock::Exclusive write(m_lock);
    // Another thread may have loaded the same picture meanwhile; its copy is the one handed out.
    if (CSkinImage* first = FindLocked(imagePath)) return first;
    m_images.emplace_back(imagePath, std::move(image));
    return m_images.back().second.get();
}

size_t CSkinImageCache::GetCount() const {
    CSkinReadWriteLock::Shared read(m_lock);
    return m_images.size();
}
