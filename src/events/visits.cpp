#include "events/visits.h"

#include <algorithm>
#include <limits>

namespace vorn1 {

uint32_t visit_site_key(int x, int y) {
    return (static_cast<uint32_t>(x) & 0xFFFFu) | ((static_cast<uint32_t>(y) & 0xFFFFu) << 16);
}

uint32_t visit_count_key(int x, int y, int hero) {
    return (static_cast<uint32_t>(x) & 1023u) | ((static_cast<uint32_t>(y) & 1023u) << 10) |
           ((static_cast<uint32_t>(hero) & 255u) << 20);
}

void record_visit(VisitRecords& v, int x, int y, int hero) {
    v.sites.insert(visit_site_key(x, y));
    int32_t& c = v.counts[visit_count_key(x, y, hero)];
    if (c < std::numeric_limits<int32_t>::max()) ++c;
}

bool site_visited(const VisitRecords& v, int x, int y) {
    return v.sites.count(visit_site_key(x, y)) != 0;
}

int32_t visit_count(const VisitRecords& v, int x, int y, int hero) {
    auto it = v.counts.find(visit_count_key(x, y, hero));
    return it == v.counts.end() ? 0 : it->second;
}

void forget_hero_visits(VisitRecords& v, int hero) {
    const uint32_t slot = static_cast<uint32_t>(hero) & 255u;
    std::erase_if(v.counts, [slot](const auto& kc) { return (kc.first >> 20) == slot; });
}

void export_visit_records(const VisitRecords& v, std::vector<uint32_t>& site_keys,
                          std::vector<uint32_t>& count_keys, std::vector<int32_t>& counts) {
    site_keys.assign(v.sites.begin(), v.sites.end());
    count_keys.clear();
    counts.clear();
    count_keys.reserve(v.counts.size());
    counts.reserve(v.counts.size());
    for (const auto& [k, c] : v.counts) {
        count_keys.push_back(k);
        counts.push_back(c);
    }
}

void import_visit_records(VisitRecords& v, const std::vector<uint32_t>& site_keys,
                          const std::vector<uint32_t>& count_keys, const std::vector<int32_t>& counts) {
    v.sites = std::set<uint32_t>(site_keys.begin(), site_keys.end());
    v.counts.clear();
    const size_t n = std::min(count_keys.size(), counts.size());
    for (size_t i = 0; i < n; ++i) v.counts[count_keys[i]] = counts[i];
}

}  // namespace vorn1
