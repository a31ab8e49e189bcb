#pragma once
// Text printing: the built-in pixel font and the line printer that lays out
// plain text into a printer dot raster. Standard library only.

#include "lineprinter/builtin_font.h"
#include "lineprinter/font_data.h"
#include "lineprinter/font_provider.h"
#include "lineprinter/line_printer.h"
#include "lineprinter/nb_font.h"
