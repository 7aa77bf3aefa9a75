// Seed corpora for the asset readers' fuzz targets.
#include "datakit/datakit.h"
#include "datakit/kit_formats.h"

#include "assets/bmp.h"
#include "assets/png_decode.h"

namespace vorn1::kit {

void write_asset_seeds(const std::string& out) {
    std::vector<IcnFrame> frames(3);
    frames[0].pixels = labelled_picture(12, 9, "SEED", 0);
    frames[0].pixels.set_kind(3, 3, kTransparent);
    frames[0].pixels.set_kind(4, 3, kShadow);
    frames[1] = {2, -3, 0, IcnEncoding::Mono, labelled_picture(6, 5, "M", 1)};
    frames[2] = {0, 0, 0, IcnEncoding::Literal, labelled_picture(7, 4, "L", 2)};
    const Bytes icn = write_icn(frames);
    write_seed(out, "icn", "mixed.icn", icn);
    write_seed(out, "icn", "labelled.icn", labelled_icn("SYSTEM.ICN", 4, 20, 10));
    write_seed(out, "icn", "empty.icn", write_icn({}));

    write_seed(out, "bmp", "small.bmp", labelled_bmp("PIC", 16, 12));
    write_seed(out, "bmp", "one.bmp", write_bmp(IndexGrid(1, 1, 5)));

    write_seed(out, "til", "tiles.til", write_til(8, 8, {labelled_picture(8, 8, "T", 0), labelled_picture(8, 8, "T", 1)}));

    write_seed(out, "agg", "demo.agg",
               write_agg({{"SEED.ICN", icn}, {"PIC.BMP", labelled_bmp("PIC", 8, 8)}, {"QV.PAL", write_palette(standard_palette())},
                          {"A.BIN", {}}, {"a.bin", {1}}}));
    const Image pic = decode_bmp(labelled_bmp("PNG", 9, 7), standard_palette());
    write_seed(out, "png", "rgba.png", encode_png(pic));
    Image tiny(1, 1);
    write_seed(out, "png", "tiny.png", encode_png(tiny));

    write_seed(out, "agg", "one.agg", write_agg({{"X", {1, 2, 3}}}));

    write_seed(out, "palette", "standard.pal", write_palette(standard_palette()));
    Bytes bright(800, 0xFF);  // above the six-bit range, with a tail past 768 bytes
    write_seed(out, "palette", "bright.pal", bright);
    write_seed(out, "palette", "short.pal", Bytes(767, 1));
}

}  // namespace vorn1::kit
