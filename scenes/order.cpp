// What the regions' rows cannot say themselves: which regions make up the
// window, and the order in which the window's top-level widgets are made.
#include "regions.h"

std::vector<layout::Region> layoutRegions() {
    return {openingRows(), northRoadRows(),       westRoadRows(), slimeRows(),
            castleRows(),  forestRows(),          townRows(),     firstDemonKingRows(),
            battleRows(),  swordsmanBattleRows(), endingsRows()};
}

// The regions list their scenes in story order, but the window makes its
// top-level widgets in an order of its own, which the rows cannot give: a
// widget made later lies above an earlier one where they overlap (most
// scenes share one place), and Tab walks them in this order too. Only the
// top-level widgets are listed; a scene's own widgets follow its row.
const QStringList &creationOrder() {
    static const QStringList order = {
        "Label1",  "start",   "hajimari", "namiki", "nageki",   "namiki1",     "nageki1", "shiro",
        "daimaou", "Panel1",  "maou",     "ougi",   "BitBtn7",  "Panel2",      "Panel3",  "Panel4",
        "mori1",   "mori2",   "mori3",    "mori4",  "kozuesan", "kozuesensei", "mori5",   "sanda",
        "suraim",  "suraimu", "hime",     "kudoku", "BitBtn19", "hime1",       "bosu",    "bosu1",
        "nakama1", "nakama",  "bosu2",    "bossu",  "mahou",    "bosu3",       "bosu4",   "bosu5",
        "mahou2",  "mahou3",  "BitBtn21", "bosu6",  "ido",      "Panel5",      "Panel6",  "machi",
        "machi1",  "bukiya",  "sakaba",   "jiyuu",  "ryuu",     "nami",
    };
    return order;
}
