// The layout rows of each region of the story, defined beside its handlers.
#pragma once

#include "layout.h"

#include <QStringList>
#include <vector>

layout::Region openingRows();
layout::Region northRoadRows();
layout::Region westRoadRows();
layout::Region slimeRows();
layout::Region castleRows();
layout::Region forestRows();
layout::Region townRows();
layout::Region firstDemonKingRows();
layout::Region battleRows();
layout::Region swordsmanBattleRows();
layout::Region endingsRows();

// Every region above, in the order of the story (scenes/order.cpp).
std::vector<layout::Region> layoutRegions();

// The window's top-level widgets in the order they are created, stacked and
// tab-ordered (scenes/order.cpp).
const QStringList &creationOrder();
