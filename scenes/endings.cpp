// The three closing buttons that end the game.
#include "form1.h"
#include "regions.h"

// clang-format off
layout::Region endingsRows() {
    using namespace layout;
    return {
        scene(TBitBtn, "BitBtn7", 48, 184, 153, 25).caption(QT_TRANSLATE_NOOP("layout", "ゲームオーバー")).font(PGothic, -16, fsBold, clWindowText).hidden().tabOrder(11).bkClose(),

        scene(TBitBtn, "BitBtn19", 8, 184, 241, 25).caption(QT_TRANSLATE_NOOP("layout", "ハッピーエンド")).font(PGothic, -16, fsBold, clWindowText).hidden().tabOrder(27).bkClose(),

        scene(TBitBtn, "BitBtn21", 48, 184, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "おわり")).font(PGothic, -12, fsBold, clWindowText).hidden().tabOrder(41).bkClose(),
    };
}
// clang-format on
