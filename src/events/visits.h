#pragma once
// Visit records of map sites: which tiles were visited and how often each hero visited each
// tile. Both survive saves through three plain lists of GameState.
#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace vorn1 {

// Key of the visited-site set: x | y << 16 (coordinates as 16-bit fields).
uint32_t visit_site_key(int x, int y);
// Key of the visit counts: (x & 1023) | (y & 1023) << 10 | (hero & 255) << 20.
uint32_t visit_count_key(int x, int y, int hero);

struct VisitRecords {
    std::set<uint32_t> sites;
    std::map<uint32_t, int32_t> counts;
};

// Marks the tile visited and counts one more visit of the hero there (saturating).
void record_visit(VisitRecords& v, int x, int y, int hero);
bool site_visited(const VisitRecords& v, int x, int y);
int32_t visit_count(const VisitRecords& v, int x, int y, int hero);
// Drops every count of the hero slot: a hero hired into a fallen hero's slot has visited nothing.
void forget_hero_visits(VisitRecords& v, int hero);

// Fills the three lists (site keys; count keys and counts in matching positions).
void export_visit_records(const VisitRecords& v, std::vector<uint32_t>& site_keys,
                          std::vector<uint32_t>& count_keys, std::vector<int32_t>& counts);
// Rebuilds the records from the lists; count pairs beyond the shorter of the two lists are
// ignored, a repeated key keeps its last count.
void import_visit_records(VisitRecords& v, const std::vector<uint32_t>& site_keys,
                          const std::vector<uint32_t>& count_keys, const std::vector<int32_t>& counts);

}  // namespace vorn1
