#include "ai/ai_tables.h"

namespace vorn1 {

// Ratings beyond the knight row follow the same ladder by dwelling tier; the four creatures without a
// town take the step of the knight creature nearest in worth.
const std::array<AIMonsterRecord, 28> gMonsterDatabase = {{
    {18, 0x00, 9},     {256, 0x04, 17},   {399, 0x00, 20},  {768, 0x00, 31},  {1274, 0x01, 42}, {4014, 0x00, 60},
    {57, 0x00, 9},     {241, 0x04, 17},   {482, 0x01, 20},  {902, 0x00, 31},  {2627, 0x04, 42}, {5721, 0x08, 60},
    {74, 0x02, 9},     {380, 0x00, 17},   {567, 0x04, 20},  {1019, 0x04, 31}, {1866, 0x01, 42}, {11177, 0x0B, 60},
    {94, 0x05, 9},     {379, 0x02, 17},   {739, 0x03, 20},  {1248, 0x00, 31}, {3142, 0x01, 42}, {45258, 0x0B, 60},
    {112, 0x00, 9},    {544, 0x00, 20},   {1263, 0x00, 31}, {3831, 0x02, 42},
}};

int32_t ai_creature_value(int id) { return id >= 0 && id < 28 ? gMonsterDatabase[id].value : 0; }

namespace {

constexpr std::array<int, 13> kBandTop = {2, 3, 5, 8, 11, 16, 23, 35, 50, 75, 100, 140, 180};
constexpr std::array<std::array<float, 14>, 3> kCurves = {{
    {0.902f, 0.93f, 0.965f, 1.0f, 1.042f, 1.091f, 1.175f, 1.259f, 1.399f, 1.567f, 1.665f, 1.77f, 1.91f, 2.19f},
    {0.86f, 0.90f, 0.95f, 1.0f, 1.06f, 1.13f, 1.25f, 1.37f, 1.57f, 1.81f, 1.95f, 2.10f, 2.30f, 2.70f},
    {0.832f, 0.88f, 0.94f, 1.0f, 1.072f, 1.156f, 1.30f, 1.444f, 1.684f, 1.972f, 2.14f, 2.32f, 2.56f, 3.04f},
}};

}  // namespace

double ai_count_factor(int creature, int count) {
    if (count <= 0) return 0.0;
    int curve = 1;
    if (creature == 20) curve = 2;
    else if (creature == 12 || creature == 24 || (creature >= 0 && creature < 28 && (gMonsterDatabase[creature].flags & AIM_NARROW)))
        curve = 0;
    int band = 13;
    for (int i = 0; i < 13; ++i)
        if (count <= kBandTop[i]) { band = i; break; }
    return static_cast<double>(kCurves[curve][band]);
}

const std::array<float, 41> gStatPower = {
    0.63f, 0.63f, 0.63f, 0.63f, 0.63f, 0.63f, 0.64f, 0.65f, 0.67f, 0.68f, 0.70f, 0.72f, 0.74f, 0.76f,
    0.78f, 0.81f, 0.84f, 0.87f, 0.91f, 0.95f, 1.00f, 1.05f, 1.10f, 1.15f, 1.22f, 1.28f, 1.36f, 1.44f,
    1.53f, 1.63f, 1.74f, 1.86f, 1.99f, 2.14f, 2.30f, 2.48f, 2.67f, 2.86f, 2.86f, 2.86f, 2.86f,
};

const std::array<float, 21> gSpellCastNumMod = {
    0.0f, 1.0f, 1.7f, 2.2f, 2.6f, 2.95f, 3.27f, 3.56f, 3.81f, 4.04f, 4.25f,
    4.45f, 4.64f, 4.83f, 5.01f, 5.19f, 5.36f, 5.53f, 5.68f, 5.82f, 5.96f,
};

const std::array<int16_t, 29> gSpellAIValue = {
    500, 350, 300, 400, 550, 900, 400, 500, 300, 350, 250, 0, 100, 150, 1000,
    2000, 1700, 700, 700, 0, 0, 0, 0, 0, 0, 0, 0, 1200, 0,
};

const std::array<uint8_t, 29> gSpellAIFlags = {
    3, 3, 2, 2, 3, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 2, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4,
};

}  // namespace vorn1
