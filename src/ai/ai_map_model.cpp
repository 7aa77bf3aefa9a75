#include "ai/ai_map_model.h"

#include <algorithm>
#include <cstdlib>

#include "ai/ai_battle.h"

namespace vorn1 {

namespace {

template <class V>
bool in_range(const V& v, int i) { return i >= 0 && i < static_cast<int>(v.size()); }

bool live_stack_on(const GameState& s, int x, int y) {
    for (const MonsterStackState& m : s.monsters)
        if (!m.removed && m.count >= 1 && m.x == x && m.y == y) return true;
    return false;
}

}  // namespace

bool isValuableAdventureMapObject(const GameState& s, int player, int type, int index) {
    switch (type) {
        case AIO_REINFORCE_CASTLE: case AIO_ATTACK_CASTLE: case AIO_NEUTRAL_CASTLE:
            return in_range(s.castles, index) && s.castles[index].live;
        case AIO_ATTACK_HERO:
            return in_range(s.heroes, index) && s.heroes[index].live && s.heroes[index].owner != player;
        case AIO_MINE:
            return in_range(s.mines, index) && s.mines[index].live && s.mines[index].owner != player;
        case AIO_DRAGON_CITY: return s.dragon_city.active && s.dragon_city.owner != player;
        case AIO_LIGHTHOUSE: return s.lighthouse.active && s.lighthouse.owner != player;
        case AIO_CHEST: return in_range(s.chests, index) && !s.chests[index].taken;
        case AIO_ARTIFACT:
            return in_range(s.map_artifacts, index) && !s.map_artifacts[index].taken &&
                   s.map_artifacts[index].artifact != EMPTY_ID;
        case AIO_RESOURCE:
            return in_range(s.resource_piles, index) && !s.resource_piles[index].taken && s.resource_piles[index].amount > 0;
        case AIO_CAMPFIRE:
            return in_range(s.campfires, index) && s.campfires[index].active && !s.campfires[index].taken;
        case AIO_MONSTER:
            return in_range(s.monsters, index) && !s.monsters[index].removed && s.monsters[index].count > 0;
        default: return false;
    }
}

void ai_scan_map(AIContext& c, const GameState& s, const GameMap& map, int player) {
    c = AIContext{};
    c.player = player;
    auto add = [&](int x, int y, AIObjectType type, int index, bool guarded) {
        if (map.in_bounds(x, y)) c.objects.push_back({x, y, type, index, guarded});
    };
    for (int i = 0; i < static_cast<int>(s.castles.size()); ++i) {
        const CastleState& t = s.castles[i];
        if (!t.live) continue;
        const AIObjectType type = t.owner == player ? AIO_REINFORCE_CASTLE : t.owner < 0 ? AIO_NEUTRAL_CASTLE : AIO_ATTACK_CASTLE;
        if (isValuableAdventureMapObject(s, player, type, i)) add(t.x, t.y, type, i, type != AIO_REINFORCE_CASTLE);
    }
    for (int i = 0; i < static_cast<int>(s.heroes.size()); ++i) {
        const HeroState& h = s.heroes[i];
        if (h.live && h.owner != player) add(h.x, h.y, AIO_ATTACK_HERO, i, true);
    }
    for (int i = 0; i < static_cast<int>(s.mines.size()); ++i) {
        const MineState& m = s.mines[i];
        if (!m.live || m.owner == player) continue;
        add(m.x, m.y, AIO_MINE, i, m.owner >= 0 || live_stack_on(s, m.x, m.y));
    }
    for (const auto& [site, type] : {std::pair{&s.dragon_city, AIO_DRAGON_CITY}, std::pair{&s.lighthouse, AIO_LIGHTHOUSE}}) {
        if (!site->active || site->owner == player) continue;
        add(site->x, site->y, type, -1, site->owner >= 0 || live_stack_on(s, site->x, site->y));
    }
    for (int i = 0; i < static_cast<int>(s.chests.size()); ++i)
        if (!s.chests[i].taken) add(s.chests[i].x, s.chests[i].y, AIO_CHEST, i, live_stack_on(s, s.chests[i].x, s.chests[i].y));
    for (int i = 0; i < static_cast<int>(s.map_artifacts.size()); ++i) {
        const ArtifactState& a = s.map_artifacts[i];
        if (!a.taken && a.artifact != EMPTY_ID) add(a.x, a.y, AIO_ARTIFACT, i, live_stack_on(s, a.x, a.y));
    }
    for (int i = 0; i < static_cast<int>(s.resource_piles.size()); ++i) {
        const ResourcePileState& r = s.resource_piles[i];
        if (!r.taken && r.amount >= 1) add(r.x, r.y, AIO_RESOURCE, i, live_stack_on(s, r.x, r.y));
    }
    for (int i = 0; i < static_cast<int>(s.campfires.size()); ++i) {
        const CampfireState& f = s.campfires[i];
        if (f.active && !f.taken) add(f.x, f.y, AIO_CAMPFIRE, i, live_stack_on(s, f.x, f.y));
    }
    for (int i = 0; i < static_cast<int>(s.monsters.size()); ++i) {
        const MonsterStackState& m = s.monsters[i];
        if (!m.removed && m.count >= 1) add(m.x, m.y, AIO_MONSTER, i, true);
    }
}

void ai_build_regions(AIContext& c, const GameState& s, const GameMap& map) {
    const int w = std::max(0, map.width), h = std::max(0, map.height);
    c.map_width = w;
    c.map_height = h;
    c.region_of_tile.assign(static_cast<size_t>(w) * h, -1);
    c.region_value.clear();
    if (!map.has_tiles()) return;
    auto land = [&](int x, int y) { return map.tile(x, y)->is_land(); };
    std::vector<int> stack;
    int regions = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (c.region_of_tile[y * w + x] >= 0) continue;
            const int id = regions++;
            const bool cls = land(x, y);
            c.region_of_tile[y * w + x] = id;
            stack.assign(1, y * w + x);
            while (!stack.empty()) {
                const int t = stack.back();
                stack.pop_back();
                const int tx = t % w, ty = t / w;
                static constexpr int kD[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
                for (const auto& d : kD) {
                    const int nx = tx + d[0], ny = ty + d[1];
                    if (!map.in_bounds(nx, ny) || c.region_of_tile[ny * w + nx] >= 0 || land(nx, ny) != cls) continue;
                    c.region_of_tile[ny * w + nx] = id;
                    stack.push_back(ny * w + nx);
                }
            }
        }
    std::vector<int> own(regions), other(regions), enemy(regions);
    for (const CastleState& t : s.castles) {
        if (!t.live || !map.in_bounds(t.x, t.y)) continue;
        (t.owner == c.player ? own : other)[c.region_of_tile[t.y * w + t.x]]++;
    }
    for (const HeroState& e : s.heroes)
        if (e.live && e.owner != c.player && map.in_bounds(e.x, e.y)) enemy[c.region_of_tile[e.y * w + e.x]]++;
    std::vector<double> base(regions);
    for (int r = 0; r < regions; ++r) {
        if (own[r] >= 1) base[r] = (other[r] == 0 && enemy[r] == 0) ? 100 : -50;
        else base[r] = other[r] >= 1 ? -100 : 0;
    }
    std::vector<double> sum(regions);
    std::vector<int> contacts(regions);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int r = c.region_of_tile[y * w + x];
            static constexpr int kD[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (const auto& d : kD) {
                const int nx = x + d[0], ny = y + d[1];
                if (!map.in_bounds(nx, ny)) continue;
                const int n = c.region_of_tile[ny * w + nx];
                if (n == r) continue;
                sum[r] += base[n];
                contacts[r]++;
            }
        }
    c.region_value.resize(regions);
    for (int r = 0; r < regions; ++r)
        c.region_value[r] = contacts[r] == 0 ? base[r] * 1.5 : base[r] * 0.75 + 0.25 * (sum[r] / contacts[r]);
}

int cheb_dist(int x0, int y0, int x1, int y1) { return std::max(std::abs(x1 - x0), std::abs(y1 - y0)); }

double nearest_own_castle_dist(const GameState& s, int player, int x, int y) {
    double best = 1e9;
    for (const CastleState& t : s.castles)
        if (t.live && t.owner == player) best = std::min(best, static_cast<double>(cheb_dist(x, y, t.x, t.y)));
    return best;
}

std::vector<DangerCastle> find_castles_in_danger(const GameState& s, int player) {
    std::vector<DangerCastle> out;
    for (const CastleState& t : s.castles) {
        if (!t.live || t.owner != player) continue;
        const double G = FightValueOfStack(t.garrison, nullptr, false);
        for (const HeroState& e : s.heroes) {
            if (!e.live || e.owner == player) continue;
            const int d = cheb_dist(e.x, e.y, t.x, t.y);
            if (d > 10) continue;
            if (FightValueOfStack(e.army, &e, true) <= 1.5 * G) continue;
            if (d > nearest_own_castle_dist(s, e.owner, e.x, e.y)) continue;
            out.push_back({t.x, t.y});
            break;
        }
    }
    return out;
}

bool hero_pinned_to_defense(const GameState& s, int player, int hero_index, const std::vector<DangerCastle>& dangers) {
    if (!s.valid_hero(hero_index) || dangers.empty()) return false;
    const HeroState& h = s.heroes[hero_index];
    for (const DangerCastle& d : dangers) {
        if (d.x != h.x || d.y != h.y) continue;
        int here = 0;
        for (const HeroState& o : s.heroes)
            if (o.live && o.owner == player && o.x == d.x && o.y == d.y) ++here;
        if (here < 2) return true;
    }
    return false;
}

std::pair<int, int> monster_tile_adjacent_to(const GameMap& map, int x, int y) {
    static constexpr int kN[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
    for (const auto& d : kN) {
        const MapTile* t = map.tile(x + d[0], y + d[1]);
        if (t && t->is_monster()) return {x + d[0], y + d[1]};
    }
    return {-1, -1};
}

AIHeroRole role_for(const AIContext& c, int hero_index) {
    return in_range(c.hero_roles, hero_index) ? c.hero_roles[hero_index] : 0;
}

}  // namespace vorn1
