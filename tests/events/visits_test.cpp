#include <gtest/gtest.h>

#include "events/visits.h"

namespace vorn1 {
namespace {

TEST(VisitKeys, MaskAtTheEdgesOfTheirFields) {
    EXPECT_EQ(visit_site_key(3, 5), 3u | (5u << 16));
    EXPECT_EQ(visit_site_key(0xFFFF, 0xFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(visit_site_key(0x10001, 2), 1u | (2u << 16));  // x wider than 16 bits is cut

    EXPECT_EQ(visit_count_key(1023, 1023, 255), 0x0FFFFFFFu);
    EXPECT_EQ(visit_count_key(1024, 1025, 256), visit_count_key(0, 1, 0));
    EXPECT_EQ(visit_count_key(7, 9, 3), 7u | (9u << 10) | (3u << 20));
    // Every field stays inside its own bits: neighbours never collide.
    EXPECT_NE(visit_count_key(1, 0, 0), visit_count_key(0, 1, 0));
    EXPECT_NE(visit_count_key(0, 1, 0), visit_count_key(0, 0, 1));
}

TEST(VisitRecords, CountsPerHeroAndTile) {
    VisitRecords v;
    EXPECT_FALSE(site_visited(v, 4, 4));
    record_visit(v, 4, 4, 0);
    record_visit(v, 4, 4, 0);
    record_visit(v, 4, 4, 2);
    EXPECT_TRUE(site_visited(v, 4, 4));
    EXPECT_FALSE(site_visited(v, 4, 5));
    EXPECT_EQ(visit_count(v, 4, 4, 0), 2);
    EXPECT_EQ(visit_count(v, 4, 4, 2), 1);
    EXPECT_EQ(visit_count(v, 4, 4, 1), 0);
    EXPECT_EQ(v.sites.size(), 1u);
}

TEST(VisitRecords, ExportImportRoundTrip) {
    VisitRecords v;
    record_visit(v, 1, 2, 0);
    record_visit(v, 71, 71, 5);
    record_visit(v, 71, 71, 5);
    record_visit(v, 1023, 0, 255);
    std::vector<uint32_t> sites, keys;
    std::vector<int32_t> counts;
    export_visit_records(v, sites, keys, counts);
    ASSERT_EQ(sites.size(), 3u);
    ASSERT_EQ(keys.size(), counts.size());

    VisitRecords w;
    record_visit(w, 9, 9, 9);  // replaced, not merged
    import_visit_records(w, sites, keys, counts);
    EXPECT_EQ(w.sites, v.sites);
    EXPECT_EQ(w.counts, v.counts);
    EXPECT_EQ(visit_count(w, 71, 71, 5), 2);
    EXPECT_FALSE(site_visited(w, 9, 9));
}

TEST(VisitRecords, ImportToleratesUnevenLists) {
    VisitRecords v;
    import_visit_records(v, {visit_site_key(1, 1)}, {visit_count_key(1, 1, 0), visit_count_key(2, 2, 0)}, {4});
    EXPECT_EQ(v.counts.size(), 1u);
    EXPECT_EQ(visit_count(v, 1, 1, 0), 4);
}

}  // namespace
}  // namespace vorn1
