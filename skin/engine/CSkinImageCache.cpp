#include "CSkinImageCache.h"

CSkinImage* CSkinImageCache::FindStored(const std::string& imagePath) const {
    for (const auto& entry : m_entries)
        if (entry->path == imagePath) return entry->image.get();
    return nullptr;
}

CSkinImage* CSkinImageCache::Get(CSkinImageSource* source, const std::string& imagePath, BOOL premultiply) {
    const size_t published = m_published.load(std::memory_order_acquire);
    for (size_t i = 0; i < published; ++i) {
        const Entry* entry = m_slots[i].load(std::memory_order_relaxed);
        if (entry->path == imagePath) return entry->image.get();
    }
    if (published == kPublished) {
        std::lock_guard<std::mutex> lock(m_adding);
        if (CSkinImage* image = FindStored(imagePath)) return image;
    }
    if (!source || imagePath.empty()) return nullptr;
    std::unique_ptr<CSkinImage> image = source->OpenImage(imagePath.c_str(), premultiply);
    if (!image) return nullptr;
    std::lock_guard<std::mutex> lock(m_adding);
    // Another thread may have loaded the same picture meanwhile; its copy is the one handed out.
    if (CSkinImage* first = FindStored(imagePath)) return first;
    m_entries.push_back(std::make_unique<Entry>(Entry{imagePath, std::move(image)}));
    const Entry* added = m_entries.back().get();
    const size_t count = m_published.load(std::memory_order_relaxed);
    if (count < kPublished) {
        m_slots[count].store(added, std::memory_order_relaxed);
        m_published.store(count + 1, std::memory_order_release);  // the slot is seen with its count
    }
    return added->image.get();
}

size_t CSkinImageCache::GetCount() const {
    std::lock_guard<std::mutex> lock(m_adding);
    return m_entries.size();
}
