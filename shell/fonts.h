// The faces the layout names are not installed on Linux desktops: the
// program maps them to the IPA fonts, metric-compatible stand-ins, with
// further Japanese faces as fallbacks. Only this program is affected.
#pragma once

void registerFontSubstitutes();
