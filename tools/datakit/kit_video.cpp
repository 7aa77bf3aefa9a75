#include "datakit/kit_video.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <numbers>
#include <queue>
#include <set>
#include <stdexcept>

#include "datakit/kit_formats.h"
#include "media/smk_video.h"

namespace vorn1::kit {

namespace {

// ---- bits, least significant first

struct BitWriter {
    Bytes bytes;
    int bit = 0;
    void put(uint32_t b) {
        if (bit == 0) bytes.push_back(0);
        if (b & 1u) bytes.back() = static_cast<uint8_t>(bytes.back() | (1u << bit));
        bit = (bit + 1) & 7;
    }
    void put_bits(uint32_t v, int n) {
        for (int i = 0; i < n; ++i) put((v >> i) & 1u);
    }
    void put_code(const std::vector<uint8_t>& code) {
        for (uint8_t b : code) put(b);
    }
};

void put32(Bytes& b, uint32_t v) {
    for (int k = 0; k < 4; ++k) b.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

// ---- prefix code trees built from symbol counts

struct CodeTree {
    struct Node {
        int c0 = -1, c1 = -1;
        uint32_t sym = 0;
        bool leaf = false;
    };
    std::vector<Node> nodes;
    int root = -1;
    std::map<uint32_t, std::vector<uint8_t>> codes;
    bool empty() const { return root < 0; }
    int node_count() const { return static_cast<int>(nodes.size()); }
};

void assign_codes(CodeTree& t, int n, std::vector<uint8_t>& path, int& max_depth) {
    const CodeTree::Node& node = t.nodes[static_cast<size_t>(n)];
    max_depth = std::max(max_depth, static_cast<int>(path.size()));
    if (node.leaf) {
        t.codes[node.sym] = path;
        return;
    }
    const int c0 = node.c0, c1 = node.c1;
    path.push_back(0);
    assign_codes(t, c0, path, max_depth);
    path.back() = 1;
    assign_codes(t, c1, path, max_depth);
    path.pop_back();
}

CodeTree build_code_tree(const std::map<uint32_t, uint64_t>& counts, bool flat = false) {
    CodeTree t;
    if (counts.empty()) return t;
    using Item = std::pair<uint64_t, int>;  // weight, node
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> q;
    for (const auto& [sym, n] : counts) {
        t.nodes.push_back({-1, -1, sym, true});
        q.push({flat ? 1 : std::max<uint64_t>(n, 1), t.node_count() - 1});
    }
    while (q.size() > 1) {
        const Item a = q.top();
        q.pop();
        const Item b = q.top();
        q.pop();
        t.nodes.push_back({a.second, b.second, 0, false});
        q.push({a.first + b.first, t.node_count() - 1});
    }
    t.root = q.top().second;
    std::vector<uint8_t> path;
    int depth = 0;
    assign_codes(t, t.root, path, depth);
    if (depth > 24 && !flat) return build_code_tree(counts, true);
    return t;
}

// Byte tree body as the readers build it: 1 inner node (then both children), 0 leaf + 8 bits.
void put_tree8_rec(BitWriter& bw, const CodeTree& t, int n) {
    const CodeTree::Node& node = t.nodes[static_cast<size_t>(n)];
    if (node.leaf) {
        bw.put(0);
        bw.put_bits(node.sym, 8);
        return;
    }
    bw.put(1);
    put_tree8_rec(bw, t, node.c0);
    put_tree8_rec(bw, t, node.c1);
}

CodeTree byte_tree(const std::map<uint32_t, uint64_t>& counts) {
    if (counts.empty()) return build_code_tree({{0u, 1u}});
    return build_code_tree(counts);
}

// ---- 16-bit trees with the three recent-value leaves

constexpr uint32_t kEscapeSym = 0x10000;  // + k: the escape leaf k

struct BigTree {
    std::vector<uint32_t> values;  // the stream, in order, with a frame mark as 0xFFFFFFFF
    bool use_escapes = true;
    uint32_t escape[3] = {0xFFFF, 0xFFFE, 0xFFFD};
    CodeTree tree, low, high;

    // Which leaf codes v: an escape leaf when v is held in a recent slot, else v's own leaf.
    static uint32_t pick(uint32_t v, const uint32_t cache[3], bool esc) {
        if (esc)
            for (uint32_t k = 0; k < 3; ++k)
                if (cache[k] == v) return kEscapeSym + k;
        return v;
    }
    static void shift(uint32_t v, uint32_t cache[3]) {
        if (v != cache[0]) {
            cache[2] = cache[1];
            cache[1] = cache[0];
            cache[0] = v;
        }
    }

    void build() {
        std::set<uint32_t> used;
        for (uint32_t v : values)
            if (v != 0xFFFFFFFFu) used.insert(v);
        int k = 0;
        for (int64_t c = 0xFFFF; c >= 0 && k < 3; --c)
            if (!used.count(static_cast<uint32_t>(c))) escape[k++] = static_cast<uint32_t>(c);
        std::map<uint32_t, uint64_t> counts;
        uint32_t cache[3] = {0, 0, 0};
        for (uint32_t v : values) {
            if (v == 0xFFFFFFFFu) {
                cache[0] = cache[1] = cache[2] = 0;
                continue;
            }
            ++counts[pick(v, cache, use_escapes)];
            shift(v, cache);
        }
        tree = build_code_tree(counts);
        std::map<uint32_t, uint64_t> lo, hi;
        for (const auto& [sym, n] : counts) {
            const uint32_t v = sym >= kEscapeSym ? escape[sym - kEscapeSym] : sym;
            ++lo[v & 0xFF];
            ++hi[v >> 8];
        }
        low = byte_tree(lo);
        high = byte_tree(hi);
    }

    void put_rec(BitWriter& bw, int n) const {
        const CodeTree::Node& node = tree.nodes[static_cast<size_t>(n)];
        if (node.leaf) {
            bw.put(0);
            const uint32_t v = node.sym >= kEscapeSym ? escape[node.sym - kEscapeSym] : node.sym;
            bw.put_code(low.codes.at(v & 0xFF));
            bw.put_code(high.codes.at(v >> 8));
            return;
        }
        bw.put(1);
        put_rec(bw, node.c0);
        put_rec(bw, node.c1);
    }

    void write_header(BitWriter& bw) const {
        if (tree.empty()) {
            bw.put(0);
            return;
        }
        bw.put(1);
        for (const CodeTree* t : {&low, &high}) {
            bw.put(1);
            put_tree8_rec(bw, *t, t->root);
            bw.put(0);
        }
        for (uint32_t e : escape) bw.put_bits(e, 16);
        put_rec(bw, tree.root);
        bw.put(0);
    }

    uint32_t table_bytes() const { return 4u * static_cast<uint32_t>(tree.node_count() + 8); }
};

// ---- frame encoding

enum TreeId : int8_t { kRawBit = -1, kMMap = 0, kMClr = 1, kFull = 2, kType = 3 };
struct Op {
    int8_t tree;
    uint32_t value;
};

int run_index_for(int len) {
    int best = 0;
    for (int i = 0; i < 64; ++i)
        if (vorn1::k_sizetable[static_cast<size_t>(i)] <= len) best = i;
    return best;
}

struct Block {
    int kind = 2;  // 0 two-colour, 1 full, 2 skip, 3 solid
    uint8_t colour = 0;
    uint8_t px[16] = {};
};

std::vector<Op> encode_frame_video(const SmkFilm& film, const std::vector<uint8_t>& prev,
                                   const std::vector<uint8_t>& cur) {
    const uint32_t w = film.width, h = film.height;
    const uint32_t bw = (w + 3) / 4, bh = (h + 3) / 4;
    std::vector<Block> blocks(static_cast<size_t>(bw) * bh);
    for (uint32_t by = 0; by < bh; ++by)
        for (uint32_t bx = 0; bx < bw; ++bx) {
            Block& b = blocks[static_cast<size_t>(by) * bw + bx];
            bool same = true;
            std::set<uint8_t> colours;
            uint8_t first = cur[static_cast<size_t>(by * 4) * w + bx * 4];
            for (uint32_t r = 0; r < 4; ++r)
                for (uint32_t c = 0; c < 4; ++c) {
                    const uint32_t x = bx * 4 + c, y = by * 4 + r;
                    if (x >= w || y >= h) {
                        b.px[4 * r + c] = first;
                        continue;
                    }
                    const size_t i = static_cast<size_t>(y) * w + x;
                    b.px[4 * r + c] = cur[i];
                    colours.insert(cur[i]);
                    if (cur[i] != prev[i]) same = false;
                }
            if (same) b.kind = 2;
            else if (film.full_blocks_only) b.kind = 1;
            else if (colours.size() == 1) {
                b.kind = 3;
                b.colour = *colours.begin();
            } else if (colours.size() == 2) b.kind = 0;
            else b.kind = 1;
        }
    std::vector<Op> ops;
    const bool v4 = film.version == '4';
    size_t n = 0;
    while (n < blocks.size()) {
        const Block& b0 = blocks[n];
        size_t run = 1;
        if (!(v4 && b0.kind == 1))
            while (n + run < blocks.size() && blocks[n + run].kind == b0.kind &&
                   (b0.kind != 3 || blocks[n + run].colour == b0.colour))
                ++run;
        size_t done = 0;
        while (done < run) {
            const int idx = run_index_for(static_cast<int>(run - done));
            const size_t len = static_cast<size_t>(vorn1::k_sizetable[static_cast<size_t>(idx)]);
            const uint32_t colour = b0.kind == 3 ? b0.colour : 0;
            ops.push_back({kType, static_cast<uint32_t>(b0.kind) | (static_cast<uint32_t>(idx) << 2) | (colour << 8)});
            for (size_t k = 0; k < len; ++k) {
                const Block& b = blocks[n + done + k];
                if (b.kind == 0) {
                    const uint8_t lo = b.px[0];
                    uint8_t hi = lo;
                    uint32_t m = 0;
                    for (int p = 0; p < 16; ++p)
                        if (b.px[p] != lo) {
                            hi = b.px[p];
                            m |= 1u << p;
                        }
                    ops.push_back({kMClr, static_cast<uint32_t>(hi) << 8 | lo});
                    ops.push_back({kMMap, m});
                } else if (b.kind == 1) {
                    auto pair_at = [&](int r, int c) { return static_cast<uint32_t>(b.px[4 * r + c]) | (static_cast<uint32_t>(b.px[4 * r + c + 1]) << 8); };
                    auto row_eq = [&](int a, int c) { return std::memcmp(b.px + 4 * a, b.px + 4 * c, 4) == 0; };
                    const bool halves = row_eq(0, 1) && row_eq(2, 3);
                    bool doubles = halves;
                    for (int r = 0; r < 4 && doubles; r += 2)
                        doubles = b.px[4 * r] == b.px[4 * r + 1] && b.px[4 * r + 2] == b.px[4 * r + 3];
                    if (v4 && doubles) {
                        ops.push_back({kRawBit, 1});
                        for (int r = 0; r < 4; r += 2)
                            ops.push_back({kFull, static_cast<uint32_t>(b.px[4 * r]) | (static_cast<uint32_t>(b.px[4 * r + 2]) << 8)});
                    } else if (v4 && halves) {
                        ops.push_back({kRawBit, 0});
                        ops.push_back({kRawBit, 1});
                        for (int r = 0; r < 4; r += 2) {
                            ops.push_back({kFull, pair_at(r, 2)});
                            ops.push_back({kFull, pair_at(r, 0)});
                        }
                    } else {
                        if (v4) {
                            ops.push_back({kRawBit, 0});
                            ops.push_back({kRawBit, 0});
                        }
                        for (int r = 0; r < 4; ++r) {
                            ops.push_back({kFull, pair_at(r, 2)});
                            ops.push_back({kFull, pair_at(r, 0)});
                        }
                    }
                }
            }
            done += len;
        }
        n += run;
    }
    return ops;
}

// Palette chunk: same-index runs, copies from elsewhere in the old palette, new entries.
Bytes encode_palette(const std::array<uint8_t, 768>& old6, const std::array<uint8_t, 768>& new6) {
    auto entry_eq = [&](size_t a, size_t b) { return std::memcmp(&new6[3 * a], &old6[3 * b], 3) == 0; };
    Bytes body;
    size_t i = 0;
    while (i < 256) {
        size_t same = 0;
        while (i + same < 256 && same < 128 && entry_eq(i + same, i + same)) ++same;
        if (same > 0) {
            body.push_back(static_cast<uint8_t>(0x80 | (same - 1)));
            i += same;
            continue;
        }
        size_t best = 0, best_s = 0;
        for (size_t s = 0; s < 256; ++s) {
            size_t m = 0;
            while (m < 64 && i + m < 256 && s + m < 256 && entry_eq(i + m, s + m)) ++m;
            if (m > best) {
                best = m;
                best_s = s;
            }
        }
        if (best >= 2) {
            body.push_back(static_cast<uint8_t>(0x40 | (best - 1)));
            body.push_back(static_cast<uint8_t>(best_s));
            i += best;
            continue;
        }
        body.insert(body.end(), &new6[3 * i], &new6[3 * i] + 3);
        ++i;
    }
    Bytes chunk;
    const size_t len = (body.size() + 1 + 3) / 4 * 4;
    chunk.push_back(static_cast<uint8_t>(len / 4));
    chunk.insert(chunk.end(), body.begin(), body.end());
    chunk.resize(len, 0);
    return chunk;
}

}  // namespace

Bytes encode_smk_audio(const std::vector<uint8_t>& pcm, bool sixteen, bool stereo) {
    const int ch = stereo ? 2 : 1;
    const size_t bps = sixteen ? 2 : 1;
    const size_t samples = pcm.size() / bps;  // interleaved sample positions
    auto sample = [&](size_t i) -> uint32_t {
        return sixteen ? static_cast<uint32_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8)) : pcm[i];
    };
    const int trees = ch * (sixteen ? 2 : 1);
    std::vector<std::map<uint32_t, uint64_t>> counts(static_cast<size_t>(trees));
    std::vector<uint32_t> diffs(samples, 0);
    for (size_t i = static_cast<size_t>(ch); i < samples; ++i) {
        const int c = stereo ? static_cast<int>(i & 1) : 0;
        const uint32_t mask = sixteen ? 0xFFFFu : 0xFFu;
        diffs[i] = (sample(i) - sample(i - static_cast<size_t>(ch))) & mask;
        if (sixteen) {
            ++counts[static_cast<size_t>(2 * c)][diffs[i] & 0xFF];
            ++counts[static_cast<size_t>(2 * c + 1)][diffs[i] >> 8];
        } else {
            ++counts[static_cast<size_t>(c)][diffs[i]];
        }
    }
    std::vector<CodeTree> t;
    for (const auto& c : counts) t.push_back(byte_tree(c));
    BitWriter bw;
    bw.put(1);
    bw.put(stereo ? 1 : 0);
    bw.put(sixteen ? 1 : 0);
    for (const CodeTree& tree : t) {
        bw.put(1);
        put_tree8_rec(bw, tree, tree.root);
        bw.put(0);
    }
    for (int c = ch - 1; c >= 0; --c) {
        if (static_cast<size_t>(c) >= samples) {
            bw.put_bits(0, sixteen ? 16 : 8);
            continue;
        }
        const uint32_t v = sample(static_cast<size_t>(c));
        if (sixteen) {
            bw.put_bits(v >> 8, 8);
            bw.put_bits(v & 0xFF, 8);
        } else {
            bw.put_bits(v, 8);
        }
    }
    for (size_t i = static_cast<size_t>(ch); i < samples; ++i) {
        const int c = stereo ? static_cast<int>(i & 1) : 0;
        if (sixteen) {
            bw.put_code(t[static_cast<size_t>(2 * c)].codes.at(diffs[i] & 0xFF));
            bw.put_code(t[static_cast<size_t>(2 * c + 1)].codes.at(diffs[i] >> 8));
        } else {
            bw.put_code(t[static_cast<size_t>(c)].codes.at(diffs[i]));
        }
    }
    Bytes out;
    put32(out, static_cast<uint32_t>(pcm.size()));
    out.insert(out.end(), bw.bytes.begin(), bw.bytes.end());
    return out;
}

Bytes write_smk(const SmkFilm& film) {
    const size_t pixels = static_cast<size_t>(film.width) * film.height;
    if (film.frames.empty()) throw std::invalid_argument("write_smk: no frames");
    for (const SmkFrameIn& f : film.frames)
        if (f.pixels.size() != pixels) throw std::invalid_argument("write_smk: frame of the wrong size");
    const bool ring = (film.flags & 1u) != 0;
    const size_t records = film.frames.size();
    const uint32_t frame_count = static_cast<uint32_t>(records - (ring ? 1 : 0));

    // Video symbol streams of every frame, then the trees from their statistics.
    std::vector<std::vector<Op>> frame_ops;
    BigTree big[4];
    for (BigTree& t : big) t.use_escapes = film.use_escapes;
    std::vector<uint8_t> prev(pixels, 0);
    for (const SmkFrameIn& f : film.frames) {
        frame_ops.push_back(encode_frame_video(film, prev, f.pixels));
        for (BigTree& t : big) t.values.push_back(0xFFFFFFFFu);
        for (const Op& op : frame_ops.back())
            if (op.tree >= 0) big[op.tree].values.push_back(op.value);
        prev = f.pixels;
    }
    for (BigTree& t : big) t.build();
    BitWriter tb;
    for (const BigTree& t : big) t.write_header(tb);  // MMap, MClr, Full, Type

    std::vector<Bytes> records_bytes;
    std::vector<uint8_t> types;
    std::array<uint8_t, 768> pal6{};
    uint32_t max_audio = 0;
    for (size_t fi = 0; fi < records; ++fi) {
        const SmkFrameIn& f = film.frames[fi];
        Bytes rec;
        uint8_t type = 0;
        if (f.palette6) {
            const Bytes chunk = encode_palette(pal6, *f.palette6);
            rec.insert(rec.end(), chunk.begin(), chunk.end());
            pal6 = *f.palette6;
            type |= 1;
        }
        if (film.audio_rate != 0 && !f.audio.empty()) {
            Bytes body = encode_smk_audio(f.audio, film.audio_16bit, film.audio_stereo);
            for (int k = 0; k < 4 && film.audio_claim != 0; ++k) body[static_cast<size_t>(k)] = static_cast<uint8_t>(film.audio_claim >> (8 * k));
            put32(rec, static_cast<uint32_t>(body.size() + 4));
            rec.insert(rec.end(), body.begin(), body.end());
            max_audio = std::max<uint32_t>(max_audio, static_cast<uint32_t>(f.audio.size()));
            type |= 2;
        }
        BitWriter vb;
        uint32_t cache[4][3] = {};
        for (const Op& op : frame_ops[fi]) {
            if (op.tree < 0) {
                vb.put(op.value);
                continue;
            }
            const BigTree& t = big[op.tree];
            const uint32_t sym = BigTree::pick(op.value, cache[op.tree], t.use_escapes);
            vb.put_code(t.tree.codes.at(sym));
            BigTree::shift(op.value, cache[op.tree]);
        }
        if (vb.bytes.empty()) vb.bytes.push_back(0);
        rec.insert(rec.end(), vb.bytes.begin(), vb.bytes.end());
        rec.resize((rec.size() + 3) / 4 * 4, 0);
        records_bytes.push_back(std::move(rec));
        types.push_back(type);
    }

    Bytes out;
    out.insert(out.end(), {'S', 'M', 'K', static_cast<uint8_t>(film.version)});
    put32(out, film.width);
    put32(out, film.height);
    put32(out, frame_count);
    put32(out, static_cast<uint32_t>(film.frame_rate));
    put32(out, film.flags);
    for (int k = 0; k < 7; ++k) put32(out, k == 0 ? max_audio : 0);
    put32(out, static_cast<uint32_t>(tb.bytes.size()));
    for (const BigTree& t : big) put32(out, t.table_bytes());
    uint32_t rate0 = 0;
    if (film.audio_rate != 0)
        rate0 = (film.audio_rate & 0xFFFFFFu) | 0x80000000u | 0x40000000u | (film.audio_16bit ? 0x20000000u : 0u) |
                (film.audio_stereo ? 0x10000000u : 0u);
    for (int k = 0; k < 7; ++k) put32(out, k == 0 ? rate0 : 0);
    put32(out, 0);
    for (size_t fi = 0; fi < records; ++fi)
        put32(out, static_cast<uint32_t>(records_bytes[fi].size()) | (fi == 0 ? 1u : 0u));
    out.insert(out.end(), types.begin(), types.end());
    out.insert(out.end(), tb.bytes.begin(), tb.bytes.end());
    for (const Bytes& r : records_bytes) out.insert(out.end(), r.begin(), r.end());
    return out;
}

std::array<uint8_t, 768> smk_standard_palette6() {
    const Palette p = standard_palette();
    std::array<uint8_t, 768> out{};
    for (int i = 0; i < 256; ++i) {
        out[3 * i] = static_cast<uint8_t>(p[i].r >> 2);
        out[3 * i + 1] = static_cast<uint8_t>(p[i].g >> 2);
        out[3 * i + 2] = static_cast<uint8_t>(p[i].b >> 2);
    }
    return out;
}

namespace {

uint8_t nearest_index(const Palette& p, int r, int g, int b) {
    int best = 0, best_d = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        const int d = (p[i].r - r) * (p[i].r - r) + (p[i].g - g) * (p[i].g - g) + (p[i].b - b) * (p[i].b - b);
        if (d < best_d) {
            best_d = d;
            best = i;
        }
    }
    return static_cast<uint8_t>(best);
}

}  // namespace

SmkFilm demo_smk_film(const std::string& title, uint32_t width, uint32_t height, double seconds, bool sound,
                      char version) {
    SmkFilm film;
    film.version = version;
    film.width = width;
    film.height = height;
    film.frame_rate = 100;
    const Palette pal = standard_palette();
    const auto pal6 = smk_standard_palette6();
    const uint8_t bands[6] = {nearest_index(pal, 0, 40, 120),  nearest_index(pal, 0, 80, 160),
                              nearest_index(pal, 40, 120, 200), nearest_index(pal, 0, 80, 160),
                              nearest_index(pal, 0, 40, 120),  nearest_index(pal, 0, 0, 80)};
    const uint8_t white = nearest_index(pal, 255, 255, 255), gold = nearest_index(pal, 252, 200, 0);
    const int frames = std::max(1, static_cast<int>(seconds * 10 + 0.5));

    // The title in the kit's small letters, scaled up to fill most of the width.
    IndexGrid text(static_cast<int>(title.size()) * 4 + 1, 7, 0);
    draw_small_text(text, 1, 1, title, 1);
    const int scale = std::max(1, std::min(static_cast<int>(width) * 4 / 5 / text.width, static_cast<int>(height) / 3 / text.height));
    const int tx = (static_cast<int>(width) - text.width * scale) / 2, ty = (static_cast<int>(height) - text.height * scale) / 2;

    const int samples_per_frame = 2205;
    for (int f = 0; f < frames; ++f) {
        SmkFrameIn fr;
        fr.pixels.assign(static_cast<size_t>(width) * height, 0);
        for (uint32_t y = 0; y < height; ++y) {
            const uint8_t band = bands[((y + static_cast<uint32_t>(f) * 4) / 16) % 6];
            std::fill_n(fr.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width, width, band);
        }
        for (int y = 0; y < text.height * scale; ++y)
            for (int x = 0; x < text.width * scale; ++x) {
                const int px = tx + x, py = ty + y;
                if (px < 0 || py < 0 || px >= static_cast<int>(width) || py >= static_cast<int>(height)) continue;
                if (text.index[static_cast<size_t>(y / scale) * text.width + x / scale])
                    fr.pixels[static_cast<size_t>(py) * width + px] = (f / 5) % 2 ? gold : white;
            }
        // Fade in over the first five frames.
        if (f < 5) {
            std::array<uint8_t, 768> p = pal6;
            for (uint8_t& c : p) c = static_cast<uint8_t>(c * (f + 1) / 5);
            fr.palette6 = p;
        }
        if (sound) {
            fr.audio.resize(samples_per_frame);
            for (int s = 0; s < samples_per_frame; ++s) {
                const double t = (f * samples_per_frame + s) / 22050.0;
                const double env = std::min(1.0, (frames * 0.1 - t) * 4);
                fr.audio[static_cast<size_t>(s)] =
                    static_cast<uint8_t>(128 + std::lround(40 * env * std::sin(2 * std::numbers::pi * (330 + 110 * (f / 10)) * t)));
            }
        }
        film.frames.push_back(std::move(fr));
    }
    if (sound) film.audio_rate = 22050;
    return film;
}

SmkFilm long_claimed_sound_film(bool sixteen_stereo, uint32_t rate) {
    SmkFilm f;
    f.width = 32;
    f.height = 16;
    f.frame_rate = 2000000;
    f.audio_rate = rate;
    f.audio_16bit = sixteen_stereo;
    f.audio_stereo = sixteen_stereo;
    f.audio_claim = 0x04000000;
    const std::vector<uint8_t> sound(sixteen_stereo ? 512 * 4 : 512, sixteen_stereo ? 0x00 : 0x80);
    f.frames.assign(8, SmkFrameIn{std::vector<uint8_t>(32 * 16, 1), std::nullopt, sound});
    f.frames[0].palette6 = std::array<uint8_t, 768>{0, 0, 0, 40, 20, 50};
    return f;
}

void write_smk_seeds(const std::string& out_dir) {
    write_seed(out_dir, "smk", "small.smk", write_smk(demo_smk_film("SEED", 32, 16, 0.4, true)));
    write_seed(out_dir, "smk", "v4.smk", write_smk(demo_smk_film("V4", 24, 12, 0.3, false, '4')));
    write_seed(out_dir, "smk", "long_claimed.smk", write_smk(long_claimed_sound_film(true)));
    // Noise in full blocks, a palette change and 16-bit stereo sound.
    SmkFilm f;
    f.width = 13;
    f.height = 9;
    f.audio_rate = 11025;
    f.audio_16bit = true;
    f.audio_stereo = true;
    uint32_t seed = 7;
    for (int k = 0; k < 3; ++k) {
        SmkFrameIn fr;
        for (int i = 0; i < 13 * 9; ++i) {
            seed = seed * 1103515245u + 12345u;
            fr.pixels.push_back(static_cast<uint8_t>(seed >> 24));
        }
        if (k != 1) fr.palette6 = smk_standard_palette6();
        for (int s = 0; s < 40; ++s) fr.audio.push_back(static_cast<uint8_t>((s * 37 + k) & 0xFF));
        f.frames.push_back(std::move(fr));
    }
    f.flags = 1;
    write_seed(out_dir, "smk", "noise_ring.smk", write_smk(f));
}

}  // namespace vorn1::kit

// ---- MP4 through the FFmpeg encoders

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

namespace vorn1::kit {

namespace {

struct Mp4Out {
    AVFormatContext* oc = nullptr;
    AVCodecContext* vc = nullptr;
    AVCodecContext* ac = nullptr;
    AVStream* vs = nullptr;
    AVStream* as = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* pkt = nullptr;
    ~Mp4Out() {
        avcodec_free_context(&vc);
        avcodec_free_context(&ac);
        av_frame_free(&frame);
        av_packet_free(&pkt);
        if (oc) {
            if (oc->pb && !(oc->oformat->flags & AVFMT_NOFILE)) avio_closep(&oc->pb);
            avformat_free_context(oc);
        }
    }
    bool send(AVCodecContext* c, AVStream* st, AVFrame* f) {
        if (avcodec_send_frame(c, f) < 0) return false;
        for (;;) {
            const int r = avcodec_receive_packet(c, pkt);
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
            if (r < 0) return false;
            av_packet_rescale_ts(pkt, c->time_base, st->time_base);
            pkt->stream_index = st->index;
            if (av_interleaved_write_frame(oc, pkt) < 0) return false;
        }
    }
};

bool fail_why(std::string* why, const char* text) {
    if (why) *why = text;
    return false;
}

}  // namespace

bool write_mp4(const std::string& path, const Mp4Spec& spec, std::string* why) {
    Mp4Out o;
    if (avformat_alloc_output_context2(&o.oc, nullptr, nullptr, path.c_str()) < 0 || !o.oc)
        return fail_why(why, "no muxer for the file name");
    const bool global = (o.oc->oformat->flags & AVFMT_GLOBALHEADER) != 0;
    if (spec.frames > 0) {
        const AVCodec* c = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
        if (!c) return fail_why(why, "no MPEG-4 video encoder");
        o.vc = avcodec_alloc_context3(c);
        o.vc->width = spec.width;
        o.vc->height = spec.height;
        o.vc->time_base = AVRational{1, spec.fps};
        o.vc->framerate = AVRational{spec.fps, 1};
        o.vc->pix_fmt = AV_PIX_FMT_YUV420P;
        o.vc->gop_size = 10;
        o.vc->bit_rate = 400000;
        if (global) o.vc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (avcodec_open2(o.vc, c, nullptr) < 0) return fail_why(why, "video encoder did not open");
        o.vs = avformat_new_stream(o.oc, nullptr);
        avcodec_parameters_from_context(o.vs->codecpar, o.vc);
        o.vs->time_base = o.vc->time_base;
    }
    if (spec.audio_rate > 0) {
        const bool flac = spec.audio_codec == Mp4Sound::Flac;
        const bool vorbis = spec.audio_codec == Mp4Sound::Vorbis;
        // The built-in Vorbis encoder takes two channels at most.
        const AVCodec* c = vorbis ? avcodec_find_encoder_by_name("libvorbis")
                                  : avcodec_find_encoder(flac ? AV_CODEC_ID_FLAC : AV_CODEC_ID_AAC);
        if (!c) return fail_why(why, flac ? "no FLAC encoder" : vorbis ? "no Vorbis encoder" : "no AAC encoder");
        if (spec.audio_channels < 1) return fail_why(why, "no sound channels");
        o.ac = avcodec_alloc_context3(c);
        o.ac->sample_fmt = flac ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_FLTP;
        o.ac->sample_rate = spec.audio_rate;
        av_channel_layout_default(&o.ac->ch_layout, spec.audio_channels);
        o.ac->bit_rate = 64000 * spec.audio_channels;
        o.ac->frame_size = spec.audio_packet;
        o.ac->time_base = AVRational{1, spec.audio_rate};
        if (global) o.ac->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (avcodec_open2(o.ac, c, nullptr) < 0) return fail_why(why, "audio encoder did not open");
        // This libavformat still calls FLAC and Vorbis in MP4 experimental; its own demuxer reads them.
        if (flac || vorbis) o.oc->strict_std_compliance = FF_COMPLIANCE_EXPERIMENTAL;
        o.as = avformat_new_stream(o.oc, nullptr);
        avcodec_parameters_from_context(o.as->codecpar, o.ac);
        o.as->time_base = o.ac->time_base;
    }
    if (!o.vs && !o.as) return fail_why(why, "nothing to write");
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (!(o.oc->oformat->flags & AVFMT_NOFILE) && avio_open(&o.oc->pb, path.c_str(), AVIO_FLAG_WRITE) < 0)
        return fail_why(why, "cannot create the file");
    if (avformat_write_header(o.oc, nullptr) < 0) return fail_why(why, "header not written");
    o.frame = av_frame_alloc();
    o.pkt = av_packet_alloc();

    int64_t next_sample = 0;
    const int64_t total_samples = o.ac ? static_cast<int64_t>(spec.audio_seconds * spec.audio_rate) : 0;
    auto write_audio_until = [&](double t) {
        while (o.ac && next_sample < total_samples && next_sample < t * spec.audio_rate) {
            const int n = o.ac->frame_size > 0 ? o.ac->frame_size : 1024;
            av_frame_unref(o.frame);
            o.frame->nb_samples = n;
            o.frame->format = o.ac->sample_fmt;
            o.frame->sample_rate = spec.audio_rate;
            av_channel_layout_copy(&o.frame->ch_layout, &o.ac->ch_layout);
            if (av_frame_get_buffer(o.frame, 0) < 0) return false;
            const int channels = spec.audio_channels;
            const bool planar = o.ac->sample_fmt == AV_SAMPLE_FMT_FLTP;
            // Past eight channels the planes are only in extended_data.
            if (planar)
                for (int k = 1; k < channels; ++k) std::fill_n(reinterpret_cast<float*>(o.frame->extended_data[k]), n, 0.0f);
            else
                std::fill_n(reinterpret_cast<int16_t*>(o.frame->data[0]), static_cast<size_t>(n) * channels, int16_t{0});
            for (int s = 0; s < n; ++s) {
                const double v = 0.3 * std::sin(2 * std::numbers::pi * 440.0 * (next_sample + s) / spec.audio_rate);
                if (planar) reinterpret_cast<float*>(o.frame->data[0])[s] = static_cast<float>(v);
                else reinterpret_cast<int16_t*>(o.frame->data[0])[s * channels] = static_cast<int16_t>(std::lround(v * 32767));
            }
            o.frame->pts = next_sample;
            next_sample += n;
            if (!o.send(o.ac, o.as, o.frame)) return false;
        }
        return true;
    };
    for (int f = 0; f < spec.frames; ++f) {
        if (!write_audio_until(static_cast<double>(f) / spec.fps)) return fail_why(why, "audio encoding failed");
        av_frame_unref(o.frame);
        o.frame->format = AV_PIX_FMT_YUV420P;
        o.frame->width = spec.width;
        o.frame->height = spec.height;
        if (av_frame_get_buffer(o.frame, 0) < 0) return fail_why(why, "no frame memory");
        // Bars that move one step a frame over a light background; the top-left corner steps in colour.
        for (int y = 0; y < spec.height; ++y)
            for (int x = 0; x < spec.width; ++x)
                o.frame->data[0][y * o.frame->linesize[0] + x] =
                    static_cast<uint8_t>(((x + 8 * f) / 32) % 2 ? 180 : 110);
        for (int y = 0; y < spec.height / 2; ++y)
            for (int x = 0; x < spec.width / 2; ++x) {
                o.frame->data[1][y * o.frame->linesize[1] + x] = static_cast<uint8_t>(90 + (f * 13) % 80);
                o.frame->data[2][y * o.frame->linesize[2] + x] = static_cast<uint8_t>(170 - (f * 7) % 60);
            }
        o.frame->pts = f;
        if (!o.send(o.vc, o.vs, o.frame)) return fail_why(why, "video encoding failed");
    }
    if (!write_audio_until(1e9)) return fail_why(why, "audio encoding failed");
    if (o.vc && !o.send(o.vc, o.vs, nullptr)) return fail_why(why, "video flush failed");
    if (o.ac && !o.send(o.ac, o.as, nullptr)) return fail_why(why, "audio flush failed");
    if (av_write_trailer(o.oc) < 0) return fail_why(why, "trailer not written");
    return true;
}

bool write_demo_videos(const std::string& anim_dir) {
    struct Film {
        const char* name;
        const char* title;
        uint32_t w, h;
        double seconds;
        uint32_t flags;
    };
    // The first film plays long enough for a whole-program test to ask the program to end during it.
    const Film films[] = {
        {"NEWLOGO.SMK", "DRAVENMOOR", 320, 240, 6.0, 0}, {"ZALLOGO.SMK", "PRESENTS", 320, 240, 2.0, 0},
        {"INTRO02C.SMK", "THE MOORS AWAIT", 640, 240, 3.0, 4}, {"LOSE1.SMK", "DEFEAT", 320, 200, 2.0, 4},
        {"WIN01C.SMK", "VICTORY", 320, 200, 2.0, 4},          {"WIN02.SMK", "THE REALM IS YOURS", 640, 480, 2.5, 0},
    };
    try {
        for (const Film& f : films) {
            SmkFilm film = demo_smk_film(f.title, f.w, f.h, f.seconds, true);
            film.flags = f.flags;
            write_file(anim_dir + "/" + f.name, write_smk(film));
        }
    } catch (const std::exception&) {
        return false;
    }
    Mp4Spec intro;
    intro.width = 320;
    intro.height = 240;
    intro.fps = 10;
    intro.frames = 30;
    intro.audio_rate = 22050;
    intro.audio_seconds = 3.0;
    std::string why;
    // Without an MP4 encoder on this machine the intro is simply absent, which the game allows.
    if (!write_mp4(anim_dir + "/hintro.mp4", intro, &why)) {
        std::error_code ec;
        std::filesystem::remove(anim_dir + "/hintro.mp4", ec);
    }
    return true;
}

}  // namespace vorn1::kit
