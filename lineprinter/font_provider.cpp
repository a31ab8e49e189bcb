#include "lineprinter/font_provider.h"

TNbFontProvider NbFontProvider;
