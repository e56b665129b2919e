// The three closing buttons that end the game.
#include "form1.h"
#include "regions.h"

using namespace Qt::StringLiterals;

// clang-format off
layout::Region endingsRows() {
    using namespace layout;
    return {
        scene(TBitBtn, "BitBtn7", 48, 184, 153, 25).caption("ゲームオーバー").font(PGothic, -16, fsBold, clWindowText).hidden().tabOrder(11).bkClose(),

        scene(TBitBtn, "BitBtn19", 8, 184, 241, 25).caption("ハッピーエンド").font(PGothic, -16, fsBold, clWindowText).hidden().tabOrder(27).bkClose(),

        scene(TBitBtn, "BitBtn21", 48, 184, 75, 25).caption("おわり").font(PGothic, -12, fsBold, clWindowText).hidden().tabOrder(41).bkClose(),
    };
}
// clang-format on
